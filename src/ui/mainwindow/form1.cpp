// The main window: its layout, menus, first activation and the navigation to the other windows.
#include "ui/mainwindow/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/widgets/messages.h"
#include "ui/widgets/numeric_box.h"
#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "db/database.h"
#include "ui/mainwindow/input_boxes.h"
#include "ui/mainwindow/main_links.h"
#include "ui/mainwindow/section_logic.h"
#include "result/crossings.h"
#include "run/result_display.h"

namespace velaron::ui {

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

QLabel* Label(const char* text, QWidget* parent) {
  auto* l = new QLabel(U(text), parent);
  l->setWordWrap(true);
  return l;
}

// The four external factors, in the order of the variables Eroz, Stih, Zapor, Rechper.
struct ExternalFactor {
  const char* check;
  const char* box;
  const char* caption;
  const char* tickedCaption;
  double byDefault;
};
constexpr ExternalFactor kExternal[4] = {
    {"Check5", "txtEroz", "эрозия почвы (для северных районов)", "эрозия почвы (для северных районов), с вероятностью", 0.2},
    {"Check6", "txtStih", "стихийные бедствия (бури, разрушительные землетрясения)", "стихийные бедствия, с вероятностью",
     0.01},
    {"Check7", "txtZapor", "наличие запорных арматур", "наличие запорных арматур, с вероятностью", 0.2},
    {"Check8", "txtRechper", "наличие речных переходов", "наличие речных переходов, с вероятностью", 0.1},
};

// Key filter kinds of the box factory.
enum KeysKind { kDecimal = 0, kSigned = 1, kInteger = 2, kAny = 3 };

}  // namespace

NumericBox* Form1::box(const char* name, const char* initial, int keysKind, QWidget* parent) {
  NumericBox::Keys keys = NumericBox::Keys::Decimal;
  NumericBox::Leave leave = NumericBox::Leave::Decimal;
  if (keysKind == kSigned) keys = NumericBox::Keys::SignedDecimal;
  if (keysKind == kInteger) keys = NumericBox::Keys::Integer, leave = NumericBox::Leave::Integer;
  if (keysKind == kAny) keys = NumericBox::Keys::Any;
  auto* b = Named(new NumericBox(parent, keys, leave), name);
  b->setText(U(initial));
  return b;
}

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
  setObjectName("Form1");
  setWindowTitle(U("Программа \"Веларон\""));

  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);
  SSTab1_ = Named(new QTabWidget(central), "SSTab1");
  SSTab1_->addTab(buildPipelineTab(), U("Данные по газопроводу"));
  SSTab1_->addTab(buildSectionsTab(), U("Данные по участкам"));
  SSTab1_->addTab(buildRateTab(), U("Вероятность аварии"));
  SSTab1_->addTab(buildResultsTab(), U("Диаграммы"));
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
  SSTab1_->setTabEnabled(3, false);

  // A first size that uses the screen (the results tab's pictures grow with it) and leaves room for the
  // window's frame and the desktop's panel.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect room = screen->availableGeometry();
    resize(std::min(room.width() - 40, 1400), std::min(room.height() - 70, 900));
  }

  openRunDialog_ = [](Form1& window, const result::RunRequest& request) { OpenRunDialog(window, request); };
}

Form1::~Form1() = default;

void Form1::setAppContext(AppContext* context) { context_ = context; }

ReportOptions& Form1::reportOptions() { return context_ ? context_->options : ownOptions_; }
const ReportOptions& Form1::reportOptions() const { return context_ ? context_->options : ownOptions_; }

