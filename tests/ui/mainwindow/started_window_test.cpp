// The main window started as the program starts it, on a copy of the shipped database in the layout of an
// earlier version (without the crossing probabilities): the database keeps its rows and gains the columns;
// each section keeps its own crossing probabilities; a run of another section than the one shown shows that
// section, and its report and summary row name that section's soil and crossing; the gas temperature is
// refused on leaving its box when the gas tables do not cover it.
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "app/startup.h"
#include "db/layout.h"
#include "form_fixture.h"
#include "mainwindow/main_links.h"
#include "mainwindow/report_saving.h"
#include "output/zip_reader.h"
#include "result/crossings.h"
#include "run/ui/form6.h"

using namespace velaron;
using velaron::test::U;

namespace {

class StartedWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString file = folder.filePath("data.db");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELARON_BIN_DIR "/data.pristine.db"), file));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    {
      QSqlDatabase older = QSqlDatabase::addDatabase("QSQLITE", "older-layout");
      older.setDatabaseName(file);
      ASSERT_TRUE(older.open());
      QSqlQuery q(older);
      for (const char* sql :
           {"ALTER TABLE TPs DROP COLUMN P_avto", "ALTER TABLE TPs DROP COLUMN P_LEP", "ALTER TABLE TPs DROP COLUMN P_tr",
            "ALTER TABLE TPs DROP COLUMN P_kab",
            // Section 1 (clay) with a power line whose probability that layout did not keep; section 2 on granite.
            "UPDATE TPs SET dpp2 = 1, p_v = 0.7 WHERE TPID = 1",
            "INSERT INTO TPs (TPID, Length, Udal, Azimut, dpp1, dpp2, dpp3, dpp4, p_v, G1, G2, G3, G4, Ground) "
            "VALUES (2, 500, 1000, 90, 0, 0, 0, 0, 0, 1, 2, 3, 4, '1.1.1.1')",
            "UPDATE Adjustment SET XLimit = 200, YLimit = 200"})
        EXPECT_TRUE(q.exec(QString::fromUtf8(sql))) << sql;
    }
    QSqlDatabase::removeDatabase("older-layout");
    Start();
  }
  void TearDown() override {
    window.reset();
    db::CloseDatabase();
  }
  void Start() {
    ASSERT_TRUE(ui::StartUp(folder.path(), folder.path(), context).ok);
    window = std::make_unique<ui::Form1>();
    window->setAppContext(&context);
    window->show();
    QApplication::setActiveWindow(window.get());
    window->reportOptions().OptExtraFiles = false;  // no workbook offered after a run
    find<QTabWidget>("SSTab1")->setCurrentIndex(1);
  }
  void Restart() {
    TearDown();
    Start();
  }

  template <class W = QWidget>
  W* find(const char* name) const {
    W* w = window->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString text(const char* name) const { return find<QLineEdit>(name)->text(); }
  void type(const char* name, const char* keys) {
    auto* box = find<QLineEdit>(name);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::fromUtf8(keys));
  }
  void select(int row) { find<QListWidget>("List1")->setCurrentRow(row); }
  void tick(int crossing) { find<QCheckBox>(result::kCrossings[size_t(crossing)].check)->click(); }

  QTemporaryDir folder;
  ui::AppContext context;
  test::MessageCatcher messages;
  std::unique_ptr<ui::Form1> window;
};

TEST_F(StartedWindow, AnOlderDatabaseKeepsItsRowsAndEachSectionKeepsItsOwnCrossingProbabilities) {
  for (const char* column : {"P_avto", "P_LEP", "P_tr", "P_kab"}) EXPECT_TRUE(db::HasColumn("TPs", column)) << column;
  ASSERT_EQ(db::LoadSections().size(), 2u);
  // Nothing typed for section 1 yet: its power line shows the initial text, and the stored sum stays 0,7
  // while the section is only looked at.
  EXPECT_TRUE(find<QCheckBox>("Check4")->isChecked());
  EXPECT_EQ(text("P_LEP"), "0,05");
  select(1);
  select(0);
  EXPECT_DOUBLE_EQ(db::LoadSection(1)->p_v, 0.7);
  // Road 0,4 (typed with a point), power line 0,7, other pipeline at its 0,2: the sum 1,3 is stored as 1.
  tick(0);
  type("P_avto", "0.4");
  type("P_LEP", "0,7");
  tick(2);
  const db::SectionRow s = *db::LoadSection(1);
  EXPECT_EQ(std::tuple(s.dpp1, s.dpp2, s.dpp3, s.dpp4, s.p_v), std::tuple(1, 1, 1, 0, 1.0));
  EXPECT_EQ(std::tuple(s.P_avto, s.P_LEP, s.P_tr), std::tuple(0.4, 0.7, 0.2));
  // After a restart the boxes show what the sum was made from (before, the initial texts came back beside
  // the ticked crossings); section 2, never changed, still shows the initial texts.
  Restart();
  EXPECT_EQ(QStringList({text("P_avto"), text("P_LEP"), text("P_tr")}), QStringList({"0,4", "0,7", "0,2"}));
  EXPECT_TRUE(find<QCheckBox>("Check3")->isChecked());
  select(1);
  EXPECT_EQ(QStringList({text("P_avto"), text("P_LEP"), text("P_tr"), text("P_kab")}),
            QStringList({"0,1", "0,05", "0,2", "0,08"}));
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
}

