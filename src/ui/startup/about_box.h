// The about box: the program's title and version, and a button that starts the desktop's
// system-information tool.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace velaron::ui {

// "Версия " and the major and minor version numbers; the revision is not shown.
QString VersionLabel(int major, int minor);

// The about box ("О программе").
class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget *parent = nullptr);

  void cmdSysInfo_Click();

 private:
  QLabel *lblTitle_, *lblVersion_;
  QPushButton *cmdOK_, *cmdSysInfo_;
};

// The line stating the program's purpose, shown on the start screen and in the about box.
QString PurposeText();

}  // namespace velaron::ui