void Form1::buildMenus() {
  QMenu* mFile = menuBar()->addMenu(U("&Файл"));
  mFile->setObjectName("mFile");
  smParam_ = Named(mFile->addAction(U("Параметры")), "smParam");
  Named(mFile->addSeparator(), "sm1");
  smExit_ = Named(mFile->addAction(U("Выход")), "smExit");

  QMenu* mProcess = menuBar()->addMenu(U("&Расчет"));
  mProcess->setObjectName("mProcess");
  smProcess_ = Named(mProcess->addAction(U("Произвести расчет")), "smProcess");
  smProcess_->setEnabled(false);
  QAction* z = Named(mProcess->addSeparator(), "z");
  z->setVisible(false);
  mnuTrub_ = Named(mProcess->addAction(U("Расчет струевого настильного факела")), "mnuTrub");
  mnuTrub_->setVisible(false);

  QMenu* mData = menuBar()->addMenu(U("Добавить данные"));
  mData->setObjectName("mData");
  mnuGaz_ = Named(mData->addAction(U("Добавление\\изменение БД газов")), "mnuGaz");
  mData->addSeparator()->setObjectName(U("ооо"));
  mnuStatistika_ = Named(mData->addAction(U("Статистика аварий для территорий")), "mnuStatistika");

  QMenu* mHelp = menuBar()->addMenu(U("&Справка"));
  mHelp->setObjectName("mHelp");
  smHelp_ = Named(mHelp->addAction(U("Инструкция пользователя")), "smHelp");
  Named(mHelp->addSeparator(), "sm2");
  smAbout_ = Named(mHelp->addAction(U("О программе ...")), "smAbout");

  connect(smParam_, &QAction::triggered, this, [this] { OpenSettings(*this); });
  connect(smExit_, &QAction::triggered, this, &Form1::exitProgram);
  connect(smProcess_, &QAction::triggered, this, &Form1::smProcess_Click);
  connect(mnuTrub_, &QAction::triggered, this, &Form1::mnuTrub_Click);
  connect(mnuGaz_, &QAction::triggered, this, [this] { openEditor(MakeGasEditor(*this)); });
  connect(mnuStatistika_, &QAction::triggered, this, [this] { openEditor(MakeRegionEditor(*this)); });
  connect(smHelp_, &QAction::triggered, this, [this] { OpenHelp(*this); });
  connect(smAbout_, &QAction::triggered, this, [this] { OpenAbout(*this); });
}

QWidget* Form1::buildPipelineTab() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);

  auto* Frame1 = Named(new QGroupBox(page), "Frame1");
  auto* f1 = new QVBoxLayout(Frame1);
  f1->addWidget(Label("Место расположения газопровода", Frame1));
  Text27_ = Named(new QLineEdit(Frame1), "Text27");
  f1->addWidget(Text27_);
  grid->addWidget(Frame1, 0, 0, 1, 2);
  grid->setRowStretch(2, 1);

  auto* Frame2 = Named(new QGroupBox(U("Данные по газопроводу"), page), "Frame2");
  auto* f2 = new QFormLayout(Frame2);
  DataCombo1_ = Named(new QComboBox(Frame2), "DataCombo1");
  f2->addRow(U("Газ"), DataCombo1_);
  Text3_ = box("Text3", "500", kDecimal, Frame2);
  Text3_->setExtraCheck([this](NumericBox& b) { return diameterRange(b); });
  f2->addRow(U("Диаметр трубы, мм"), Text3_);
  Text4_ = box("Text4", "7,5", kDecimal, Frame2);
  Text6_ = box("Text6", "6,9", kDecimal, Frame2);
  auto* pressure = new QHBoxLayout;
  pressure->addWidget(Text4_);
  pressure->addWidget(new QLabel(U("до"), Frame2));
  pressure->addWidget(Text6_);
  // Two boxes share one row: without a floor a narrow window squeezes them below a number's width.
  for (NumericBox* b : {Text4_, Text6_}) b->setMinimumWidth(60);
  f2->addRow(U("Давление, МПа: от"), pressure);
  Text5_ = box("Text5", "10", kSigned, Frame2);
  Text5_->setExtraCheck([this](NumericBox&) { return gasTemperatureCheck(); });
  f2->addRow(U("Температура газа, °С"), Text5_);
  Text10_ = box("Text10", "1,2", kDecimal, Frame2);
  AddRangeCheck(Text10_, run::kDepthRange);
  f2->addRow(U("Глубина залегания, м"), Text10_);
  Text13_ = box("Text13", "3", kDecimal, Frame2);
  f2->addRow(U("Протяженность магистрального газопровода, км"), Text13_);
  Lkr_ = box("Lkr", "1", kDecimal, Frame2);
  f2->addRow(U("Длина трубопровода между запорной арматурой, км"), Lkr_);
  Text14_ = box("Text14", "300", kInteger, Frame2);
  f2->addRow(U("Время срабатывания запорной арматуры, с"), Text14_);
  cmdSave_ = Named(new QPushButton(U("Сохранить данные"), Frame2), "cmdSave");
  f2->addRow(cmdSave_);
  connect(cmdSave_, &QPushButton::clicked, this, &Form1::cmdSave_Click);
  grid->addWidget(Frame2, 1, 0);

  auto* Frame10 = Named(new QGroupBox(U("Данные для расчета ущерба"), page), "Frame10");
  auto* f10 = new QFormLayout(Frame10);
  f10->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  damageBoxes_.push_back(box("Text15", "472,45", kDecimal, Frame10));
  f10->addRow(U("Стоимость 1 куб.м газа, руб."), damageBoxes_.back());
  f10->addRow(Label("Стоимость 1 куб.м лесной подати, руб.:", Frame10));
  const char* species[5][3] = {{"Text16", "31", "ель"}, {"Text17", "34,3", "сосна"}, {"Text18", "3,3", "осина"},
                               {"Text19", "17,2", "береза"}, {"Text20", "41,3", "кедр"}};
  for (auto& s : species) {
    damageBoxes_.push_back(box(s[0], s[1], std::string_view(s[0]) == "Text20" ? kAny : kDecimal, Frame10));
    f10->addRow(U(s[2]), damageBoxes_.back());
  }
  const char* costs[6][3] = {{"Text21", "436000", "Экономическая оценка древесных запасов, руб./га:"},
                             {"Text22", "20", "Стоимость засыпки грунта, руб./куб.м:"},
                             {"Text23", "41,3", "Стоимость 1 кв.м лесной подстилки, руб.:"},
                             {"Text24", "2100", "Стоимость трубы, руб./м:"},
                             {"Text2", "0,817", "Приведенная плотность газа, т/куб.м"},
                             {"Text26", "0,20", "Приведенная стоимость экол. платежей на 1т сгоревшего газа, руб. "}};
  for (auto& c : costs) {
    damageBoxes_.push_back(box(c[0], c[1], kDecimal, Frame10));
    f10->addRow(U(c[2]), damageBoxes_.back());
  }
  for (NumericBox* b : damageBoxes_) b->setMinimumWidth(90);
  grid->addWidget(Frame10, 1, 1);
  grid->setColumnStretch(1, 1);
  return page;
}

