// The whole program under every process limit from 1 to 12, without a display and with a silent session bus: Qt
// waited for ever for a thread of its own (the display's reader, the session bus's) that the system refused and for
// a bus that never answered, and aborted without a display. It starts and works, or says why and ends at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDBusConnection>
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
#include <QThread>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <grp.h>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/program.h"
#include "app/startup.h"
#include "common/drawing_threads.h"
#include "common/qt_text.h"
#include "db/data_folder.h"
#include "ui/mainwindow/form1.h"
#include "ui/mainwindow/main_links.h"
#include "ui/run/form6.h"
#include "ui/startup/start_screen.h"

namespace velaron::app {

// Answers the program's windows as its user would, one printed line each: a message "message|icon|first line"
// (closed by its first button; one during the run ends the process); the start screen "start" ("Далее>>"); the
// drawn main window "main" (and "bus" when it is connected to the session bus), which then runs the explosion of
// section 1 with the shipped gas and first region; the save dialog "save offered" (run.xlsx in the home folder); the
// run's end "run", which ends the process.
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
        if (QDBusConnection::sessionBus().isConnected()) say("bus");
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

// The system's refusal of one of Qt's threads, as when another program of the user takes the room the program gave
// back for it: in a child with VELARON_REFUSED_THREAD, the thread of that class that Qt asks for is refused.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*routine)(void*),
                              void* argument) noexcept {
  using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
  static const auto create = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
  static const char* const refused = std::getenv("VELARON_REFUSED_THREAD");
  Dl_info caller;  // Qt's threads are started by its core library, with the thread object as the argument
  if (refused && dladdr(__builtin_return_address(0), &caller) && std::strstr(caller.dli_fname, "libQt6Core") &&
      std::strcmp(static_cast<QThread*>(argument)->metaObject()->className(), refused) == 0)
    return EAGAIN;
  return create(thread, attributes, routine, argument);
}

// `--window-threads-child [USER LIMIT]`: becomes USER limited to LIMIT processes (or ends with 99) and runs.
int WindowThreadsChild(int argc, char** argv) {
  if (argc > 2) {
    const uid_t user = static_cast<uid_t>(std::strtoul(argv[2], nullptr, 10));
    const rlim_t limit = std::strtoul(argc > 3 ? argv[3] : "", nullptr, 10);
    const rlimit processes{limit, limit};
    if (user == 0 || limit == 0 || setrlimit(RLIMIT_NPROC, &processes) != 0 || setgroups(0, nullptr) != 0 ||
        setgid(user) != 0 || setuid(user) != 0)
      _exit(99);
  }
  qAddPreRoutine(AnswerWindows);
  return RunProgram(1, argv);
}

namespace {

// The refusal of a start for want of threads, said before any window.
const QString kRefusal =
    U("Система не дала программе создать потоки, без которых окно программы не работает: "
      "создано %1 из %2 (исчерпан предел числа процессов или не хватает памяти).");

// The main thread, the display's reader, the session bus's thread, the drawing threads and a run's worker.
int Needed() { return 1 + 1 + 1 + DrawingThreadCount() + 1; }

// The program as these tests start it: this binary copied, with the database template beside it, into a folder
// that every user can read (the child may run as a user of its own, and the checkout may lie where only its owner
// reads), each start with a home and data folder of its own.
class WindowThreads : public ::testing::Test {
 protected:
  struct Ended {
    int status = -1;
    QStringList said;  // standard output, by line
    std::string errors;
  };

