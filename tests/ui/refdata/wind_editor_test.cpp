// The town wind-data editor: the town list, the boxes and their key filters, adding, changing and deleting
// a town with its checks, the wind rose, the way back; the main window's town list; the checks of the
// wind numbers on their own.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "db/database.h"
#include "message_catcher.h"
#include "output/scratch_db.h"
#include "refdata/city_list.h"
#include "refdata/frm_wind.h"
#include "refdata/wind_entry.h"
#include "refdata/wind_rose_picture.h"
#include "refdata_helpers.h"

using namespace velaron;
using namespace velaron::test;
using velaron::ui::frmWind;

namespace {

const char* kStates[9] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW", "ST"};

class WindEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(data.error().isEmpty()) << data.error().toStdString();
    // Stored out of name order and with keys that are not positions.
    AddTown(17, "Самара", 10);
    AddTown(5, "Казань", 20);
  }
  // A town whose winter N1 is `n1` and every other repetition 10; speeds 2,5 except calm 0; 200 days.
  void AddTown(int id, const QString& name, double n1) {
    QStringList cols = {"idCity", "CityName"}, marks = {"?", "?"};
    QVariantList values = {id, name};
    for (int season = 1; season <= 2; ++season)
      for (int i = 0; i < 9; ++i) {
        cols << QString("%1%2").arg(kStates[i]).arg(season);
        marks << "?";
        values << (season == 1 && i == 0 ? n1 : 10.0);
      }
    for (int season = 1; season <= 2; ++season)
      for (int i = 1; i <= 9; ++i) {
        cols << QString("V%1%2").arg(season).arg(i);
        marks << "?";
        values << (i == 9 ? 0.0 : 2.5);
      }
    cols << "Tmedium";
    marks << "?";
    values << 200;
    ASSERT_TRUE(data.Exec(QString("INSERT INTO Wind (%1) VALUES (%2)").arg(cols.join(","), marks.join(",")), values));
  }
  // Fills every box of the editor with a valid town.
  static void FillValid(frmWind& w, const QString& name) {
    Edit(&w, "txtCity")->setText(name);
    for (int season = 1; season <= 2; ++season)
      for (int i = 0; i < 9; ++i) {
        Edit(&w, ui::PercentBoxName(season, i).toLatin1().constData())->setText(i == 8 ? "20" : "10");
        Edit(&w, ui::SpeedBoxName(season, i).toLatin1().constData())->setText(i == 8 ? "0" : "3,5");
      }
    Edit(&w, "Text1")->setText("150");
  }
  QListWidget* List(frmWind& w) { return Find<QListWidget>(&w, "lstCity"); }

  ScratchDatabase data;
  MainStandIn main;
};

}  // namespace

TEST_F(WindEditor, OpensOnTheFirstTownByNameInViewMode) {
  frmWind editor(&main);
  editor.show();
  EXPECT_EQ(editor.windowTitle(), "Ветер");
  EXPECT_FALSE(main.isVisible());
  ASSERT_EQ(List(editor)->count(), 2);
  EXPECT_EQ(List(editor)->item(0)->text(), "Казань");
  EXPECT_EQ(List(editor)->item(0)->data(Qt::UserRole).toInt(), 5);
  EXPECT_EQ(List(editor)->item(1)->data(Qt::UserRole).toInt(), 17);
  EXPECT_EQ(editor.selectedCity(), 5);
  EXPECT_EQ(Edit(&editor, "txtCity")->text(), "Казань");
  EXPECT_EQ(Edit(&editor, "txtN1")->text(), "20");
  EXPECT_EQ(Edit(&editor, "txtV11")->text(), "2,5");
  EXPECT_EQ(Edit(&editor, "txtV29")->text(), "0");
  EXPECT_EQ(Edit(&editor, "Text1")->text(), "200");
  EXPECT_FALSE(editor.editing());
  EXPECT_FALSE(Find(&editor, "imgWind")->isVisible());
  // All 38 boxes exist and are closed for typing.
  int boxes = 0;
  for (QLineEdit* e : editor.findChildren<QLineEdit*>()) {
    if (e->objectName().startsWith("txt") || e->objectName() == "Text1") {
      ++boxes;
      EXPECT_FALSE(e->isEnabled()) << e->objectName().toStdString();
    }
  }
  EXPECT_EQ(boxes, 38);

  // Picking the other town shows its row, found by its key.
  List(editor)->setCurrentRow(1);
  EXPECT_EQ(Edit(&editor, "txtCity")->text(), "Самара");
  EXPECT_EQ(Edit(&editor, "txtN1")->text(), "10");
}

