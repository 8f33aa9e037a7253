// Message boxes of the program. Every window shows its messages through here, so that the texts,
// titles and icons stay the system's own and tests can answer them without a modal box.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QTranslator;

namespace velaron::ui {

struct MessageRequest {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title;
  QString text;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

// Shows a modal message box over `parent` and returns the button pressed. A parent whose window is not on
// screen yet gives way to the nearest window on screen that it belongs to.
QMessageBox::StandardButton ShowMessage(QWidget* parent, const MessageRequest& request);

// Puts the focus on `w`, the control a message just refused or asked for, now and once more when the events
// under way have been handled, and gives its window the activation back: the message box took it, and without
// a window manager nothing gives it back, so the next click elsewhere would move the focus without the window
// seeing it leave the control. `done` runs after the second time.
void FocusAfterMessage(QWidget* w, std::function<void()> done = {});

// Shorthands for the system's kinds of message.
void WarnInput(QWidget* parent, const QString& text);                       // exclamation, "Внимание!!!"
void ShowCritical(QWidget* parent, const QString& text);                    // critical, program title
void ShowInfo(QWidget* parent, const QString& title, const QString& text);  // no icon, OK
bool AskYesNo(QWidget* parent, const QString& title, const QString& text,
              QMessageBox::Icon icon = QMessageBox::Question);

// Installs Qt's own Russian texts (qtbase_ru from the Qt translations folder), so that the standard
// buttons read "Да", "Нет", "Отмена" and the file dialogs speak Russian. Null when the file is missing
// (the standard texts then stay English; nothing else changes). The translator belongs to the application.
QTranslator* InstallQtTranslations();

// Test hook: when set, messages go to the sink instead of a modal box; the sink returns the answer.
using MessageSink = std::function<QMessageBox::StandardButton(const MessageRequest&)>;
void SetMessageSink(MessageSink sink);

}  // namespace velaron::ui