  void SetUp() override {
    ASSERT_TRUE(folder.isValid() && QFile::setPermissions(folder.path(), QFile::Permissions(0x7755)));
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), program) &&
                QFile::copy(db::TemplatePath(QCoreApplication::applicationDirPath()),
                            folder.filePath(QString::fromLatin1(db::kTemplateFile))));
    env = QProcessEnvironment::systemEnvironment();
    // A sanitized build's leak check needs a task of its own, which the limit may refuse.
    if (env.contains("ASAN_OPTIONS")) env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
  }
  void TearDown() override { xvfb.kill(), xvfb.waitForFinished(5000); }

  // A display of the test's own where Xvfb is installed (it writes its number once it takes connections), else
  // the offscreen platform; the display's name, empty for none.
  QString UseOwnDisplay() {
    QString display;
    if (const QString path = QStandardPaths::findExecutable("Xvfb"); !path.isEmpty()) {
      xvfb.start(path, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
      const QByteArray number = xvfb.waitForStarted(5000) && xvfb.waitForReadyRead(10000) ? xvfb.readAll() : "";
      if (!number.trimmed().isEmpty()) display = ':' + QString::fromLatin1(number.trimmed());
    }
    std::printf("platform: %s\n", display.isEmpty() ? "offscreen" : qPrintable("xcb " + display));
    env.insert("QT_QPA_PLATFORM", display.isEmpty() ? "offscreen" : "xcb");
    if (!display.isEmpty()) env.insert("DISPLAY", display);
    return display;
  }

  // Runs the program with `arguments` after `--window-threads-child`, in `home` (open to every user), on the session
  // bus at the address `bus` (none there unless given); each ends in seconds, or it is a failure.
  Ended Run(const QTemporaryDir& home, const QStringList& arguments, const QString& bus = {}) {
    EXPECT_TRUE(home.isValid() && QFile::setPermissions(home.path(), QFile::Permissions(0x7777)));
    env.insert("HOME", home.path());
    env.insert("VELARON_DATA_DIR", home.path() + "/data");
    // No session bus there: its connection's thread starts all the same, and none is launched for the user.
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.isEmpty() ? "unix:path=" + home.path() + "/no-bus" : bus);
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(program, QStringList{"--window-threads-child"} + arguments);
    if (!child.waitForFinished(10000)) {
      child.kill(), child.waitForFinished(5000);
      ADD_FAILURE() << "the start waited: " << child.readAllStandardOutput().replace('\n', " / ").toStdString();
    }
    return {child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1,
            QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            child.readAllStandardError().toStdString()};
  }

  QTemporaryDir folder;
  const QString program = folder.filePath("program");
  QProcessEnvironment env;
  QProcess xvfb;
};

// A session bus at `path` that answers the client's first lines and then says nothing: "OK" to AUTH and, when
// `agreesFds`, "AGREE_UNIX_FD" to the request to pass files, after which BEGIN and the bus's Hello get no reply.
class FallingSilentBus {
 public:
  FallingSilentBus(const QString& path, bool agreesFds) {
    sockaddr_un address{AF_UNIX, {}};
    std::strncpy(address.sun_path, qPrintable(path), sizeof(address.sun_path) - 1);
    listening_ =
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 && listen(listener_, 8) == 0;
    server_ = std::thread([this, agreesFds] { Serve(agreesFds); });
  }
  ~FallingSilentBus() { stop_ = true, server_.join(); }
  bool listening() const { return listening_; }

 private:
  void Serve(bool agreesFds) {
    std::vector<pollfd> watched{{listener_, POLLIN, 0}};
    std::vector<std::string> received(1);
    while (!stop_) {
      if (poll(watched.data(), watched.size(), 20) > 0 && (watched[0].revents & POLLIN))
        watched.push_back({accept(listener_, nullptr, nullptr), POLLIN, 0}), received.emplace_back();
      for (size_t i = 1; i < watched.size(); ++i) {
        char bytes[512];
        const ssize_t size = watched[i].revents ? recv(watched[i].fd, bytes, sizeof(bytes), 0) : 0;
        if (size > 0) received[i].append(bytes, size);
        if (size <= 0 && watched[i].revents) close(watched[i].fd), watched[i].fd = -1;  // closed by the client
        for (size_t end; (end = received[i].find("\r\n")) != std::string::npos; received[i].erase(0, end + 2)) {
          const std::string line = received[i].substr(0, end);
          const std::string answer = line.find("AUTH ") != std::string::npos ? "OK 0123456789abcdef0123456789abcdef\r\n"
                                     : agreesFds && line == "NEGOTIATE_UNIX_FD" ? "AGREE_UNIX_FD\r\n"
                                                                                : "";
          send(watched[i].fd, answer.data(), answer.size(), MSG_NOSIGNAL);
        }
      }
    }
    for (const pollfd& w : watched)
      if (w.fd >= 0) close(w.fd);
  }
  const int listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
  bool listening_ = false;
  std::atomic<bool> stop_ = false;
  std::thread server_;
};

}  // namespace

