// What the editors look like on a screen whose font differs from the one the stored column widths were
// measured with: every grid caption is readable, the name box has room for a name, and the town list keeps
// its width when the rose picture opens beside it.
#include <QFontMetrics>
#include <QHeaderView>
#include <QListWidget>
#include <QStyle>
#include <QTableWidget>

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

using EditorLayout = EditorTest;

}  // namespace

TEST(EditorColumns, AColumnIsItsStoredWidthUnlessTheCaptionNeedsMore) {
  // 1500 twips at 15 to the pixel is 100 px; a caption needs its width plus 16 px of header padding:
  // 40 → 56 (the stored 100 wins), 150 → 166, and exactly 84 → exactly 100.
  EXPECT_EQ(RefEditor::ColumnWidth(1500, 40), 100);
  EXPECT_EQ(RefEditor::ColumnWidth(1500, 150), 166);
  EXPECT_EQ(RefEditor::ColumnWidth(1500, 84), 100);
}

TEST_F(EditorLayout, GridCaptionsAreWholeAndTheRegionNameBoxHoldsAName) {
  // The gas captions ("Молярная масса, кмоль", "Теплота сгорания, кДж", "Класс опасности") were cut
  // short with the stored widths.
  ui::frmGaz gas(&main);
  gas.show();
  ExpectCaptionsFit(gas);
  ui::frmRegion region(&main);
  region.show();
  ExpectCaptionsFit(region);
  Button(&region, "Command3")->click();  // "Новая": the entry part opens
  // The long label "Наименование территории" beside it squeezed the box to about 28 px (two letters)
  // before; 200 px holds some 25 letters of a name.
  EXPECT_GE(Edit(&region, "Name_Reg")->width(), 200);
}

TEST_F(EditorLayout, TheTownListKeepsItsWidthBesideTheRosePicture) {
  ui::frmWind editor(&main);
  editor.show();
  Find(&editor, "imgWind")->show();  // as after "Построить розу ветров"
  editor.adjustSize();
  // Before, the list shrank to a sliver (about 90 px) to make room for the picture.
  EXPECT_GE(Find<QListWidget>(&editor, "lstCity")->width(), 200);
}