TEST_F(WindEditor, KeyFiltersOfThePercentAndSpeedBoxes) {
  frmWind editor(&main);
  editor.show();
  Button(&editor, "cmdInsert")->click();
  QLineEdit* percent = Edit(&editor, "txtNE2");
  QLineEdit* speed = Edit(&editor, "txtV14");
  Type(percent, "1,2.a5");
  EXPECT_EQ(percent->text(), "125");
  Type(speed, "3.5");
  EXPECT_EQ(speed->text(), "35");
  speed->clear();
  Type(speed, "3,5x");
  EXPECT_EQ(speed->text(), "3,5");
  // The name and the days have no filter.
  Type(Edit(&editor, "txtCity"), "Усть-Кут 2");
  EXPECT_EQ(Edit(&editor, "txtCity")->text(), "Усть-Кут 2");
}

TEST_F(WindEditor, ANewTownIsCheckedStoredUnderAFreshKeyAndShown) {
  MessageCatcher catcher;
  frmWind editor(&main);
  SignalCount changed(&editor, &frmWind::dataChanged);
  editor.show();
  Button(&editor, "cmdInsert")->click();
  EXPECT_TRUE(editor.editing());
  EXPECT_TRUE(Edit(&editor, "txtN1")->isEnabled());
  EXPECT_EQ(Edit(&editor, "txtCity")->text(), "");
  EXPECT_EQ(Edit(&editor, "txtN1")->text(), "");
  EXPECT_EQ(Edit(&editor, "txtV19")->text(), "0");
  EXPECT_EQ(Edit(&editor, "txtV29")->text(), "0");
  EXPECT_EQ(Edit(&editor, "Text1")->text(), "182");
  // "Обновить" follows the name box.
  EXPECT_FALSE(Button(&editor, "cmdRenovate")->isEnabled());
  Type(Edit(&editor, "txtCity"), "О");
  EXPECT_TRUE(Button(&editor, "cmdRenovate")->isEnabled());
  Edit(&editor, "txtCity")->clear();
  EXPECT_FALSE(Button(&editor, "cmdRenovate")->isEnabled());

  // Empty boxes are refused, naming nothing stored.
  Type(Edit(&editor, "txtCity"), "Омск");
  Button(&editor, "cmdRenovate")->click();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "Процент повторяемости должен быть целым числом от 0 до 100!");
  EXPECT_EQ(catcher.requests[0].title, "Внимание!!!");
  EXPECT_EQ(data.Scalar("SELECT COUNT(*) FROM Wind").toInt(), 2);

  FillValid(editor, "Омск");
  Button(&editor, "cmdRenovate")->click();
  EXPECT_EQ(catcher.requests.size(), 1u) << catcher.texts().join("|").toStdString();
  // The new key is neither 0 nor one of the stored keys 5 and 17.
  const int id = data.Scalar("SELECT idCity FROM Wind WHERE CityName = 'Омск'").toInt();
  EXPECT_NE(id, 0);
  EXPECT_NE(id, 5);
  EXPECT_NE(id, 17);
  const auto town = db::LoadWind(id);
  ASSERT_TRUE(town);
  EXPECT_DOUBLE_EQ(town->winter[8], 20);
  EXPECT_DOUBLE_EQ(town->speedSummer[0], 3.5);
  EXPECT_DOUBLE_EQ(town->Tmedium, 150);
  // Back in view mode with the new town selected (name order: Казань, Омск, Самара).
  EXPECT_FALSE(editor.editing());
  EXPECT_FALSE(Edit(&editor, "txtN1")->isEnabled());
  EXPECT_EQ(List(editor)->count(), 3);
  EXPECT_EQ(editor.selectedCity(), id);
  EXPECT_EQ(List(editor)->currentItem()->text(), "Омск");
  EXPECT_EQ(changed.count, 1);

  // The same name again is refused.
  Button(&editor, "cmdInsert")->click();
  FillValid(editor, "омск");
  Button(&editor, "cmdRenovate")->click();
  EXPECT_EQ(catcher.texts().last(), "Город с таким названием уже есть в базе данных!");
  EXPECT_EQ(data.Scalar("SELECT COUNT(*) FROM Wind").toInt(), 3);
}

