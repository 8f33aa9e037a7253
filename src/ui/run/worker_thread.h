// Starting the window's worker threads (a run, a workbook being written). The system may refuse a thread
// (a process limit, no memory): the window then says so and stays as it was, instead of waiting for a
// worker that never runs.
#pragma once

#include <functional>

class QThread;

namespace velaron::ui {

// What the user is told when the system gives the program no thread for a run or for writing a workbook.
inline constexpr const char* kNoRunThread =
    "Расчет не запущен: система не дала программе создать поток расчета (исчерпан предел числа процессов "
    "или не хватает памяти). Закройте ненужные программы и повторите расчет.";
inline constexpr const char* kNoWorkbookThread =
    "Книга результатов расчета не записана: система не дала программе создать поток записи (исчерпан предел "
    "числа процессов или не хватает памяти). Закройте ненужные программы и сохраните книгу снова.";

// Starts `thread`; false when the system refused it: then it never runs and never sends finished.
bool StartWorker(QThread* thread);

// Test hook: when set, it starts (or refuses) the thread in place of QThread::start and says whether it
// runs; an empty one restores the system's.
using WorkerStarter = std::function<bool(QThread*)>;
void SetWorkerStarter(WorkerStarter starter);

}  // namespace velaron::ui