// As a user of the test's own (the limit counts all of one user's threads, never the super-user's), a new data
// folder each time: below the display's reader and the bus it says why on standard error, below the rest in a
// critical message, then it works through a run. Each ends in seconds: at 1, 2 and one below it waited for ever,
// and so it did from 3 up on a session bus that takes connections and never answers (a listener that accepts none,
// as a bus whose daemon was stopped), the bus of the last limit with the message and the first that starts.
TEST_F(WindowThreads, AtEveryProcessLimitTheWindowStartsOrRefusesAtOnce) {
  if (geteuid() != 0) GTEST_SKIP() << "only the super-user can start the program as a user of its own";
  const uid_t user = 3500000 + static_cast<uid_t>(getpid());  // shared with no other process
  UseOwnDisplay();
  const QString silentBus = folder.filePath("silent-bus");
  sockaddr_un address{AF_UNIX, {}};
  std::strncpy(address.sun_path, qPrintable(silentBus), sizeof(address.sun_path) - 1);
  const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  const auto closeBus = qScopeGuard([&] { close(listener); });
  ASSERT_TRUE(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 && listen(listener, 8) == 0 &&
              chmod(address.sun_path, 0777) == 0);
  const int needed = Needed();
  for (int limit = 1; limit <= 12; ++limit) {
    SCOPED_TRACE(limit);
    QTemporaryDir home;
    const Ended ended = Run(home, {QString::number(user), QString::number(limit)},
                            limit == needed - 1 || limit == needed ? "unix:path=" + silentBus : QString());
    if (ended.status == 99) GTEST_SKIP() << "the system does not let the test change to a user";
    const QString refused = kRefusal.arg(limit - 1).arg(needed - 1);
    const std::string said = ended.said.join('\n').toStdString();
    EXPECT_EQ(ended.status, limit < needed ? kStartupFailedStatus : 0) << ended.errors;
    if (limit < 3) {
      EXPECT_TRUE(ended.said.isEmpty() && QString::fromStdString(ended.errors).contains(U("Веларон: ") + refused))
          << said << ended.errors;
    } else if (limit < needed) {
      EXPECT_TRUE(ended.said.size() == 1 &&
                  ended.said[0].startsWith(QStringLiteral("message|%1|").arg(QMessageBox::Critical) + refused))
          << said;
    } else {
      EXPECT_EQ(ended.said, (QStringList{QStringLiteral("message|%1|").arg(QMessageBox::Information) +
                                             U("Создана база данных программы:"),
                                         "start", "main", "save offered", "run"}));
      EXPECT_GT(QFileInfo(home.filePath("run.xlsx")).size(), 0) << "the run's workbook was not written";
    }
  }
}

