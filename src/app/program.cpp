#include "app/program.h"

#include <QApplication>
#include <QDBusConnection>
#include <clocale>
#include <cstdio>
#include <unistd.h>

#include "app/startup.h"
#include "common/drawing_threads.h"
#include "common/texts.h"
#include "db/data_folder.h"
#include "ui/mainwindow/form1.h"
#include "ui/startup/app_context.h"
#include "ui/startup/start_screen.h"
#include "ui/widgets/messages.h"

namespace velaron::app {

int RunProgram(int argc, char** argv) {
  // Every thread the window needs is taken from the system before any is started and held until the one
  // that needs it starts: a thread that Qt asks for and the system refuses is waited for ever (the
  // display's events, the session bus of a message or of the main window's menu bar), so the start must
  // not get that far without it.
  ThreadReserve reserve(WindowThreadCount());
  if (reserve.held() < kQtOwnThreads) {
    // Not even a message can be shown: said on standard error, before any window.
    std::fprintf(stderr, "%s: %s\n", texts::kProgramTitle,
                 qUtf8Printable(WindowThreadsRefusal(reserve.held(), WindowThreadCount())));
    return kStartupFailedStatus;
  }
  reserve.Release(kQtOwnThreads);
  QApplication app(argc, argv);
  // The session bus is connected now, on the thread just given back for it, not by the first message or
  // menu bar. Its thread then serves every later connection (accessibility's bus, the menu bar's check).
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
  if (!KeepDrawingThreadsOrRefuse()) _exit(kStartupFailedStatus);
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
