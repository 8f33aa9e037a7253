// The start screen, the about box and the user manual: their texts and buttons, every way out of the start
// screen, the system-information tool found on the PATH or told unavailable, and a manual that is missing or
// cannot be shown told by a message instead of a crash.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <optional>

#include "common/qt_text.h"
#include "message_catcher.h"
#include "ui/startup/about_box.h"
#include "ui/startup/help.h"
#include "ui/startup/start_screen.h"

namespace velaron::ui {
namespace {

// Sets an environment variable for the object's lifetime (unsets it when `value` is null).
struct ScopedEnv {
  ScopedEnv(const char* name, const QByteArray* value)
      : name(name), had(qEnvironmentVariableIsSet(name)), old(qgetenv(name)) {
    value ? qputenv(name, *value) : qunsetenv(name);
  }
  ~ScopedEnv() { had ? qputenv(name, old) : qunsetenv(name); }
  const char* name;
  bool had;
  QByteArray old;
};

// The handing over of URLs and the starting of programs, caught and answered.
struct Launches {
  explicit Launches(bool accept) {
    SetUrlOpener([this, accept](const QUrl& url) {
      urls << url;
      return accept;
    });
    SetProgramStarter([this, accept](const QString& program) {
      programs << program;
      return accept;
    });
  }
  ~Launches() {
    SetUrlOpener(nullptr);
    SetProgramStarter(nullptr);
  }
  QList<QUrl> urls;
  QStringList programs;
};

QString ManualIn(const QString& folder) { return folder + U("/Instrukziy_polzovately.html"); }

TEST(StartScreen, ShowsItsTextsAndEveryWayOn) {
  test::MessageCatcher messages;
  Launches launches(true);
  frmMain1 start;
  start.show();
  EXPECT_EQ(start.windowTitle(), U("Программа \"Веларон\""));
  // The menu bar in its order: "Выход" alone, then "Помощь" with the manual on F1 and the about box on F3.
  QStringList bar, help;
  for (QAction* a : start.menuBar()->actions()) {
    bar << a->text();
    if (a->menu())
      for (QAction* item : a->menu()->actions()) help << item->text() + U(" ") + item->shortcut().toString();
  }
  EXPECT_EQ(bar, QStringList({U("Выход"), U("Помощь")}));
  EXPECT_EQ(help, QStringList({U("Инструкция F1"), U("О программе... F3")}));
  auto* next = start.findChild<QPushButton*>("Command1");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->text(), U("Далее>>"));
  EXPECT_TRUE(next->isDefault());
  auto action = [&](const char* name) {
    QAction* a = start.findChild<QAction*>(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
  };

  // "Инструкция": the manual beside the program, handed to the desktop.
  action("He")->trigger();
  EXPECT_EQ(launches.urls, QList<QUrl>{QUrl::fromLocalFile(ManualIn(U(VELARON_BIN_DIR)))});
  // "О программе...": the about box, modal.
  QString modal;
  QTimer::singleShot(0, [&modal] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      modal = w->objectName();
      w->close();
    }
  });
  action("Hel")->trigger();
  EXPECT_EQ(modal, U("frmAbout"));
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();

  // "Далее>>": the main window is asked for while the start screen still stands (the program is never
  // without a window), then the start screen is gone.
  std::optional<bool> shownWhenAsked;
  QObject::connect(&start, &frmMain1::nextRequested, [&] { shownWhenAsked = start.isVisible(); });
  int exits = 0;
  QObject::connect(&start, &frmMain1::exitRequested, [&] { ++exits; });
  next->click();
  EXPECT_EQ(shownWhenAsked, std::optional(true));
  EXPECT_FALSE(start.isVisible());
  EXPECT_EQ(exits, 0);

  // "Выход": every window of the program closes, whatever else is open, and the program is asked to end.
  start.show();
  QWidget other;
  other.show();
  action("Ex")->trigger();
  EXPECT_FALSE(start.isVisible() || other.isVisible());
  EXPECT_EQ(exits, 1);
}

