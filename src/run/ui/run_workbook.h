// Saving the result workbook of a finished run from the window: when the option for additional result
// workbooks is on, the save dialog asks for the file, and the workbook is written on a worker thread
// under a busy cursor while the window keeps painting. Cancelling writes nothing and says nothing; a file
// that cannot be written is told, leaves an earlier file as it was, and the run's results stay.
#pragma once

#include "result/run_snapshot.h"

class QWidget;

namespace velaron::ui {

inline constexpr const char* kWorkbookFilter = "Книга Excel (*.xlsx)|*.xlsx";

// Returns the path written, or empty when nothing was written.
QString OfferRunWorkbook(QWidget* parent, const result::RunSnapshot& record);

}  // namespace velaron::ui
