// The gas and region editors as the user meets them: one window size in the list and the entry state, and
// the row buttons available exactly while a row shows as chosen.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <memory>

#include "output/scratch_db.h"
#include "refdata/frm_gaz.h"
#include "refdata/frm_region.h"

namespace velaron::ui {
namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

TEST(RefEditors, KeepOneSizeAndShowAsChosenOnlyTheRowTheButtonsActOn) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.Exec(U("INSERT INTO Statistics VALUES ('Российская Федерация (в среднем)', 0.33, 1), "
                          "('Юг', 0.2, 1.5)")));
  ASSERT_TRUE(data.Exec(U("INSERT INTO abc VALUES ('Метан', 16.043, 50000, 21, 0.2, 4), "
                          "('Пропан', 44.1, 46000, 20, 0.2, 3)")));
  std::unique_ptr<RefEditor> editors[] = {std::make_unique<frmRegion>(nullptr), std::make_unique<frmGaz>(nullptr)};
  for (auto& editor : editors) {
    SCOPED_TRACE(editor->objectName().toStdString());
    editor->show();
    QApplication::processEvents();
    auto* grid = editor->findChild<QTableWidget*>("Tabl_Program");
    auto button = [&](const char* name) { return editor->findChild<QPushButton*>(name); };
    // Opened: no row marked and none to change or delete (before, the region editor marked its first row
    // while both buttons stayed off).
    EXPECT_TRUE(grid->selectedItems().isEmpty());
    EXPECT_FALSE(button("Command4")->isEnabled());
    EXPECT_FALSE(button("Command5")->isEnabled());
    const QSize size = editor->size();
    EXPECT_LE(size.width(), 1280);
    EXPECT_LE(size.height(), 720 - 70);
    // "Новая" and "Отмена": the window neither grows nor shrinks (before, the gas editor grew by half).
    button("Command3")->click();
    QApplication::processEvents();
    EXPECT_TRUE(editor->inEntryState());
    EXPECT_EQ(editor->size(), size);
    button("Command2")->click();
    QApplication::processEvents();
    EXPECT_EQ(editor->size(), size);
    // Picking a number cell of the second row marks that row and opens it for change.
    grid->setCurrentCell(1, 2);
    EXPECT_EQ(grid->selectedItems().size(), grid->columnCount());
    ASSERT_TRUE(button("Command4")->isEnabled());
    EXPECT_TRUE(button("Command5")->isEnabled());
    button("Command4")->click();
    EXPECT_EQ(editor->editKey(), grid->item(1, 0)->text());
    EXPECT_EQ(editor->findChild<QLineEdit*>("Name_Reg")->text(), grid->item(1, 0)->text());
    EXPECT_EQ(editor->size(), size);
    button("Command2")->click();
  }
}

}  // namespace
}  // namespace velaron::ui
