// The whole program's start under every limit on the number of processes from 1 to 12. Qt starts threads
// of its own (the display connection's reader, the session bus connection that a message, accessibility and
// the menu bar open) and waits for ever for one the system refused: the window showed nothing and never
// ended at some limits, the refusal itself included. It starts and works, or refuses at once and ends.
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
#include <QSqlQuery>
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
#include "db/database.h"
#include "ui/mainwindow/form1.h"
#include "ui/mainwindow/main_links.h"
#include "ui/run/form6.h"
#include "ui/startup/start_screen.h"

namespace velaron::app {
namespace {

void Say(const QString& line) {
  std::printf("%s\n", qUtf8Printable(line));
  std::fflush(stdout);
}

// Looks at the program's windows as its user would and answers them: a message is reported as
// "message|icon|first line" and closed with its first button; the start screen is reported as "start" and
// left by "Далее>>"; the main window, once drawn, as "main", and it then runs the explosion of section 1
// through its run dialog, with the shipped gas and the first region chosen. The save dialog that offers the
// run's workbook is reported as "save offered" and answered with run.xlsx in the home folder; the run's end
// is reported as "run" and ends the process, as does a message during the run.
void AnswerWindows() {
  auto* watch = new QTimer(qApp);
  QObject::connect(watch, &QTimer::timeout, [] {
    enum { kStart, kMain, kRun };
    static int step = kStart;
    static QPointer<QFileDialog> answered;  // a save dialog is answered once
    QWidgetList shown = QApplication::topLevelWidgets();
    shown.removeIf([](const QWidget* w) { return !w->isVisible(); });
    // A message first: it may stand over a dialog or window below.
    for (QWidget* w : shown)
      if (auto* box = qobject_cast<QMessageBox*>(w); box && !box->buttons().isEmpty()) {
        Say(QStringLiteral("message|%1|%2").arg(box->icon()).arg(box->text().section('\n', 0, 0)));
        if (step == kRun) _exit(0);
        box->buttons().first()->click();
        return;
      }
    for (QWidget* w : shown) {
      if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
        if (dialog != answered) {
          Say("save offered");
          answered = dialog;
          // Typed into the name box: the dialog's own choice of a file passes over a box that has the focus.
          dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QDir::home().filePath("run.xlsx"));
          QTimer::singleShot(0, dialog, &QDialog::accept);
        }
        return;
      }
      auto* main = qobject_cast<ui::Form1*>(w);
      if (main && step == kRun && !main->isRunning() && main->lastRun()) {
        Say("run");
        _exit(0);
      }
      if (main && step == kMain) {
        Say(main->grab().isNull() ? "main, not drawn" : "main");
        step = kRun;
        for (const char* list : {"DataCombo1", "DataCombo6"}) emit main->findChild<QComboBox*>(list)->activated(0);
        main->setRunDialogOpener([](ui::Form1& window, const result::RunRequest& request) {
          ui::Form6* dialog = ui::MakeRunDialog(window, request);
          dialog->findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
          dialog->findChild<QLineEdit*>("Text1")->setText("1");
          dialog->findChild<QPushButton*>("cmdRaschet")->click();
        });
        // Pressed once this look is over: a message that the press shows is answered by the next look.
        QTimer::singleShot(0, main, &ui::Form1::Command1_Click);
        return;
      }
      if (auto* start = qobject_cast<ui::frmMain1*>(w); start && step == kStart) {
        for (QPushButton* b : start->findChildren<QPushButton*>())
          if (b->text() == U("Далее>>")) {
            Say("start");
            step = kMain;
            QTimer::singleShot(0, b, &QPushButton::click);
            return;
          }
      }
    }
  });
  watch->start(50);
}

}  // namespace

// The child's part: `--window-threads-child USER LIMIT`. As the super-user it limits the processes of USER
// to LIMIT, becomes USER (or ends with status 99) and runs the program as its entry does, answering its
// windows (AnswerWindows).
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

