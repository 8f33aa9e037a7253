// What the editors look like on a screen whose font differs from the one the stored column widths were
// measured with: every grid caption is readable, the name box has room for a name, and the town list keeps
// its width when the rose picture opens beside it.
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "output/scratch_db.h"
#include "refdata/frm_gaz.h"
#include "refdata/frm_region.h"
#include "refdata/frm_wind.h"
#include "refdata/ref_editor.h"
#include "refdata_helpers.h"

using namespace velaron;
using namespace velaron::test;
using velaron::ui::RefEditor;

namespace {

// Every column of the editor's grid is at least as wide as its caption's text.
void ExpectCaptionsFit(QWidget& editor) {
  auto* grid = Find<QTableWidget>(&editor, "Tabl_Program");
  ASSERT_NE(grid, nullptr);
  // The header's own size hint of a section: the caption's text with the style's margins around it.
  const int padding = 2 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid);
  const QFontMetrics fm(grid->horizontalHeader()->font());
  for (int c = 0; c < grid->columnCount(); ++c) {
    const QString caption = grid->horizontalHeaderItem(c)->text();
    EXPECT_GE(grid->columnWidth(c), fm.horizontalAdvance(caption) + padding) << caption.toStdString();
  }
}

}  // namespace

TEST(EditorLayout, AColumnIsItsStoredWidthUnlessTheCaptionNeedsMore) {
  // 1500 twips at 15 to the pixel is 100 px; a 40 px caption plus 16 px of header padding needs 56.
  EXPECT_EQ(RefEditor::ColumnWidth(1500, 40), 100);
  // A 150 px caption needs 150 + 16 = 166 px, more than the stored 100.
  EXPECT_EQ(RefEditor::ColumnWidth(1500, 150), 166);
  // The edge: a caption of exactly 84 px needs exactly the stored 100.
  EXPECT_EQ(RefEditor::ColumnWidth(1500, 84), 100);
}

TEST(EditorLayout, TheGasGridShowsEveryCaptionWhole) {
  // The gas captions ("Молярная масса, кмоль", "Теплота сгорания, кДж", "Класс опасности") were cut
  // short with the stored widths.
  ScratchDatabase data;
  ASSERT_TRUE(data.error().isEmpty()) << data.error().toStdString();
  MainStandIn main;
  ui::frmGaz editor(&main);
  editor.show();
  ExpectCaptionsFit(editor);
}

TEST(EditorLayout, TheRegionEditorsNameBoxHoldsAName) {
  ScratchDatabase data;
  ASSERT_TRUE(data.error().isEmpty()) << data.error().toStdString();
  MainStandIn main;
  ui::frmRegion editor(&main);
  editor.show();
  ExpectCaptionsFit(editor);
  Button(&editor, "Command3")->click();  // "Новая": the entry part opens
  auto* name = Edit(&editor, "Name_Reg");
  ASSERT_NE(name, nullptr);
  // The long label "Наименование территории" beside it squeezed the box to about 28 px (two letters)
  // before; 200 px holds some 25 letters of a name.
  EXPECT_GE(name->width(), 200);
}

TEST(EditorLayout, TheTownListKeepsItsWidthBesideTheRosePicture) {
  ScratchDatabase data;
  ASSERT_TRUE(data.error().isEmpty()) << data.error().toStdString();
  MainStandIn main;
  ui::frmWind editor(&main);
  editor.show();
  auto* list = Find<QListWidget>(&editor, "lstCity");
  ASSERT_NE(list, nullptr);
  auto* picture = Find<QWidget>(&editor, "imgWind");
  ASSERT_NE(picture, nullptr);
  picture->show();  // as after "Построить розу ветров"
  editor.adjustSize();
  // Before, the list shrank to a sliver (about 90 px) to make room for the picture.
  EXPECT_GE(list->width(), 200);
}