TEST_F(WindEditor, ChangingATownWritesItsOwnRowAndRefusesBadNumbers) {
  MessageCatcher catcher;
  frmWind editor(&main);
  editor.show();
  List(editor)->setCurrentRow(1);  // Самара, key 17
  Button(&editor, "cmdChange")->click();
  EXPECT_TRUE(editor.editing());

  struct Bad {
    const char* box;
    const char* text;
    const char* message;
  } bad[] = {
      {"txtE1", "101", "Процент повторяемости должен быть целым числом от 0 до 100!"},
      {"txtV15", "10", "Средняя скорость ветра должна быть не меньше 0 и меньше 10 м/с!"},
      {"txtV22", "", "Средняя скорость ветра должна быть не меньше 0 и меньше 10 м/с!"},
      {"Text1", "365", "Количество дней должно быть целым числом от 0 до 364!"},
      {"Text1", "100,5", "Количество дней должно быть целым числом от 0 до 364!"},
      {"txtCity", "Казань", "Город с таким названием уже есть в базе данных!"},
  };
  for (const Bad& b : bad) {
    const QString before = Edit(&editor, b.box)->text();
    Edit(&editor, b.box)->setText(b.text);
    Button(&editor, "cmdRenovate")->click();
    ASSERT_FALSE(catcher.requests.empty());
    EXPECT_EQ(catcher.requests.back().text, b.message) << b.box;
    EXPECT_TRUE(editor.editing()) << b.box;
    Edit(&editor, b.box)->setText(before);
  }
  const size_t refused = catcher.requests.size();
  EXPECT_EQ(refused, std::size(bad));
  // Nothing of the refused attempts reached the table.
  EXPECT_DOUBLE_EQ(db::LoadWind(17)->winter[2], 10);

  // Edge values pass: 0 and 100 percent, 9,9 m/s, 364 days.
  Edit(&editor, "txtE1")->setText("100");
  Edit(&editor, "txtN2")->setText("0");
  Edit(&editor, "txtV15")->setText("9,9");
  Edit(&editor, "Text1")->setText("364");
  Edit(&editor, "txtCity")->setText("Самара-2");
  Button(&editor, "cmdRenovate")->click();
  EXPECT_EQ(catcher.requests.size(), refused) << catcher.texts().join("|").toStdString();
  const auto samara = db::LoadWind(17);
  ASSERT_TRUE(samara);
  EXPECT_EQ(samara->CityName, "Самара-2");
  EXPECT_DOUBLE_EQ(samara->winter[2], 100);
  EXPECT_DOUBLE_EQ(samara->summer[0], 0);
  EXPECT_DOUBLE_EQ(samara->speedWinter[4], 9.9);
  EXPECT_DOUBLE_EQ(samara->Tmedium, 364);
  // The other town is as it was.
  EXPECT_EQ(db::LoadWind(5)->CityName, "Казань");
  EXPECT_DOUBLE_EQ(db::LoadWind(5)->winter[0], 20);
  EXPECT_EQ(data.Scalar("SELECT COUNT(*) FROM Wind").toInt(), 2);
  EXPECT_EQ(editor.selectedCity(), 17);
}

TEST_F(WindEditor, DeletingATownAsksFirst) {
  MessageCatcher catcher(QMessageBox::No);
  frmWind editor(&main);
  SignalCount changed(&editor, &frmWind::dataChanged);
  editor.show();
  Button(&editor, "cmdDelate")->click();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "Удаленные данные будут утеряны! Продолжить?");
  EXPECT_EQ(catcher.requests[0].buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(data.Scalar("SELECT COUNT(*) FROM Wind").toInt(), 2);

  catcher.setAnswer(QMessageBox::Yes);
  Button(&editor, "cmdDelate")->click();  // Казань, key 5
  EXPECT_FALSE(db::LoadWind(5));
  EXPECT_TRUE(db::LoadWind(17));
  EXPECT_EQ(List(editor)->count(), 1);
  EXPECT_EQ(editor.selectedCity(), 17);
  EXPECT_EQ(Edit(&editor, "txtCity")->text(), "Самара");
  EXPECT_EQ(changed.count, 1);
}

namespace {
// Pixels of a picture that are clearly blue (the winter line) or clearly orange-red (the summer line).
int Coloured(const QImage& image, bool blue) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (blue ? (c.blue() > 140 && c.red() < 80) : (c.red() > 160 && c.blue() < 80)) ++n;
    }
  return n;
}
// A drawn rose: both seasons' lines run round the picture, far more than the two small legend marks
// (a few dozen pixels each) would give.
bool HasDrawing(const QImage& image) {
  return !image.isNull() && Coloured(image, true) > 300 && Coloured(image, false) > 300;
}
}  // namespace

