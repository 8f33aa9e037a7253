// The whole program under every process limit from 1 to 12: Qt waited for ever for a thread of its own (the
// display's reader, the session bus's) that the system refused. It starts and works, or refuses at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

#include "app/program.h"
#include "app/startup.h"
#include "common/drawing_threads.h"
#include "common/qt_text.h"
#include "ui/mainwindow/form1.h"
#include "ui/mainwindow/main_links.h"
#include "ui/run/form6.h"
#include "ui/startup/start_screen.h"

namespace velaron::app {

// Answers the program's windows as its user would, one printed line each: a message "message|icon|first line"
// (closed by its first button; one during the run ends the process); the start screen "start" ("Далее>>"); the
// drawn main window "main", which then runs the explosion of section 1 with the shipped gas and first region;
// the save dialog "save offered" (run.xlsx in the home folder); the run's end "run", which ends the process.
static void AnswerWindows() {
  auto* watch = new QTimer(qApp);
  QObject::connect(watch, &QTimer::timeout, [] {
    enum { kStart, kMain, kRun };
    static int step = kStart;
    static QPointer<QFileDialog> answered;  // a save dialog is answered once
    const auto say = [](const QString& line) { std::printf("%s\n", qUtf8Printable(line)), std::fflush(stdout); };
    QWidgetList shown = QApplication::topLevelWidgets();
    shown.removeIf([](const QWidget* w) { return !w->isVisible(); });
    for (QWidget* w : shown)  // a message first: it may stand over a window below
      if (auto* box = qobject_cast<QMessageBox*>(w); box && !box->buttons().isEmpty()) {
        say(QStringLiteral("message|%1|%2").arg(box->icon()).arg(box->text().section('\n', 0, 0)));
        if (step == kRun) _exit(0);
        return box->buttons().first()->click();
      }
    for (QWidget* w : shown) {
      if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
        if (dialog != answered) {  // typed into the name box: the dialog's own choice passes over a focused box
          say("save offered");
          answered = dialog;
          dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QDir::home().filePath("run.xlsx"));
          QTimer::singleShot(0, dialog, &QDialog::accept);
        }
        return;
      }
      auto* main = qobject_cast<ui::Form1*>(w);
      if (main && step == kRun && !main->isRunning() && main->lastRun()) say("run"), _exit(0);
      if (main && step == kMain) {
        say(main->grab().isNull() ? "main, not drawn" : "main");
        step = kRun;
        for (const char* list : {"DataCombo1", "DataCombo6"}) emit main->findChild<QComboBox*>(list)->activated(0);
        main->setRunDialogOpener([](ui::Form1& window, const result::RunRequest& request) {
          ui::Form6* dialog = ui::MakeRunDialog(window, request);
          dialog->findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
          dialog->findChild<QLineEdit*>("Text1")->setText("1");
          dialog->findChild<QPushButton*>("cmdRaschet")->click();
        });
        // Pressed after this look: a message the press shows is answered by the next look.
        return QTimer::singleShot(0, main, &ui::Form1::Command1_Click);
      }
      if (auto* start = qobject_cast<ui::frmMain1*>(w); start && step == kStart)
        for (QPushButton* b : start->findChildren<QPushButton*>())
          if (b->text() == U("Далее>>")) {
            say("start");
            step = kMain;
            return QTimer::singleShot(0, b, &QPushButton::click);
          }
    }
  });
  watch->start(50);
}

// `--window-threads-child USER LIMIT`: becomes USER limited to LIMIT processes (or ends with 99) and runs.
int WindowThreadsChild(int argc, char** argv) {
  const uid_t user = static_cast<uid_t>(std::strtoul(argc > 2 ? argv[2] : "", nullptr, 10));
  const rlim_t limit = std::strtoul(argc > 3 ? argv[3] : "", nullptr, 10);
  const rlimit processes{limit, limit};
  if (user == 0 || limit == 0 || setrlimit(RLIMIT_NPROC, &processes) != 0 || setgroups(0, nullptr) != 0 ||
      setgid(user) != 0 || setuid(user) != 0)
    _exit(99);
  qAddPreRoutine(AnswerWindows);
  return RunProgram(1, argv);
}

