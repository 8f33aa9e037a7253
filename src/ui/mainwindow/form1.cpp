#include "ui/mainwindow/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/texts.h"
#include "db/data_folder.h"
#include "db/database.h"
#include "result/scenarios.h"
#include "ui/mainwindow/input_boxes.h"
#include "ui/mainwindow/main_links.h"
#include "ui/mainwindow/pipeline_tab.h"
#include "ui/mainwindow/rate_tab.h"
#include "ui/mainwindow/results_tab.h"
#include "ui/mainwindow/sections_tab.h"
#include "ui/mainwindow/tab_parts.h"
#include "ui/run/run_report.h"
#include "ui/widgets/messages.h"
#include "ui/widgets/numeric_box.h"

namespace velaron::ui {

namespace {
constexpr int kResultsTab = 3;
}  // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
  setObjectName("Form1");
  setWindowTitle(U("Программа \"Веларон\""));

  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);
  SSTab1_ = Named(new QTabWidget(central), "SSTab1");
  new TabChangeLeavesBox(SSTab1_);
  addInputTab(pipelineTab_ = new PipelineTab, "Данные по газопроводу");
  addInputTab(sectionsTab_ = new SectionsTab, "Данные по участкам");
  addInputTab(rateTab_ = new RateTab, "Вероятность аварии");
  SSTab1_->addTab(resultsTab_ = new ResultsTab, U("Диаграммы"));
  // A tab shown reads the stored data the start could not read (and says again why, while it cannot).
  connect(SSTab1_, &QTabWidget::currentChanged, this, [this] {
    if (!firstActivate_) readStoredData();
  });
  outer->addWidget(SSTab1_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  Command1_ = Named(new QPushButton(U("Расчет"), central), "Command1");
  Command2_ = Named(new QPushButton(U("Выход"), central), "Command2");
  buttons->addWidget(Command1_);
  buttons->addWidget(Command2_);
  outer->addLayout(buttons);
  setCentralWidget(central);
  buildMenus();

  // "Расчет" is the window's default and cancel button: Enter and Escape press it, unless the control
  // with the focus uses the key (Escape closing a drop-down list must not start a run).
  new DefaultButtonKeys(Command1_, this);
  connect(Command1_, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(Command2_, &QPushButton::clicked, this, &Form1::exitProgram);
  SSTab1_->setTabEnabled(kResultsTab, false);
  // Choosing a gas or a region from its list makes "Произвести расчет" available.
  connect(pipelineTab_, &PipelineTab::gasChosen, smProcess_, [this] { smProcess_->setEnabled(true); });
  connect(rateTab_, &RateTab::regionChosen, smProcess_, [this] { smProcess_->setEnabled(true); });
  connect(rateTab_, &RateTab::cityEditorRequested, this, [this] { openEditor(MakeWindEditor); });
  connect(resultsTab_, &ResultsTab::saveRequested, this, &Form1::cmdSaveResult_Click);

  // A first size that uses the screen (the results tab's pictures grow with it) and leaves room for the
  // window's frame and the desktop's panel.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect room = screen->availableGeometry();
    resize(std::min(room.width() - 40, 1400), std::min(room.height() - 70, 900));
  }

  openRunDialog_ = [](Form1& window, const result::RunRequest& request) { OpenRunDialog(window, request); };
}

Form1::~Form1() = default;

void Form1::addInputTab(InputTab* tab, const char* caption) {
  SSTab1_->addTab(tab, U(caption));
  connect(tab, &InputTab::wantsShown, SSTab1_, [this, tab] { SSTab1_->setCurrentWidget(tab); });
}

void Form1::setAppContext(AppContext* context) { context_ = context; }

ReportOptions& Form1::reportOptions() { return context_ ? context_->options : ownOptions_; }
const ReportOptions& Form1::reportOptions() const { return context_ ? context_->options : ownOptions_; }

