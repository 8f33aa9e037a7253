#include "ui/startup/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "ui/widgets/messages.h"
#include "common/shipped_file.h"
#include "common/texts.h"

namespace velaron::ui {

namespace {
UrlOpener& Opener() {
  static UrlOpener opener;
  return opener;
}
ProgramStarter& Starter() {
  static ProgramStarter starter;
  return starter;
}
}  // namespace

void SetUrlOpener(UrlOpener opener) { Opener() = std::move(opener); }
void SetProgramStarter(ProgramStarter starter) { Starter() = std::move(starter); }

QString ManualPath(const QString& folder) {
  return QFile::decodeName(
      ShippedFile(QFile::encodeName(folder).toStdString(), VELARON_MANUAL_FROM_BIN, kManualFile).c_str());
}

bool OpenManual(QWidget* parent) { return OpenManual(parent, QCoreApplication::applicationDirPath()); }

bool OpenManual(QWidget* parent, const QString& folder) {
  const QString path = ManualPath(folder);
  if (!QFileInfo(path).isFile()) {
    ShowCritical(parent, QString::fromUtf8("Не найден файл инструкции пользователя:\n") + path);
    return false;
  }
  if (!Opener() && FindManualViewer().isEmpty()) {
    ShowCritical(parent, QString::fromUtf8("Не найдена программа для просмотра инструкции пользователя.\n"
                                           "Откройте файл инструкции в обозревателе:\n") +
                             path);
    return false;
  }
  const QUrl url = QUrl::fromLocalFile(path);
  const bool opened = Opener() ? Opener()(url) : QDesktopServices::openUrl(url);
  if (!opened) ShowCritical(parent, QString::fromUtf8("Не удалось открыть инструкцию пользователя:\n") + path);
  return opened;
}

QString FindManualViewer(const QStringList& paths) {
  if (paths.isEmpty()) {
    // The desktop's own choice, as xdg-open makes it.
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (query.waitForFinished(3000) && query.exitCode() == 0) {
      const QString app = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
      if (!app.isEmpty()) return app;
    }
    if (const QString browser = qEnvironmentVariable("BROWSER"); !browser.isEmpty()) return browser;
  }
  // The browsers xdg-open falls back on.
  for (const char* name : {"x-www-browser", "www-browser", "firefox", "firefox-esr", "chromium", "chromium-browser",
                           "google-chrome", "epiphany", "konqueror", "falkon", "midori"})
    if (QString found = QStandardPaths::findExecutable(QString::fromLatin1(name), paths); !found.isEmpty())
      return found;
  return {};
}

QStringList SysInfoTools() {
  return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
          QStringLiteral("lshw-gtk")};
}

QString FindSysInfoTool(const QStringList& tools, const QStringList& paths) {
  for (const QString& tool : tools)
    if (QString found = QStandardPaths::findExecutable(tool, paths); !found.isEmpty()) return found;
  return {};
}

bool StartSysInfo(QWidget* parent, const QStringList& tools, const QStringList& paths) {
  const QString program = FindSysInfoTool(tools, paths);
  bool started = false;
  if (!program.isEmpty()) started = Starter() ? Starter()(program) : QProcess::startDetached(program, {});
  if (!started)
    ShowMessage(parent, {QMessageBox::NoIcon, QString::fromUtf8(texts::kProgramTitle),
                         QString::fromLatin1(kSysInfoUnavailable), QMessageBox::Ok});
  return started;
}

}  // namespace velaron::ui
