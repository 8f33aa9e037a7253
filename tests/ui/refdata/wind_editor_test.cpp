// The town wind-data editor: the town list, the boxes and their key filters, adding, changing and deleting
// a town with its checks, the wind rose, the way back; the main window's town list; the checks of the
// wind numbers on their own.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>

#include "db/database.h"
#include "message_catcher.h"
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

class WindEditor : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    // Stored out of name order and with keys that are not positions.
    AddTown(17, "Самара", 10);
    AddTown(5, "Казань", 20);
  }
  // A town whose winter N1 is `n1` and every other repetition 10; speeds 2,5 except calm 0; 200 days.
  void AddTown(int id, const QString& name, double n1) {
    QStringList cols = {"idCity", "CityName", "Tmedium"};
    QVariantList values = {id, name, 200};
    for (int season = 1; season <= 2; ++season)
      for (int i = 0; i < 9; ++i) {
        cols << QString("%1%2").arg(kStates[i]).arg(season) << QString("V%1%2").arg(season).arg(i + 1);
        values << (season == 1 && i == 0 ? n1 : 10.0) << (i == 8 ? 0.0 : 2.5);
      }
    const QString marks = QString("?,").repeated(int(cols.size()) - 1) + "?";
    ASSERT_TRUE(data.Exec(QString("INSERT INTO Wind (%1) VALUES (%2)").arg(cols.join(","), marks), values));
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
};

}  // namespace

TEST_F(WindEditor, OpensOnTheFirstTownByNameInViewModeAndExitReloadsTheMainWindowsTownList) {
  frmWind editor(&main);
  SignalCount returned(&editor, &frmWind::returned);
  editor.show();
  EXPECT_EQ(editor.windowTitle(), "Ветер");
  EXPECT_FALSE(main.isVisible());
  ASSERT_EQ(List(editor)->count(), 2);
  EXPECT_EQ(List(editor)->item(0)->text(), "Казань");
  EXPECT_EQ(List(editor)->item(0)->data(Qt::UserRole).toInt(), 5);
  EXPECT_EQ(List(editor)->item(1)->data(Qt::UserRole).toInt(), 17);
  EXPECT_EQ(editor.selectedCity(), 5);
  const std::pair<const char*, const char*> shown[] = {
      {"txtCity", "Казань"}, {"txtN1", "20"}, {"txtV11", "2,5"}, {"txtV29", "0"}, {"Text1", "200"}};
  for (const auto& [box, text] : shown) EXPECT_EQ(Edit(&editor, box)->text(), text) << box;
  EXPECT_FALSE(editor.editing());
  EXPECT_FALSE(Find(&editor, "imgWind")->isVisible());
  // All 38 boxes exist and are closed for typing.
  int boxes = 0;
  for (QLineEdit* e : editor.findChildren<QLineEdit*>())
    if (e->objectName().startsWith("txt") || e->objectName() == "Text1") {
      ++boxes;
      EXPECT_FALSE(e->isEnabled()) << e->objectName().toStdString();
    }
  EXPECT_EQ(boxes, 38);

  // Picking the other town shows its row, found by its key.
  List(editor)->setCurrentRow(1);
  EXPECT_EQ(Edit(&editor, "txtCity")->text(), "Самара");
  EXPECT_EQ(Edit(&editor, "txtN1")->text(), "10");

  Button(&editor, "cmdExit")->click();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_TRUE(main.isVisible());
  EXPECT_EQ(returned.count, 1);
  // The main window's list: the towns by name with their keys; it may keep its town, and a key no longer
  // listed falls back to the first town.
  QComboBox combo;
  auto listed = [&combo] {
    QStringList out;
    for (int i = 0; i < combo.count(); ++i)
      out << QString("%1 %2").arg(combo.itemText(i)).arg(combo.itemData(i).toInt());
    return out;
  };
  ui::LoadCityList(&combo);
  EXPECT_EQ(listed(), (QStringList{"Казань 5", "Самара 17"}));
  EXPECT_EQ(combo.currentIndex(), 0);
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

TEST_F(WindEditor, ANewTownIsFilteredCheckedStoredUnderAFreshKeyAndShown) {
  MessageCatcher catcher;
  frmWind editor(&main);
  SignalCount changed(&editor, &frmWind::dataChanged);
  editor.show();
  Button(&editor, "cmdInsert")->click();
  EXPECT_TRUE(editor.editing());
  EXPECT_TRUE(Edit(&editor, "txtN1")->isEnabled());
  const std::pair<const char*, const char*> fresh[] = {
      {"txtCity", ""}, {"txtN1", ""}, {"txtV19", "0"}, {"txtV29", "0"}, {"txtST2", ""}, {"Text1", "182"}};
  for (const auto& [box, text] : fresh) EXPECT_EQ(Edit(&editor, box)->text(), text) << box;

  // Key filters: a percent takes digits only, a speed digits and the comma; the name has no filter.
  Type(Edit(&editor, "txtNE2"), "1,2.a5");
  EXPECT_EQ(Edit(&editor, "txtNE2")->text(), "125");
  Type(Edit(&editor, "txtV14"), "3.5");
  EXPECT_EQ(Edit(&editor, "txtV14")->text(), "35");
  Edit(&editor, "txtV14")->clear();
  Type(Edit(&editor, "txtV14"), "3,5x");
  EXPECT_EQ(Edit(&editor, "txtV14")->text(), "3,5");
  // "Обновить" follows the name box.
  EXPECT_FALSE(Button(&editor, "cmdRenovate")->isEnabled());
  Type(Edit(&editor, "txtCity"), "Усть-Кут 2");
  EXPECT_EQ(Edit(&editor, "txtCity")->text(), "Усть-Кут 2");
  EXPECT_TRUE(Button(&editor, "cmdRenovate")->isEnabled());
  Edit(&editor, "txtCity")->clear();
  EXPECT_FALSE(Button(&editor, "cmdRenovate")->isEnabled());

  // Empty boxes are refused, storing nothing.
  Type(Edit(&editor, "txtCity"), "Омск");
  Button(&editor, "cmdRenovate")->click();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, "Процент повторяемости должен быть целым числом от 0 до 100!");
  EXPECT_EQ(catcher.requests[0].title, "Внимание!!!");
  EXPECT_EQ(Count("Wind"), 2);

  FillValid(editor, "Омск");
  Button(&editor, "cmdRenovate")->click();
  EXPECT_EQ(catcher.requests.size(), 1u) << catcher.texts().join("|").toStdString();
  // The new key is neither 0 nor one of the stored keys 5 and 17.
  const int id = data.Scalar("SELECT idCity FROM Wind WHERE CityName = 'Омск'").toInt();
  EXPECT_TRUE(id != 0 && id != 5 && id != 17) << id;
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
  EXPECT_EQ(Count("Wind"), 3);
}

