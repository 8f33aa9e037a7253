// Saving the result workbook of a finished run from the window: when the option for additional result
// workbooks is on, a save dialog titled with the run's scenario asks for the file, and the workbook is
// written on a worker thread while a note without buttons names the scenario and the file, and the window
// keeps painting but takes no input. Cancelling writes nothing and says nothing; a file that cannot be
// written is told, leaves an earlier file as it was, and the dialog is offered again until the workbook is
// saved or the engineer cancels; the run's results stay either way.
#pragma once

#include "result/run_snapshot.h"

class QWidget;

namespace velaron::ui {

inline constexpr const char* kWorkbookFilter = "Книга Excel (*.xlsx)|*.xlsx";
// The save dialog's title and the note shown while the workbook is written; %1 is the scenario's name.
inline constexpr const char* kWorkbookSaveTitle = "Сохранение книги результатов расчета: сценарий \"%1\"";
inline constexpr const char* kWorkbookSaveTitlePlain = "Сохранение книги результатов расчета";
inline constexpr const char* kWorkbookWriting = "Подождите немного, идет запись книги результатов расчета . . .";
inline constexpr const char* kWorkbookScenario = "Сценарий \"%1\"";

// Returns the path written, or empty when nothing was written. `parent` holds the dialog, the note and the
// message; null makes them windows of their own (the windows of the run take no input meanwhile).
QString OfferRunWorkbook(QWidget* parent, const result::RunSnapshot& record);

}  // namespace velaron::ui
