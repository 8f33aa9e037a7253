// The wind editor: the Tab order follows the table column by column as laid out; a rose on show follows
// the town chosen, is the documents' drawing, and leaves the editor within a 1280 × 720 screen; a speed
// typed with a point keeps its decimals and a refusal names its box.
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "message_catcher.h"

#include "output/scratch_db.h"
#include "output/pictures/wind_rose_picture.h"
#include "ui/refdata/editor_wind_rose.h"

#include "ui/refdata/frm_wind.h"
#include "ui/refdata/wind_entry.h"

namespace velaron::ui {
namespace {

TEST(WindEditor, TabWalksTheTableColumnByColumn) {
  frmWind editor(nullptr);
  editor.WindEnabled();
  std::vector<QString> order = {"txtCity"};
  for (int season = 1; season <= 2; ++season)
    for (int i = 0; i < 9; ++i) order.push_back(PercentBoxName(season, i));
  for (int season = 1; season <= 2; ++season)
    for (int i = 0; i < 9; ++i) order.push_back(SpeedBoxName(season, i));
  order.push_back("Text1");
  for (size_t i = 1; i < order.size(); ++i) {
    QWidget* next = editor.findChild<QLineEdit*>(order[i - 1])->nextInFocusChain();
    while (next && next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->objectName(), order[i]) << "after " << order[i - 1].toStdString();
  }
}

TEST(WindEditor, ARoseOnShowFollowsTheTownChosen) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.Exec("INSERT INTO Wind (idCity, CityName, N1, S2, V11, V25, Tmedium) VALUES "
                        "(1, 'Амурск', 60, 10, 3, 3, 200), (2, 'Хабаровск', 5, 70, 3, 3, 207)"));
  QTemporaryDir folder;
  frmWind editor(nullptr);
  editor.setOutputFolder(folder.path());
  editor.show();
  auto* list = editor.findChild<QListWidget*>("lstCity");
  ASSERT_EQ(list->count(), 2);
  editor.findChild<QPushButton*>("cmdRoseWind")->click();
  ASSERT_FALSE(editor.rosePicture().isNull());
  // With the rose beside its table the editor still fits a screen of 1280 × 720 (it grew to 1329 px).
  editor.layout()->activate();
  EXPECT_LE(editor.width(), 1280);
  EXPECT_LE(editor.height(), 720);
  list->setCurrentRow(1);
  // The other town's rose, its name the title: before, the first town's rose stayed on show.
  EXPECT_EQ(editor.rosePicture(), output::DrawWindRose(*db::LoadWind(editor.selectedCity()), kRosePictureSize));
}

// Before, the speed boxes dropped a typed point: "3.1" was stored as 31 m/s and "0.9" as 9 m/s, without a word.
TEST(WindEditor, ASpeedTypedWithAPointKeepsItsDecimalsAndARefusalNamesItsBox) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.Exec("INSERT INTO Wind (idCity, CityName, N1, S2, V25, Tmedium) VALUES (1, 'Амурск', 60, 10, 3, 200)"));
  test::MessageCatcher messages;
  frmWind editor(nullptr);
  editor.show();
  QApplication::setActiveWindow(&editor);
  editor.findChild<QPushButton*>("cmdChange")->click();
  auto type = [&](const char* name, const char* keys) {
    auto* box = editor.findChild<QLineEdit*>(name);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::fromUtf8(keys));
    return box;
  };
  type("txtV11", "3.1");
  QLineEdit* summerSouth = type("txtV25", "12");
  EXPECT_EQ(editor.findChild<QLineEdit*>("txtV11")->text(), "3,1");  // the point became a comma on leaving
  type("txtV29", "0.9");  // not left before "Обновить"
  editor.findChild<QPushButton*>("cmdRenovate")->click();
  EXPECT_EQ(messages.texts(), QStringList(QString::fromUtf8("Средняя скорость ветра (Лето, Южный) должна быть не "
                                                            "меньше 0 и меньше 10 м/с!")));
  EXPECT_TRUE(summerSouth->hasFocus());
  EXPECT_DOUBLE_EQ(db::LoadWind(1)->speedSummer[4], 3);
  type("txtV25", "9.5");
  editor.findChild<QPushButton*>("cmdRenovate")->click();
  const db::WindRow stored = *db::LoadWind(1);
  EXPECT_EQ(std::tuple(stored.speedWinter[0], stored.speedSummer[8], stored.speedSummer[4]), std::tuple(3.1, 0.9, 9.5));
}

}  // namespace
}  // namespace velaron::ui
