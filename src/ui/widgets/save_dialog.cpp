#include "ui/widgets/save_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace velaron::ui {

namespace {

SaveFileSink& Sink() {
  static SaveFileSink sink;
  return sink;
}

// The folder of the last file saved; empty before the first save.
QString& LastSaveFolder() {
  static QString folder;
  return folder;
}

// "Книга Excel (*.xlsx)|*.xlsx" as Qt's name filters: each description, with its pattern when the
// description does not show it.
QStringList NameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString& text = parts[i];
    out << (text.contains(QLatin1Char('(')) ? text : text + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
  }
  return out;
}

// "*.xlsx" → "xlsx": the extension of the filter's first pattern.
QString FirstSuffix(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  if (parts.size() < 2) return {};
  const QString pattern = parts[1].section(QLatin1Char(';'), 0, 0).trimmed();
  const int dot = pattern.lastIndexOf(QLatin1Char('.'));
  return dot >= 0 && !pattern.mid(dot + 1).contains(QLatin1Char('*')) ? pattern.mid(dot + 1) : QString();
}

}  // namespace

void SetSaveFileSink(SaveFileSink sink) { Sink() = std::move(sink); }

QString SaveStartFolder() {
  const QString& last = LastSaveFolder();
  if (!last.isEmpty() && QDir(last).exists()) return last;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QDir(documents).exists()) return documents;
  return QDir::homePath();
}

void RememberSaveFolder(const QString& savedFile) {
  LastSaveFolder() = savedFile.isEmpty() ? QString() : QFileInfo(savedFile).absolutePath();
}

QString WithDefaultSuffix(const QString& path, const QString& suffix) {
  if (path.isEmpty() || suffix.isEmpty()) return path;
  const QString ending = QLatin1Char('.') + suffix;
  const QString name = QFileInfo(path).fileName();
  // A name that is only the extension (".xlsx") has no name of its own to keep.
  if (name.endsWith(ending, Qt::CaseInsensitive) && name.size() > ending.size()) return path;
  return path.endsWith(QLatin1Char('.')) ? path + suffix : path + ending;
}

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& filter) {
  SaveFileRequest request{title, filter, SaveStartFolder(), FirstSuffix(filter)};
  QString chosen;
  if (Sink()) {
    chosen = Sink()(request);
  } else {
    QFileDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(request.startFolder);
    dialog.setNameFilters(NameFilters(filter));
    dialog.setDefaultSuffix(request.suffix);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      chosen = dialog.selectedFiles().first();
  }
  return WithDefaultSuffix(chosen, request.suffix);
}

}  // namespace velaron::ui
