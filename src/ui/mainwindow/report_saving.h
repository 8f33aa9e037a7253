// "Сохранить результаты": the report of the last completed run written from its record, with the save
// dialog, the summary row and the messages of the program.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "result/run_snapshot.h"

namespace velaron::ui {

class Form1;

// Writes the report of a single-scenario run (codes 2, 3, 4, 5, 6, 8): the document, the summary row, the
// save dialog and the file.
void SaveSingleScenarioReport(QWidget* parent, const result::RunSnapshot& record);

// Writes the report of a year-round run (codes 1 and 7), rewriting the town's wind-rose workbook first.
void SaveYearReport(QWidget* parent, const result::RunSnapshot& record);

// Registers the report writers of the codes that have one with the main window.
void RegisterReportWriters(Form1& window);

// The save dialog: the chosen file name or an empty text. Tests replace it.
using ReportFileDialog = std::function<QString(QWidget* parent, const QString& startFolder)>;
void SetReportFileDialog(ReportFileDialog dialog);

}  // namespace velaron::ui
