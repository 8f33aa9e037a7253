// The gas and region editors: one window size in both states, a row shows as chosen exactly when it is, and
// a name another row has is refused.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <optional>

#include "message_catcher.h"
#include "output/held_database.h"
#include "output/scratch_db.h"
#include "ui/refdata/frm_gaz.h"
#include "ui/refdata/frm_region.h"

namespace velaron::ui {
namespace {

TEST(RefEditors, KeepOneSizeAndShowAsChosenOnlyTheRowTheButtonsActOn) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.Exec("INSERT INTO Statistics VALUES ('Север', 0.5, 2), ('Юг', 0.2, 1.5)"));
  ASSERT_TRUE(
      data.Exec("INSERT INTO abc VALUES ('Метан', 16.043, 50000, 21, 0.2, 4), ('Пропан', 44.1, 46000, 20, 0.2, 3)"));
  frmRegion region(nullptr);
  frmGaz gas(nullptr);
  for (RefEditor* editor : std::initializer_list<RefEditor*>{&region, &gas}) {
    SCOPED_TRACE(editor->objectName().toStdString());
    editor->show();
    auto* grid = editor->findChild<QTableWidget*>("Tabl_Program");
    auto button = [&](const char* name) { return editor->findChild<QPushButton*>(name); };
    // Opened: no row marked and none to change or delete (before, the region editor marked its first row
    // while both buttons stayed off).
    EXPECT_TRUE(grid->selectedItems().isEmpty());
    EXPECT_FALSE(button("Command4")->isEnabled() || button("Command5")->isEnabled());
    const QSize size = editor->size();
    EXPECT_TRUE(size.width() <= 1280 && size.height() <= 720 - 70);
    // "Новая", "Отмена", a number cell of the second row picked, "Изменение": the window keeps its size
    // (before, the gas editor grew by half on "Новая") and the picked row is the one opened.
    for (const char* name : {"Command3", "Command2", "", "Command4"}) {
      if (*name) button(name)->click();
      else grid->setCurrentCell(1, 2);
      QApplication::processEvents();
      EXPECT_EQ(editor->size(), size) << name;
    }
    EXPECT_EQ(grid->selectedItems().size(), grid->columnCount());
    EXPECT_EQ(editor->findChild<QLineEdit*>("Name_Reg")->text(), grid->item(1, 0)->text());
    button("Command2")->click();
  }
}

// A name another row already has, in another letter case or with blanks around it, is refused with the
// editor's message, for a new row and for a row renamed, and the table stays as it was.
TEST(RefEditors, RefuseANameAnotherRowHas) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.Exec("INSERT INTO Statistics VALUES ('Север', 0.5, 2), ('Юг', 0.2, 1.5)"));
  ASSERT_TRUE(
      data.Exec("INSERT INTO abc VALUES ('Метан', 16.043, 50000, 21, 0.2, 4), ('Пропан', 44.1, 46000, 20, 0.2, 3)"));
  test::MessageCatcher messages;
  frmRegion region(nullptr);
  frmGaz gas(nullptr);
  const struct {
    RefEditor* editor;
    const char *taken, *refusal, *rows, *kept;
  } cases[] = {
      {&region, " юг ", "Регион с таким названием уже есть в базе данных!",
       "SELECT group_concat(Region || ' ' || lambda || ' ' || Kreg, '|') FROM Statistics", "Север 0.5 2.0|Юг 0.2 1.5"},
      {&gas, "ПРОПАН", "Газ с таким названием уже есть в базе данных!",
       "SELECT group_concat(VName || ' ' || m, '|') FROM abc", "Метан 16.043|Пропан 44.1"},
  };
  for (const auto& c : cases) {
    c.editor->show();
    auto button = [&](const char* name) { return c.editor->findChild<QPushButton*>(name); };
    auto name = c.editor->findChild<QLineEdit*>("Name_Reg");
    button("Command3")->click();  // "Новая"
    name->setText(QString::fromUtf8(c.taken));
    if (auto* mass = c.editor->findChild<QLineEdit*>("Text1")) mass->setText("30");
    button("Command1")->click();
    button("Command2")->click();
    c.editor->findChild<QTableWidget*>("Tabl_Program")->setCurrentCell(0, 0);  // the first row renamed
    button("Command4")->click();
    name->setText(QString::fromUtf8(c.taken));
    button("Command1")->click();
    EXPECT_EQ(messages.texts(), QStringList(2, QString::fromUtf8(c.refusal)));
    EXPECT_EQ(data.Scalar(QString::fromUtf8(c.rows)).toString(), QString::fromUtf8(c.kept));
    messages.requests.clear();
  }
}

// While another program holds the file (a backup or sync tool), the editors keep their grid, say why
// nothing can be read or stored, and change no row. Before, "Изменение" said the row was not found and
// emptied the grid, and a store or a delete said "не прочитана таблица" in place of the cause.
TEST(RefEditors, ABusyDatabaseKeepsTheGridAndChangesNothing) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.Exec("INSERT INTO Statistics VALUES ('Север', 0.5, 2), ('Юг', 0.2, 1.5)"));
  ASSERT_TRUE(
      data.Exec("INSERT INTO abc VALUES ('Метан', 16.043, 50000, 21, 0.2, 4), ('Пропан', 44.1, 46000, 20, 0.2, 3)"));
  test::MessageCatcher messages(QMessageBox::Yes);
  frmRegion region(nullptr);
  frmGaz gas(nullptr);
  const QString busy = "база данных заблокирована другой программой";
  const struct {
    RefEditor* editor;
    const char *table, *rows;
  } cases[] = {
      {&region, "Statistics", "SELECT group_concat(Region || ' ' || lambda || ' ' || Kreg, '|') FROM Statistics"},
      {&gas, "abc", "SELECT group_concat(VName || ' ' || m, '|') FROM abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    const QString read = QStringLiteral("Ошибка чтения базы данных (таблица \"%1\"): ").arg(c.table) + busy;
    const QVariant stored = data.Scalar(c.rows);
    c.editor->show();
    auto button = [&](const char* name) { return c.editor->findChild<QPushButton*>(name); };
    auto* grid = c.editor->findChild<QTableWidget*>("Tabl_Program");
    ASSERT_EQ(grid->rowCount(), 2);
    const QStringList shown = {grid->item(0, 0)->text(), grid->item(1, 0)->text()};
    messages.requests.clear();
    std::optional<test::HeldDatabase> held(std::in_place, data.path());
    grid->setCurrentCell(1, 0);
    button("Command4")->click();  // "Изменение"
    EXPECT_FALSE(c.editor->inEntryState());
    button("Command5")->click();  // "Удалить", answered "Да"
    button("Command3")->click();  // "Новая"
    c.editor->findChild<QLineEdit*>("Name_Reg")->setText("Восток");
    if (auto* mass = c.editor->findChild<QLineEdit*>("Text1")) mass->setText("30");
    button("Command1")->click();  // "Ввод": the entry stays open with what was typed
    EXPECT_TRUE(c.editor->inEntryState());
    // The failed delete says so once: the grid is not read again after it.
    EXPECT_EQ(messages.texts(), QStringList({read, "Удаленные данные будут утеряны! Продолжить?",
                                             "Ошибка записи в базу данных: " + busy, read}))
        << messages.texts().join("|").toStdString();
    button("Command2")->click();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(QStringList({grid->item(0, 0)->text(), grid->item(1, 0)->text()}), shown);
    held.reset();
    EXPECT_EQ(data.Scalar(c.rows), stored);
    c.editor->close();
  }
}

}  // namespace
}  // namespace velaron::ui
