#include "ui/mainwindow/input_boxes.h"

#include <QAbstractButton>
#include <QDialog>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>
#include <cstdlib>

#include "ui/mainwindow/section_logic.h"
#include "ui/widgets/messages.h"

namespace velaron::ui {

FilteredBox::FilteredBox(QWidget* parent, std::function<bool(QChar)> accept, bool beep, Leave leave)
    : NumericBox(parent, Keys::Any, leave), accept_(std::move(accept)), beep_(beep) {}

void FilteredBox::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const bool printable = !text.isEmpty() && text.at(0).isPrint();
  if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !accept_(text.at(0))) {
    if (beep_) QApplication::beep();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void AddRangeCheck(NumericBox* box, const run::InputRange& range, std::function<bool()> then) {
  box->setExtraCheck([box, range, then = std::move(then)](NumericBox&) {
    const auto v = box->value();
    if (!v) return true;  // an empty or unfinished text is the general check's concern
    if (const QString e = run::CheckRange(*v, range); !e.isEmpty()) {
      WarnInput(box->window(), e);
      return false;
    }
    return !then || then();
  });
}

CompassPicture::CompassPicture(QWidget* parent) : QWidget(parent) {
  // Large enough, with a small font, for the side letters to stand clear of the line's ends.
  setFixedSize(171, 171);
  QFont small = font();
  small.setPointSize(7);
  setFont(small);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void CompassPicture::setAzimuth(double degrees) {
  azimuth_ = degrees;
  update();
}

void CompassPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const CompassGeometry g = Compass(width(), height(), azimuth_);
  // All four letters are placed with the measures of "N".
  const QFontMetrics fm(font());
  const int w = fm.horizontalAdvance('N'), h = fm.height();
  painter.setPen(Qt::black);
  auto print = [&](double x, double y, const char* letter) {
    painter.drawText(QRectF(x, y, w * 2, h), Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(letter));
  };
  print(g.cx - w / 2.0, h / 2.0, "N");
  print(g.cx - w / 2.0, 2.0 * g.cy - 2.0 * h, "S");
  print(w / 2.0, g.cy - h / 2.0, "W");
  print(2.0 * g.cx - 2.0 * w, g.cy - h / 2.0, "E");
  painter.setPen(QPen(QColor(255, 0, 0), 3));
  painter.drawLine(QPointF(g.cx, g.cy), QPointF(g.x1, g.y1));
  painter.drawLine(QPointF(g.cx, g.cy), QPointF(g.x2, g.y2));
  // The hub: a small blue disc over the centre.
  painter.setPen(Qt::blue);
  painter.setBrush(Qt::blue);
  painter.drawEllipse(QPointF(g.cx, g.cy), 3, 3);
}

PictureLabel::PictureLabel(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
  // Drawing anew on every step of a window drag would lag: the picture follows once the size settles.
  redraw_ = new QTimer(this);
  redraw_->setSingleShot(true);
  redraw_->setInterval(80);
  connect(redraw_, &QTimer::timeout, this, [this] { fit(); });
}

void PictureLabel::setPicture(const QImage& image) {
  picture_ = image;
  renderer_ = nullptr;
  fit();
}

void PictureLabel::setRenderer(Renderer renderer, const QString& caption) {
  renderer_ = std::move(renderer);
  caption_ = caption;
  picture_ = QImage();
  fit();
  if (renderer_) setToolTip(QString::fromUtf8("Двойной щелчок — рисунок в отдельном окне"));
}

void PictureLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  if (renderer_ && !picture_.isNull()) {
    // Meanwhile the last drawing is scaled, so the cell never shows a stale size.
    const QSize room = contentsRect().size();
    if (!room.isEmpty())
      setPixmap(QPixmap::fromImage(picture_).scaled(room, Qt::KeepAspectRatio, Qt::FastTransformation));
    redraw_->start();
    return;
  }
  fit();
}