namespace {

// A display of the test's own on the X virtual frame buffer, where it is installed: the platform on which
// Qt starts the threads of the display and of the session bus. Elsewhere the offscreen platform.
struct TestDisplay {
  QProcess server;
  QString name;  // empty on the offscreen platform
  TestDisplay() {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty()) return;
    server.start(xvfb, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
    // The server writes its display's number once it takes connections.
    if (server.waitForStarted(5000) && server.waitForReadyRead(10000)) {
      const QByteArray number = server.readAllStandardOutput().trimmed();
      if (!number.isEmpty()) name = ':' + QString::fromLatin1(number);
    }
  }
  ~TestDisplay() {
    server.kill();
    server.waitForFinished(5000);
  }
};

// The program as a user of the test's own (the limit counts every process and thread of one user and
// spares the super-user), at each limit from 1 to 12, with a new data folder each time. The window needs
// its main thread, the display's reader, the session bus's thread, the drawing threads and room for a run's
// worker. Below the display's reader and the bus it says why on standard error; below the rest, in a
// critical message; from there on it starts and works: the note of the new database, the start screen,
// "Далее>>", the main window and a run. Each start ends within seconds: before, the starts at 1, 2 and one
// below the drawing threads' room waited for ever.
TEST(WindowThreads, AtEveryProcessLimitTheWindowStartsOrRefusesAtOnce) {
  if (geteuid() != 0) GTEST_SKIP() << "only the super-user can start the program as a user of its own";
  const uid_t user = 3500000 + static_cast<uid_t>(getpid());  // shared with no other process
  TestDisplay display;
  std::printf("platform: %s\n", display.name.isEmpty() ? "offscreen" : qPrintable("xcb " + display.name));
  // The main thread, the display's reader, the session bus's thread, the drawing threads and a run's worker.
  const int needed = 1 + 1 + 1 + DrawingThreadCount() + 1;
  const QString title = U("Веларон");
  const auto refusal = [](int started, int wanted) {
    return U("Система не дала программе создать потоки, без которых окно программы не работает: создано %1 из %2 "
             "(исчерпан предел числа процессов или не хватает памяти).")
        .arg(started)
        .arg(wanted);
  };
  for (int limit = 1; limit <= 12; ++limit) {
    SCOPED_TRACE(limit);
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid() && QFile::setPermissions(home.path(), QFile::Permissions(0x7777)));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("VELARON_DATA_DIR", home.path() + "/data");
    env.insert("QT_QPA_PLATFORM", display.name.isEmpty() ? "offscreen" : "xcb");
    if (!display.name.isEmpty()) env.insert("DISPLAY", display.name);
    // A session bus that is not there: the connection's thread is started all the same, and no bus is
    // launched for the user.
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home.path() + "/no-bus");
    // The leak check of a sanitized build needs a task of its own, which the limit may refuse.
    if (env.contains("ASAN_OPTIONS")) env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--window-threads-child", QString::number(user), QString::number(limit)});
    if (!child.waitForFinished(10000)) {
      child.kill();
      child.waitForFinished(5000);
      ADD_FAILURE() << "the window waited at the limit " << limit << ": "
                    << child.readAllStandardOutput().replace('\n', " / ").toStdString();
      continue;
    }
    if (child.exitCode() == 99) GTEST_SKIP() << "the system does not let the test change to a user";
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    const QString errors = QString::fromUtf8(child.readAllStandardError());
    if (limit < 3) {
      EXPECT_EQ(child.exitCode(), kStartupFailedStatus);
      EXPECT_TRUE(lines.isEmpty()) << lines.join('\n').toStdString();
      EXPECT_TRUE(errors.contains(title + ": " + refusal(limit - 1, needed - 1))) << errors.toStdString();
    } else if (limit < needed) {
      EXPECT_EQ(child.exitCode(), kStartupFailedStatus);
      ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
      EXPECT_TRUE(lines[0].startsWith(QStringLiteral("message|%1|").arg(QMessageBox::Critical) +
                                      refusal(limit - 1, needed - 1)))
          << lines[0].toStdString();
    } else {
      EXPECT_EQ(child.exitCode(), 0) << errors.toStdString();
      EXPECT_EQ(lines, (QStringList{QStringLiteral("message|%1|").arg(QMessageBox::Information) +
                                        U("Создана база данных программы:"),
                                    "start", "main", "save offered", "run"}));
      EXPECT_GT(QFileInfo(home.filePath("run.xlsx")).size(), 0) << "the run's workbook was not written";
    }
  }
}

}  // namespace
}  // namespace velaron::app
