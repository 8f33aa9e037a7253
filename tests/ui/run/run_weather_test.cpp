// The wind speed typed in the run dialog, printed by the saved report as it was typed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "common/qt_text.h"
#include "message_catcher.h"
#include "output/scratch_db.h"
#include "output/workbook/result_workbook.h"
#include "output/zip_reader.h"
#include "run/run_fixtures.h"
#include "ui/run/form6.h"
#include "ui/run/run_report.h"
#include "ui/widgets/save_dialog.h"

namespace velaron::ui {
namespace {

// Before, the report printed the number the run read from the box ("2,5"); its weather lines give the
// texts of the dialog unchanged. The workbook's input sheet gives the number, as its own line says.
TEST(RunWeather, TheWindSpeedTypedInTheRunDialogIsPrintedAsTypedInTheSavedReport) {
  test::ScratchDatabase scratch;  // the report's summary row goes here
  ASSERT_EQ(scratch.error(), QString());
  QTemporaryDir dir;
  const QString path = dir.filePath(U("отчет.docx"));
  SetSaveFileSink([&](const SaveFileRequest&) { return path; });
  test::MessageCatcher messages(QMessageBox::No);  // the shares as the ground gives them

  Form6 form(test::GoodRequest(5));
  Form6::Services s = Form6::DatabaseServices();
  s.section = [](int) { return std::optional(test::GoodData().section); };
  s.ground = [](const QString&) { return std::optional(test::GoodData().ground); };
  s.runData = [](const result::RunRequest&) { return test::GoodData(); };
  form.setServices(s);
  std::shared_ptr<const result::RunSnapshot> record;
  QObject::connect(&form, &Form6::runFinished, [&](auto r) { record = std::move(r); });
  form.show();
  form.findChild<QComboBox*>("Combo1")->setCurrentIndex(4);  // "Факел (симметр.горение)"
  form.findChild<QComboBox*>("Combo3")->setCurrentIndex(1);  // "Лето"
  form.findChild<QComboBox*>("Combo9")->setCurrentIndex(5);  // "Ю-З"
  auto* speed = form.findChild<QLineEdit*>("Text2");
  speed->clear();
  QTest::keyClicks(speed, U("2,50"));
  QTest::keyClicks(form.findChild<QLineEdit*>("Text1"), U("1"));
  form.findChild<QPushButton*>("cmdRaschet")->click();
  QElapsedTimer t;
  t.start();
  while (form.running() && t.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  QApplication::processEvents();
  ASSERT_TRUE(record) << messages.texts().join('|').toStdString();
  EXPECT_DOUBLE_EQ(record->request.run.WindSpeed, 2.5);  // the run computes with the number

  SaveRunReport(nullptr, *record, dir.path());
  SetSaveFileSink(nullptr);
  const QStringList lines = test::DocxLines(path);
  QStringList speeds;
  for (const QString& line : lines)
    if (line.startsWith(U("- скорость ветра"))) speeds << line;
  // Label, two blanks, the text as typed, " м/с;"; the season and direction lines as chosen.
  ASSERT_FALSE(speeds.isEmpty()) << lines.join('\n').toStdString();
  for (const QString& line : speeds) EXPECT_EQ(line.toStdString(), "- скорость ветра  2,50 м/с;");
  EXPECT_TRUE(lines.contains(U("- время года  Лето;")));
  EXPECT_TRUE(lines.contains(U("- направление ветра (откуда дует ветер) \"Ю-З\".")));
  // The workbook's line: "Скорость ветра:" and two blanks, then 2.5 in the decimal-comma number text.
  EXPECT_EQ(output::BuildInputSheet(*record).lines.value(4).toStdString(), "Скорость ветра:  2,5");
}

}  // namespace
}  // namespace velaron::ui
