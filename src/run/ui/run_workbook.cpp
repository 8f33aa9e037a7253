#include "run/ui/run_workbook.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <cstdio>

#include "output/workbook/result_workbook.h"
#include "widgets/messages.h"
#include "widgets/save_dialog.h"

namespace velaron::ui {

QString OfferRunWorkbook(QWidget* parent, const result::RunSnapshot& record) {
  if (!record.request.options.OptExtraFiles) return {};
  const QString path = AskSaveFileName(parent, QString::fromUtf8(kWorkbookFilter));
  if (path.isEmpty()) return {};

  // A large grid takes seconds: the window repaints meanwhile but takes no input.
  output::WorkbookWriteResult written;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QThread* worker = QThread::create([&written, &record, path] { written = output::WriteResultWorkbook(record, path); });
  QEventLoop loop;
  QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  if (!worker->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker->wait();
  delete worker;
  QApplication::restoreOverrideCursor();

  if (!written.ok) {
    std::fprintf(stderr, "workbook %s: %s\n", qPrintable(path), qPrintable(written.detail));
    ShowCritical(parent, written.message);
    return {};
  }
  RememberSaveFolder(path);
  return path;
}

}  // namespace velaron::ui
