// The wind editor: the Tab order follows the table column by column as laid out; a rose on show follows
// the town chosen, is the documents' drawing, and keeps the editor at one size within a 1280 × 720 screen; a speed
// typed with a point keeps its decimals and a refusal names its box.
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "common/qt_text.h"
#include "message_catcher.h"

#include "output/scratch_db.h"
#include "output/pictures/wind_rose_picture.h"
#include "ui/refdata/editor_wind_rose.h"

#include "ui/refdata/frm_wind.h"
#include "ui/refdata/wind_entry.h"

namespace velaron::ui {
namespace {

// Амурск and Хабаровск, the towns the editor's tests start from.
const QString kTwoTowns = QStringLiteral(
    "INSERT INTO Wind (idCity, CityName, N1, S2, V11, V25, Tmedium) VALUES "
    "(1, 'Амурск', 60, 10, 3, 3, 200), (2, 'Хабаровск', 5, 70, 3, 3, 207)");

// Types a whole town into the editor: 2 m/s in every speed box, 10 in every other box, and its name.
void TypeTown(frmWind& editor, const char* name) {
  for (QLineEdit* box : editor.findChildren<QLineEdit*>())
    box->setText(box->objectName().startsWith("txtV") ? "2" : "10");
  editor.findChild<QLineEdit*>("txtCity")->setText(U(name));
}

TEST(WindEditor, TabWalksTheTableColumnByColumn) {
  frmWind editor(nullptr);
  editor.WindEnabled();
  QStringList order = {"txtCity"}, walked = order;
  for (auto name : {PercentBoxName, SpeedBoxName})
    for (int season = 1; season <= 2; ++season)
      for (int i = 0; i < 9; ++i) order << name(season, i);
  order << "Text1";
  for (QWidget* w = editor.findChild<QLineEdit*>("txtCity"); walked.size() < order.size();)
    if ((w = w->nextInFocusChain())->focusPolicy() != Qt::NoFocus) walked << w->objectName();
  EXPECT_EQ(walked, order);
}

// A new town has no rose until it is stored: its button is unavailable and the rose on show steps aside
// (before, it drew the rose of the town still selected in the list beside the new town's boxes).
TEST(WindEditor, ARoseOnShowFollowsTheTownChosenAndTheEditorKeepsOneSize) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.Exec(kTwoTowns));
  QTemporaryDir folder;
  frmWind editor(nullptr);
  editor.setOutputFolder(folder.path());
  editor.show();
  QApplication::processEvents();
  const QSize size = editor.size();
  auto* list = editor.findChild<QListWidget*>("lstCity");
  auto* rose = editor.findChild<QPushButton*>("cmdRoseWind");
  auto* picture = editor.findChild<QWidget*>("imgWind");
  rose->click();
  ASSERT_FALSE(editor.rosePicture().isNull());
  QApplication::processEvents();
  // The editor neither grows nor moves when the rose is drawn (it grew from 853 to 1219 px) and fits 1280 × 720.
  EXPECT_TRUE(editor.size() == size && size.width() <= 1280 && size.height() <= 720);
  list->setCurrentRow(1);
  // The other town's rose, its name the title: before, the first town's rose stayed on show.
  EXPECT_EQ(editor.rosePicture(), output::DrawWindRose(*db::LoadWind(editor.selectedCity()).value, kRosePictureSize));

  editor.findChild<QPushButton*>("cmdInsert")->click();
  EXPECT_FALSE(rose->isEnabled() || picture->isVisible());
  TypeTown(editor, "Бикин");
  editor.findChild<QPushButton*>("cmdRenovate")->click();
  ASSERT_EQ(db::LoadWind(editor.selectedCity()).value->CityName, QString::fromUtf8("Бикин"));
  EXPECT_TRUE(rose->isEnabled() && picture->isVisible());
  EXPECT_EQ(editor.rosePicture(), output::DrawWindRose(*db::LoadWind(editor.selectedCity()).value, kRosePictureSize));
}

// Before, the speed boxes dropped a typed point: "3.1" was stored as 31 m/s and "0.9" as 9 m/s, without a word.
TEST(WindEditor, ASpeedTypedWithAPointKeepsItsDecimalsAndARefusalNamesItsBox) {
  test::ScratchDatabase data;
  ASSERT_TRUE(
      data.Exec("INSERT INTO Wind (idCity, CityName, N1, S2, V25, Tmedium) VALUES (1, 'Амурск', 60, 10, 3, 200)"));
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
  type("txtV29", "0.9");                                             // not left before "Обновить"
  editor.findChild<QPushButton*>("cmdRenovate")->click();
  EXPECT_EQ(messages.texts(), QStringList(QString::fromUtf8("Средняя скорость ветра (Лето, Южный) должна быть не "
                                                            "меньше 0 и меньше 10 м/с!")));
  EXPECT_TRUE(summerSouth->hasFocus());
  EXPECT_DOUBLE_EQ(db::LoadWind(1).value->speedSummer[4], 3);
  type("txtV25", "9.5");
  editor.findChild<QPushButton*>("cmdRenovate")->click();
  const db::WindRow stored = *db::LoadWind(1).value;
  EXPECT_EQ(std::tuple(stored.speedWinter[0], stored.speedSummer[8], stored.speedSummer[4]), std::tuple(3.1, 0.9, 9.5));
}

