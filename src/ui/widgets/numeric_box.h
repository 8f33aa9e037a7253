// The numeric input box used by every window: filters the keys typed into it and checks its text when
// the focus is about to leave it, keeping the focus while the text is not a number.
#pragma once

#include <QLineEdit>
#include <functional>
#include <optional>

namespace velaron::ui {

class NumericBox : public QLineEdit {
  Q_OBJECT
 public:
  // Key filters: decimal (digits, point, comma, Backspace), signed decimal (and the minus sign),
  // integer (digits and Backspace), or none (every key passes).
  enum class Keys { Decimal, SignedDecimal, Integer, Any };
  // Leave checks: decimal (points become commas, then the text must be a number), integer (the text
  // must be a number, nothing replaced), or none.
  enum class Leave { Decimal, Integer, None };

  explicit NumericBox(QWidget* parent = nullptr, Keys keys = Keys::Decimal, Leave leave = Leave::Decimal);

  void setKeys(Keys keys) { keys_ = keys; }
  Keys keys() const { return keys_; }
  void setLeave(Leave leave) { leave_ = leave; }
  Leave leave() const { return leave_; }

  // An extra check run after the general one passed (a range rule, say). It may show its own message
  // and change the text; returning false keeps the focus in the box.
  void setExtraCheck(std::function<bool(NumericBox&)> check) { extra_ = std::move(check); }

  // The leave check as on losing focus: converts, shows the message on failure, returns whether it passed.
  bool runLeaveCheck();

  // Whether a key (its text) passes this box's filter.
  bool acceptsKey(const QString& keyText, int key) const;

  // The box's number read with the decimal comma (a point is read too), or nothing.
  std::optional<double> value() const;

  // Checks every visible, enabled numeric box under `root` in focus order; the first failing one gets the
  // focus and its message. Returns true when all pass.
  static bool checkAll(QWidget* root);

  // Leaves the box that holds the focus in `window` as a focus change would, for a window about to close:
  // its check runs, and a value it accepts is taken. Returns false when the window must stay: the box
  // refused its text (its message shown, the focus kept) now or a moment ago and is taking the focus back.
  static bool leaveFocused(QWidget* window);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // The leave check with the box marked as checking, so that the focus its message takes runs no check.
  bool guardedCheck();
  Keys keys_;
  Leave leave_;
  std::function<bool(NumericBox&)> extra_;
  bool checking_ = false;
};

}  // namespace velaron::ui
