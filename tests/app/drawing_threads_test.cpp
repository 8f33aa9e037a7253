// The window's start under a limit on the number of processes. Qt's drawing hands pieces of a large fill or
// image conversion to its shared thread pool and waits for them; a piece given to a thread the system
// refused was never run, and the window froze on an ordinary repaint. The start now takes the pool's threads
// and keeps them, or says why it cannot before any window is shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
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

namespace {

// The threads this process runs now, as the system counts them.
int ThreadsNow() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
    if (line.startsWith("Threads:")) return line.mid(8).trimmed().toInt();
  return -1;
}

}  // namespace

// The child's part: `--drawing-threads-child below|above USER`. As the super-user it makes the application
// object, limits the processes of USER to one less or one more than its threads and the drawing threads,
// becomes USER and starts as the program does. It prints what it saw, one line each: "kept" or
// "refused", then every message shown as "icon|title|text", then "drawn" once the start screen and a large
// picture were drawn; "no user" when it could not become USER. It ends with _exit, as the program does.
int DrawingThreadsChild(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool below = std::strcmp(argv[2], "below") == 0;
  const uid_t user = static_cast<uid_t>(std::strtoul(argc > 3 ? argv[3] : "", nullptr, 10));
  const int needed = ThreadsNow() + DrawingThreadCount();
  const rlimit processes{rlim_t(below ? needed - 1 : needed + 1), rlim_t(below ? needed - 1 : needed + 1)};
  if (user == 0 || setrlimit(RLIMIT_NPROC, &processes) != 0 || setgroups(0, nullptr) != 0 || setgid(user) != 0 ||
      setuid(user) != 0) {
    std::printf("no user\n");
    std::fflush(stdout);
    _exit(0);
  }
  QStringList shown;
  ui::SetMessageSink([&](const ui::MessageRequest& r) {
    shown << QStringLiteral("%1|%2|%3").arg(r.icon).arg(r.title, r.text);
    return QMessageBox::Ok;
  });
  const bool kept = KeepDrawingThreadsOrRefuse();
  std::printf("%s\n", kept ? "kept" : "refused");
  for (const QString& line : shown) std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
  if (kept) {
    // The start screen, and a result picture put into a picture box as the main window does (the
    // conversion of a large picture is split over the pool).
    ui::frmMain1 start;
    start.show();
    QImage picture(1600, 1200, QImage::Format_RGB888);
    picture.fill(Qt::darkCyan);
    QLabel box;
    box.resize(800, 600);
    box.setPixmap(QPixmap::fromImage(picture).scaled(box.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    box.show();
    if (!start.grab().isNull() && !box.grab().toImage().isNull()) std::printf("drawn\n");
  }
  std::fflush(stdout);
  _exit(0);
}

namespace {

// The program's start as a user of the test's own (the limit counts every process and thread of one user,
// and spares the super-user), with one thread less than it needs and with one more. Below, it says why in a
// critical message titled as the program and draws nothing; above, it keeps the threads without a word and
// draws. Each must end within the minute: before, the run above waited for ever.
TEST(DrawingThreads, TheWindowStartsWithItsDrawingThreadsOrSaysWhyBeforeAnyWindow) {
  if (geteuid() != 0) GTEST_SKIP() << "only the super-user can start the program as a user of its own";
  const uid_t user = 3000000 + static_cast<uid_t>(getpid());  // shared with no other process
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid() && QFile::setPermissions(home.path(), QFile::Permissions(0x7777)));
  for (const char* side : {"below", "above"}) {
    SCOPED_TRACE(side);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    // The leak check of a sanitized build needs a task of its own, which the limit may refuse.
    if (env.contains("ASAN_OPTIONS")) env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--drawing-threads-child"), QString::fromLatin1(side), QString::number(user)});
    const bool ended = child.waitForFinished(60000);
    if (!ended) child.kill(), child.waitForFinished();
    ASSERT_TRUE(ended) << "the start waited for ever";
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    if (lines == QStringList{"no user"}) GTEST_SKIP() << "the system does not let the test change to a user";
    if (std::strcmp(side, "below") == 0) {
      ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
      EXPECT_EQ(lines[0], "refused");
      EXPECT_TRUE(lines[1].startsWith(QStringLiteral("%1|").arg(QMessageBox::Critical) + U("Веларон|") +
                                      U("Система не дала программе создать потоки рисования: создано")))
          << lines[1].toStdString();
    } else {
      EXPECT_EQ(lines, (QStringList{"kept", "drawn"}));
    }
  }
}

}  // namespace
}  // namespace velaron::app