void PictureLabel::fit() {
  const QSize room = contentsRect().size();
  if (room.width() < 20 || room.height() < 20) return;
  if (renderer_) {
    if (picture_.size() == room) return;
    picture_ = renderer_(room);
    setPixmap(QPixmap::fromImage(picture_));
    return;
  }
  if (picture_.isNull()) return;
  setPixmap(QPixmap::fromImage(picture_).scaled(room.boundedTo(picture_.size()), Qt::KeepAspectRatio,
                                                Qt::SmoothTransformation));
}

QWidget* PictureLabel::openLarge() {
  if (!renderer_ && picture_.isNull()) return nullptr;
  auto* window = new QDialog(this->window(), Qt::Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(objectName() + QStringLiteral("Large"));
  window->setWindowTitle(caption_.isEmpty() ? this->window()->windowTitle() : caption_);
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* large = new PictureLabel(window);
  large->setMinimumSize(320, 240);
  layout->addWidget(large);
  if (renderer_) large->setRenderer(renderer_, caption_);
  else large->setPicture(picture_);
  large->setToolTip({});
  const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1280, 720);
  window->resize(std::min(screen.width() * 9 / 10, screen.height() * 4 / 3), screen.height() * 85 / 100);
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

void PictureLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  QLabel::mouseDoubleClickEvent(event);
  openLarge();
}

DefaultButtonKeys::DefaultButtonKeys(QAbstractButton* button, QWidget* window) : QObject(window), button_(button) {
  window->installEventFilter(this);
}

bool DefaultButtonKeys::eventFilter(QObject* watched, QEvent* event) {
  // A key press reaches the window itself only when the control with the focus left it unused.
  if (watched != parent() || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (!plain || (!enter && key->key() != Qt::Key_Escape)) return false;
  // As with any default button, Enter on another push button with the focus presses that one.
  auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
  QAbstractButton* target = enter && focused && focused->window() == parent() ? focused : button_;
  if (target->isEnabled()) target->click();
  return true;
}

TabChangeLeavesBox::TabChangeLeavesBox(QTabWidget* tabs) : QObject(tabs), tabs_(tabs), bar_(tabs->tabBar()) {
  tabs->installEventFilter(this);
  bar_->installEventFilter(this);
}

bool TabChangeLeavesBox::changesTab(QObject* watched, QEvent* event) const {
  // Only a press or a key shows another tab here (a wheel turn is seen where the bar takes it). Every other event
  // passes untouched: the tab widget's destruction sends some to its bar, when the widget is no longer whole.
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress: break;
    default: return false;
  }
  if (watched == bar_) {
    // A double click presses the tab too.
    if (event->type() == QEvent::KeyPress) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int i = bar_->tabAt(mouse->position().toPoint());
    return mouse->button() == Qt::LeftButton && i >= 0 && i != tabs_->currentIndex() && tabs_->isTabEnabled(i);
  }
  // Ctrl+Tab and Ctrl+Shift+Tab that no control took reach the tab widget, which shows the next or previous tab.
  if (watched != tabs_ || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  return (key->modifiers() & Qt::ControlModifier) && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
         tabs_->count() > 1;
}

bool TabChangeLeavesBox::turnWheel(QEvent* event) {
  // The bar alone knows whether a turn changes the tab: it adds a touchpad's small turns up to a whole notch, steps
  // over the tabs that cannot be shown and stops at either end. It takes the turn with its signals held, so that the
  // tab widget does not follow; a change it made is taken back and made again once the box has been left.
  const int before = bar_->currentIndex();
  {
    const QSignalBlocker hold(bar_);
    const QScopedValueRollback<bool> inside(turning_, true);
    QCoreApplication::sendEvent(bar_, event);
  }
  const int after = bar_->currentIndex();
  if (after == before) return true;
  {
    const QSignalBlocker hold(bar_);
    bar_->setCurrentIndex(before);
  }
  if (NumericBox::leaveFocused(tabs_->window())) tabs_->setCurrentIndex(after);
  return true;
}

bool TabChangeLeavesBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == bar_ && event->type() == QEvent::Wheel && !turning_) return turnWheel(event);
  // A refusal eats the event: the tab on show stays, with the box and its focus.
  return changesTab(watched, event) && !NumericBox::leaveFocused(tabs_->window());
}

}  // namespace velaron::ui