bool WaitUntil(const std::function<bool()>& done) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

TEST_F(StartedWindow, ARunOfAnotherSectionShowsItAndItsReportNamesItsSoilAndEachCrossingAlone) {
  for (const char* list : {"DataCombo1", "DataCombo6"}) emit find<QComboBox>(list)->activated(0);  // gas, region
  window->setRunDialogOpener([](ui::Form1& w, const result::RunRequest& r) {
    ui::Form6* dialog = ui::MakeRunDialog(w, r);
    dialog->findChild<QComboBox*>("Combo1")->setCurrentIndex(1);  // "Взрыв": no question before the run
    dialog->findChild<QLineEdit*>("Text1")->setText("2");
    dialog->findChild<QPushButton*>("cmdRaschet")->click();
  });
  QTemporaryDir out;
  QString answer;
  ui::SetReportFileDialog([&answer](QWidget*, const QString&) { return answer; });
  for (int i = 0; i < result::kCrossingCount; ++i) {
    SCOPED_TRACE(i);
    // Crossing i alone on section 2; section 1 shown when the run starts.
    select(1);
    tick(i);
    select(0);
    const result::RunSnapshot* before = window->lastRun();
    window->Command1_Click();
    ASSERT_TRUE(WaitUntil([&] { return window->lastRun() != before && !window->isRunning(); }))
        << messages.texts().join("|").toStdString();
    EXPECT_EQ(window->selectedSection(), 2);
    EXPECT_EQ(text("Text1"), "2");
    EXPECT_EQ(find<QComboBox>("DataCombo4")->currentText(), U("Граниты, диориты"));

    answer = out.filePath(QStringLiteral("отчет%1.docx").arg(i));
    window->cmdSaveResult_Click();
    QStringList lines;
    for (const auto& p : test::ReadDocxBody(test::ReadZip(answer)["word/document.xml"]).paragraphs) lines << p.text;
    EXPECT_TRUE(lines.contains(U("Номер участка:  2")));
    const int ground = static_cast<int>(lines.indexOf(U("Грунт:")));
    ASSERT_GE(ground, 0);
    EXPECT_EQ(lines.mid(ground + 1, 4), QStringList({U("-Скальные"), U("-Скальные"), U("-Магматические (силикатные)"),
                                                     U("-Граниты, диориты")}));
    const int crossings = static_cast<int>(lines.indexOf(U("Данные по участку: ")));
    ASSERT_GE(crossings, 0);
    EXPECT_EQ(lines.value(crossings + 1), U(result::kCrossings[size_t(i)].reportLine));
    EXPECT_FALSE(lines.value(crossings + 2).startsWith(QStringLiteral("           ")));
    QSqlQuery row(db::Connection());
    ASSERT_TRUE(row.exec("SELECT Grunt, Vid_grunt FROM tabOtchet ORDER BY rowid DESC LIMIT 1") && row.next());
    EXPECT_EQ(QStringList({row.value(0).toString(), row.value(1).toString()}),
              QStringList({U("Скальные"), U("Граниты, диориты")}));
    tick(i);  // section 2 is the shown one now
  }
  ui::SetReportFileDialog(nullptr);
}

TEST_F(StartedWindow, AGasTemperatureOutsideTheGasTablesIsRefusedOnLeavingItsBox) {
  auto* temperature = find<ui::NumericBox>("Text5");
  temperature->setText("150");
  EXPECT_FALSE(temperature->runLeaveCheck());
  ASSERT_EQ(messages.requests.size(), 1u);
  // Said in °С and at the pressures of the boxes (the run once said "423 К" at "70 бар").
  EXPECT_EQ(messages.requests[0].text, U("Температура газа 150 °С вне таблиц свойств газа: при давлении от 5,4 до "
                                         "7,4 МПа температура газа должна быть от -50 до 100 °С. Проверте "
                                         "правильность ввода!"));
  temperature->setText("-50");
  EXPECT_TRUE(temperature->runLeaveCheck());
}

}  // namespace