QWidget* Form1::buildSectionsTab() {
  auto* page = new QWidget;
  auto* row = new QHBoxLayout(page);

  auto* listColumn = new QVBoxLayout;
  List1_ = Named(new QListWidget(page), "List1");
  listColumn->addWidget(List1_);
  bAdd_ = Named(new QPushButton(U("Добавить"), page), "bAdd");
  bDelete_ = Named(new QPushButton(U("Удалить"), page), "bDelete");
  listColumn->addWidget(bAdd_);
  listColumn->addWidget(bDelete_);
  row->addLayout(listColumn, 1);
  connect(List1_, &QListWidget::itemSelectionChanged, this, &Form1::List1_Click);
  connect(bAdd_, &QPushButton::clicked, this, &Form1::bAdd_Click);
  connect(bDelete_, &QPushButton::clicked, this, &Form1::bDelete_Click);

  auto* right = new QVBoxLayout;
  auto* Frame6 = Named(new QGroupBox(U("Общие данные"), page), "Frame6");
  auto* f6 = new QGridLayout(Frame6);
  auto* form = new QFormLayout;
  Text1_ = Named(new QLineEdit(Frame6), "Text1");
  Text1_->setReadOnly(true);
  form->addRow(U("Номер участка"), Text1_);
  Text11_ = box("Text11", "", kDecimal, Frame6);
  AddRangeCheck(Text11_, run::kLengthRange, [this] { sectionBoxLeft(Text11_, &db::SectionRow::Length); });
  form->addRow(U("Длина участка, м:"), Text11_);
  Text9_ = box("Text9", "", kDecimal, Frame6);
  AddRangeCheck(Text9_, run::kDistanceRange, [this] { sectionBoxLeft(Text9_, &db::SectionRow::Udal); });
  form->addRow(Label("Удаление начала участка от точки начала  газопровода, м", Frame6), Text9_);
  Text25_ = Named(new FilteredBox(Frame6, [](QChar c) { return c.isDigit(); }, false, NumericBox::Leave::Integer),
                  "Text25");
  AddRangeCheck(Text25_, run::kAzimuthRange, [this] { azimuthEdited(); });
  connect(Text25_, &QLineEdit::textEdited, this, [this](const QString& t) {
    if (!t.isEmpty()) azimuthEdited();
  });
  form->addRow(U("Азимут трубопровода,°:"), Text25_);
  f6->addLayout(form, 0, 0);
  Picture1_ = Named(new CompassPicture(Frame6), "Picture1");
  // The compass stands beside the boxes and the total length, so the tab fits a 720-pixel screen.
  f6->addWidget(Picture1_, 0, 1, 2, 1);
  Command6_ = Named(new QPushButton(U("Общая протяженность введенных участков, м"), Frame6), "Command6");
  Text7_ = Named(new QLineEdit(Frame6), "Text7");
  Text7_->setReadOnly(true);
  auto* total = new QHBoxLayout;
  total->addWidget(Command6_);
  total->addWidget(Text7_);
  f6->addLayout(total, 1, 0);
  connect(Command6_, &QPushButton::clicked, this, &Form1::Command6_Click);
  right->addWidget(Frame6);

  Command4_ = Named(new QPushButton(U("Характеристика грунтов                                        -"), page),
                    "Command4");
  right->addWidget(Command4_);
  connect(Command4_, &QPushButton::clicked, this, &Form1::Command4_Click);
  Frame8_ = Named(new QGroupBox(page), "Frame8");
  auto* f8 = new QFormLayout(Frame8_);
  f8->setVerticalSpacing(3);
  const char* groundNames[4] = {"DataCombo5", "DataCombo2", "DataCombo3", "DataCombo4"};
  const char* groundLabels[4] = {"Грунт:", "Группа грунтов:", "Тип грунта:", "Вид грунта:"};
  for (int i = 0; i < 4; ++i) {
    groundCombos_[i] = Named(new QComboBox(Frame8_), groundNames[i]);
    f8->addRow(U(groundLabels[i]), groundCombos_[i]);
    connect(groundCombos_[i], &QComboBox::activated, this, [this, i](int index) { groundChosen(i, index); });
  }
  right->addWidget(Frame8_);

  Command5_ = Named(new QPushButton(U("Особые условия залегания                                      -"), page),
                    "Command5");
  right->addWidget(Command5_);
  connect(Command5_, &QPushButton::clicked, this, &Form1::Command5_Click);
  Frame7_ = Named(new QGroupBox(page), "Frame7");
  auto* f7 = new QGridLayout(Frame7_);
  f7->setVerticalSpacing(2);
  // Rows top to bottom in the order of the section's flags: road, power line, other pipeline, cable line.
  for (int i = 0; i < result::kCrossingCount; ++i) {
    const result::CrossingFacts& c = result::kCrossings[size_t(i)];
    crossingChecks_[i] = Named(new QCheckBox(Frame7_), c.check);
    crossingBoxes_[i] = box(c.box, c.initialText, kDecimal, Frame7_);
    AddRangeCheck(crossingBoxes_[i], run::kCrossingRange);
    crossingBoxes_[i]->hide();
    f7->addWidget(crossingChecks_[i], i, 0);
    f7->addWidget(crossingBoxes_[i], i, 1);
    connect(crossingChecks_[i], &QCheckBox::toggled, this, [this, i] { crossingToggled(i); });
    connect(crossingChecks_[i], &QCheckBox::clicked, this, [this, i] { crossingClicked(i); });
    connect(crossingBoxes_[i], &QLineEdit::textEdited, this, [this, i] { crossingEdited(i); });
    crossingToggled(i);
  }
  right->addWidget(Frame7_);
  right->addStretch();
  row->addLayout(right, 3);
  return page;
}

