// The wind editor while another program holds its database (a backup or sync tool).
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <optional>

#include "message_catcher.h"
#include "output/held_database.h"
#include "output/scratch_db.h"
#include "ui/refdata/frm_wind.h"

namespace velaron::ui {
namespace {

// While another program holds the file, a town picked in the list is not shown, and the list marks the
// town the boxes still show: a change stored later goes to that town. Before, the list marked the town
// picked beside the boxes of the one before, and "Изменить", "Обновить" wrote them over the town picked;
// a click with the mouse still did (the list marks the town clicked after its handler has run).
TEST(WindEditor, ABusyDatabaseKeepsTheTownsAndWritesNoTownOverAnother) {
  test::ScratchDatabase data;
  ASSERT_TRUE(
      data.Exec("INSERT INTO Wind (idCity, CityName, N1, S2, V11, V25, Tmedium) VALUES "
                "(1, 'Амурск', 60, 10, 3, 3, 200), (2, 'Хабаровск', 5, 70, 3, 3, 207)"));
  const QString towns = "SELECT group_concat(idCity || ' ' || CityName || ' ' || N1, '|') FROM Wind";
  test::MessageCatcher messages(QMessageBox::Yes);
  frmWind editor(nullptr);
  editor.show();
  auto* list = editor.findChild<QListWidget*>("lstCity");
  auto* north = editor.findChild<QLineEdit*>("txtN1");
  auto click = [&](const char* name) { editor.findChild<QPushButton*>(name)->click(); };
  std::optional<test::HeldDatabase> held(std::in_place, data.path());
  list->setCurrentRow(1);
  EXPECT_EQ(std::pair(editor.selectedCity(), north->text()), std::pair(1, QString("60")));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(list->selectedItems(), QList({list->item(0)}));
  click("cmdChange");
  north->setText("61");
  click("cmdRenovate");
  click("cmdDelate");
  // Said for the two picks, for the store, and for the delete (asked first; the list is not read again after the
  // failed delete, which would wait for the file and say so a second time).
  const QString busy = "база данных заблокирована другой программой";
  const QString read = "Ошибка чтения базы данных (таблица \"Wind\"): " + busy;
  EXPECT_EQ(messages.texts(), QStringList({read, read, read, "Удаленные данные будут утеряны! Продолжить?",
                                           "Ошибка записи в базу данных: " + busy}));
  EXPECT_EQ(list->count(), 2);
  held.reset();
  EXPECT_EQ(data.Scalar(towns).toString(), "1 Амурск 60.0|2 Хабаровск 5.0");
  // Let go, the town shown is the one changed.
  messages.requests.clear();
  list->setCurrentRow(0);
  click("cmdChange");
  north->setText("61");
  click("cmdRenovate");
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join("|").toStdString();
  EXPECT_EQ(data.Scalar(towns).toString(), "1 Амурск 61.0|2 Хабаровск 5.0");
}

}  // namespace
}  // namespace velaron::ui