TEST_F(WindEditor, ChangingATownWritesItsOwnRowRefusesBadNumbersAndDeletingAsksFirst) {
  MessageCatcher catcher;
  frmWind editor(&main);
  SignalCount changed(&editor, &frmWind::dataChanged);
  editor.show();
  List(editor)->setCurrentRow(1);  // Самара, key 17
  Button(&editor, "cmdChange")->click();
  EXPECT_TRUE(editor.editing());

  const char* kPercent = "Процент повторяемости должен быть целым числом от 0 до 100!";
  const char* kSpeed = "Средняя скорость ветра должна быть не меньше 0 и меньше 10 м/с!";
  const char* kDays = "Количество дней должно быть целым числом от 0 до 364!";
  const char* kTaken = "Город с таким названием уже есть в базе данных!";
  struct Bad {
    const char *box, *text, *message;
  } bad[] = {{"txtE1", "101", kPercent}, {"txtV15", "10", kSpeed},   {"txtV22", "", kSpeed},
             {"Text1", "365", kDays},    {"Text1", "100,5", kDays}, {"txtCity", "Казань", kTaken}};
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
  EXPECT_DOUBLE_EQ(db::LoadWind(17)->winter[2], 10);  // nothing of the refused attempts was stored

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
  EXPECT_EQ(Count("Wind"), 2);
  EXPECT_EQ(editor.selectedCity(), 17);

  // Deleting asks first; "No" keeps the town, "Yes" removes the selected one (Казань, key 5).
  catcher.setAnswer(QMessageBox::No);
  List(editor)->setCurrentRow(0);
  Button(&editor, "cmdDelate")->click();
  EXPECT_EQ(catcher.requests.back().text, "Удаленные данные будут утеряны! Продолжить?");
  EXPECT_EQ(catcher.requests.back().buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(Count("Wind"), 2);
  catcher.setAnswer(QMessageBox::Yes);
  Button(&editor, "cmdDelate")->click();
  EXPECT_FALSE(db::LoadWind(5));
  EXPECT_EQ(List(editor)->count(), 1);
  EXPECT_EQ(editor.selectedCity(), 17);
  EXPECT_EQ(Edit(&editor, "txtCity")->text(), "Самара-2");
  EXPECT_EQ(changed.count, 2);
}

namespace {
bool IsBlue(const QColor& c) { return c.blue() > 140 && c.red() < 80; }    // the winter line
bool IsOrange(const QColor& c) { return c.red() > 160 && c.blue() < 80; }  // the summer line
// Pixels of the picture that pass `test`.
int Coloured(const QImage& image, bool (*test)(const QColor&)) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += test(image.pixelColor(x, y)) ? 1 : 0;
  return n;
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
  // A drawn rose: the summer line (winter lies under it) runs round the picture, far more pixels than
  // the small legend mark (a few dozen) would give.
  EXPECT_GT(Coloured(editor.rosePicture(), IsOrange), 300);
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

  // No town chosen, or a key with no row: the same message, no file.
  QTemporaryDir other;
  EXPECT_TRUE(ui::BuildWindRose(&editor, 0, other.path()).isNull());
  EXPECT_TRUE(ui::BuildWindRose(&editor, 999, other.path()).isNull());
  EXPECT_EQ(catcher.requests.size(), 3u);
  EXPECT_TRUE(QDir(other.path()).isEmpty());
}

TEST(WindRosePicture, BothSeasonsAreDrawnWithNorthUp) {
  // Winter from the north, summer from the south: the two lines lie apart.
  db::WindRow town;
  town.CityName = "Тверь";
  town.winter = {40, 10, 5, 5, 5, 5, 5, 10, 15};
  town.summer = {5, 5, 10, 15, 30, 15, 10, 5, 5};
  const QImage picture = ui::RenderWindRose(town, QSize(400, 360));
  EXPECT_EQ(picture.size(), QSize(400, 360));
  EXPECT_GT(Coloured(picture, IsBlue), 300);
  EXPECT_GT(Coloured(picture, IsOrange), 300);
  // The winter line reaches higher in the middle third of the picture than the summer line.
  auto topmost = [&](bool (*test)(const QColor&)) {
    for (int y = 0; y < picture.height(); ++y)
      for (int x = picture.width() / 3; x < 2 * picture.width() / 3; ++x)
        if (test(picture.pixelColor(x, y))) return y;
    return picture.height();
  };
  EXPECT_LT(topmost(IsBlue), topmost(IsOrange));
}

// ---------------------------------------------------------------- the checks on their own

TEST(WindEntryCheck, TheSmallestValidTownPassesAndEachRuleNamesTheBoxToPutRight) {
  ui::WindEntry valid;
  valid.CityName = "  Тверь ";
  for (auto* season : {&valid.winter, &valid.summer, &valid.speedWinter, &valid.speedSummer}) season->fill("0");
  valid.winter[3] = "1";  // the smallest non-zero season sums
  valid.summer[8] = "1";
  valid.Tmedium = "0";
  const auto passed = ui::CheckWindEntry(valid);
  ASSERT_TRUE(passed.row) << passed.message.toStdString();
  EXPECT_EQ(passed.row->CityName, "Тверь");
  EXPECT_EQ(passed.row->idCity, 0);
  EXPECT_DOUBLE_EQ(passed.row->winter[3], 1);
  EXPECT_DOUBLE_EQ(passed.row->summer[8], 1);
  EXPECT_DOUBLE_EQ(passed.row->Tmedium, 0);
  // One change of the valid town at a time; a refusal names the box to put right.
  auto check = [&valid](auto change) {
    auto e = valid;
    change(e);
    return ui::CheckWindEntry(e);
  };
  EXPECT_TRUE(check([](auto& e) { e.speedWinter[0] = "9,99"; }).row);
  EXPECT_EQ(check([](auto& e) { e.CityName = "   "; }).box, "txtCity");
  const auto winter = check([](auto& e) { e.winter[3] = "0"; });  // winter sums to 0: nothing to weigh
  EXPECT_EQ(winter.box, "txtN1");
  EXPECT_EQ(winter.message, "Сумма процентов повторяемости (Зима) должна быть больше 0!");
  const auto summer = check([](auto& e) { e.summer[8] = "0"; });
  EXPECT_EQ(summer.box, "txtN2");
  EXPECT_EQ(summer.message, "Сумма процентов повторяемости (Лето) должна быть больше 0!");
  for (const char* v : {"-1", "101", "2,5", "", "x"})
    EXPECT_EQ(check([v](auto& e) { e.summer[5] = v; }).box, "txtSW2") << v;
  for (const char* v : {"10", "10,0", "-0,1", "", "1,2,3"})
    EXPECT_EQ(check([v](auto& e) { e.speedSummer[6] = v; }).box, "txtV27") << v;
  for (const char* v : {"-1", "365", "12,5", ""}) EXPECT_EQ(check([v](auto& e) { e.Tmedium = v; }).box, "Text1") << v;
}
