// The progress window of a year-round run: the title whole, the row under way and the whole run.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <gtest/gtest.h>

#include "common/qt_text.h"
#include "ui/run/form2.h"

namespace velaron::ui {
namespace {

TEST(ProgressWindow, AYearRoundRunShowsItsTitleWholeTheRowAndTheWholeRun) {
  Form2 w(nullptr, 10, 200, 400);
  const int rows = 21;
  w.setWholeRun(840);
  w.onBegin(U("Сценарий \"Факел-котлован\"-зима, ветер-С"), rows);
  for (int i = 0; i < rows; ++i) w.onStep();
  w.onBegin(U("Сценарий \"Факел-котлован\"-лето, ветер-С"), rows);  // the winter field taken as it is
  const QString longest = U("Сценарий \"Факел-симметричный\"-лето, ветер-Ю-З");
  w.onBegin(longest, rows);
  for (int i = 0; i < 5; ++i) w.onStep();
  EXPECT_EQ(w.wholeBar()->value(), 2 * rows + 5);
  EXPECT_EQ(w.label2()->text(), QStringLiteral("Y=-60"));  // the fifth row from y = -100
  EXPECT_EQ(w.label1()->text(), U("X=-200…200"));
  EXPECT_TRUE(w.wholeLabel()->text().startsWith(U("Весь расчет:")));
  w.show();
  QApplication::processEvents();
  EXPECT_GE(w.label3()->contentsRect().width(), w.label3()->fontMetrics().horizontalAdvance(longest));
  w.finish();
  struct Case {
    double elapsed, fraction;
    const char* text;
  };
  for (const Case& c : {Case{30, 0.5, "Осталось около 30 с"}, Case{120, 0.25, "Осталось около 6 мин"},
                        Case{2, 0.9, "Осталось около 5 с"}, Case{10, 0, ""}})
    EXPECT_EQ(Form2::TimeLeftText(c.elapsed, c.fraction), U(c.text));
}

}  // namespace
}  // namespace velaron::ui
