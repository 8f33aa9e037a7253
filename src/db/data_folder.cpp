#include "db/data_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "common/output_file.h"
#include "common/qt_text.h"
#include "common/shipped_file.h"
#include "db/database.h"

namespace velaron::db {

namespace {

bool Exists(const QString& path) {
  // A dangling link or a folder in the database's place still counts: the probe reports it, nothing
  // is put over it.
  const QFileInfo info(path);
  return info.exists() || info.isSymLink();
}

}  // namespace

QString DataFolder() {
  const QString own = qEnvironmentVariable("VELARON_DATA_DIR");
  if (!own.isEmpty()) return QDir::cleanPath(QDir(own).absolutePath());
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.local/share");
  return QDir::cleanPath(base + QStringLiteral("/velaron"));
}

QString TemplatePath(const QString& programFolder) {
  return QFile::decodeName(ShippedFile(QFile::encodeName(programFolder).toStdString(), VELARON_TEMPLATE_FROM_BIN, kTemplateFile).c_str());
}

SeedResult SeedDataFolder(const QString& folder, const QString& programFolder) {
  SeedResult result;
  const QDir dir(folder);
  if (Exists(dir.filePath(QString::fromLatin1(kPrimaryFile))) || Exists(dir.filePath(QString::fromLatin1(kFallbackFile))))
    return result;

  QString sourcePath = TemplatePath(programFolder);
  for (const char* name : {kPrimaryFile, kFallbackFile}) {
    const QString earlier = QDir(programFolder).filePath(QString::fromLatin1(name));
    if (QFileInfo(earlier).isFile()) {
      sourcePath = earlier;
      result.fromEarlier = true;
      break;
    }
  }
  result.source = sourcePath;

  const QString target = dir.filePath(QString::fromLatin1(kPrimaryFile));
  QFile source(sourcePath);
  if (!QFileInfo(sourcePath).isFile() || !source.open(QIODevice::ReadOnly)) {
    result.error = U("Не найден файл исходной базы данных программы:\n") + QDir::toNativeSeparators(sourcePath);
    return result;
  }
  const QByteArray bytes = source.readAll();
  if (source.error() != QFile::NoError || bytes.isEmpty()) {
    result.error = U("Не удалось прочитать файл исходной базы данных программы:\n") +
                   QDir::toNativeSeparators(sourcePath);
    return result;
  }
  const QString cannotMake = U("Не удалось создать базу данных программы:\n") + QDir::toNativeSeparators(target);
  if (!QDir().mkpath(folder)) {
    result.error = cannotMake + U("\nНе удалось создать папку ") + QDir::toNativeSeparators(folder);
    return result;
  }

  // Written as every document is: the file takes its name only when complete, so that a start killed
  // meanwhile leaves neither a half database nor a stray file in the folder.
  OutputFile out(QFile::encodeName(target).toStdString());
  if (out.ok()) {
    QFile part(QString::fromStdString(out.writePath()));
    if (!part.open(QIODevice::WriteOnly) || part.write(bytes) != bytes.size() || !part.flush()) out.Fail(errno);
  }
  if (!out.Commit()) {
    result.error = cannotMake + QLatin1Char('\n') + QString::fromStdString(out.error());
    return result;
  }
  result.copied = true;
  result.path = target;
  return result;
}

}  // namespace velaron::db