QWidget* Form1::buildRateTab() {
  auto* page = new QWidget;
  auto* col = new QVBoxLayout(page);
  auto* Frame4 = Named(new QGroupBox(page), "Frame4");
  auto* f4 = new QGridLayout(Frame4);
  cmbCity_ = Named(new QComboBox(Frame4), "cmbCity");
  cmdSpecifyCity_ = Named(new QPushButton(U("Уточнить данные"), Frame4), "cmdSpecifyCity");
  f4->addWidget(new QLabel(U("Город"), Frame4), 0, 0);
  f4->addWidget(cmbCity_, 0, 1);
  f4->addWidget(cmdSpecifyCity_, 0, 2);
  connect(cmdSpecifyCity_, &QPushButton::clicked, this, [this] { openEditor(MakeWindEditor(*this)); });
  f4->addWidget(Label("Среднегодовая относительная повторяемость инверсионной устойчивости атмосферы (классы F и G "
                      "по Пасквиллу), %",
                      Frame4),
                1, 0, 1, 2);
  Text12_ = box("Text12", "14,3", kDecimal, Frame4);
  AddRangeCheck(Text12_, run::kInversRange);
  f4->addWidget(Text12_, 1, 2);

  auto* Frame5 = Named(new QGroupBox(U("Определение интенсивности аварий на 1000 км в год"), Frame4), "Frame5");
  auto* f5 = new QGridLayout(Frame5);
  DataCombo6_ = Named(new QComboBox(Frame5), "DataCombo6");
  f5->addWidget(new QLabel(U("Регион"), Frame5), 0, 0);
  f5->addWidget(DataCombo6_, 0, 1, 1, 2);
  Option1_ = Named(new QRadioButton(U("по расположению газопровода в регионе страны"), Frame5), "Option1");
  Option2_ = Named(new QRadioButton(U("количество аварий на 1000 км газопровода в год (в среднем по линейной части "
                                      "крупной газотранспортной организации)"),
                                    Frame5),
                   "Option2");
  Option3_ = Named(new QRadioButton(U("ввод в ручную, вероятности возникновения хотя бы одной аварии на газопроводе "
                                      "(1 км)  в течение года"),
                                    Frame5),
                   "Option3");
  Text8_ = box("Text8", "0,33", kDecimal, Frame5);
  alfa_tr_ = box("alfa_tr", "1", kDecimal, Frame5);
  AddRangeCheck(Text8_, run::kAccidentsPer1000kmRange);
  AddRangeCheck(alfa_tr_, run::kAccidentProbabilityRange);
  Combo2_ = Named(new QComboBox(Frame5), "Combo2");
  Combo2_->hide();  // nothing fills its list and nothing reads it
  f5->addWidget(Option1_, 1, 0, 1, 2);
  f5->addWidget(Option2_, 2, 0, 1, 2);
  f5->addWidget(Text8_, 2, 2);
  f5->addWidget(Option3_, 3, 0, 1, 2);
  f5->addWidget(alfa_tr_, 3, 2);
  f5->addWidget(Combo2_, 4, 0);
  Text8_->hide();
  alfa_tr_->hide();
  Option1_->setChecked(true);
  for (auto* o : {Option1_, Option2_, Option3_}) connect(o, &QRadioButton::clicked, this, &Form1::optionChanged);
  f4->addWidget(Frame5, 2, 0, 1, 3);
  col->addWidget(Frame4);
  connect(DataCombo1_, &QComboBox::activated, this, [this](int index) {
    Gas_ = index + 1;
    smProcess_->setEnabled(true);
  });
  connect(DataCombo6_, &QComboBox::activated, this, [this](int index) {
    RegionPos_ = index + 1;
    smProcess_->setEnabled(true);
  });

  auto* Frame9 = Named(new QGroupBox(U("Влияние внешних факторов"), page), "Frame9");
  auto* f9 = new QGridLayout(Frame9);
  // Rows top to bottom: river crossings, erosion, natural disasters, shut-off valves.
  const int rowOf[4] = {1, 2, 3, 0};
  for (int i = 0; i < 4; ++i) {
    externalChecks_[i] = Named(new QCheckBox(U(kExternal[i].caption), Frame9), kExternal[i].check);
    // Digits and the point pass; everything else, the comma among it, is dropped without a beep.
    auto* b = Named(new FilteredBox(Frame9, [](QChar c) { return c.isDigit() || c == '.'; }, false,
                                    NumericBox::Leave::None),
                    kExternal[i].box);
    b->setExtraCheck([this](NumericBox& self) { return externalLeave(self); });
    b->hide();
    externalBoxes_[i] = b;
    f9->addWidget(externalChecks_[i], rowOf[i], 0);
    f9->addWidget(b, rowOf[i], 1);
    connect(externalChecks_[i], &QCheckBox::toggled, this, [this, i] { externalToggled(i); });
  }
  col->addWidget(Frame9);
  col->addStretch();
  return page;
}