// As a user of the test's own (the limit counts all of one user's threads, never the super-user's), a new data
// folder each time: below the display's reader and the bus it says why on standard error, below the rest in a
// critical message, then it works through a run. Each ends in seconds: at 1, 2 and one below it waited for ever.
TEST(WindowThreads, AtEveryProcessLimitTheWindowStartsOrRefusesAtOnce) {
  if (geteuid() != 0) GTEST_SKIP() << "only the super-user can start the program as a user of its own";
  const uid_t user = 3500000 + static_cast<uid_t>(getpid());  // shared with no other process
  // A display of the test's own where Xvfb is installed (it writes its number once it takes connections).
  QProcess xvfb;
  const auto stop = qScopeGuard([&] { xvfb.kill(), xvfb.waitForFinished(5000); });
  QString display;
  if (const QString path = QStandardPaths::findExecutable("Xvfb"); !path.isEmpty()) {
    xvfb.start(path, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
    const QByteArray number = xvfb.waitForStarted(5000) && xvfb.waitForReadyRead(10000) ? xvfb.readAll() : "";
    if (!number.trimmed().isEmpty()) display = ':' + QString::fromLatin1(number.trimmed());
  }
  std::printf("platform: %s\n", display.isEmpty() ? "offscreen" : qPrintable("xcb " + display));
  // The main thread, the display's reader, the session bus's thread, the drawing threads and a run's worker.
  const int needed = 1 + 1 + 1 + DrawingThreadCount() + 1;
  const QString refusal =
      U("Система не дала программе создать потоки, без которых окно программы не работает: "
        "создано %1 из %2 (исчерпан предел числа процессов или не хватает памяти).");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", display.isEmpty() ? "offscreen" : "xcb");
  if (!display.isEmpty()) env.insert("DISPLAY", display);
  // A sanitized build's leak check needs a task of its own, which the limit may refuse.
  if (env.contains("ASAN_OPTIONS")) env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
  for (int limit = 1; limit <= 12; ++limit) {
    SCOPED_TRACE(limit);
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid() && QFile::setPermissions(home.path(), QFile::Permissions(0x7777)));
    env.insert("HOME", home.path());
    env.insert("VELARON_DATA_DIR", home.path() + "/data");
    // No session bus there: its connection's thread starts all the same, and none is launched for the user.
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home.path() + "/no-bus");
    QProcess child;
    child.setProcessEnvironment(env);
    const QStringList arguments{"--window-threads-child", QString::number(user), QString::number(limit)};
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(10000)) {
      child.kill(), child.waitForFinished(5000);
      ADD_FAILURE() << "the window waited at the limit " << limit << ": "
                    << child.readAllStandardOutput().replace('\n', " / ").toStdString();
      continue;
    }
    if (child.exitCode() == 99) GTEST_SKIP() << "the system does not let the test change to a user";
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    const QString refused = refusal.arg(limit - 1).arg(needed - 1);
    const std::string said = lines.join('\n').toStdString(), errors = child.readAllStandardError().toStdString();
    EXPECT_EQ(child.exitCode(), limit < needed ? kStartupFailedStatus : 0) << errors;
    if (limit < 3) {
      EXPECT_TRUE(lines.isEmpty() && QString::fromStdString(errors).contains(U("Веларон: ") + refused))
          << said << errors;
    } else if (limit < needed) {
      EXPECT_TRUE(lines.size() == 1 &&
                  lines[0].startsWith(QStringLiteral("message|%1|").arg(QMessageBox::Critical) + refused))
          << said;
    } else {
      EXPECT_EQ(lines, (QStringList{QStringLiteral("message|%1|").arg(QMessageBox::Information) +
                                        U("Создана база данных программы:"),
                                    "start", "main", "save offered", "run"}));
      EXPECT_GT(QFileInfo(home.filePath("run.xlsx")).size(), 0) << "the run's workbook was not written";
    }
  }
}

}  // namespace velaron::app
