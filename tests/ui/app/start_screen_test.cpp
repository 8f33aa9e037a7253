#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/about_box.h"
#include "app/help.h"
#include "app/start_screen.h"
#include "message_catcher.h"

using velaron::ui::frmAbout;
using velaron::ui::frmMain1;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// Writes a small file into `dir` and returns its path.
QString WriteFile(const QTemporaryDir& dir, const char* name, const char* text,
                  QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner) {
  const QString path = QDir(dir.path()).filePath(QString::fromLatin1(name));
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
  f.close();
  f.setPermissions(permissions);
  return path;
}

TEST(StartScreen, TitleMenusAndButton) {
  frmMain1 w;
  EXPECT_EQ(w.objectName(), "frmMain1");
  EXPECT_EQ(w.windowTitle(), U("Программа \"Веларон\""));
  const QList<QAction*> top = w.menuBar()->actions();
  ASSERT_EQ(top.size(), 2);
  EXPECT_EQ(top[0]->objectName(), "Ex");
  EXPECT_EQ(top[0]->text(), U("Выход"));
  EXPECT_EQ(top[0]->menu(), nullptr);
  ASSERT_NE(top[1]->menu(), nullptr);
  EXPECT_EQ(top[1]->menu()->objectName(), "Help");
  EXPECT_EQ(top[1]->text(), U("Помощь"));
  const QList<QAction*> items = top[1]->menu()->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->objectName(), "He");
  EXPECT_EQ(items[0]->text(), U("Инструкция"));
  EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(items[1]->objectName(), "Hel");
  EXPECT_EQ(items[1]->text(), U("О программе..."));
  EXPECT_EQ(items[1]->shortcut(), QKeySequence(Qt::Key_F3));
  auto* next = w.findChild<QPushButton*>("Command1");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->text(), U("Далее>>"));
}

TEST(StartScreen, NextAsksForTheMainWindowAndClosesExitClosesEveryWindowAndAsksTheProgramToEnd) {
  frmMain1 w;
  w.show();
  QWidget mainWindow;  // stands for the main window that the program's entry makes
  int asked = 0, exits = 0;
  QObject::connect(&w, &frmMain1::nextRequested, [&] {
    ++asked;
    EXPECT_TRUE(w.isVisible()) << "the main window is asked for before the start screen goes";
    mainWindow.show();
  });
  QObject::connect(&w, &frmMain1::exitRequested, [&] { ++exits; });
  w.findChild<QPushButton*>("Command1")->click();
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(mainWindow.isVisible());
  // Exit, from a start screen shown again beside two other windows.
  QWidget other;
  w.show();
  other.show();
  w.menuBar()->actions()[0]->trigger();
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(mainWindow.isVisible());
  EXPECT_FALSE(other.isVisible());
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(asked, 1);
}

TEST(Manual, AMissingFileIsReportedAPresentOneHandedToTheDesktopAndARefusalReported) {
  velaron::test::MessageCatcher catcher;
  QTemporaryDir dir;
  const QString path = QDir(dir.path()).filePath("Instrukziy_polzovately.html");
  QList<QUrl> urls;
  bool accept = true;
  velaron::ui::SetUrlOpener([&](const QUrl& url) {
    urls << url;
    return accept;
  });
  EXPECT_FALSE(velaron::ui::OpenManual(nullptr, dir.path()));
  EXPECT_TRUE(urls.isEmpty());
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(catcher.requests[0].text.contains(path));
  catcher.requests.clear();
  WriteFile(dir, "Instrukziy_polzovately.html", "<html></html>");
  EXPECT_TRUE(velaron::ui::OpenManual(nullptr, dir.path()));
  EXPECT_TRUE(catcher.requests.empty());
  accept = false;
  EXPECT_FALSE(velaron::ui::OpenManual(nullptr, dir.path()));
  velaron::ui::SetUrlOpener(nullptr);
  EXPECT_EQ(urls, QList<QUrl>({QUrl::fromLocalFile(path), QUrl::fromLocalFile(path)}));
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_TRUE(catcher.requests[0].text.contains(path));
}

TEST(Manual, TheBuildPutsTheManualBesideTheProgram) {
  // The program opens the manual from its own folder, so the build must have copied it there.
  QFile manual(QDir(VELARON_BIN_DIR).filePath("Instrukziy_polzovately.html"));
  ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString::fromUtf8(manual.readAll()).contains(U("Инструкция пользователя")));
}

TEST(AboutBox, TitleLabelsAndButtons) {
  frmAbout about;
  EXPECT_EQ(about.objectName(), "frmAbout");
  EXPECT_EQ(about.windowTitle(), U("О программе"));
  auto* title = about.findChild<QLabel*>("lblTitle");
  auto* version = about.findChild<QLabel*>("lblVersion");
  ASSERT_TRUE(title && version);
  EXPECT_EQ(title->text(), U(" Программа \"Веларон\""));
  EXPECT_TRUE(version->text().startsWith(U("Версия ")));
  // Major 2, minor 3 (revision 7 not passed on): "Версия 2.3" with a point, a version is not a decimal.
  EXPECT_EQ(velaron::ui::VersionLabel(2, 3), U("Версия 2.3"));
  EXPECT_EQ(velaron::ui::VersionLabel(10, 0), U("Версия 10.0"));
  auto* ok = about.findChild<QPushButton*>("cmdOK");
  auto* sysInfo = about.findChild<QPushButton*>("cmdSysInfo");
  ASSERT_TRUE(ok && sysInfo);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(sysInfo->text(), "&System Info...");
  about.show();
  ok->click();
  EXPECT_FALSE(about.isVisible());
}

TEST(SysInfoTool, TheFirstToolOnThePathIsStartedAndNoToolOrAFailedStartGivesTheMessage) {
  velaron::test::MessageCatcher catcher;
  QTemporaryDir dir, empty;
  QStringList started;
  bool succeed = true;
  velaron::ui::SetProgramStarter([&](const QString& program) {
    started << program;
    return succeed;
  });
  const QStringList tools = {"hardinfo2", "hardinfo"};
  EXPECT_FALSE(velaron::ui::StartSysInfo(nullptr, tools, {empty.path()}));
  EXPECT_TRUE(started.isEmpty());
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "System Information Is Unavailable At This Time");
  EXPECT_EQ(catcher.requests[0].title, U("Веларон"));
  EXPECT_EQ(catcher.requests[0].buttons, QMessageBox::Ok);
  // Only the second tool of the list exists, as an executable file.
  const QString tool =
      WriteFile(dir, "hardinfo", "#!/bin/sh\nexit 0\n", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(velaron::ui::FindSysInfoTool(tools, {dir.path()}), tool);
  catcher.requests.clear();
  EXPECT_TRUE(velaron::ui::StartSysInfo(nullptr, tools, {dir.path()}));
  EXPECT_TRUE(catcher.requests.empty());
  succeed = false;
  EXPECT_FALSE(velaron::ui::StartSysInfo(nullptr, tools, {dir.path()}));
  velaron::ui::SetProgramStarter(nullptr);
  EXPECT_EQ(started, QStringList({tool, tool}));
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "System Information Is Unavailable At This Time");
}

}  // namespace