QWidget* Form1::buildResultsTab() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  // One layout for every choice and every scenario: the distance chart on the left, the picture beside it,
  // the options, zones and the save button in a column of their own on the right. Every picture is drawn in
  // the same cell, so each view shows its picture at one size with one size of lettering; hidden views keep
  // their room, so nothing moves when another option is chosen.
  graf1_ = Named(new QChartView(page), "graf1");
  graf2_ = Named(new QChartView(page), "graf2");
  for (QChartView* v : {graf1_, graf2_}) {
    v->setMinimumSize(300, 260);  // tall enough for the longest y-axis title
    v->setRenderHint(QPainter::Antialiasing);
  }
  SetDistanceChart(graf1_, {}, U("Расстояние от центра взрыва, м"), U(result::kOverpressureAxisTitle));
  SetDistanceChart(graf2_, {}, U(result::kDistanceAxisTitle), U(result::kPercentAxisTitle));
  imgDiagr1_ = Named(new PictureLabel(page), "imgDiagr1");
  imgDiagr2_ = Named(new PictureLabel(page), "imgDiagr2");
  imgRisk_ = Named(new PictureLabel(page), "imgRisk");
  for (QLabel* l : {imgDiagr1_, imgDiagr2_, imgRisk_}) {
    l->setMinimumSize(360, 270);
    l->setAlignment(Qt::AlignCenter);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{graf1_, graf2_, imgDiagr1_, imgDiagr2_, imgRisk_}) {
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }
  grid->addWidget(graf1_, 0, 0);
  grid->addWidget(graf2_, 0, 0);
  grid->addWidget(imgDiagr1_, 0, 1);
  grid->addWidget(imgDiagr2_, 0, 1);
  grid->addWidget(imgRisk_, 0, 1);
  graf2_->hide();
  imgDiagr2_->hide();

  auto* side = new QVBoxLayout;
  fraDiagr_ = Named(new QGroupBox(U("Диаграмма"), page), "fraDiagr");
  auto* fd = new QVBoxLayout(fraDiagr_);
  optPor_ = Named(new QRadioButton(U("Значения пораж. фактора"), fraDiagr_), "optPor");
  optVer_ = Named(new QRadioButton(U("Вероятность поражения"), fraDiagr_), "optVer");
  optRisk_ = Named(new QRadioButton(U("Риск"), fraDiagr_), "optRisk");
  optPor_->setChecked(true);
  for (auto* o : {optPor_, optVer_, optRisk_}) fd->addWidget(o);
  connect(optPor_, &QRadioButton::clicked, this, &Form1::optPor_Click);
  connect(optVer_, &QRadioButton::clicked, this, &Form1::optVer_Click);
  connect(optRisk_, &QRadioButton::clicked, this, &Form1::optRisk_Click);
  side->addWidget(fraDiagr_);

  fraZon_ = Named(new QGroupBox(U("Глубина зон поражения:"), page), "fraZon");
  auto* fz = new QFormLayout(fraZon_);
  const char* zoneNames[5] = {"txtRsm", "txtRs", "txtRsr", "txtRsl", "txtRb"};
  const char* zoneLabels[5] = {"Зона безусловного поражения, м", "Зона возможно сильного поражения, м",
                               "Зона возможно среднего поражения, м:", "Зона возможно слабого поражения, м:",
                               "Зона безопасноси, м:"};
  for (int i = 0; i < 5; ++i) {
    zoneBoxes_[i] = Named(new QLineEdit(fraZon_), zoneNames[i]);
    zoneBoxes_[i]->setReadOnly(true);
    zoneBoxes_[i]->setMinimumWidth(90);
    auto* label = new QLabel(U(zoneLabels[i]), fraZon_);
    label->setWordWrap(true);
    fz->addRow(label, zoneBoxes_[i]);
  }
  side->addWidget(fraZon_);

  fraMessage_ = Named(new QGroupBox(page), "fraMessage");
  auto* fm = new QVBoxLayout(fraMessage_);
  fm->addWidget(Named(Label("Для расчета глубины зон поражения увеличьте Ширину зоны расчета по X и Y в меню ФАЙЛ -> "
                            "ПАРАМЕТРЫ РАСЧЕТА -> ШИРИНА ЗОНЫ РАСЧЕТА ПО X и Y",
                            fraMessage_),
                      "Label19"));
  side->addWidget(fraMessage_);

  cmdSaveResult_ = Named(new QPushButton(U("Сохранить результаты"), page), "cmdSaveResult");
  cmdSaveResult_->hide();
  connect(cmdSaveResult_, &QPushButton::clicked, this, &Form1::cmdSaveResult_Click);
  side->addWidget(cmdSaveResult_);

  // Grid tools: present but not offered to the user.
  const char* maxTexts[3] = {"Text28", "30", "40"};
  for (int i = 0; i < 3; ++i) {
    Max_[i] = new QLineEdit(U(maxTexts[i]), page);
    Max_[i]->setObjectName(QString("Max_%1").arg(i));
    Max_[i]->hide();
    side->addWidget(Max_[i]);
  }
  Command3_ = Named(new QPushButton(U("Отрисовка"), page), "Command3");
  Command7_ = Named(new QPushButton(U("Command7"), page), "Command7");
  Command3_->hide();
  Command7_->hide();
  side->addWidget(Command3_);
  side->addWidget(Command7_);
  connect(Command3_, &QPushButton::clicked, this, &Form1::Command3_Click);
  connect(Command7_, &QPushButton::clicked, this, &Form1::Command7_Click);
  side->addStretch();
  // The column keeps one width whatever it shows, so the options never move sideways.
  auto* sideBox = new QWidget(page);
  sideBox->setObjectName("resultSide");
  sideBox->setLayout(side);
  side->setContentsMargins(0, 0, 0, 0);
  sideBox->setFixedWidth(320);
  grid->addWidget(sideBox, 0, 2);
  grid->setColumnStretch(0, 4);
  grid->setColumnStretch(1, 5);
  return page;
}

