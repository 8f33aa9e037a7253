// The wind editor's Tab order: the table column by column as laid out.
#include <QLineEdit>
#include <gtest/gtest.h>

#include "refdata/frm_wind.h"
#include "refdata/wind_entry.h"

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

}  // namespace
}  // namespace velaron::ui
