#include "ui/run/run_workbook.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "common/qt_text.h"
#include "common/texts.h"
#include "output/workbook/result_workbook.h"
#include "result/printed_texts.h"
#include "ui/widgets/messages.h"
#include "ui/run/worker_thread.h"
#include "ui/widgets/save_dialog.h"

namespace velaron::ui {

namespace {

// The busy sign while a workbook is written: what is written, for which scenario and into which file, and a
// running bar. It has no button, since nothing can stop a write half-way, and its close box does nothing.
class WorkbookNote : public QDialog {
 public:
  WorkbookNote(QWidget* parent, const QString& scenario, const QString& path)
      : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("frmWorkbookNote"));
    setWindowTitle(U(texts::kProgramTitle));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(U(kWorkbookWriting), this));
    if (!scenario.isEmpty()) layout->addWidget(new QLabel(U(kWorkbookScenario).arg(scenario), this));
    layout->addWidget(new QLabel(QFileInfo(path).fileName(), this));
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);  // a running bar: the writer tells no steps
    layout->addWidget(bar);
  }

 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// Writes the workbook on a worker while the note stands; empty when written, else the message for the user.
// A large grid takes seconds: the windows repaint meanwhile but take no input. The writer starts from inside
// the loop, so the loop always runs and the note is always painted.
QString WriteWorkbookWithNote(QWidget* parent, const result::RunSnapshot& record, const QString& path) {
  output::WorkbookWriteResult written;
  bool started = false;
  WorkbookNote note(parent, result::PrintedTextsOf(record).ScenarioName, path);
  note.show();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QThread* worker = QThread::create([&written, &record, path] { written = output::WriteResultWorkbook(record, path); });
  QEventLoop loop;
  QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(0, &loop, [worker, &loop, &started] {
    started = StartWorker(worker);
    if (!started) loop.quit();  // a refused thread sends no finished
  });
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker->wait();
  delete worker;
  QApplication::restoreOverrideCursor();
  note.hide();
  if (!started) return U(kNoWorkbookThread);
  if (written.ok) return {};
  std::fprintf(stderr, "workbook %s: %s\n", qPrintable(path), qPrintable(written.detail));
  // A save asked for in the dialog is told as every failed save of the window is, with the writer's cause
  // (the writer heads its message as the driver prints it).
  QString message = written.message;
  if (const QString writeFailed = U(texts::kWriteFailed); message.startsWith(writeFailed))
    message.replace(0, writeFailed.size(), U(texts::kSaveFailed));
  return message;
}

}  // namespace

QString OfferRunWorkbook(QWidget* parent, const result::RunSnapshot& record) {
  if (!record.request.options.OptExtraFiles) return {};
  const QString scenarioName = result::PrintedTextsOf(record).ScenarioName;
  const QString title = scenarioName.isEmpty() ? U(kWorkbookSaveTitlePlain) : U(kWorkbookSaveTitle).arg(scenarioName);
  // A save that fails (a full disk, a read-only folder) is told and the dialog comes again: the workbook
  // exists only in this record, and the engineer decides where it goes or that it goes nowhere.
  for (;;) {
    const QString path = AskSaveFileName(parent, title, U(kWorkbookFilter));
    if (path.isEmpty()) return {};
    const QString failure = WriteWorkbookWithNote(parent, record, path);
    if (failure.isEmpty()) {
      RememberSaveFolder(path);
      return path;
    }
    ShowCritical(parent, failure);
  }
}

}  // namespace velaron::ui
