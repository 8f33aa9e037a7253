#include "app/program.h"

#include <QApplication>
#include <QDBusConnection>
#include <atomic>
#include <clocale>
#include <cstdio>
#include <mutex>
#include <vector>
#include <unistd.h>

#include "app/session_bus.h"
#include "app/startup.h"
#include "common/drawing_threads.h"
#include "common/texts.h"
#include "db/data_folder.h"
#include "ui/mainwindow/form1.h"
#include "ui/startup/app_context.h"
#include "ui/startup/start_screen.h"
#include "ui/widgets/messages.h"

namespace velaron::app {

namespace {

// Where the start says why it ends when no window can be shown.
void SayOnStandardError(const QString& text) {
  std::fprintf(stderr, "%s: %s\n", texts::kProgramTitle, qUtf8Printable(text));
}

// Qt's messages while the program starts. That the system refused a thread of Qt's own, Qt says only in a warning,
// and then waits for that thread's work for ever (the session bus's connection) or never gets an event (the
// display's reader); a start without a display it ends with an abort. The watch counts the one and ends the other
// with the reason on standard error. Qt's own lines are kept back until the start goes on: a start that ends says
// only its reason, in Russian, not Qt's English lines before it.
class StartWatch {
 public:
  StartWatch() { previous_ = qInstallMessageHandler(&Watch); }
  ~StartWatch() { End(); }
  StartWatch(const StartWatch&) = delete;
  StartWatch& operator=(const StartWatch&) = delete;
  // Qt's lines kept back go on to where they would have gone.
  void End() {
    if (ended_) return;
    ended_ = true;
    qInstallMessageHandler(previous_);
    std::vector<Kept> kept;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      kept.swap(kept_);
    }
    for (const Kept& k : kept) {
      const QMessageLogContext context(nullptr, 0, nullptr, k.category.constData());
      if (previous_) {
        previous_(k.type, context, k.text);
      } else {
        std::fprintf(stderr, "%s\n", qUtf8Printable(qFormatLogMessage(k.type, context, k.text)));
      }
    }
  }
  // Qt's threads that the system refused since the watch began.
  static int refusedThreads() { return refused_; }

 private:
  struct Kept {
    QtMsgType type;
    QByteArray category;
    QString text;
  };
  static void Watch(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
      SayOnStandardError(NoDisplayText());
      _exit(kStartupFailedStatus);
    }
    if (text.startsWith(QLatin1String("QThread::start: Thread creation error"))) ++refused_;
    const std::lock_guard<std::mutex> lock(mutex_);
    kept_.push_back({type, QByteArray(context.category ? context.category : "default"), text});
  }
  static inline QtMessageHandler previous_ = nullptr;
  static inline std::atomic<int> refused_ = 0;
  static inline std::mutex mutex_;
  static inline std::vector<Kept> kept_;
  bool ended_ = false;
};

}  // namespace

int RunProgram(int argc, char** argv) {
  // Qt waits for the session bus's answer without a time limit; the bus is asked first, within one.
  if (const QString note = LeaveOutSilentSessionBus(); !note.isEmpty()) SayOnStandardError(note);
  StartWatch watch;
  // Every thread the window needs is taken from the system before any is started and held until the one
  // that needs it starts: a thread that Qt asks for and the system refuses is waited for ever (the
  // display's events, the session bus of a message or of the main window's menu bar), so the start must
  // not get that far without it.
  ThreadReserve reserve(WindowThreadCount());
  if (reserve.held() < kQtOwnThreads) {
    // Not even a message can be shown: said on standard error, before any window.
    SayOnStandardError(WindowThreadsRefusal(reserve.held(), WindowThreadCount()));
    return kStartupFailedStatus;
  }
  reserve.Release(kQtOwnThreads);
  // Another program of the user may take the room just given back before Qt starts its threads in it. Each is
  // started where nothing waits for it yet, and one refused ends the start at once, on standard error (a window
  // would wait for it); the application's end would wait for it as well, hence _exit.
  const auto endIfQtThreadRefused = [&reserve] {
    if (StartWatch::refusedThreads() == 0) return;
    SayOnStandardError(
        WindowThreadsRefusal(kQtOwnThreads + reserve.held() - StartWatch::refusedThreads(), WindowThreadCount()));
    _exit(kStartupFailedStatus);
  };
  // The session bus's thread first: looking up a connection by a name that no connection has starts it and waits
  // for nothing, while the application object may already use the bus (an input method that talks over it).
  const QDBusConnection none(QStringLiteral("velaron-start"));
  endIfQtThreadRefused();
  QApplication app(argc, argv);  // with the display's reader
  endIfQtThreadRefused();
  // The session bus is connected now, on the thread just started for it, not by the first message or menu bar.
  // Its thread then serves every later connection (accessibility's bus, the menu bar's check).
  QDBusConnection::sessionBus();
  // The workbook library formats numbers with the C library's locale; a comma there corrupts the file.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QString::fromUtf8(texts::kProgramTitle));
  // The interface is Russian: so are the standard buttons and dialogs.
  ui::InstallQtTranslations();
  // Without its drawing threads, or without room for a calculation run, the window ends at once after
  // saying why, before any other window: the message needs no thread beyond the ones already running. The
  // application's end would wait for a thread that the system refused, hence _exit.
  if (reserve.held() < DrawingThreadCount() + kWorkerThreads) {
    ui::ShowCritical(nullptr, WindowThreadsRefusal(kQtOwnThreads + reserve.held(), WindowThreadCount()));
    _exit(kStartupFailedStatus);
  }
  // The drawing threads are started from the room held for them and kept; the room of the worker threads is
  // given back last.
  reserve.Release(DrawingThreadCount());
  if (!KeepDrawingThreadsOrRefuse(&StartWatch::refusedThreads)) _exit(kStartupFailedStatus);
  watch.End();
  reserve.Release(kWorkerThreads);

  ui::AppContext context;
  const StartupResult started = StartUp(db::DataFolder(), QCoreApplication::applicationDirPath(), context);
  if (!started.ok) return started.exitStatus;

  // The main window's library sits above the start screen's: the main window is made here when the start
  // screen asks for it.
  auto* start = new ui::frmMain1;
  start->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(start, &ui::frmMain1::nextRequested, &app, [&context] {
    auto* mainWindow = new ui::Form1;
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    mainWindow->setAppContext(&context);
    mainWindow->show();
  });
  QObject::connect(start, &ui::frmMain1::exitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  start->show();
  return app.exec();
}

}  // namespace velaron::app
