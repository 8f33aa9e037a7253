// The start screen, the about box and the user manual: their texts and buttons, every way out of the start
// screen, the system-information tool found on the PATH or told unavailable, and a manual that is missing or
// cannot be shown told by a message instead of a crash.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include "common/qt_text.h"
#include "message_catcher.h"
#include "ui/startup/about_box.h"
#include "ui/startup/help.h"
#include "ui/startup/start_screen.h"

namespace velaron::ui {
namespace {

// Sets an environment variable to a file path for the object's lifetime (empty counts as unset for the program).
struct ScopedEnv {
  ScopedEnv(const char* name, const QString& path) : name(name), old(qgetenv(name)) {
    qputenv(name, QFile::encodeName(path));
  }
  ~ScopedEnv() { qputenv(name, old); }
  const char* name;
  QByteArray old;
};

// The handing over of URLs and the starting of programs, caught and answered.
struct Launches {
  explicit Launches(bool accept) : accept(accept) {
    SetUrlOpener([this](const QUrl& url) { return urls << url, this->accept; });
    SetProgramStarter([this](const QString& program) { return programs << program, this->accept; });
  }
  ~Launches() {
    SetUrlOpener(nullptr);
    SetProgramStarter(nullptr);
  }
  bool accept;
  QList<QUrl> urls;
  QStringList programs;
};

QString ManualIn(const QString& folder) { return folder + U("/Instrukziy_polzovately.html"); }

bool WriteFile(const QString& path, QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write("#!/bin/sh\n") > 0 && f.setPermissions(permissions);
}

// The "text" of each named label or button.
QStringList Texts(const QObject& window, std::initializer_list<const char*> names) {
  QStringList out;
  for (const char* name : names) out << window.findChild<QObject*>(name)->property("text").toString();
  return out;
}

TEST(StartScreen, ShowsItsTextsAndEveryWayOn) {
  test::MessageCatcher messages;
  Launches launches(true);
  frmMain1 start;
  start.show();
  EXPECT_EQ(start.windowTitle(), U("Программа \"Веларон\""));
  // The menu bar in its order: "Выход" alone, then "Помощь" with the manual on F1 and the about box on F3.
  QStringList bar;
  for (QAction* a : start.menuBar()->actions()) {
    bar << a->text();
    if (a->menu())
      for (QAction* item : a->menu()->actions()) bar << item->text() + U(" ") + item->shortcut().toString();
  }
  EXPECT_EQ(bar, QStringList({U("Выход"), U("Помощь"), U("Инструкция F1"), U("О программе... F3")}));
  auto* next = start.findChild<QPushButton*>("Command1");
  EXPECT_EQ(std::pair(next->text(), next->isDefault()), std::pair(U("Далее>>"), true));

  // "Инструкция": the manual beside the program, handed to the desktop.
  start.findChild<QAction*>("He")->trigger();
  EXPECT_EQ(launches.urls, QList<QUrl>{QUrl::fromLocalFile(ManualIn(U(VELARON_BIN_DIR)))});
  // "О программе...": the about box, modal.
  QString modal;
  QTimer::singleShot(0, [&modal] {
    if (QWidget* w = QApplication::activeModalWidget()) modal = w->objectName(), w->close();
  });
  start.findChild<QAction*>("Hel")->trigger();
  EXPECT_EQ(modal, U("frmAbout"));
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();

  // "Далее>>": the main window is asked for while the start screen still stands (the program is never
  // without a window), then the start screen is gone.
  bool shownWhenAsked = false;
  QObject::connect(&start, &frmMain1::nextRequested, [&] { shownWhenAsked = start.isVisible(); });
  int exits = 0;
  QObject::connect(&start, &frmMain1::exitRequested, [&] { ++exits; });
  next->click();
  EXPECT_EQ(std::tuple(shownWhenAsked, start.isVisible(), exits), std::tuple(true, false, 0));

  // "Выход": every window of the program closes, whatever else is open, and the program is asked to end.
  start.show();
  QWidget other;
  other.show();
  start.findChild<QAction*>("Ex")->trigger();
  EXPECT_FALSE(start.isVisible() || other.isVisible());
  EXPECT_EQ(exits, 1);
}

TEST(AboutBox, ShowsItsTextsClosesByEitherKeyAndStartsTheSystemInformationTool) {
  // "Версия " and the first two numbers of the project's version (the revision is not shown): 2, 3 and
  // revision 7 read "Версия 2.3".
  EXPECT_EQ(VersionLabel(2, 3), U("Версия 2.3"));
  test::MessageCatcher messages;
  Launches launches(true);
  frmAbout about;
  EXPECT_EQ(about.windowTitle(), U("О программе"));
  // The purpose line is the start screen's.
  EXPECT_EQ(Texts(about, {"lblTitle", "lblVersion", "lblDescription", "cmdOK", "cmdSysInfo"}),
            QStringList({U(" Программа \"Веларон\""), U("Версия ") + U(VELARON_PROJECT_VERSION).section('.', 0, 1),
                         Texts(frmMain1(), {"Label1"})[0], U("OK"), U("&System Info...")}));
  // "OK" is the default and the cancel button alike: Enter and Escape close the box, also while the focus is
  // on the other button.
  for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
    about.show();
    QApplication::setActiveWindow(&about);
    about.findChild<QPushButton*>("cmdSysInfo")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    EXPECT_FALSE(about.isVisible()) << key;
  }

