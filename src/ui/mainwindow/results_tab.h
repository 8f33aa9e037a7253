// The tab "Диаграммы": the results of the last finished run. The distance chart and the picture of the
// view chosen (damaging factor, probability of injury, risk), the depths of the damage zones, the button
// "Сохранить результаты", and two grid tools present but not offered (the grid's maximum and its value at
// a point).
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "result/run_snapshot.h"

class QChartView;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velaron::ui {

class PictureLabel;

class ResultsTab : public QWidget {
  Q_OBJECT
 public:
  explicit ResultsTab(QWidget *parent = nullptr);

  // The result views stay hidden until a run.
  void firstActivation();
  // Shows the results of `run`: charts, pictures, the view of the option chosen, the zone depths and the
  // save button.
  void showRun(std::shared_ptr<const result::RunSnapshot> run);

 signals:
  // "Сохранить результаты" was pressed.
  void saveRequested();

 private:
  void optPor_Click();
  void optVer_Click();
  void optRisk_Click();
  void Command3_Click();
  void Command7_Click();

  std::shared_ptr<const result::RunSnapshot> run_;
  QChartView *graf1_ = nullptr, *graf2_ = nullptr;
  PictureLabel *imgDiagr1_ = nullptr, *imgDiagr2_ = nullptr, *imgRisk_ = nullptr;
  QGroupBox *fraDiagr_ = nullptr, *fraZon_ = nullptr, *fraMessage_ = nullptr;
  QRadioButton *optPor_ = nullptr, *optVer_ = nullptr, *optRisk_ = nullptr;
  std::array<QLineEdit *, 5> zoneBoxes_{};  // txtRsm, txtRs, txtRsr, txtRsl, txtRb
  QPushButton *cmdSaveResult_ = nullptr;
  std::array<QLineEdit *, 3> Max_{};
};

}  // namespace velaron::ui