void Form1::buildMenus() {
  QMenu* mFile = menuBar()->addMenu(U("&Файл"));
  mFile->setObjectName("mFile");
  QAction* smParam = Named(mFile->addAction(U("Параметры")), "smParam");
  Named(mFile->addSeparator(), "sm1");
  QAction* smExit = Named(mFile->addAction(U("Выход")), "smExit");

  QMenu* mProcess = menuBar()->addMenu(U("&Расчет"));
  mProcess->setObjectName("mProcess");
  smProcess_ = Named(mProcess->addAction(U("Произвести расчет")), "smProcess");
  smProcess_->setEnabled(false);
  QAction* z = Named(mProcess->addSeparator(), "z");
  z->setVisible(false);
  QAction* mnuTrub = Named(mProcess->addAction(U("Расчет струевого настильного факела")), "mnuTrub");
  mnuTrub->setVisible(false);

  QMenu* mData = menuBar()->addMenu(U("Добавить данные"));
  mData->setObjectName("mData");
  QAction* mnuGaz = Named(mData->addAction(U("Добавление\\изменение БД газов")), "mnuGaz");
  mData->addSeparator()->setObjectName(U("ооо"));
  QAction* mnuStatistika = Named(mData->addAction(U("Статистика аварий для территорий")), "mnuStatistika");

  QMenu* mHelp = menuBar()->addMenu(U("&Справка"));
  mHelp->setObjectName("mHelp");
  QAction* smHelp = Named(mHelp->addAction(U("Инструкция пользователя")), "smHelp");
  Named(mHelp->addSeparator(), "sm2");
  QAction* smAbout = Named(mHelp->addAction(U("О программе ...")), "smAbout");

  connect(smParam, &QAction::triggered, this, [this] { OpenSettings(*this); });
  connect(smExit, &QAction::triggered, this, &Form1::exitProgram);
  connect(smProcess_, &QAction::triggered, this, &Form1::smProcess_Click);
  connect(mnuTrub, &QAction::triggered, this, &Form1::mnuTrub_Click);
  connect(mnuGaz, &QAction::triggered, this, [this] { openEditor(MakeGasEditor); });
  connect(mnuStatistika, &QAction::triggered, this, [this] { openEditor(MakeRegionEditor); });
  connect(smHelp, &QAction::triggered, this, [this] { OpenHelp(*this); });
  connect(smAbout, &QAction::triggered, this, [this] { OpenAbout(*this); });
}

void Form1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The window is hidden while an editor is open, and a window never sized by the program snaps back to
  // its size hint on every show, dropping the size the user gave it: the first size counts as given.
  if (!testAttribute(Qt::WA_Resized)) resize(size());
  // The control that had the focus when the window was hidden gets it back: a late activation of the hidden
  // window (the closing menu gives it back) moves the focus on to the next control, where the next key would go.
  if (focusOnReturn_) focusOnReturn_->setFocus(Qt::OtherFocusReason);
  focusOnReturn_ = nullptr;
  if (firstActivate_) {
    Form_Activate();
  } else if (hiddenForEditor_) {
    // Back from an editor: its changes show in the lists, the choices stay. A database that cannot be read
    // is told once, and the lists not yet read keep what they showed without another wait. Stored data the
    // start could not read are read first.
    hiddenForEditor_ = false;
    if (readStoredData() && reloadReferenceLists()) reloadCityList();
  }
}

void Form1::hideEvent(QHideEvent* event) {
  QMainWindow::hideEvent(event);
  focusOnReturn_ = focusWidget();
}

void Form1::Form_Activate() {
  if (!firstActivate_) return;
  firstActivate_ = false;
  // The start-up marks the set-up as pending once; a window made without it pending does none.
  if (context_) {
    if (!context_->FirstActivate) return;
    context_->FirstActivate = false;
  }
  // The results tab stays closed until a run ends.
  SSTab1_->setTabEnabled(kResultsTab, false);
  SSTab1_->setCurrentIndex(0);
  resultsTab_->firstActivation();
  rateTab_->firstActivation();
  reportOptions().OptExtraFiles = true;
  reportOptions().Opt3D = true;
  sectionsTab_->firstActivation();
  // The start time is written once the data could be read (nothing reads it back): a file that could not
  // be read would refuse the write too, and say so a second time.
  if (!readStoredData()) return;
  if (const auto error = db::WriteStartTime(QDateTime::currentDateTime()); !error.isEmpty()) ShowCritical(this, error);
}

bool Form1::readStoredData() {
  // The tabs read in turn. The first read that fails is told and ends the reading: each read after it would
  // wait for the same file and say the same again; the tabs after it stay unread.
  return pipelineTab_->readStored() && rateTab_->readStored() && sectionsTab_->readStored();
}

double Form1::ExtFactors() const { return rateTab_->ExtFactors(); }

int Form1::selectedSection() const { return sectionsTab_->selectedSection(); }

void Form1::selectSection(int tpid) { sectionsTab_->selectSection(tpid); }

bool Form1::reloadReferenceLists() { return pipelineTab_->reloadGasList() && rateTab_->reloadRegionList(); }

bool Form1::reloadCityList() { return rateTab_->reloadCityList(); }

