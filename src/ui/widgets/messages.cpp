#include "ui/widgets/messages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "common/texts.h"

namespace velaron::ui {

namespace {
MessageSink& Sink() {
  static MessageSink sink;
  return sink;
}

// The window a message stands over: the one it is about, or, while that is not on screen yet (a dialog
// that could not read what it would show), the nearest window on screen that it belongs to. A box over a
// window never shown would stand at the screen's corner.
QWidget* StandsOver(QWidget* parent) {
  for (QWidget* w = parent; w; w = w->window()->parentWidget())
    if (w->window()->isVisible()) return w;
  return parent;
}
}  // namespace

void SetMessageSink(MessageSink sink) { Sink() = std::move(sink); }

QMessageBox::StandardButton ShowMessage(QWidget* parent, const MessageRequest& request) {
  if (Sink()) return Sink()(request);
  QMessageBox box(request.icon, request.title, request.text, request.buttons, StandsOver(parent));
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void FocusAfterMessage(QWidget* w, std::function<void()> done) {
  w->setFocus(Qt::OtherFocusReason);
  QTimer::singleShot(0, w, [w, done = std::move(done)] {
    w->setFocus(Qt::OtherFocusReason);
    if (w->isVisible() && !w->isActiveWindow()) w->activateWindow();
    if (done) done();
  });
}

void WarnInput(QWidget* parent, const QString& text) {
  ShowMessage(parent, {QMessageBox::Warning, QString::fromUtf8(texts::kAttentionTitle), text, QMessageBox::Ok});
}

void ShowCritical(QWidget* parent, const QString& text) {
  ShowMessage(parent, {QMessageBox::Critical, QString::fromUtf8(texts::kProgramTitle), text, QMessageBox::Ok});
}

void ShowInfo(QWidget* parent, const QString& title, const QString& text) {
  ShowMessage(parent, {QMessageBox::NoIcon, title, text, QMessageBox::Ok});
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon) {
  return ShowMessage(parent, {icon, title, text, QMessageBox::Yes | QMessageBox::No}) == QMessageBox::Yes;
}

QTranslator* InstallQtTranslations() {
  auto* t = new QTranslator(QCoreApplication::instance());
  if (!t->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete t;
    return nullptr;
  }
  QCoreApplication::installTranslator(t);
  return t;
}

}  // namespace velaron::ui