// The system refuses a thread of Qt's own in the room the program gave back for it: the session bus's, for which
// the start waited for ever, and on a display the display's reader, without which the window never got an event.
// The start says why on standard error and ends at once. A drawing thread refused so is told in a message as soon
// as Qt tells it, not after the wait for the threads that never report.
TEST_F(WindowThreads, AQtThreadRefusedInTheRoomGivenBackEndsTheStartAtOnce) {
  QStringList refused{"QDBusConnectionManager", "QThreadPoolThread"};
  if (!UseOwnDisplay().isEmpty()) refused << "QXcbEventQueue";
  for (const QString& thread : refused) {
    SCOPED_TRACE(thread.toStdString());
    env.insert("VELARON_REFUSED_THREAD", thread);
    const Ended ended = Run(QTemporaryDir(), {});
    EXPECT_EQ(ended.status, kStartupFailedStatus);
    if (thread == "QThreadPoolThread") {
      // Every thread of the pool is refused.
      EXPECT_TRUE(
          ended.said.size() == 1 &&
          ended.said[0].startsWith(
              QStringLiteral("message|%1|").arg(QMessageBox::Critical) +
              U("Система не дала программе создать потоки рисования: создано 0 из %1").arg(DrawingThreadCount())))
          << ended.said.join('\n').toStdString();
      continue;
    }
    EXPECT_TRUE(
        ended.said.isEmpty() &&
        QString::fromStdString(ended.errors).contains(U("Веларон: ") + kRefusal.arg(Needed() - 2).arg(Needed() - 1)))
        << ended.errors;
  }
}

// Without a display, none named or one that is not there, the start aborted with Qt's English text; it says why in
// Russian on standard error, that alone, and ends.
TEST_F(WindowThreads, WithoutADisplayTheStartSaysWhyAndEnds) {
  for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"}) env.remove(name);
  for (const QString& display : {QString(), QStringLiteral(":32767")}) {
    display.isEmpty() ? env.remove("DISPLAY") : env.insert("DISPLAY", display);
    const Ended ended = Run(QTemporaryDir(), {});
    EXPECT_EQ(ended.status, kStartupFailedStatus);
    const QString why = display.isEmpty() ? U("нет графического дисплея (переменная окружения DISPLAY не задана)")
                                          : U("дисплей «:32767» недоступен");
    EXPECT_TRUE(ended.said.isEmpty());
    const QString errors = QString::fromStdString(ended.errors).trimmed();
    EXPECT_TRUE(errors.startsWith(U("Веларон: Окно программы не открыто: ") + why + '.') && !errors.contains('\n'))
        << ended.errors;
  }
}

// A session bus that answers the start's first line and then falls silent, or the whole handshake and then not the
// bus's Hello: the start waited for ever in Qt's connection to it (any answer to AUTH passed for a bus that answers).
// It leaves the bus out, says so on standard error and works. A bus daemon that answers is used as before.
TEST_F(WindowThreads, ASessionBusSilentBeforeItsReplyToHelloIsLeftOut) {
  UseOwnDisplay();
  const auto works = [](const Ended& ended, bool onBus) {
    QStringList said{QStringLiteral("message|%1|").arg(QMessageBox::Information) + U("Создана база данных программы:"),
                     "start", "main", "save offered", "run"};
    if (onBus) said.insert(3, "bus");
    EXPECT_EQ(ended.status, 0) << ended.errors;
    EXPECT_EQ(ended.said.join(" / ").toStdString(), said.join(" / ").toStdString());
    EXPECT_EQ(QString::fromStdString(ended.errors).contains(U("Веларон: Сеансовая шина D-Bus не ответила за 2 с")),
              !onBus)
        << ended.errors;
  };
  for (const bool wholeHandshake : {false, true}) {
    SCOPED_TRACE(wholeHandshake ? "silent after the handshake" : "silent after AUTH");
    const QString path = folder.filePath(wholeHandshake ? "handshake-bus" : "auth-bus");
    const FallingSilentBus bus(path, wholeHandshake);
    ASSERT_TRUE(bus.listening());
    works(Run(QTemporaryDir(), {}, "unix:path=" + path), false);
  }
  const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
  if (daemon.isEmpty()) GTEST_SKIP() << "no dbus-daemon here";
  QProcess bus;
  bus.start(daemon, {"--session", "--nofork", "--print-address"});
  ASSERT_TRUE(bus.waitForReadyRead(10000));
  const QString address = QString::fromUtf8(bus.readLine()).trimmed();
  works(Run(QTemporaryDir(), {}, address), true);
  bus.kill(), bus.waitForFinished(5000);
}

}  // namespace velaron::app
