#include "ui/mainwindow/main_links.h"

#include <memory>

#include "ui/startup/about_box.h"
#include "ui/startup/form3.h"
#include "ui/startup/help.h"
#include "ui/widgets/messages.h"
#include "db/database.h"
#include "ui/mainwindow/form1.h"

#include "ui/refdata/frm_gaz.h"
#include "ui/refdata/frm_region.h"
#include "ui/refdata/frm_wind.h"
#include "ui/run/form6.h"
#include "ui/run/frm_str_fakel.h"

namespace velaron::ui {

void OpenSettings(Form1& window) {
  Form3 dialog(window.reportOptions(), &window);
  // Settings that could not be read are not shown as defaults: the message said why.
  if (dialog.loaded()) dialog.exec();
}

Form6* MakeRunDialog(Form1& window, const result::RunRequest& request) {
  auto* dialog = new Form6(request, &window);
  // Closed by "Отмена", the close box or a completed run, the dialog is gone: the next start opens a fresh one.
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  // The assessments over a year write the town's wind rose where the window's reports rewrite it.
  dialog->setWindRoseFolder(window.windRoseFolder());
  dialog->setOfferWorkbook(true);
  QObject::connect(dialog, &Form6::runStarted, &window, [&window] { window.setRunning(true); });
  QObject::connect(dialog, &Form6::runEnded, &window, [&window] { window.setRunning(false); });
  QObject::connect(dialog, &Form6::runFinished, &window,
                   [&window](std::shared_ptr<const result::RunSnapshot> s) { window.onRunFinished(std::move(s)); });
  QObject::connect(dialog, &Form6::sectionFound, &window, [&window](int tpid) { window.selectSection(tpid); });
  return dialog;
}

void OpenRunDialog(Form1& window, const result::RunRequest& request) {
  // A dialog whose run was refused stays loaded and hidden: it is shown again as it was left.
  Form6* dialog = window.findChild<Form6*>(QString(), Qt::FindDirectChildrenOnly);
  if (dialog) dialog->setBase(request);
  else dialog = MakeRunDialog(window, request);
  dialog->setModal(true);
  dialog->show();
}

QWidget* MakeJetFlameWindow(Form1& window) {
  FakelContext context;
  db::ReadsInTurn reads;
  auto gases = reads(db::LoadGases);
  const auto settings = reads(db::LoadAdjustment);
  auto tables = reads(db::LoadReferenceTables);
  if (!reads.ok()) {
    ShowCritical(&window, reads.error());
    return nullptr;
  }
  context.gases = std::move(gases);
  if (settings) context.settings = *settings;
  context.tables = std::make_shared<models::ReferenceTables>(std::move(tables));
  // The probabilities of the main window's last run, read when the calculation starts (0 before any run).
  context.lastProbabilities = [&window] {
    return window.lastRun() ? window.lastRun()->probabilities : result::Probabilities{};
  };
  context.showResult = [&window](std::shared_ptr<const result::RunSnapshot> snapshot) {
    window.onRunFinished(std::move(snapshot));
    window.show();
  };
  context.lastSaveXls = [&window] { return SaveXlsLeftBy(window.lastRun()); };
  context.options = [&window] {
    return result::OutputOptions{window.reportOptions().OptExtraFiles, window.reportOptions().Opt3D};
  };
  auto* fakel = new FrmStrFakel(std::move(context), &window);
  fakel->setAttribute(Qt::WA_DeleteOnClose);
  // Leaving the jet-flame window brings the main window back.
  QObject::connect(fakel, &FrmStrFakel::closed, &window, [&window] { window.show(); });
  return fakel;
}

namespace {
template <class Editor>
QWidget* MakeEditor(Form1& window) {
  auto made = std::make_unique<Editor>(&window);
  // An editor whose table cannot be read is not opened: its message is all the user sees, and the main
  // window stays.
  if (!made->Load()) return nullptr;
  Editor* editor = made.release();
  editor->setAttribute(Qt::WA_DeleteOnClose);
  // The main window reloads its lists once, when it is shown again on leaving the editor: each reload that
  // another program's lock makes wait would freeze the window once more.
  QObject::connect(editor, &Editor::returned, &window, [editor] { editor->deleteLater(); });
  return editor;
}
}  // namespace

QWidget* MakeGasEditor(Form1& window) { return MakeEditor<frmGaz>(window); }

QWidget* MakeRegionEditor(Form1& window) { return MakeEditor<frmRegion>(window); }

QWidget* MakeWindEditor(Form1& window) { return MakeEditor<frmWind>(window); }

void OpenHelp(Form1& window) { OpenManual(&window); }

void OpenAbout(Form1& window) {
  frmAbout about(&window);
  about.exec();
}

}  // namespace velaron::ui