  // The tool is looked for on the PATH: none there is told and the box stays open; one there is started; one
  // that will not start is told too.
  QTemporaryDir empty, withTool;
  const QString tool = withTool.filePath(U("hardinfo"));
  ASSERT_TRUE(WriteFile(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  about.show();
  for (const auto& [path, starts] :
       {std::pair(empty.path(), true), std::pair(withTool.path(), true), std::pair(withTool.path(), false)}) {
    ScopedEnv env("PATH", path);
    launches.accept = starts;
    about.findChild<QPushButton*>("cmdSysInfo")->click();
    EXPECT_TRUE(about.isVisible());
  }
  // Neither key above started the tool or told anything: told for the tool not found and the one that did not start.
  EXPECT_EQ(launches.programs, QStringList({tool, tool}));
  EXPECT_EQ(messages.texts(), QStringList(2, U("System Information Is Unavailable At This Time")));
  for (const MessageRequest& m : messages.requests)
    EXPECT_EQ(std::tuple(m.title, m.icon, m.buttons),
              std::tuple(U("Веларон"), QMessageBox::NoIcon, QMessageBox::StandardButtons(QMessageBox::Ok)));
}

// The manual of the program's folder is handed to the desktop; a manual that is missing, that the desktop
// refuses or that no program can show is told with its file, and nothing is handed over.
TEST(Manual, IsHandedToTheDesktopOrToldWhyNot) {
  QTemporaryDir withManual, without, noPrograms;
  const QString manual = ManualIn(withManual.path());
  ASSERT_TRUE(WriteFile(manual));
  test::MessageCatcher messages;
  Launches launches(true);
  EXPECT_TRUE(OpenManual(nullptr, withManual.path()));
  EXPECT_FALSE(OpenManual(nullptr, without.path()));
  launches.accept = false;  // the desktop refusing it
  EXPECT_FALSE(OpenManual(nullptr, withManual.path()));
  EXPECT_EQ(launches.urls, QList<QUrl>(2, QUrl::fromLocalFile(manual)));
  // With no test hook the desktop's choice is asked for on the PATH, which holds nothing here, nor does BROWSER.
  SetUrlOpener(nullptr);
  ScopedEnv path("PATH", noPrograms.path()), browser("BROWSER", QString());
  EXPECT_FALSE(OpenManual(nullptr, withManual.path()));
  EXPECT_EQ(messages.texts(), QStringList({U("Не найден файл инструкции пользователя:\n") + ManualIn(without.path()),
                                           U("Не удалось открыть инструкцию пользователя:\n") + manual,
                                           U("Не найдена программа для просмотра инструкции пользователя.\n"
                                             "Откройте файл инструкции в обозревателе:\n") +
                                               manual}));
  for (const MessageRequest& m : messages.requests)
    EXPECT_EQ(std::pair(m.title, m.icon), std::pair(U("Веларон"), QMessageBox::Critical));
}

}  // namespace
}  // namespace velaron::ui