void Form1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The window is hidden while an editor is open, and a window never sized by the program snaps back to
  // its size hint on every show, dropping the size the user gave it: the first size counts as given.
  if (!testAttribute(Qt::WA_Resized)) resize(size());
  if (firstActivate_) {
    Form_Activate();
  } else if (hiddenForEditor_) {
    // Back from an editor: its changes show in the lists, the choices stay.
    hiddenForEditor_ = false;
    reloadReferenceLists();
    reloadCityList();
  }
}

void Form1::Form_Activate() {
  if (!firstActivate_) return;
  firstActivate_ = false;
  // The start-up marks the set-up as pending once; a window made without it pending does none.
  if (context_) {
    if (!context_->FirstActivate) return;
    context_->FirstActivate = false;
  }
  // 1. The results tab stays closed until a run ends.
  SSTab1_->setTabEnabled(3, false);
  SSTab1_->setCurrentIndex(0);
  // 2-3. The start time.
  if (const auto error = db::WriteStartTime(QDateTime::currentDateTime()); !error.isEmpty()) ShowCritical(this, error);
  // 4. The stored pipeline inputs.
  if (const auto row = db::LoadAdjustment()) {
    Gas_ = row->Gas;
    Text10_->setText(NumberText(row->Glubina));
    Text3_->setText(NumberText(row->Diametr));
    Text4_->setText(NumberText(row->DavlDown));
    Text6_->setText(NumberText(row->DavlUp));
    Text5_->setText(NumberText(row->Temp));
    Text13_->setText(NumberText(row->Ltrub));
    Text14_->setText(NumberText(row->Tsrab));
    Lkr_->setText(NumberText(row->Lkr));
  }
  // 6. Result views hidden until a run.
  optPor_->setEnabled(true);
  for (QWidget* w : std::initializer_list<QWidget*>{graf1_, imgDiagr1_, fraDiagr_, fraMessage_, imgRisk_}) w->hide();
  // 7. Towns.
  reloadCityList();
  // 8. External-factor defaults.
  for (int i = 0; i < 4; ++i) {
    extValues_[i] = kExternal[i].byDefault;
    externalBoxes_[i]->setText(NumberText(kExternal[i].byDefault));
  }
  externalToggled(0);
  // 10. No region chosen yet.
  RegionPos_ = -1;
  // 13. Gases and regions; the stored gas is shown.
  gases_ = db::LoadGases();
  DataCombo1_->clear();
  for (const auto& g : gases_) DataCombo1_->addItem(g.VName);
  DataCombo1_->setCurrentIndex(Gas_ >= 1 && Gas_ <= static_cast<int>(gases_.size()) ? Gas_ - 1 : -1);
  regions_ = db::LoadRegions();
  DataCombo6_->clear();
  for (const auto& r : regions_) DataCombo6_->addItem(r.Region);
  DataCombo6_->setCurrentIndex(-1);
  // 14. Both frames unfolded.
  GroundFolded_ = CrossingsFolded_ = false;
  // 15. Both report options on.
  reportOptions().OptExtraFiles = true;
  reportOptions().Opt3D = true;
  // 17-21. The sections; the first one is shown.
  fillSectionList(0);
  // 19. Accident rate by region.
  Option1_->setChecked(true);
  optionChanged();
}

