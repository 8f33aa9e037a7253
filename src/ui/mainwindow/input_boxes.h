// Input widgets of the main window beyond the shared numeric box: a numeric box with a key filter of its
// own (some boxes discard refused keys silently, some refuse the comma), the compass picture, a result
// picture that fits its cell, the keys of the window's default button and the leave of the box being typed
// in before a change of tabs.
#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QTabWidget;
class QTabBar;

#include "run/input_checks.h"
#include "ui/widgets/numeric_box.h"

namespace velaron::ui {

class FilteredBox : public NumericBox {
  Q_OBJECT
 public:
  // `accept` decides for each typed character; Backspace always passes. A refused key beeps when `beep`.
  FilteredBox(QWidget* parent, std::function<bool(QChar)> accept, bool beep, Leave leave);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<bool(QChar)> accept_;
  bool beep_;
};

// Adds to `box` the range check of its field: a number outside the range shows the message naming the
// field and keeps the focus (on leaving the box and before every action that reads it). `then` runs after
// a number within the range (the box's own leave action); false from it keeps the focus too (it said why).
void AddRangeCheck(NumericBox* box, const run::InputRange& range, std::function<bool()> then = {});

// The compass of the route azimuth: the letters of the four sides and one diameter through the centre
// whose first half points along the azimuth (0 up, 90 right).
class CompassPicture : public QWidget {
  Q_OBJECT
 public:
  explicit CompassPicture(QWidget* parent = nullptr);
  void setAzimuth(double degrees);
  double azimuth() const { return azimuth_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double azimuth_ = 0;
};

// A result picture that fills whatever room the layout gives it. With a renderer it is drawn anew at the
// cell's size whenever the cell changes (the pictures grow with the tab); a fixed picture is scaled down
// to fit, keeping its proportions. A double click opens the picture large in a window of its own.
class PictureLabel : public QLabel {
  Q_OBJECT
 public:
  using Renderer = std::function<QImage(QSize)>;
  explicit PictureLabel(QWidget* parent = nullptr);
  void setPicture(const QImage& image);
  void setRenderer(Renderer renderer, const QString& caption = {});
  const QImage& picture() const { return picture_; }
  // The size comes from the layout, not from the picture: the picture follows the size.
  QSize sizeHint() const override { return minimumSize(); }
  QSize minimumSizeHint() const override { return minimumSize(); }
  // The window of the large picture (a double click opens it); null before.
  QWidget* openLarge();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void fit();
  QImage picture_;
  Renderer renderer_;
  QString caption_;
  class QTimer* redraw_ = nullptr;
};

// Return, Enter and Escape that reach `window` without a control taking them press `button` (when it is
// available): the window's default and cancel button; Enter on another push button with the focus presses
// that button instead. A key that a drop-down list or another popup uses for itself (Escape closing the
// list, Enter choosing an item) stays there and presses nothing.
class DefaultButtonKeys : public QObject {
  Q_OBJECT
 public:
  DefaultButtonKeys(QAbstractButton* button, QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAbstractButton* button_;
};

// The tabs of `tabs` change at the user's hand only after the number box being typed in has been left, as a
// click elsewhere would leave it: the tab bar takes no focus, so a click on a tab, the wheel over the bar or
// Ctrl+Tab in the box would otherwise hide the box with its text neither checked nor stored. A box that
// refuses its text keeps its message, the focus and its tab: the change is not taken.
class TabChangeLeavesBox : public QObject {
  Q_OBJECT
 public:
  explicit TabChangeLeavesBox(QTabWidget* tabs);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether `event` (a press or a key reaching the tab bar or the tab widget) is about to show another tab.
  bool changesTab(QObject* watched, QEvent* event) const;
  // A wheel turn over the bar: the bar takes it, and a change of tab it makes waits for the box to be left.
  bool turnWheel(QEvent* event);
  QTabWidget* tabs_;
  QTabBar* bar_;
  bool turning_ = false;  // the bar is taking a wheel turn passed on by this filter
};

}  // namespace velaron::ui
