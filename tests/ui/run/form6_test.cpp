// The run dialog: its layout rules, key filters, the first press and its question, a run on the worker
// thread with the progress window, cancelling, and the edge warning.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include "app/numeric_box.h"
#include "common/texts.h"
#include "message_catcher.h"
#include "models/flame_flux.h"
#include "run/prepare.h"
#include "run/run_fixtures.h"
#include "run/run_texts.h"
#include "run/ui/distance_charts.h"
#include "run/ui/form2.h"
#include "run/ui/form6.h"

namespace velaron::ui {
namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

template <class T>
T* Find(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(QLatin1String(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

void Type(QWidget* w, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
}

// Waits (serving events) until the dialog's run has ended.
bool WaitForRun(Form6& f, int ms = 20000) {
  QElapsedTimer t;
  t.start();
  while (f.running() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
  QApplication::processEvents();
  return !f.running();
}

// Rows from the synthetic fixtures: section 1 exists, every other number does not.
Form6::Services FakeServices() {
  Form6::Services s = Form6::DatabaseServices();
  s.section = [](int tpid) -> std::optional<db::SectionRow> {
    if (tpid != 1) return std::nullopt;
    return test::GoodData().section;
  };
  s.ground = [](const QString&) { return test::GoodData().ground; };
  s.runData = [](const run::RunRequest&) { return test::GoodData(); };
  return s;
}

struct Dialog {
  QWidget parent;
  Form6* form;
  std::vector<std::shared_ptr<const run::RunSnapshot>> finished;
  int started = 0, ended = 0;
  explicit Dialog(const run::RunRequest& base = test::GoodRequest(5)) {
    form = new Form6(base, &parent);
    form->setServices(FakeServices());
    QObject::connect(form, &Form6::runFinished, [this](auto s) { finished.push_back(s); });
    QObject::connect(form, &Form6::runStarted, [this] { ++started; });
    QObject::connect(form, &Form6::runEnded, [this] { ++ended; });
    form->show();
  }
  ~Dialog() { delete form; }
  void choose(int code) { Find<QComboBox>(form, "Combo1")->setCurrentIndex(code - 1); }
  void section(const char* number) { Find<QLineEdit>(form, "Text1")->setText(QLatin1String(number)); }
  bool shown(const char* name) { return Find<QWidget>(form, name)->isVisibleTo(form); }
  // Shown once its group is: the share boxes sit in the share group, hidden until the first press.
  bool flag(const char* name) { return !Find<QWidget>(form, name)->isHidden(); }
  void press() { Find<QPushButton>(form, "cmdRaschet")->click(); }
};

TEST(Form6Layout, FreshDialog) {
  Dialog d;
  EXPECT_EQ(d.form->windowTitle(), U("Расчет"));
  EXPECT_EQ(Find<QComboBox>(d.form, "Combo1")->currentText(), U("Комплексная оценка"));
  EXPECT_EQ(Find<QComboBox>(d.form, "Combo1")->count(), 8);
  EXPECT_TRUE(Find<QLineEdit>(d.form, "Text1")->text().isEmpty());
  EXPECT_FALSE(Find<QPushButton>(d.form, "cmdRaschet")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>(d.form, "cmdRaschet")->isDefault());
  EXPECT_FALSE(d.shown("Frame4"));
  EXPECT_FALSE(d.shown("Frame3"));
  EXPECT_FALSE(d.shown("fraOther"));
  EXPECT_FALSE(d.shown("Text8"));
  EXPECT_EQ(Find<QLineEdit>(d.form, "Text8")->text(), QStringLiteral("25"));
  EXPECT_EQ(Find<QComboBox>(d.form, "Combo3")->currentText(), U("Зима"));
  EXPECT_EQ(Find<QComboBox>(d.form, "Combo9")->currentText(), U("С"));
  EXPECT_EQ(Find<QLineEdit>(d.form, "Text2")->text(), QStringLiteral("0"));
}

TEST(Form6Layout, SectionNumberEnablesTheRunButton) {
  Dialog d;
  auto* text1 = Find<QLineEdit>(d.form, "Text1");
  text1->setFocus();
  Type(text1, Qt::Key_3, QStringLiteral("3"));
  EXPECT_EQ(text1->text(), QStringLiteral("3"));
  EXPECT_TRUE(Find<QPushButton>(d.form, "cmdRaschet")->isEnabled());
  Type(text1, Qt::Key_A, QStringLiteral("a"));
  Type(text1, Qt::Key_Minus, QStringLiteral("-"));
  EXPECT_EQ(text1->text(), QStringLiteral("3"));  // refused
  Type(text1, Qt::Key_Backspace, QString());
  EXPECT_TRUE(text1->text().isEmpty());
  EXPECT_FALSE(Find<QPushButton>(d.form, "cmdRaschet")->isEnabled());
}

TEST(Form6Layout, WindSpeedKeys) {
  Dialog d;
  auto* box = Find<NumericBox>(d.form, "Text2");
  EXPECT_TRUE(box->acceptsKey(QStringLiteral(","), Qt::Key_Comma));
  EXPECT_TRUE(box->acceptsKey(QStringLiteral("."), Qt::Key_Period));
  EXPECT_TRUE(box->acceptsKey(QStringLiteral("7"), Qt::Key_7));
  EXPECT_FALSE(box->acceptsKey(QStringLiteral("x"), Qt::Key_X));
  EXPECT_FALSE(Find<NumericBox>(d.form, "Text1")->acceptsKey(QStringLiteral(","), Qt::Key_Comma));
}

TEST(Form6Layout, PitJetShowsWeatherAndTheSeasonRow) {
  Dialog d;
  d.choose(3);
  EXPECT_TRUE(d.shown("Frame3"));
  EXPECT_TRUE(d.flag("Frame6"));   // winter row (inside the still hidden share group)
  EXPECT_FALSE(d.flag("Frame7"));
  EXPECT_TRUE(d.flag("Pkw"));
  EXPECT_FALSE(d.flag("Psw"));
  EXPECT_FALSE(d.flag("Paw"));
  Find<QComboBox>(d.form, "Combo3")->setCurrentIndex(1);
  EXPECT_FALSE(d.flag("Frame6"));
  EXPECT_TRUE(d.flag("Frame7"));
  EXPECT_TRUE(d.flag("Pks"));
  EXPECT_EQ(Find<QCheckBox>(d.form, "chkPress")->text(), U("Тепловой поток"));
}

TEST(Form6Layout, YearRoundShowsAllSharesWithoutWeather) {
  Dialog d;
  for (int code : {7, 1}) {
    d.choose(code);
    EXPECT_FALSE(d.shown("Frame3")) << code;
    for (const char* box : {"Frame6", "Frame7", "Pkw", "Psw", "Paw", "Pks", "Pss", "Pas"})
      EXPECT_TRUE(d.flag(box)) << code << box;
  }
}

TEST(Form6Layout, BlastAndFireballHideBothRows) {
  Dialog d;
  for (int code : {2, 6, 8}) {
    d.choose(code);
    EXPECT_FALSE(d.flag("Frame6")) << code;
    EXPECT_FALSE(d.flag("Frame7")) << code;
    EXPECT_FALSE(d.shown("Frame3")) << code;
  }
  d.choose(2);
  EXPECT_EQ(Find<QCheckBox>(d.form, "chkPress")->text(), U("Избыточное давление, кПа"));
  EXPECT_FALSE(d.shown("fraOther"));
}

TEST(Form6Run, FirstPressAsksAndFillsTheShares) {
  test::MessageCatcher catcher(QMessageBox::Yes);
  Dialog d;
  d.choose(3);
  d.section("1");
  d.press();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, U("Хотите уточнить вероятность аварии?"));
  EXPECT_EQ(catcher.requests[0].title, U("В н и м а н и е ! ! !"));
  EXPECT_EQ(d.started, 0);  // stopped for the correction
  EXPECT_TRUE(d.shown("Frame4"));
  EXPECT_FALSE(Find<QGroupBox>(d.form, "Frame1")->isEnabled());
  // The ground row's shares with the decimal comma: WP3_1 0.2 → "0,2".
  EXPECT_EQ(Find<QLineEdit>(d.form, "Pkw")->text(), QStringLiteral("0,2"));
  EXPECT_EQ(Find<QLineEdit>(d.form, "Pks")->text(), QStringLiteral("0,25"));
  EXPECT_EQ(Find<QLineEdit>(d.form, "Pas")->text(), QStringLiteral("0,4"));

  // The next press asks nothing and runs with the shares as edited.
  Find<QLineEdit>(d.form, "Pkw")->setText(QStringLiteral("0,5"));
  catcher.requests.clear();
  d.press();
  ASSERT_TRUE(WaitForRun(*d.form));
  EXPECT_EQ(d.started, 1);
  EXPECT_EQ(d.ended, 1);
  ASSERT_EQ(d.finished.size(), 1u);
  EXPECT_EQ(d.finished[0]->ScenarioCode, 3);
  EXPECT_EQ(d.finished[0]->probabilities.Pkw, 0.5);
  for (const auto& r : catcher.requests) EXPECT_NE(r.text, U("Хотите уточнить вероятность аварии?"));
  EXPECT_EQ(d.form->result(), QDialog::Accepted);
  EXPECT_TRUE(d.parent.isEnabled());
}

TEST(Form6Run, BlastRunsAtTheFirstPressWithoutAQuestion) {
  test::MessageCatcher catcher(QMessageBox::Yes);
  Dialog d;
  d.choose(2);
  d.section("1");
  d.press();
  ASSERT_TRUE(WaitForRun(*d.form));
  for (const auto& r : catcher.requests) EXPECT_NE(r.text, U("Хотите уточнить вероятность аварии?"));
  ASSERT_EQ(d.finished.size(), 1u);
  const auto& s = *d.finished[0];
  EXPECT_EQ(s.ScenarioName, U("Взрыв"));
  EXPECT_FALSE(s.imgDiagr1.isNull());
  EXPECT_FALSE(s.imgDiagr2.isNull());
  EXPECT_FALSE(s.imgRisk.isNull());
  EXPECT_EQ(s.graf2.points.size(), 11u);  // 200 m at 10 m: 11 points along +x
  // The edge warning comes exactly when the zone reaches the border, once.
  int warnings = 0;
  for (const auto& r : catcher.requests)
    if (r.text == U(run::texts::kEdgeWarning)) {
      ++warnings;
      EXPECT_EQ(r.title, U("Внимание!!!"));
      EXPECT_EQ(r.icon, QMessageBox::NoIcon);
    }
  EXPECT_EQ(warnings, s.ZoneAtEdge ? 1 : 0);
}

TEST(Form6Run, TheDialogsWeatherAndSharesReachTheRun) {
  // Summer, wind from the south-west ("Ю-З", position 5) at "2,5" m/s, the summer pit share edited to
  // 0,6: the run gets WindDir 225°, WindAngle 225/180·π + π/2, wind 2.5 m/s and PKotlTorch from the
  // summer share (0.6 · PRupture · PIgnition), whatever the winter box holds.
  test::MessageCatcher catcher(QMessageBox::Yes);
  Dialog d;
  std::optional<run::PreparedRun> seen;
  Form6::Services s = FakeServices();
  s.execute = [&seen](run::PreparedRun p, models::Progress&, const run::ExecuteOptions&) {
    seen = p;
    return run::RunOutcome{};
  };
  d.form->setServices(s);
  d.choose(3);
  Find<QComboBox>(d.form, "Combo3")->setCurrentIndex(1);
  Find<QComboBox>(d.form, "Combo9")->setCurrentIndex(5);
  Find<QLineEdit>(d.form, "Text2")->setText(QStringLiteral("2,5"));
  d.section("1");
  d.press();  // the question: Yes, to correct the shares
  Find<QLineEdit>(d.form, "Pks")->setText(QStringLiteral("0,6"));
  Find<QLineEdit>(d.form, "Pkw")->setText(QStringLiteral("0,9"));
  d.press();
  ASSERT_TRUE(WaitForRun(*d.form));
  ASSERT_TRUE(seen.has_value());
  const double pi = 3.14159265358979;
  EXPECT_EQ(seen->WindDir, 225);
  EXPECT_NEAR(seen->state.derived.WindAngle, 225 / 180.0 * pi + pi / 2, 1e-14);
  EXPECT_EQ(seen->state.derived.WindSpeed, 2.5);
  EXPECT_EQ(seen->MeteoText[0], U("Лето"));
  EXPECT_EQ(seen->MeteoText[2], U("Ю-З"));
  const run::Probabilities& p = seen->probabilities;
  EXPECT_DOUBLE_EQ(p.PKotlTorch, 0.6 * p.PRupture * p.PIgnition);
  EXPECT_EQ(p.Pkw, 0.9);  // kept for the assessments over a year, not used by this summer run
}

TEST(Form6Run, WrongSectionIsRefusedAndCanBeCorrected) {
  test::MessageCatcher catcher;
  Dialog d;
  d.choose(2);
  d.section("999");
  d.press();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, U(velaron::texts::kWrongSection));
  EXPECT_EQ(catcher.requests[0].icon, QMessageBox::Critical);
  EXPECT_EQ(d.started, 0);
  EXPECT_TRUE(Find<QGroupBox>(d.form, "Frame1")->isEnabled());
  EXPECT_TRUE(d.finished.empty());
}

// A town whose wind the assessments over a year can walk: every state 10 % at 2 m/s in winter and
// 3 m/s in summer.
db::WindRow WindyTown() {
  db::WindRow w;
  w.idCity = 1;
  w.CityName = U("Город");
  w.winter.fill(10);
  w.summer.fill(10);
  w.speedWinter.fill(2);
  w.speedSummer.fill(3);
  w.Tmedium = 200;
  return w;
}

// The synthetic rows with the town of the run; `town` empty: the database holds no wind for it.
Form6::Services ServicesWithTown(std::optional<db::WindRow> town) {
  Form6::Services s = FakeServices();
  s.runData = [town](const run::RunRequest&) {
    run::RunData d = test::GoodData();
    d.town = town;
    return d;
  };
  return s;
}

// The request of the main window for the complex assessment: a fireball and a cloud of some mass.
run::RunRequest ComplexBase() {
  run::RunRequest r = test::GoodRequest(5);
  r.settings.XLimit = r.settings.YLimit = 100;
  r.settings.CStep = 10;
  r.settings.Tfb = 10;
  r.settings.Dola = 0.5;
  r.settings.Tobl = 20;
  r.settings.Dola_obl = 0.3;
  r.run.idCity = 1;
  return r;
}

TEST(Form6Run, YearRoundCodesRunAndTheirResultsReachTheMainWindow) {
  for (int code : {7, 1}) {
    test::MessageCatcher catcher(QMessageBox::No);  // no correction of the shares
    Dialog d(ComplexBase());
    d.form->setServices(ServicesWithTown(WindyTown()));
    QTemporaryDir folder;
    d.form->setWindRoseFolder(folder.path());
    d.choose(code);
    d.section("1");
    d.press();
    ASSERT_TRUE(WaitForRun(*d.form, 60000)) << code;
    ASSERT_EQ(d.finished.size(), 1u) << code << " " << catcher.texts().join("|").toStdString();
    const run::RunSnapshot& s = *d.finished[0];
    EXPECT_EQ(s.ScenarioCode, code);
    EXPECT_EQ(s.ScenarioName, U(code == 1 ? "Комплексная оценка" : "Факел за год"));
    EXPECT_EQ(s.LayerFlux.count(), 6);
    EXPECT_EQ(s.LayerProc.count(), 8);
    // The complex assessment keeps its eight scenario grids for its workbook; the year-round run has none.
    EXPECT_EQ(s.extraGrids.size(), code == 1 ? 8u : 0u);
    // The town's wind rose was written into the program's folder for the reports.
    EXPECT_FALSE(s.windRoseFailed);
    EXPECT_TRUE(QFile::exists(s.windRoseFile)) << s.windRoseFile.toStdString();
    EXPECT_EQ(d.form->result(), QDialog::Accepted);
    for (const auto& r : catcher.requests) EXPECT_NE(r.icon, QMessageBox::Critical) << r.text.toStdString();
  }
}

TEST(Form6Run, AWindRoseThatCannotBeWrittenIsToldAndTheRunGoesOn) {
  test::MessageCatcher catcher(QMessageBox::No);
  Dialog d(ComplexBase());
  d.form->setServices(ServicesWithTown(WindyTown()));
  QTemporaryDir folder;
  d.form->setWindRoseFolder(folder.filePath(QStringLiteral("нет такой папки")));
  d.choose(7);
  d.section("1");
  d.press();
  ASSERT_TRUE(WaitForRun(*d.form, 60000));
  ASSERT_EQ(d.finished.size(), 1u);
  EXPECT_TRUE(d.finished[0]->windRoseFailed);
  EXPECT_TRUE(d.finished[0]->windRoseFile.isEmpty());  // no earlier rose stands in
  int told = 0;
  for (const auto& r : catcher.requests)
    if (r.text == U("Ошибка в процессе записи файла!")) {
      ++told;
      EXPECT_EQ(r.icon, QMessageBox::Critical);
    }
  EXPECT_EQ(told, 1);
}

TEST(Form6Run, ATownWithoutWindIsRefusedWhileTheDialogIsOpen) {
  db::WindRow calm = WindyTown();
  calm.summer.fill(0);  // no repetition in summer: the states cannot be weighed
  const std::pair<std::optional<db::WindRow>, QString> cases[] = {
      {std::nullopt, U(run::texts::kNoTown)},
      {calm, U("Сумма повторяемостей ветра (лето) должна быть больше 0")}};
  for (int code : {7, 1}) {
    for (const auto& [town, message] : cases) {
      test::MessageCatcher catcher(QMessageBox::No);
      Dialog d(ComplexBase());
      d.form->setServices(ServicesWithTown(town));
      d.choose(code);
      d.section("1");
      d.press();
      EXPECT_EQ(d.started, 0) << code;
      EXPECT_FALSE(d.form->running());
      EXPECT_TRUE(d.finished.empty());
      EXPECT_TRUE(d.form->isVisible());
      ASSERT_FALSE(catcher.requests.empty());
      EXPECT_EQ(catcher.requests.back().text, message) << code;
      EXPECT_EQ(catcher.requests.back().icon, QMessageBox::Critical);
    }
  }
}

TEST(Form6Run, TheAssessmentsOwnRefusalComesBeforeTheWorker) {
  // A gas whose flame-length coefficient is 1 instead of 21 makes a jet about 9 m long: the pit and
  // symmetric flames exist, but the asymmetric frustum is empty (its tip width ≈ 0,13 × length ≈ 1,2 m
  // against twice the 1 m base width). The preparation does not look at the asymmetric jet of the
  // assessments over a year; their own check does, and the dialog says so before starting the worker.
  for (int code : {7, 1}) {
    test::MessageCatcher catcher(QMessageBox::No);
    Dialog d(ComplexBase());
    Form6::Services s = FakeServices();
    s.runData = [](const run::RunRequest&) {
      run::RunData data = test::GoodData();
      data.gas->a = 1;
      data.town = WindyTown();
      return data;
    };
    d.form->setServices(s);
    d.choose(code);
    d.section("1");
    d.press();
    EXPECT_EQ(d.started, 0) << code;
    EXPECT_TRUE(d.finished.empty());
    EXPECT_TRUE(d.form->isVisible());
    ASSERT_FALSE(catcher.requests.empty());
    EXPECT_EQ(catcher.requests.back().text, U(models::kEmptyFrustumMessage)) << code;
    EXPECT_EQ(catcher.requests.back().icon, QMessageBox::Critical);
  }
}

TEST(Form6Run, RefusedRunChangesNothing) {
  test::MessageCatcher catcher(QMessageBox::No);
  Dialog d;
  d.choose(5);
  d.section("1");
  Find<QLineEdit>(d.form, "Text2")->setText(QStringLiteral("12"));  // a wind too strong for a jet flame
  d.press();
  EXPECT_EQ(d.started, 0);
  EXPECT_TRUE(d.finished.empty());
  ASSERT_FALSE(catcher.requests.empty());
  EXPECT_EQ(catcher.requests.back().icon, QMessageBox::Critical);
  EXPECT_TRUE(d.form->isVisible());
}

TEST(Form6Run, CancelKeepsThePreviousResults) {
  test::MessageCatcher catcher(QMessageBox::No);
  Dialog d;
  // A model that runs until it is told to stop.
  Form6::Services s = FakeServices();
  s.execute = [](run::PreparedRun, models::Progress& progress, const run::ExecuteOptions&) {
    progress.begin("Сценарий", 100);
    run::RunOutcome out;
    for (int i = 0; i < 1000 && !progress.cancelled(); ++i) {
      progress.step();
      QThread::msleep(5);
    }
    out.cancelled = progress.cancelled();
    return out;
  };
  d.form->setServices(s);
  d.choose(2);
  d.section("1");
  d.press();
  ASSERT_TRUE(d.form->running());
  EXPECT_FALSE(d.parent.isEnabled());  // the main window takes no input during a run
  Form2* progress = d.form->progressWindow();
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->windowTitle(), U("Идет расчет, подождите немного ..."));
  // Let some steps arrive through the queued signals, then press "Отмена".
  QElapsedTimer t;
  t.start();
  while (progress->pbar2()->value() < 2 && t.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_GE(progress->pbar2()->value(), 2);
  EXPECT_EQ(progress->label3()->text(), U("Сценарий"));
  progress->cancelButton()->click();
  ASSERT_TRUE(WaitForRun(*d.form));
  EXPECT_EQ(d.ended, 1);
  EXPECT_TRUE(d.finished.empty());  // nothing of the cancelled run reaches the main window
  EXPECT_TRUE(d.parent.isEnabled());
  EXPECT_TRUE(Find<QPushButton>(d.form, "cmdRaschet")->isEnabled());
  EXPECT_NE(d.form->result(), QDialog::Accepted);
  for (const auto& r : catcher.requests) EXPECT_NE(r.icon, QMessageBox::Critical);
}

TEST(ProgressWindow, BarsLabelsAndCancel) {
  Form2 w(nullptr, 10, 200);
  EXPECT_EQ(w.objectName(), QStringLiteral("Form2"));
  EXPECT_EQ(w.cancelButton()->text(), U("Отмена"));
  w.onBegin(U("Сценарий \"Взрыв\""), 21);
  EXPECT_EQ(w.label3()->text(), U("Сценарий \"Взрыв\""));
  for (int i = 0; i < 21; ++i) w.onStep();
  // 21 rows of a 200 m field at 10 m: the bar is full and the last row is y = 100.
  EXPECT_EQ(w.pbar2()->value(), 21);
  EXPECT_EQ(w.pbar2()->maximum(), 21);
  EXPECT_EQ(w.label2()->text(), QStringLiteral("Y=100"));
  int cancels = 0;
  QObject::connect(&w, &Form2::cancelRequested, [&cancels] { ++cancels; });
  w.show();
  w.close();  // the title bar's close box is a cancel
  EXPECT_EQ(cancels, 1);
  w.show();
  w.finish();  // the end of a run is not
  EXPECT_EQ(cancels, 1);
  FrmInfoNote note;
  EXPECT_EQ(note.windowTitle(), U("Веларон"));
  EXPECT_EQ(Find<QLabel>(&note, "Label1")->text(), U("Подождите немного, идет сохранение результатов . . ."));
}

TEST(DistanceCharts, OneLineWithTheAxisTitles) {
  run::DistanceSeries s;
  s.xTitle = U("Расстояние от газопровода, м");
  s.yTitle = U("Избыточное давление, кПа");
  s.points = {{25, 300}, {20, 250}, {30, 120}};
  std::unique_ptr<QChart> chart(BuildDistanceChart(s));
  ASSERT_EQ(chart->series().size(), 1);
  auto* line = qobject_cast<QLineSeries*>(chart->series()[0]);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->count(), 3);
  EXPECT_EQ(line->at(0), QPointF(25, 300));
  const auto hx = chart->axes(Qt::Horizontal);
  const auto vy = chart->axes(Qt::Vertical);
  ASSERT_EQ(hx.size(), 1);
  ASSERT_EQ(vy.size(), 1);
  EXPECT_EQ(hx[0]->titleText(), s.xTitle);
  EXPECT_EQ(vy[0]->titleText(), s.yTitle);
}

}  // namespace
}  // namespace velaron::ui