// "Удалить" acts on the town selected in the list, which is not the one shown while a new town is typed: it is
// unavailable then, and a press that reaches it anyway asks nothing and deletes nothing (before, "Да" deleted the
// town still selected and threw the typed entry away). Once the new town is stored or abandoned it deletes the
// town shown, and that one only.
TEST(WindEditor, DeleteIsUnavailableWhileANewTownIsTyped) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.Exec(kTwoTowns + ", (3, 'Бикин', 20, 20, 3, 3, 210)"));
  test::MessageCatcher messages(QMessageBox::Yes);
  frmWind editor(nullptr);
  editor.show();
  auto* remove = editor.findChild<QPushButton*>("cmdDelate");
  auto* city = editor.findChild<QLineEdit*>("txtCity");
  auto names = [] {
    QStringList out;
    for (const db::WindRow& row : db::LoadWinds().value) out << row.CityName;
    return out;
  };
  auto startNewTown = [&] {
    editor.findChild<QPushButton*>("cmdInsert")->click();
    city->setText(U("Новый"));
    const QStringList before = names();
    EXPECT_FALSE(remove->isEnabled());
    editor.cmdDelate_Click();
    EXPECT_TRUE(messages.requests.empty() && names() == before);
    EXPECT_TRUE(city->text() == U("Новый") && editor.editing());
  };
  // Once the new town's mode has ended: deletes `shown`, the town shown, and that one only.
  auto expectDeletes = [&](const char* shown) {
    ASSERT_EQ(city->text(), U(shown));
    EXPECT_TRUE(remove->isEnabled());
    QStringList expected = names();
    expected.removeOne(U(shown));
    remove->click();
    EXPECT_EQ(messages.texts(), QStringList(U("Удаленные данные будут утеряны! Продолжить?")));
    messages.requests.clear();
    EXPECT_EQ(names(), expected);
  };
  // The list is in name order: Амурск, Бикин, Хабаровск; after a delete the town below the deleted one is
  // selected (Хабаровск after Вяземский), so the town picked next is another one.
  startNewTown();  // stored
  TypeTown(editor, "Вяземский");
  editor.findChild<QPushButton*>("cmdRenovate")->click();
  expectDeletes("Вяземский");
  startNewTown();  // abandoned for another town
  editor.findChild<QListWidget*>("lstCity")->setCurrentRow(1);
  expectDeletes("Бикин");
  startNewTown();  // abandoned by leaving the editor and opening it again
  editor.close();
  editor.show();
  expectDeletes("Амурск");
  EXPECT_EQ(names(), QStringList(U("Хабаровск")));
}

// "Изменить" is unavailable while a new town is typed, and a press that reaches it anyway changes nothing (the
// typed town was written over the selected one); "Обновить" or a click in the list makes it available again.
TEST(WindEditor, ChangeIsUnavailableWhileANewTownIsTyped) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.Exec(kTwoTowns));
  test::MessageCatcher messages(QMessageBox::Yes);
  frmWind editor(nullptr);
  editor.show();
  auto* change = editor.findChild<QPushButton*>("cmdChange");
  auto* remove = editor.findChild<QPushButton*>("cmdDelate");
  auto* city = editor.findChild<QLineEdit*>("txtCity");
  auto rows = [] {  // every field of every town
    QStringList out;
    QSqlQuery q(db::Connection());
    EXPECT_TRUE(q.exec("SELECT * FROM Wind ORDER BY idCity"));
    for (QStringList fields; q.next(); out << fields.join(';'), fields.clear())
      for (int i = 0; i < q.record().count(); ++i) fields << q.value(i).toString();
    return out;
  };
  const QStringList before = rows();
  ASSERT_EQ(before.size(), 2);
  ASSERT_EQ(editor.selectedCity(), 1);  // Амурск, the first in name order
  EXPECT_TRUE(change->isEnabled());
  for (const bool stored : {false, true}) {  // the mode ended by a click in the list, then by "Обновить"
    SCOPED_TRACE(stored);
    editor.findChild<QPushButton*>("cmdInsert")->click();
    TypeTown(editor, "Бикин");
    EXPECT_FALSE(change->isEnabled());
    editor.cmdChange_Click();
    EXPECT_TRUE(editor.editing() && city->text() == U("Бикин") && city->isEnabled());
    EXPECT_FALSE(change->isEnabled() || remove->isEnabled());
    EXPECT_EQ(rows(), before);
    if (stored) editor.findChild<QPushButton*>("cmdRenovate")->click();
    else editor.findChild<QListWidget*>("lstCity")->setCurrentRow(1);
    EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(change->isEnabled() && remove->isEnabled() && !editor.editing());
  }
  // The towns listed before are as they were, and the typed one is a town of its own.
  const QStringList after = rows();
  ASSERT_EQ(after.size(), 3);
  EXPECT_EQ(after.mid(0, 2), before);
  EXPECT_TRUE(after[2].contains(U(";Бикин;"))) << after[2].toStdString();
  EXPECT_EQ(city->text(), U("Бикин"));
}

}  // namespace
}  // namespace velaron::ui
