#include "ui/widgets/numeric_box.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>

#include "ui/widgets/messages.h"
#include "common/numtext.h"
#include "common/texts.h"

namespace velaron::ui {

namespace {
// The box that is taking the focus back after a refused leave. A box that loses the focus because of that
// was never really left by the user and must not run its own check: two bad boxes would otherwise refuse
// each other without end.
QPointer<NumericBox>& Reclaiming() {
  static QPointer<NumericBox> box;
  return box;
}
}  // namespace

NumericBox::NumericBox(QWidget* parent, Keys keys, Leave leave) : QLineEdit(parent), keys_(keys), leave_(leave) {}

bool NumericBox::acceptsKey(const QString& keyText, int key) const {
  if (keys_ == Keys::Any) return true;
  if (key == Qt::Key_Backspace) return true;
  if (keyText.size() != 1) return false;
  const QChar c = keyText.at(0);
  if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return true;
  if (keys_ == Keys::Integer) return false;
  if (c == QLatin1Char('.') || c == QLatin1Char(',')) return true;
  return keys_ == Keys::SignedDecimal && c == QLatin1Char('-');
}

void NumericBox::keyPressEvent(QKeyEvent* event) {
  // Navigation and editing keys without text (arrows, Delete, Tab, Home...) keep their usual meaning.
  const bool hasText = !event->text().isEmpty() && event->text().at(0).isPrint();
  const bool isBackspace = event->key() == Qt::Key_Backspace;
  if ((hasText || isBackspace) && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    if (!acceptsKey(event->text(), event->key())) {
      QApplication::beep();
      event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

std::optional<double> NumericBox::value() const { return ParseNumberLoose(text().toStdString()); }

bool NumericBox::runLeaveCheck() {
  if (leave_ == Leave::None) return extra_ ? extra_(*this) : true;
  if (leave_ == Leave::Decimal) {
    const QString converted = QString::fromStdString(PointsToCommas(text().toStdString()));
    if (converted != text()) setText(converted);
  }
  if (!ParseNumber(text().toStdString())) {
    WarnInput(this, QString::fromUtf8(texts::kCheckInput));
    return false;
  }
  return extra_ ? extra_(*this) : true;
}

bool NumericBox::guardedCheck() {
  checking_ = true;
  const bool ok = runLeaveCheck();
  checking_ = false;
  return ok;
}

void NumericBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (checking_ || !isVisible() || !isEnabled()) return;
  // A popup or the window itself losing focus is not a leave of the box.
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
  if (Reclaiming() && Reclaiming() != this) return;
  if (!guardedCheck()) {
    // Keep the focus, as after any refusal. Until it is back, a box it leaves on the way runs no check and
    // the window is not left.
    Reclaiming() = this;
    FocusAfterMessage(this, [] { Reclaiming() = nullptr; });
  }
}

bool NumericBox::leaveFocused(QWidget* window) {
  if (!window) return true;
  // A box of this window refused its text a moment ago (a click elsewhere took the focus) and its
  // message has been shown: the window stays with it.
  if (Reclaiming() && Reclaiming()->window() == window->window()) return false;
  auto* box = qobject_cast<NumericBox*>(window->focusWidget());
  if (!box || box->checking_ || !box->isVisible() || !box->isEnabled()) return true;
  const bool ok = box->guardedCheck();
  if (!ok) FocusAfterMessage(box);
  return ok;
}

bool NumericBox::checkAll(QWidget* root) {
  if (!root) return true;
  const auto boxes = root->findChildren<NumericBox*>();
  // Focus order: walk the focus chain from the root and check the boxes met on the way.
  QList<NumericBox*> ordered;
  QWidget* w = root->nextInFocusChain();
  for (int guard = 0; w && w != root && guard < 10000; ++guard, w = w->nextInFocusChain())
    if (auto* b = qobject_cast<NumericBox*>(w); b && boxes.contains(b) && !ordered.contains(b)) ordered.append(b);
  for (NumericBox* b : boxes)
    if (!ordered.contains(b)) ordered.append(b);
  for (NumericBox* b : ordered) {
    if (!b->isVisibleTo(root) || !b->isEnabled()) continue;
    if (!b->guardedCheck()) {
      FocusAfterMessage(b);
      return false;
    }
  }
  return true;
}

}  // namespace velaron::ui
