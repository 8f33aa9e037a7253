// The program's entry: makes the application object, fixes the number locale for the writers, runs the
// start-up and shows the start screen. The main window is made here when the start screen asks for it,
// because the main window's library sits above the start screen's.
#include <QApplication>
#include <clocale>
#include <unistd.h>

#include "ui/startup/app_context.h"
#include "ui/startup/start_screen.h"
#include "app/startup.h"
#include "db/data_folder.h"
#include "ui/mainwindow/form1.h"
#include "ui/widgets/messages.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The workbook library formats numbers with the C library's locale; a comma there corrupts the file.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QString::fromUtf8("Веларон"));
  // The interface is Russian: so are the standard buttons and dialogs.
  velaron::ui::InstallQtTranslations();
  // Qt's drawing needs its threads before the first window is drawn. Without them the program ends at once
  // after saying why: the application's end would wait for a thread the system refused.
  if (!velaron::app::KeepDrawingThreadsOrRefuse()) _exit(velaron::app::kStartupFailedStatus);

  velaron::ui::AppContext context;
  const velaron::app::StartupResult started =
      velaron::app::StartUp(velaron::db::DataFolder(), QCoreApplication::applicationDirPath(), context);
  if (!started.ok) return started.exitStatus;

  auto* start = new velaron::ui::frmMain1;
  start->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(start, &velaron::ui::frmMain1::nextRequested, &app, [&context] {
    auto* mainWindow = new velaron::ui::Form1;
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    mainWindow->setAppContext(&context);
    mainWindow->show();
  });
  QObject::connect(start, &velaron::ui::frmMain1::exitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  start->show();
  return app.exec();
}
