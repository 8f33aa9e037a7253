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

TEST(StartScreen, NextAsksForTheMainWindowAndCloses) {
  frmMain1 w;
  w.show();
  QWidget mainWindow;  // stands for the main window that the program's entry makes
  int asked = 0;
  QObject::connect(&w, &frmMain1::nextRequested, [&] {
    ++asked;
    EXPECT_TRUE(w.isVisible()) << "the main window is asked for before the start screen goes";
    mainWindow.show();
  });
  w.findChild<QPushButton*>("Command1")->click();
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(mainWindow.isVisible());
}

TEST(StartScreen, ExitClosesEveryWindowAndAsksTheProgramToEnd) {
  frmMain1 w;
  QWidget other1, other2;
  w.show();
  other1.show();
  other2.show();
  int exits = 0;
  QObject::connect(&w, &frmMain1::exitRequested, [&] { ++exits; });
  w.menuBar()->actions()[0]->trigger();
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(other1.isVisible());
  EXPECT_FALSE(other2.isVisible());
  EXPECT_EQ(exits, 1);
}

TEST(Manual, MissingFileGivesAMessageAndOpensNothing) {
  velaron::test::MessageCatcher catcher;
  QTemporaryDir dir;
  int opened = 0;
  velaron::ui::SetUrlOpener([&](const QUrl&) { return ++opened, true; });
  EXPECT_FALSE(velaron::ui::OpenManual(nullptr, dir.path()));
  velaron::ui::SetUrlOpener(nullptr);
  EXPECT_EQ(opened, 0);
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(catcher.requests[0].text.contains(QDir(dir.path()).filePath("Instrukziy_polzovately.html")));
}

TEST(Manual, PresentFileIsHandedToTheDesktopAndARefusalIsReported) {
  velaron::test::MessageCatcher catcher;
  QTemporaryDir dir;
  const QString path = WriteFile(dir, "Instrukziy_polzovately.html", "<html></html>");
  QList<QUrl> urls;
  bool accept = true;
  velaron::ui::SetUrlOpener([&](const QUrl& url) {
    urls << url;
    return accept;
  });
  EXPECT_TRUE(velaron::ui::OpenManual(nullptr, dir.path()));
  EXPECT_TRUE(catcher.requests.empty());
  accept = false;
  EXPECT_FALSE(velaron::ui::OpenManual(nullptr, dir.path()));
  velaron::ui::SetUrlOpener(nullptr);
  ASSERT_EQ(urls.size(), 2);
  EXPECT_EQ(urls[0], QUrl::fromLocalFile(path));
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_TRUE(catcher.requests[0].text.contains(path));
}

TEST(Manual, TheBuildPutsTheManualBesideTheProgram) {
  // The program opens the manual from its own folder, so the build must have copied it there.
  EXPECT_TRUE(QFile::exists(QDir(VELARON_BIN_DIR).filePath("Instrukziy_polzovately.html")));
  QFile manual(QDir(VELARON_BIN_DIR).filePath("Instrukziy_polzovately.html"));
  ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(manual.readAll());
  EXPECT_TRUE(text.contains(U("Инструкция пользователя")));
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

TEST(AboutBox, VersionLabelShowsMajorAndMinorOnly) {
  // Major 2, minor 3 (revision 7 not passed on): "Версия 2.3" with a point, a version is not a decimal.
  EXPECT_EQ(velaron::ui::VersionLabel(2, 3), U("Версия 2.3"));
  EXPECT_EQ(velaron::ui::VersionLabel(10, 0), U("Версия 10.0"));
}

TEST(SysInfoTool, NoToolFoundGivesTheMessage) {
  velaron::test::MessageCatcher catcher;
  QTemporaryDir empty;
  int started = 0;
  velaron::ui::SetProgramStarter([&](const QString&) { return ++started, true; });
  EXPECT_FALSE(velaron::ui::StartSysInfo(nullptr, {"hardinfo"}, {empty.path()}));
  velaron::ui::SetProgramStarter(nullptr);
  EXPECT_EQ(started, 0);
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "System Information Is Unavailable At This Time");
  EXPECT_EQ(catcher.requests[0].title, U("Веларон"));
  EXPECT_EQ(catcher.requests[0].buttons, QMessageBox::Ok);
}

TEST(SysInfoTool, FirstToolOnThePathIsStartedAndAFailedStartIsReported) {
  velaron::test::MessageCatcher catcher;
  QTemporaryDir dir;
  // Only the second tool of the list exists, as an executable file.
  const QString tool =
      WriteFile(dir, "hardinfo", "#!/bin/sh\nexit 0\n", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(velaron::ui::FindSysInfoTool({"hardinfo2", "hardinfo"}, {dir.path()}), tool);

  QStringList started;
  bool succeed = true;
  velaron::ui::SetProgramStarter([&](const QString& program) {
    started << program;
    return succeed;
  });
  EXPECT_TRUE(velaron::ui::StartSysInfo(nullptr, {"hardinfo2", "hardinfo"}, {dir.path()}));
  EXPECT_TRUE(catcher.requests.empty());
  succeed = false;
  EXPECT_FALSE(velaron::ui::StartSysInfo(nullptr, {"hardinfo2", "hardinfo"}, {dir.path()}));
  velaron::ui::SetProgramStarter(nullptr);
  EXPECT_EQ(started, QStringList({tool, tool}));
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "System Information Is Unavailable At This Time");
}

}  // namespace
