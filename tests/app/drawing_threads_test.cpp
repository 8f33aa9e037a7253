// The window's start under a limit on the number of processes. Qt's drawing hands pieces of a large fill or
// image conversion to its thread pool and waits for them; a piece given to a thread the system refused never
// ran, and the window froze on a repaint. The start takes the pool's threads, or says why before any window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

#include "app/startup.h"
#include "common/drawing_threads.h"
#include "common/qt_text.h"
#include "ui/startup/start_screen.h"
#include "ui/widgets/messages.h"

namespace velaron::app {

// The child's part: `--drawing-threads-child below|above USER`. As the super-user it makes the application
// object, limits the processes of USER to one less or one more than its threads and the drawing threads,
// becomes USER (or ends with status 99) and starts as the program does. It prints every message shown as
// "icon|title|text", then "refused", or "kept" and "drawn" once the start screen and a large picture were
// drawn, one line each. It ends with _exit, as the program does.
int DrawingThreadsChild(int argc, char** argv) {
  QApplication app(argc, argv);
  const int threads = QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
  const rlim_t limit = threads + DrawingThreadCount() + (std::strcmp(argv[2], "below") == 0 ? -1 : 1);
  const rlimit processes{limit, limit};
  const uid_t user = static_cast<uid_t>(std::strtoul(argc > 3 ? argv[3] : "", nullptr, 10));
  if (user == 0 || setrlimit(RLIMIT_NPROC, &processes) != 0 || setgroups(0, nullptr) != 0 || setgid(user) != 0 ||
      setuid(user) != 0)
    _exit(99);
  ui::SetMessageSink([](const ui::MessageRequest& r) {
    std::printf("%d|%s|%s\n", r.icon, qUtf8Printable(r.title), qUtf8Printable(r.text));
    return QMessageBox::Ok;
  });
  if (KeepDrawingThreadsOrRefuse()) {
    // The start screen, and a result picture put into a picture box as the main window does (the
    // conversion of a large picture is split over the pool).
    ui::frmMain1 start;
    start.show();
    QImage picture(1600, 1200, QImage::Format_RGB888);
    picture.fill(Qt::darkCyan);
    QLabel box;
    box.setPixmap(QPixmap::fromImage(picture).scaled(800, 600, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    box.show();
    std::printf("kept\n%s", !start.grab().isNull() && !box.grab().toImage().isNull() ? "drawn\n" : "");
  } else {
    std::printf("refused\n");
  }
  std::fflush(stdout);
  _exit(0);
}

namespace {

// The program's start as a user of the test's own (the limit counts every process and thread of one user,
// and spares the super-user), with one thread less than it needs and with one more. Below, it says why in a
// critical message titled as the program and draws nothing; above, it keeps the threads without a word and
// draws. Each ends within seconds: the refusal waits for no thread; before, the run above waited for ever.
TEST(DrawingThreads, TheWindowStartsWithItsDrawingThreadsOrSaysWhyBeforeAnyWindow) {
  if (geteuid() != 0) GTEST_SKIP() << "only the super-user can start the program as a user of its own";
  const uid_t user = 3000000 + static_cast<uid_t>(getpid());  // shared with no other process
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid() && QFile::setPermissions(home.path(), QFile::Permissions(0x7777)));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", home.path());
  // The leak check of a sanitized build needs a task of its own, which the limit may refuse.
  if (env.contains("ASAN_OPTIONS")) env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
  const QString refusal = QStringLiteral("%1|").arg(QMessageBox::Critical) +
                          U("Веларон|Система не дала программе создать потоки рисования: создано");
  for (const char* side : {"below", "above"}) {
    SCOPED_TRACE(side);
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--drawing-threads-child", side, QString::number(user)});
    ASSERT_TRUE(child.waitForFinished(10000)) << "the start did not end within seconds";  // killed on leaving
    if (child.exitCode() == 99) GTEST_SKIP() << "the system does not let the test change to a user";
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    if (std::strcmp(side, "below") == 0)
      EXPECT_TRUE(lines.size() == 2 && lines[0].startsWith(refusal) && lines[1] == "refused")
          << lines.join('\n').toStdString();
    else EXPECT_EQ(lines, (QStringList{"kept", "drawn"}));
  }
}

}  // namespace
}  // namespace velaron::app
