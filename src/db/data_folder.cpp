#include "db/data_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

// The user's home folder: HOME when it names one, else the user's entry in the system's user database
// (a start without HOME, from a service or `env -i`, would otherwise look for its data under "/"). Empty
// when neither names an absolute folder.
QString HomeFolder() {
  const QString home = qEnvironmentVariable("HOME");
  if (!home.isEmpty() && QDir::isAbsolutePath(home)) return home;
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(static_cast<size_t>(size > 0 ? size : 16384));
  struct passwd entry = {};
  struct passwd* found = nullptr;
  while (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE && buffer.size() < (1u << 20))
    buffer.resize(buffer.size() * 2);
  if (!found || !found->pw_dir) return {};
  const QString fromDatabase = QFile::decodeName(found->pw_dir);
  return QDir::isAbsolutePath(fromDatabase) ? fromDatabase : QString();
}

}  // namespace

QString DataFolder() {
  const QString own = qEnvironmentVariable("VELARON_DATA_DIR");
  if (!own.isEmpty()) return QDir::cleanPath(QDir(own).absolutePath());
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) {
    const QString home = HomeFolder();
    if (home.isEmpty()) return {};
    base = home + QStringLiteral("/.local/share");
  }
  return QDir::cleanPath(base + QStringLiteral("/velaron"));
}

QString TemplatePath(const QString& programFolder) {
  return QFile::decodeName(
      ShippedFile(QFile::encodeName(programFolder).toStdString(), VELARON_TEMPLATE_FROM_BIN, kTemplateFile).c_str());
}

SeedResult SeedDataFolder(const QString& folder, const QString& programFolder) {
  SeedResult result;
  const QDir dir(folder);
  if (Exists(dir.filePath(QString::fromLatin1(kPrimaryFile))) ||
      Exists(dir.filePath(QString::fromLatin1(kFallbackFile))))
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
    result.error =
        U("Не удалось прочитать файл исходной базы данных программы:\n") + QDir::toNativeSeparators(sourcePath);
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

namespace {

bool SameEntry(int fd, const QByteArray& name) {
  struct stat held = {}, named = {};
  return fstat(fd, &held) == 0 && stat(name.constData(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

// The process number at the head of a lock file; 0 when it holds none.
long long HolderOf(int fd) {
  char text[32] = {};
  const ssize_t n = pread(fd, text, sizeof text - 1, 0);
  long long pid = 0;
  for (ssize_t i = 0; i < n && text[i] >= '0' && text[i] <= '9' && pid < (1LL << 40); ++i)
    pid = pid * 10 + (text[i] - '0');
  return pid;
}

QString Cause(int error) { return QString::fromStdString(FileErrorText(error)); }

}  // namespace

FolderLock::~FolderLock() {
  const QByteArray name = QFile::encodeName(path_);
  // Removed only while it is still this lock's file, and before letting go, so that no start takes it
  // over in between.
  if (SameEntry(fd_, name)) unlink(name.constData());
  close(fd_);
}

LockAttempt TakeFolderLock(const QString& lockPath) {
  LockAttempt result;
  const QByteArray name = QFile::encodeName(lockPath);
  const QString shown = QDir::toNativeSeparators(lockPath);
  const auto cannotWrite = [&](int error) {
    result.error = U("Не удалось записать файл блокировки папки данных программы:\n%1: %2\nБез него другое окно "
                     "программы могло бы изменить те же данные. Освободите место на диске или разрешите запись "
                     "в папку данных и запустите программу снова.")
                       .arg(shown, Cause(error));
    return std::move(result);
  };
  const auto cannotReplace = [&](const QString& cause) {
    result.error = U("На месте файла блокировки папки данных программы находится то, что программа не может "
                     "заменить:\n%1: %2\nНи одна программа его не держит: удалите его и запустите программу снова.")
                       .arg(shown, cause);
    return std::move(result);
  };
  // A few rounds: another start may make or remove the file between the steps of one.
  for (int round = 0; round < 16; ++round) {
    struct stat entry = {};
    const bool exists = lstat(name.constData(), &entry) == 0;
    if (exists && !S_ISREG(entry.st_mode)) {
      // No program holds anything but a plain file here: a folder, a link (dangling or not) or a pipe is
      // removed, never opened, since opening a pipe would wait for a writer.
      const bool folder = S_ISDIR(entry.st_mode);
      if ((folder ? rmdir(name.constData()) : unlink(name.constData())) != 0 && errno != ENOENT)
        return cannotReplace(folder && (errno == ENOTEMPTY || errno == EEXIST) ? U("это папка, и в ней есть файлы")
                                                                               : Cause(errno));
      continue;
    }
    int fd = exists ? open(name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)
                    : open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
      const int error = errno;
      if (error == EEXIST || error == ENOENT || error == ELOOP || error == ENXIO) continue;  // changed meanwhile
      if (!exists) return cannotWrite(error);
      // A file this user cannot write: a program that holds it would be seen holding it by a reader; a
      // file no program holds is replaced.
      const int reader = open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
      if (reader >= 0 && flock(reader, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        result.held = true;
        result.holder = HolderOf(reader);
        close(reader);
        return result;
      }
      if (reader >= 0) close(reader);
      if (unlink(name.constData()) != 0 && errno != ENOENT) return cannotReplace(Cause(errno));
      continue;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      if (error == EWOULDBLOCK) {
        result.held = true;
        result.holder = HolderOf(fd);
      } else {
        result.error = U("Не удалось заблокировать файл блокировки папки данных программы:\n%1: %2")
                           .arg(shown, error == ENOLCK || error == EINVAL ? U("диск не поддерживает блокировку файлов")
                                                                          : Cause(error));
      }
      close(fd);
      return result;
    }
    // Held. A program that just ended may have removed the name in between: then this is no lock at all.
    if (!SameEntry(fd, name)) {
      close(fd);
      continue;
    }
    // Readable by every user, so that any program can see it held; it names this process.
    fchmod(fd, 0644);
    const QByteArray text = QByteArray::number(static_cast<qint64>(getpid())) + '\n';
    const ssize_t written = ftruncate(fd, 0) == 0 ? pwrite(fd, text.constData(), size_t(text.size()), 0) : -1;
    if (written != text.size() || fsync(fd) != 0) {
      const int error = written >= 0 && written < text.size() ? ENOSPC : errno;
      unlink(name.constData());
      close(fd);
      return cannotWrite(error);
    }
    result.lock.reset(new FolderLock(lockPath, fd));
    return result;
  }
  result.error = U("Не удалось занять файл блокировки папки данных программы:\n%1: его все время меняет другая "
                   "программа")
                     .arg(shown);
  return result;
}

}  // namespace velaron::db
