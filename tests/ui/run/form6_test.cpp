// The run dialog: its layout rules, key filters, the first press and its question, a run on the worker
// thread with the progress window, cancelling, the refusals and the edge warning.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <functional>

#include "widgets/numeric_box.h"
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
const QString kAskShares = U("Хотите уточнить вероятность аварии?");

template <class T = QWidget>
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
bool WaitForRun(Form6& f, int ms = 60000) {
  QElapsedTimer t;
  t.start();
  while (f.running() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
  QApplication::processEvents();
  return !f.running();
}

// Rows from the synthetic fixtures: section 1 exists, every other number does not; `data` may change the
// rows of the run.
Form6::Services FakeServices(std::function<void(run::RunData&)> data = {}) {
  Form6::Services s = Form6::DatabaseServices();
  s.section = [](int tpid) -> std::optional<db::SectionRow> {
    if (tpid != 1) return std::nullopt;
    return test::GoodData().section;
  };
  s.ground = [](const QString&) { return test::GoodData().ground; };
  s.runData = [data](const result::RunRequest&) {
    run::RunData d = test::GoodData();
    if (data) data(d);
    return d;
  };
  return s;
}

// The request of the main window for the complex assessment: a fireball and a cloud of some mass.
result::RunRequest ComplexBase() {
  result::RunRequest r = test::GoodRequest(5);
  r.settings.XLimit = r.settings.YLimit = 100;
  r.settings.CStep = 10;
  r.settings.Tfb = 10;
  r.settings.Dola = 0.5;
  r.settings.Tobl = 20;
  r.settings.Dola_obl = 0.3;
  r.run.idCity = 1;
  return r;
}

struct Dialog {
  QWidget parent;
  Form6* form;
  std::vector<std::shared_ptr<const result::RunSnapshot>> finished;
  int started = 0, ended = 0;
  explicit Dialog(const result::RunRequest& base = test::GoodRequest(5), Form6::Services services = FakeServices()) {
    form = new Form6(base, &parent);
    form->setServices(std::move(services));
    QObject::connect(form, &Form6::runFinished, [this](auto s) { finished.push_back(s); });
    QObject::connect(form, &Form6::runStarted, [this] { ++started; });
    QObject::connect(form, &Form6::runEnded, [this] { ++ended; });
    form->show();
  }
  ~Dialog() { delete form; }
  void choose(int code) { Find<QComboBox>(form, "Combo1")->setCurrentIndex(code - 1); }
  void section(const char* number) { Find<QLineEdit>(form, "Text1")->setText(QLatin1String(number)); }
  void set(const char* box, const char* text) { Find<QLineEdit>(form, box)->setText(U(text)); }
  bool shown(const char* name) { return Find(form, name)->isVisibleTo(form); }
  // Shown once its group is: the share boxes sit in the share group, hidden until the first press.
  bool flag(const char* name) { return !Find(form, name)->isHidden(); }
  void press() { Find<QPushButton>(form, "cmdRaschet")->click(); }
  void start(int code, const char* number = "1") {
    choose(code);
    section(number);
    press();
  }
};

TEST(Form6Layout, FreshDialogAndItsKeyFilters) {
  Dialog d;
  EXPECT_EQ(d.form->windowTitle(), U("Расчет"));
  EXPECT_EQ(Find<QComboBox>(d.form, "Combo1")->currentText(), U("Комплексная оценка"));
  EXPECT_EQ(Find<QComboBox>(d.form, "Combo1")->count(), 8);
  EXPECT_EQ(Find<QComboBox>(d.form, "Combo3")->currentText(), U("Зима"));
  EXPECT_EQ(Find<QComboBox>(d.form, "Combo9")->currentText(), U("С"));
  EXPECT_EQ(Find<QLineEdit>(d.form, "Text2")->text(), QStringLiteral("0"));
  EXPECT_EQ(Find<QLineEdit>(d.form, "Text8")->text(), QStringLiteral("25"));
  for (const char* hidden : {"Frame4", "Frame3", "fraOther", "Text8"}) EXPECT_FALSE(d.shown(hidden)) << hidden;
  auto* run = Find<QPushButton>(d.form, "cmdRaschet");
  EXPECT_TRUE(run->isDefault());

  // The section number takes digits only, and the run button follows it.
  auto* text1 = Find<QLineEdit>(d.form, "Text1");
  EXPECT_TRUE(text1->text().isEmpty());
  EXPECT_FALSE(run->isEnabled());
  text1->setFocus();
  Type(text1, Qt::Key_3, QStringLiteral("3"));
  EXPECT_TRUE(run->isEnabled());
  Type(text1, Qt::Key_A, QStringLiteral("a"));
  Type(text1, Qt::Key_Minus, QStringLiteral("-"));
  Type(text1, Qt::Key_Comma, QStringLiteral(","));
  EXPECT_EQ(text1->text(), QStringLiteral("3"));
  Type(text1, Qt::Key_Backspace, QString());
  EXPECT_TRUE(text1->text().isEmpty());
  EXPECT_FALSE(run->isEnabled());
  // The wind speed takes both decimal marks.
  auto* speed = Find<NumericBox>(d.form, "Text2");
  EXPECT_TRUE(speed->acceptsKey(QStringLiteral(","), Qt::Key_Comma));
  EXPECT_TRUE(speed->acceptsKey(QStringLiteral("."), Qt::Key_Period));
  EXPECT_TRUE(speed->acceptsKey(QStringLiteral("7"), Qt::Key_7));
  EXPECT_FALSE(speed->acceptsKey(QStringLiteral("x"), Qt::Key_X));
}

TEST(Form6Layout, EachScenarioShowsItsWeatherAndShareRows) {
  // The pit jet shows the weather and the row of its season; the assessments over a year show every
  // share without weather; blast and fireballs show neither row.
  const QStringList all = {"Frame6", "Frame7", "Pkw", "Psw", "Paw", "Pks", "Pss", "Pas"};
  struct Case {
    int code, season;
    bool weather;
    QStringList on, off;
    const char* caption;
  } cases[] = {
      {3, 0, true, {"Frame6", "Pkw"}, {"Frame7", "Psw", "Paw"}, "Тепловой поток"},
      {3, 1, true, {"Frame7", "Pks"}, {"Frame6"}, "Тепловой поток"},
      {7, 0, false, all, {}, nullptr},
      {1, 0, false, all, {}, nullptr},
      {2, 0, false, {}, {"Frame6", "Frame7"}, "Избыточное давление, кПа"},
      {6, 0, false, {}, {"Frame6", "Frame7"}, nullptr},
      {8, 0, false, {}, {"Frame6", "Frame7"}, nullptr},
  };
  Dialog d;
  for (const Case& c : cases) {
    Find<QComboBox>(d.form, "Combo3")->setCurrentIndex(c.season);
    d.choose(c.code);
    EXPECT_EQ(d.shown("Frame3"), c.weather) << c.code;
    EXPECT_FALSE(d.shown("fraOther")) << c.code;
    for (const QString& box : c.on) EXPECT_TRUE(d.flag(box.toLatin1())) << c.code << " " << box.toStdString();
    for (const QString& box : c.off) EXPECT_FALSE(d.flag(box.toLatin1())) << c.code << " " << box.toStdString();
    if (c.caption) {
      EXPECT_EQ(Find<QCheckBox>(d.form, "chkPress")->text(), U(c.caption)) << c.code;
    }
  }
}

TEST(Form6Run, FirstPressAsksAndFillsTheSharesAndTheDialogsWeatherAndSharesReachTheRun) {
  // Summer, wind from the south-west ("Ю-З", position 5) at "2,5" m/s, the summer pit share edited to
  // 0,6: the run gets WindDir 225°, WindAngle 225/180·π + π/2, wind 2.5 m/s and PKotlTorch from the
  // summer share (0.6 · PRupture · PIgnition), whatever the winter box holds.
  test::MessageCatcher catcher(QMessageBox::Yes);
  std::optional<run::PreparedRun> seen;
  Form6::Services s = FakeServices();
  s.execute = [&seen, real = s.execute](run::PreparedRun p, models::Progress& progress, const run::ExecuteOptions& o) {
    seen = p;
    return real(std::move(p), progress, o);
  };
  Dialog d(test::GoodRequest(5), s);
  Find<QComboBox>(d.form, "Combo3")->setCurrentIndex(1);
  Find<QComboBox>(d.form, "Combo9")->setCurrentIndex(5);
  d.set("Text2", "2,5");
  d.start(3);
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, kAskShares);
  EXPECT_EQ(catcher.requests[0].title, U("В н и м а н и е ! ! !"));
  EXPECT_EQ(d.started, 0);  // Yes: stopped for the correction
  EXPECT_TRUE(d.shown("Frame4"));
  EXPECT_FALSE(Find(d.form, "Frame1")->isEnabled());
  // The ground row's shares with the decimal comma: WP3_1 0.2 → "0,2".
  EXPECT_EQ(Find<QLineEdit>(d.form, "Pkw")->text(), QStringLiteral("0,2"));
  EXPECT_EQ(Find<QLineEdit>(d.form, "Pks")->text(), QStringLiteral("0,25"));
  EXPECT_EQ(Find<QLineEdit>(d.form, "Pas")->text(), QStringLiteral("0,4"));

  // The next press asks nothing and runs with the shares as edited.
  d.set("Pks", "0,6");
  d.set("Pkw", "0,9");
  catcher.requests.clear();
  d.press();
  ASSERT_TRUE(WaitForRun(*d.form));
  EXPECT_FALSE(catcher.texts().contains(kAskShares));
  EXPECT_EQ(d.started, 1);
  EXPECT_EQ(d.ended, 1);
  ASSERT_EQ(d.finished.size(), 1u);
  EXPECT_EQ(d.finished[0]->ScenarioCode, 3);
  EXPECT_EQ(d.form->result(), QDialog::Accepted);
  EXPECT_TRUE(d.parent.isEnabled());
  ASSERT_TRUE(seen.has_value());
  const double pi = 3.14159265358979;
  EXPECT_EQ(seen->WindDir, 225);
  EXPECT_NEAR(seen->state.derived.WindAngle, 225 / 180.0 * pi + pi / 2, 1e-14);
  EXPECT_EQ(seen->state.derived.WindSpeed, 2.5);
  EXPECT_EQ(seen->MeteoText[0], U("Лето"));
  EXPECT_EQ(seen->MeteoText[2], U("Ю-З"));
  const result::Probabilities& p = seen->probabilities;
  EXPECT_DOUBLE_EQ(p.PKotlTorch, 0.6 * p.PRupture * p.PIgnition);
  EXPECT_EQ(p.Pkw, 0.9);  // kept for the assessments over a year, not used by this summer run
  EXPECT_EQ(d.finished[0]->probabilities.Pkw, 0.9);
}