std::optional<result::RunRequest> Form1::prepareRun() {
  if (!readStoredData()) return std::nullopt;
  if (!pipelineTab_->checkGasChosen() || !rateTab_->checkRateGiven()) return std::nullopt;
  // Every number box of the input tabs, also those of tabs not shown.
  for (InputTab* tab : std::initializer_list<InputTab*>{pipelineTab_, sectionsTab_, rateTab_})
    if (!tab->checkBoxes()) return std::nullopt;
  result::RunRequest request;
  // The stored settings and the section as they are: a run never starts on defaults in place of settings
  // or a section that could not be read.
  db::ReadsInTurn reads;
  const auto settings = reads(db::LoadAdjustment);
  const auto section = reads([this] { return db::LoadSection(sectionsTab_->selectedSection()); });
  if (!reads.ok()) {
    ShowCritical(this, reads.error());
    return std::nullopt;
  }
  if (settings) request.settings = *settings;
  pipelineTab_->fillRequest(request);
  rateTab_->fillRequest(request);
  if (section) request.section = *section;
  request.options = {reportOptions().OptExtraFiles, reportOptions().Opt3D};
  // A refused start changes nothing: the rate of the last accepted start stays.
  const auto rate = rateTab_->accidentRate(request);
  if (!rate) return std::nullopt;
  rate_ = *rate;
  return request;
}

void Form1::Command1_Click() {
  if (running_) return;
  // A press that leaves the focus where it was (Enter in a box, the menu) leaves the box being typed in first,
  // as a click on the button does: a refused text stops the start, and an accepted one is stored before a
  // refusal of the start shows another tab.
  if (!NumericBox::leaveFocused(this)) return;
  if (auto request = prepareRun(); request && openRunDialog_) openRunDialog_(*this, *request);
}

// The menu runs the same start as the button: the run dialog never opens on unchecked inputs.
void Form1::smProcess_Click() { Command1_Click(); }

void Form1::setRunning(bool running) {
  running_ = running;
  Command1_->setText(U(running ? "Идет расчет" : "Расчет"));
  Command1_->setEnabled(!running);
  Command2_->setEnabled(!running);
  SSTab1_->setEnabled(!running);
  menuBar()->setEnabled(!running);
}

void Form1::onRunFinished(std::shared_ptr<const result::RunSnapshot> snapshot) {
  if (!snapshot) {
    setRunning(false);
    return;
  }
  lastRun_ = std::move(snapshot);
  resultsTab_->showRun(lastRun_);
  setRunning(false);
  SSTab1_->setTabEnabled(kResultsTab, true);
  SSTab1_->setCurrentIndex(kResultsTab);
}

QString Form1::windRoseFolder() const { return windRoseFolder_.isEmpty() ? db::DataFolder() : windRoseFolder_; }

void Form1::cmdSaveResult_Click() {
  if (!lastRun_) return;
  // The report of the last completed run, written from its record.
  SaveRunReport(this, *lastRun_, windRoseFolder());
}

void Form1::cmdSave_Click() { pipelineTab_->save(); }

void Form1::openEditor(QWidget* (*make)(Form1&)) {
  // The window steps aside for the editor: the box being typed in is left first, as a close leaves it; a
  // text it refuses keeps the window with the box, and no editor is made.
  if (!NumericBox::leaveFocused(this)) return;
  QWidget* editor = make(*this);
  if (!editor) return;
  hiddenForEditor_ = true;
  hide();
  editor->show();
}

void Form1::mnuTrub_Click() {
  if (running_) return;
  // The jet-flame window works with inputs of its own; the main window steps aside until it shows a
  // result or the jet-flame window is closed, and leaves the box being typed in first, as for an editor.
  if (!NumericBox::leaveFocused(this)) return;
  QWidget* fakel = MakeJetFlameWindow(*this);
  if (!fakel) return;
  hide();
  fakel->show();
}

void Form1::closeEvent(QCloseEvent* event) {
  // Closing by any way (the title bar, "Выход", the program's end) leaves the box being typed in first, as a
  // click elsewhere would: a value it accepts is stored, one it refuses keeps the window open.
  if (!NumericBox::leaveFocused(this)) {
    event->ignore();
    return;
  }
  // The sections were stored as they were edited; the pipeline data only by "Сохранить данные".
  if (!firstActivate_ && !running_ && pipelineTab_->dataChanged()) {
    const auto answer = ShowMessage(this, {QMessageBox::Question, U(texts::kProgramTitle), U("Сохранить изменения?"),
                                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel});
    if (answer != QMessageBox::Yes && answer != QMessageBox::No) {
      event->ignore();
      return;
    }
    if (answer == QMessageBox::Yes && !pipelineTab_->save()) {
      // Not stored (a box to put right, or the database refused): the window stays open with its message.
      event->ignore();
      return;
    }
  }
  QMainWindow::closeEvent(event);
}

void Form1::exitProgram() {
  // The user may keep the window open at the question about unsaved pipeline data.
  if (!close()) return;
  // Every other window closes with the program.
  QApplication::closeAllWindows();
  QCoreApplication::quit();
}

}  // namespace velaron::ui