void Form1::externalToggled(int i) {
  const bool on = externalChecks_[i]->isChecked();
  externalChecks_[i]->setText(U(on ? kExternal[i].tickedCaption : kExternal[i].caption));
  externalBoxes_[i]->setVisible(on);
  // The sum takes the variables, which the boxes reach only at the start of a run.
  ExtFactors_ = 0;
  for (int k = 0; k < 4; ++k)
    if (externalChecks_[k]->isChecked()) ExtFactors_ += extValues_[k];
}

void Form1::reloadReferenceLists() {
  const QString gasName = DataCombo1_->currentIndex() >= 0 ? DataCombo1_->currentText() : QString();
  const QString regionName = DataCombo6_->currentIndex() >= 0 ? DataCombo6_->currentText() : QString();
  gases_ = db::LoadGases();
  DataCombo1_->clear();
  for (const auto& g : gases_) DataCombo1_->addItem(g.VName);
  const int gi = gasName.isEmpty() ? -1 : DataCombo1_->findText(gasName, Qt::MatchExactly);
  DataCombo1_->setCurrentIndex(gi);
  // A gas no longer listed is no longer chosen: its old position may now name another gas.
  Gas_ = gi >= 0 ? gi + 1 : -1;
  regions_ = db::LoadRegions();
  DataCombo6_->clear();
  for (const auto& r : regions_) DataCombo6_->addItem(r.Region);
  const int ri = regionName.isEmpty() ? -1 : DataCombo6_->findText(regionName, Qt::MatchExactly);
  DataCombo6_->setCurrentIndex(ri);
  RegionPos_ = ri >= 0 ? ri + 1 : -1;
}

