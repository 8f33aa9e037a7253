// The gas and region editors: one window size in both states, and a row shows as chosen exactly when it is.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "output/scratch_db.h"
#include "ui/refdata/frm_gaz.h"
#include "ui/refdata/frm_region.h"

namespace velaron::ui {
namespace {

TEST(RefEditors, KeepOneSizeAndShowAsChosenOnlyTheRowTheButtonsActOn) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.Exec("INSERT INTO Statistics VALUES ('Север', 0.5, 2), ('Юг', 0.2, 1.5)"));
  ASSERT_TRUE(data.Exec("INSERT INTO abc VALUES ('Метан', 16.043, 50000, 21, 0.2, 4), ('Пропан', 44.1, 46000, 20, 0.2, 3)"));
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

}  // namespace
}  // namespace velaron::ui