TEST_F(WindEditor, TheRoseWritesTheWorkbookAndShowsItsPictureAndAFailureClearsIt) {
  MessageCatcher catcher;
  QTemporaryDir folder;
  frmWind editor(&main);
  editor.setOutputFolder(folder.path());
  editor.show();
  auto* image = Find<QLabel>(&editor, "imgWind");
  Button(&editor, "cmdRoseWind")->click();
  EXPECT_TRUE(catcher.requests.empty()) << catcher.texts().join("|").toStdString();
  EXPECT_TRUE(QFile::exists(QDir(folder.path()).filePath("РозаВетров.xlsx")));
  EXPECT_TRUE(image->isVisible());
  EXPECT_FALSE(editor.rosePicture().isNull());
  EXPECT_GT(Coloured(editor.rosePicture(), false), 300);  // the summer line at least (winter lies under it)
  EXPECT_FALSE(image->pixmap().isNull());
  EXPECT_EQ(Button(&editor, "cmdRoseWind")->text(), "Построить розу ветров");
  EXPECT_TRUE(Button(&editor, "cmdRoseWind")->isEnabled());

  // A folder that cannot be written: the system's message, and no picture of the earlier town remains.
  editor.setOutputFolder(folder.filePath("нет"));
  List(editor)->setCurrentRow(1);
  Button(&editor, "cmdRoseWind")->click();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "Ошибка в процессе записи файла!");
  EXPECT_EQ(catcher.requests[0].title, "Веларон");
  EXPECT_EQ(catcher.requests[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(editor.rosePicture().isNull());
  EXPECT_TRUE(image->pixmap().isNull());
  EXPECT_TRUE(image->isVisible());

  // No town chosen: the same message, no file.
  QTemporaryDir other;
  EXPECT_TRUE(ui::BuildWindRose(&editor, 0, other.path()).isNull());
  EXPECT_TRUE(ui::BuildWindRose(&editor, 999, other.path()).isNull());
  EXPECT_EQ(catcher.requests.size(), 3u);
  EXPECT_TRUE(QDir(other.path()).isEmpty());
}

TEST(WindRosePicture, BothSeasonsAreDrawn) {
  // Winter from the north, summer from the south: the two lines lie apart.
  db::WindRow town;
  town.CityName = "Тверь";
  town.winter = {40, 10, 5, 5, 5, 5, 5, 10, 15};
  town.summer = {5, 5, 10, 15, 30, 15, 10, 5, 5};
  const QImage picture = ui::RenderWindRose(town, QSize(400, 360));
  EXPECT_EQ(picture.size(), QSize(400, 360));
  EXPECT_TRUE(HasDrawing(picture)) << Coloured(picture, true) << " " << Coloured(picture, false);
  // North is up: the winter line reaches higher in the picture than the summer line.
  auto topmost = [&](bool blue) {
    for (int y = 0; y < picture.height(); ++y)
      for (int x = picture.width() / 3; x < 2 * picture.width() / 3; ++x) {
        const QColor c = picture.pixelColor(x, y);
        if (blue ? (c.blue() > 140 && c.red() < 80) : (c.red() > 160 && c.blue() < 80)) return y;
      }
    return picture.height();
  };
  EXPECT_LT(topmost(true), topmost(false));
}

TEST_F(WindEditor, ExitShowsTheMainWindowAndItsTownListIsReloaded) {
  frmWind editor(&main);
  SignalCount returned(&editor, &frmWind::returned);
  editor.show();
  Button(&editor, "cmdExit")->click();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_TRUE(main.isVisible());
  EXPECT_EQ(returned.count, 1);

  QComboBox combo;
  ui::LoadCityList(&combo);
  ASSERT_EQ(combo.count(), 2);
  EXPECT_EQ(combo.itemText(0), "Казань");
  EXPECT_EQ(combo.itemData(0).toInt(), 5);
  EXPECT_EQ(combo.itemText(1), "Самара");
  EXPECT_EQ(combo.itemData(1).toInt(), 17);
  EXPECT_EQ(combo.currentIndex(), 0);
  // The main window may keep its town; a key no longer listed falls back to the first town.
  ui::LoadCityList(&combo, 17);
  EXPECT_EQ(combo.currentIndex(), 1);
  ui::LoadCityList(&combo, 99);
  EXPECT_EQ(combo.currentIndex(), 0);
  // An empty table: an empty list, nothing selected.
  ASSERT_TRUE(data.Exec("DELETE FROM Wind"));
  ui::LoadCityList(&combo, 17);
  EXPECT_EQ(combo.count(), 0);
  EXPECT_EQ(combo.currentIndex(), -1);
}

// ---------------------------------------------------------------- the checks on their own

namespace {
ui::WindEntry ValidEntry() {
  ui::WindEntry e;
  e.CityName = "  Тверь ";
  for (size_t i = 0; i < 9; ++i) {
    e.winter[i] = "0";
    e.summer[i] = "0";
    e.speedWinter[i] = "0";
    e.speedSummer[i] = "0";
  }
  e.winter[3] = "1";  // the smallest non-zero season sums
  e.summer[8] = "1";
  e.Tmedium = "0";
  return e;
}
}  // namespace

TEST(WindEntryCheck, TheSmallestValidTownPassesAndKeepsItsNumbers) {
  const auto check = ui::CheckWindEntry(ValidEntry());
  ASSERT_TRUE(check.row) << check.message.toStdString();
  EXPECT_EQ(check.row->CityName, "Тверь");
  EXPECT_EQ(check.row->idCity, 0);
  EXPECT_DOUBLE_EQ(check.row->winter[3], 1);
  EXPECT_DOUBLE_EQ(check.row->summer[8], 1);
  EXPECT_DOUBLE_EQ(check.row->Tmedium, 0);
}

TEST(WindEntryCheck, EachRuleNamesTheBoxToPutRight) {
  auto refused = [](ui::WindEntry e) { return ui::CheckWindEntry(e); };
  {
    auto e = ValidEntry();
    e.CityName = "   ";
    EXPECT_EQ(refused(e).box, "txtCity");
  }
  {
    auto e = ValidEntry();
    e.winter[3] = "0";  // winter sums to 0: no wind state can be weighed
    const auto c = refused(e);
    EXPECT_FALSE(c.row);
    EXPECT_EQ(c.box, "txtN1");
    EXPECT_EQ(c.message, "Сумма процентов повторяемости (Зима) должна быть больше 0!");
  }
  {
    auto e = ValidEntry();
    e.summer[8] = "0";
    EXPECT_EQ(refused(e).message, "Сумма процентов повторяемости (Лето) должна быть больше 0!");
  }
  for (const char* text : {"-1", "101", "2,5", "", "x"}) {
    auto e = ValidEntry();
    e.summer[5] = text;
    EXPECT_EQ(refused(e).box, "txtSW2") << text;
  }
  for (const char* text : {"10", "10,0", "-0,1", "", "1,2,3"}) {
    auto e = ValidEntry();
    e.speedSummer[6] = text;
    EXPECT_EQ(refused(e).box, "txtV27") << text;
  }
  {
    auto e = ValidEntry();
    e.speedWinter[0] = "9,99";
    EXPECT_TRUE(refused(e).row);
  }
  for (const char* text : {"-1", "365", "12,5", ""}) {
    auto e = ValidEntry();
    e.Tmedium = text;
    EXPECT_EQ(refused(e).box, "Text1") << text;
  }
}

TEST(WindEntryCheck, BoxNamesFollowTheTableColumns) {
  EXPECT_EQ(ui::PercentBoxName(1, 0), "txtN1");
  EXPECT_EQ(ui::PercentBoxName(2, 8), "txtST2");
  EXPECT_EQ(ui::SpeedBoxName(1, 0), "txtV11");
  EXPECT_EQ(ui::SpeedBoxName(2, 8), "txtV29");
  // A stored town comes back into the boxes with the decimal comma.
  db::WindRow row;
  row.CityName = "Тверь";
  row.speedWinter[1] = 2.75;
  row.Tmedium = 190;
  const auto e = ui::EntryFromRow(row);
  EXPECT_EQ(e.speedWinter[1], "2,75");
  EXPECT_EQ(e.Tmedium, "190");
  const auto fresh = ui::NewTownEntry();
  EXPECT_EQ(fresh.Tmedium, "182");
  EXPECT_EQ(fresh.speedWinter[8], "0");
  EXPECT_EQ(fresh.winter[0], "");
}