TEST(AboutBox, ShowsItsTextsClosesByEitherKeyAndStartsTheSystemInformationTool) {
  // "Версия " and the first two numbers of the project's version (the revision is not shown); the spec's
  // own example: 2, 3 and revision 7 read "Версия 2.3".
  const QStringList version = U(VELARON_PROJECT_VERSION).split(QLatin1Char('.'));
  ASSERT_GE(version.size(), 2);
  EXPECT_EQ(VersionLabel(2, 3), U("Версия 2.3"));
  const struct {
    const char* label;
    QString text;
  } labels[] = {{"lblTitle", U(" Программа \"Веларон\"")},
                {"lblVersion", U("Версия ") + version[0] + U(".") + version[1]}};
  frmMain1 start;
  test::MessageCatcher messages;
  Launches launches(true);
  for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
    SCOPED_TRACE(key);
    frmAbout about;
    about.show();
    QApplication::setActiveWindow(&about);
    EXPECT_EQ(about.windowTitle(), U("О программе"));
    for (const auto& l : labels) EXPECT_EQ(about.findChild<QLabel*>(l.label)->text(), l.text) << l.label;
    // The purpose line is the start screen's.
    EXPECT_EQ(about.findChild<QLabel*>("lblDescription")->text(), start.findChild<QLabel*>("Label1")->text());
    EXPECT_EQ(about.findChild<QPushButton*>("cmdOK")->text(), U("OK"));
    EXPECT_EQ(about.findChild<QPushButton*>("cmdSysInfo")->text(), U("&System Info..."));
    // "OK" is the default and the cancel button alike: Enter and Escape close the box, also while the focus is
    // on the other button.
    about.findChild<QPushButton*>("cmdSysInfo")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(launches.programs.isEmpty() && messages.requests.empty());
  }

  // The tool is looked for on the PATH: none there is told with the spec's message and the box stays open;
  // one there is started; one that will not start is told too.
  QTemporaryDir empty, withTool;
  const QString tool = QDir(withTool.path()).filePath(U("hardinfo"));
  QFile script(tool);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly) && script.write("#!/bin/sh\n") > 0);
  script.close();
  ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  const struct {
    const char* what;
    QString path;
    bool starts;
    QStringList started;
    bool told;
  } cases[] = {
      {"no tool on the PATH", empty.path(), true, {}, true},
      {"a tool on the PATH", withTool.path(), true, {tool}, false},
      {"a tool that will not start", withTool.path(), false, {tool}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QByteArray path = QFile::encodeName(c.path);
    ScopedEnv env("PATH", &path);
    test::MessageCatcher messages;
    Launches launches(c.starts);
    frmAbout about;
    about.show();
    about.findChild<QPushButton*>("cmdSysInfo")->click();
    EXPECT_EQ(launches.programs, c.started);
    EXPECT_TRUE(about.isVisible());
    if (!c.told) {
      EXPECT_TRUE(messages.requests.empty());
      continue;
    }
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_EQ(messages.requests[0].text, U("System Information Is Unavailable At This Time"));
    EXPECT_EQ(messages.requests[0].title, U("Веларон"));
    EXPECT_EQ(messages.requests[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(messages.requests[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }
}

// The manual of the program's folder is handed to the desktop; a manual that is missing, that the desktop
// refuses or that no program can show is told with its file, and nothing is handed over.
TEST(Manual, IsHandedToTheDesktopOrToldWhyNot) {
  QTemporaryDir withManual, without, noPrograms;
  QFile manual(ManualIn(withManual.path()));
  ASSERT_TRUE(manual.open(QIODevice::WriteOnly) && manual.write("<html></html>") > 0);
  manual.close();
  const struct {
    const char* what;
    QString folder;
    std::optional<bool> desktopAccepts;  // none: no test hook, the desktop's own way is looked for
    bool opened;
    const char* told;  // the message's first line, before the file
  } cases[] = {
      {"the manual there", withManual.path(), true, true, nullptr},
      {"no manual", without.path(), true, false, "Не найден файл инструкции пользователя:\n"},
      {"the desktop refusing it", withManual.path(), false, false, "Не удалось открыть инструкцию пользователя:\n"},
      {"no program to show it", withManual.path(), std::nullopt, false,
       "Не найдена программа для просмотра инструкции пользователя.\nОткройте файл инструкции в обозревателе:\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::MessageCatcher messages;
    std::optional<Launches> launches;
    if (c.desktopAccepts) launches.emplace(*c.desktopAccepts);
    // With no hook the desktop's choice is asked for on the PATH, which holds nothing here, nor does BROWSER.
    const QByteArray emptyPath = QFile::encodeName(noPrograms.path());
    std::optional<ScopedEnv> path, browser;
    if (!c.desktopAccepts) {
      path.emplace("PATH", &emptyPath);
      browser.emplace("BROWSER", nullptr);
    }
    EXPECT_EQ(OpenManual(nullptr, c.folder), c.opened);
    const QString file = ManualIn(c.folder);
    if (launches) {
      // Handed over when the file is there, never when it is not.
      EXPECT_EQ(launches->urls, QFile::exists(file) ? QList<QUrl>{QUrl::fromLocalFile(file)} : QList<QUrl>{});
    }
    if (!c.told) {
      EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();
      continue;
    }
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_EQ(messages.requests[0].text, U(c.told) + file);
    EXPECT_EQ(messages.requests[0].title, U("Веларон"));
    EXPECT_EQ(messages.requests[0].icon, QMessageBox::Critical);
  }
}

}  // namespace
}  // namespace velaron::ui