void Form1::reloadCityList() {
  const QVariant chosen = cmbCity_->currentData();
  FillCityList(cmbCity_);
  if (chosen.isValid()) {
    const int i = cmbCity_->findData(chosen);
    if (i >= 0) cmbCity_->setCurrentIndex(i);
  }
}

void Form1::openEditor(QWidget* editor) {
  if (!editor) return;
  hiddenForEditor_ = true;
  hide();
  editor->show();
}

void Form1::mnuTrub_Click() {
  if (running_) return;
  // The jet-flame window works with inputs of its own; the main window steps aside until it shows a
  // result or the jet-flame window is closed.
  QWidget* fakel = MakeJetFlameWindow(*this);
  if (!fakel) return;
  hide();
  fakel->show();
}

void Form1::cmdSave_Click() { savePipelineData(); }

bool Form1::savePipelineData() {
  // Every box the store reads is checked first; a box that is not a number keeps the focus.
  if (!NumericBox::checkAll(findChild<QGroupBox*>("Frame2"))) {
    SSTab1_->setCurrentIndex(0);
    return false;
  }
  db::AdjustmentRow row;
  if (const auto stored = db::LoadAdjustment()) row = *stored;
  row.Gas = Gas_;
  row.Glubina = Text10_->value().value_or(row.Glubina);
  row.Diametr = Text3_->value().value_or(row.Diametr);
  row.DavlDown = Text4_->value().value_or(row.DavlDown);
  row.DavlUp = Text6_->value().value_or(row.DavlUp);
  row.Temp = Text5_->value().value_or(row.Temp);
  row.Ltrub = Text13_->value().value_or(row.Ltrub);
  row.Tsrab = Text14_->value().value_or(row.Tsrab);
  row.Lkr = Lkr_->value().value_or(row.Lkr);
  if (const auto error = db::SavePipelineInputs(row); !error.isEmpty()) {
    ShowCritical(this, error);
    return false;
  }
  return true;
}

bool Form1::pipelineDataChanged() const {
  const auto stored = db::LoadAdjustment();
  if (!stored) return true;
  // A stored value is compared as its box shows it (15 significant digits).
  auto differs = [](const NumericBox* b, double value) {
    return b->value() != ParseNumber(FormatNumber(value));
  };
  return Gas_ != stored->Gas || differs(Text10_, stored->Glubina) || differs(Text3_, stored->Diametr) ||
         differs(Text4_, stored->DavlDown) || differs(Text6_, stored->DavlUp) || differs(Text5_, stored->Temp) ||
         differs(Text13_, stored->Ltrub) || differs(Text14_, stored->Tsrab) || differs(Lkr_, stored->Lkr);
}

void Form1::closeEvent(QCloseEvent* event) {
  // The sections were stored as they were edited; the pipeline data only by "Сохранить данные".
  if (!firstActivate_ && !running_ && pipelineDataChanged()) {
    const auto answer = ShowMessage(this, {QMessageBox::Question, U(texts::kProgramTitle), U("Сохранить изменения?"),
                                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel});
    if (answer != QMessageBox::Yes && answer != QMessageBox::No) {
      event->ignore();
      return;
    }
    if (answer == QMessageBox::Yes && !savePipelineData()) {
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
