#include "mainwindow/main_links.h"

#include <QComboBox>
#include <QCoreApplication>

#include "app/about_box.h"
#include "app/form3.h"
#include "app/help.h"
#include "app/messages.h"
#include "db/database.h"
#include "mainwindow/form1.h"

// The build tells which neighbouring window libraries have their sources (see CMakeLists.txt).
#if defined(VELARON_HAVE_REFDATA)
#include "refdata/city_list.h"
#include "refdata/frm_gaz.h"
#include "refdata/frm_region.h"
#include "refdata/frm_wind.h"
#endif
#if defined(VELARON_HAVE_RUN_UI) && __has_include("run/ui/form6.h")
#include "run/ui/form6.h"
#include "run/ui/frm_str_fakel.h"
#define VELARON_RUN_DIALOG 1
#endif

namespace velaron::ui {

void OpenSettings(Form1& window) {
  Form3 dialog(window.reportOptions(), &window);
  dialog.exec();
}

void OpenRunDialog(Form1& window, const run::RunRequest& request) {
#if defined(VELARON_RUN_DIALOG)
  auto* dialog = new Form6(request, &window);
  dialog->setOpt3D(request.options.Opt3D);
  // The assessments over a year write the town's wind rose into the program's folder.
  dialog->setWindRoseFolder(QCoreApplication::applicationDirPath());
  QObject::connect(dialog, &Form6::runStarted, &window, [&window] { window.setRunning(true); });
  QObject::connect(dialog, &Form6::runEnded, &window, [&window] { window.setRunning(false); });
  QObject::connect(dialog, &Form6::runFinished, &window,
                   [&window](std::shared_ptr<const run::RunSnapshot> s) { window.onRunFinished(std::move(s)); });
  dialog->exec();
  // A run still under way keeps its dialog until it ends.
  if (dialog->running())
    QObject::connect(dialog, &Form6::runEnded, dialog, &QObject::deleteLater);
  else
    dialog->deleteLater();
#else
  (void)window;
  (void)request;
#endif
}

QWidget* MakeJetFlameWindow([[maybe_unused]] Form1& window) {
#if defined(VELARON_RUN_DIALOG)
  FakelContext context;
  context.gases = db::LoadGases();
  if (const auto settings = db::LoadAdjustment()) context.settings = *settings;
  auto tables = std::make_shared<models::ReferenceTables>();
  if (const QString error = db::LoadReferenceTables(*tables); !error.isEmpty()) {
    ShowCritical(&window, error);
    return nullptr;
  }
  context.tables = std::move(tables);
  // The probabilities of the main window's last run, read when the calculation starts (0 before any run).
  context.lastProbabilities = [&window] {
    return window.lastRun() ? window.lastRun()->probabilities : run::Probabilities{};
  };
  context.showResult = [&window](std::shared_ptr<const run::RunSnapshot> snapshot) {
    window.onRunFinished(std::move(snapshot));
    window.show();
  };
  context.options.opt3D = window.reportOptions().Opt3D;
  auto* fakel = new FrmStrFakel(std::move(context), &window);
  fakel->setAttribute(Qt::WA_DeleteOnClose);
  // Leaving the jet-flame window brings the main window back.
  QObject::connect(fakel, &FrmStrFakel::closed, &window, [&window] { window.show(); });
  return fakel;
#else
  return nullptr;
#endif
}

void RegisterReportWriters(Form1&) {
  // The report writers register here as they come; until then "Сохранить результаты" says so.
}

bool EditorsAvailable() {
#if defined(VELARON_HAVE_REFDATA)
  return true;
#else
  return false;
#endif
}

namespace {
#if defined(VELARON_HAVE_REFDATA)
template <class Editor>
QWidget* MakeEditor(Form1& window) {
  auto* editor = new Editor(&window);
  editor->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(editor, &Editor::dataChanged, &window, [&window] {
    window.reloadReferenceLists();
    window.reloadCityList();
  });
  QObject::connect(editor, &Editor::returned, &window, [&window, editor] {
    window.reloadReferenceLists();
    window.reloadCityList();
    editor->deleteLater();
  });
  return editor;
}
#endif
}  // namespace

QWidget* MakeGasEditor([[maybe_unused]] Form1& window) {
#if defined(VELARON_HAVE_REFDATA)
  return MakeEditor<frmGaz>(window);
#else
  return nullptr;
#endif
}

QWidget* MakeRegionEditor([[maybe_unused]] Form1& window) {
#if defined(VELARON_HAVE_REFDATA)
  return MakeEditor<frmRegion>(window);
#else
  return nullptr;
#endif
}

QWidget* MakeWindEditor([[maybe_unused]] Form1& window) {
#if defined(VELARON_HAVE_REFDATA)
  return MakeEditor<frmWind>(window);
#else
  return nullptr;
#endif
}

void OpenHelp(Form1& window) { OpenManual(&window); }

void OpenAbout(Form1& window) {
  frmAbout about(&window);
  about.exec();
}

void FillCityList(QComboBox* combo) {
#if defined(VELARON_HAVE_REFDATA)
  LoadCityList(combo, combo->currentIndex() >= 0 ? combo->currentData().toInt() : 0);
#else
  const int keep = combo->currentIndex() >= 0 ? combo->currentData().toInt() : 0;
  combo->clear();
  for (const auto& town : db::LoadWinds())
    if (town.idCity != 0) combo->addItem(town.CityName, town.idCity);
  const int kept = keep != 0 ? combo->findData(keep) : -1;
  combo->setCurrentIndex(kept >= 0 ? kept : (combo->count() > 0 ? 0 : -1));
#endif
}

}  // namespace velaron::ui