TEST(Form6Run, BlastRunsAtTheFirstPressWithoutAQuestion) {
  test::MessageCatcher catcher(QMessageBox::Yes);
  Dialog d;
  d.start(2);
  ASSERT_TRUE(WaitForRun(*d.form));
  EXPECT_FALSE(catcher.texts().contains(kAskShares));
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

TEST(Form6Run, YearRoundCodesRunWriteTheTownsRoseAndReachTheMainWindow) {
  // The complex assessment (1) keeps its eight scenario grids for its workbook; the year-round jet (7)
  // has none. A rose that cannot be written is told once, and the run goes on without it.
  for (const auto& [code, writable] : {std::pair{7, true}, std::pair{1, true}, std::pair{7, false}}) {
    test::MessageCatcher catcher(QMessageBox::No);  // no correction of the shares
    Dialog d(ComplexBase(), FakeServices([](run::RunData& data) { data.town = test::GoodTown(); }));
    QTemporaryDir folder;
    d.form->setWindRoseFolder(writable ? folder.path() : folder.filePath(U("нет такой папки")));
    d.start(code);
    ASSERT_TRUE(WaitForRun(*d.form)) << code;
    ASSERT_EQ(d.finished.size(), 1u) << code << " " << catcher.texts().join("|").toStdString();
    const result::RunSnapshot& s = *d.finished[0];
    EXPECT_EQ(s.ScenarioCode, code);
    EXPECT_EQ(s.ScenarioName, U(code == 1 ? "Комплексная оценка" : "Факел за год"));
    EXPECT_EQ(s.LayerFlux.count(), 6);
    EXPECT_EQ(s.LayerProc.count(), 8);
    EXPECT_EQ(s.extraGrids.size(), code == 1 ? 8u : 0u);
    EXPECT_EQ(d.form->result(), QDialog::Accepted);
    EXPECT_EQ(s.windRoseFailed, !writable);
    // Written into the folder, or, when it could not be, no earlier rose stands in.
    EXPECT_TRUE(writable ? QFile::exists(s.windRoseFile) : s.windRoseFile.isEmpty()) << s.windRoseFile.toStdString();
    // The only critical message is the one about the rose, once, and only when it could not be written.
    QStringList critical;
    for (const auto& r : catcher.requests)
      if (r.icon == QMessageBox::Critical) critical << r.text;
    EXPECT_EQ(critical, writable ? QStringList() : QStringList{U("Ошибка в процессе записи файла!")});
  }
}

TEST(Form6Run, RefusedRunsTellWhyAndChangeNothing) {
  db::WindRow calm = test::GoodTown();
  calm.summer.fill(0);  // no repetition in summer: the states cannot be weighed
  const QString noSummer = U("Сумма повторяемостей ветра (лето) должна быть больше 0");
  auto shortFlame = [](run::RunData& d) {
    d.gas->a = 1;
    d.town = test::GoodTown();
  };
  struct Case {
    std::vector<int> codes;
    const char *section, *wind;
    std::function<void(run::RunData&)> data;
    QString message;  // empty: any critical message
  } cases[] = {
      {{2}, "999", "0", {}, U(velaron::texts::kWrongSection)},
      {{5}, "1", "12", {}, {}},  // a wind too strong for a jet flame
      {{7, 1}, "1", "0", [](run::RunData& d) { d.town.reset(); }, U(run::texts::kNoTown)},
      {{7, 1}, "1", "0", [calm](run::RunData& d) { d.town = calm; }, noSummer},
      // A gas whose flame-length coefficient is 1 instead of 21 makes a jet about 9 m long: the pit and
      // symmetric flames exist, but the asymmetric frustum is empty (its tip width ≈ 0,13 × length ≈ 1,2 m
      // against twice the 1 m base width). The preparation does not look at the asymmetric jet of the
      // assessments over a year; their own check does, and the dialog says so before starting the worker.
      {{7, 1}, "1", "0", shortFlame, U(models::kEmptyFrustumMessage)},
  };
  for (const Case& c : cases)
    for (int code : c.codes) {
      test::MessageCatcher catcher(QMessageBox::No);
      Dialog d(ComplexBase(), FakeServices(c.data));
      d.set("Text2", c.wind);
      d.start(code, c.section);
      EXPECT_EQ(d.started, 0) << code;
      EXPECT_FALSE(d.form->running());
      EXPECT_TRUE(d.finished.empty());
      EXPECT_TRUE(d.form->isVisible());
      ASSERT_FALSE(catcher.requests.empty()) << code;
      EXPECT_EQ(catcher.requests.back().icon, QMessageBox::Critical) << code;
      if (!c.message.isEmpty()) {
        EXPECT_EQ(catcher.requests.back().text, c.message) << code;
      }
    }
  // The wrong section number can be corrected: the choice of scenario and section stays open.
  test::MessageCatcher catcher;
  Dialog d;
  d.start(2, "999");
  EXPECT_TRUE(Find(d.form, "Frame1")->isEnabled());
}

TEST(Form6Run, CancelKeepsThePreviousResults) {
  test::MessageCatcher catcher(QMessageBox::No);
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
  Dialog d(test::GoodRequest(5), s);
  d.start(2);
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
  result::DistanceSeries s;
  s.xTitle = U("Расстояние от газопровода, м");
  s.yTitle = U("Избыточное давление, кПа");
  s.points = {{25, 300}, {20, 250}, {30, 120}};
  std::unique_ptr<QChart> chart(BuildDistanceChart(s));
  ASSERT_EQ(chart->series().size(), 1);
  auto* line = qobject_cast<QLineSeries*>(chart->series()[0]);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->points(), QList<QPointF>({{25, 300}, {20, 250}, {30, 120}}));
  ASSERT_EQ(chart->axes().size(), 2);
  EXPECT_EQ(chart->axes(Qt::Horizontal).value(0)->titleText(), s.xTitle);
  EXPECT_EQ(chart->axes(Qt::Vertical).value(0)->titleText(), s.yTitle);
}

}  // namespace
}  // namespace velaron::ui
