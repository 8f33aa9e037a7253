#include "ui/startup/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/startup/help.h"

#ifndef VELARON_VERSION_MAJOR
#define VELARON_VERSION_MAJOR 1
#endif
#ifndef VELARON_VERSION_MINOR
#define VELARON_VERSION_MINOR 0
#endif

namespace velaron::ui {

QString VersionLabel(int major, int minor) {
  return QString::fromUtf8("Версия ") + QString::number(major) + QLatin1Char('.') + QString::number(minor);
}

QString PurposeText() {
  return QString::fromUtf8(
      "Зонирование территории вокруг магистрального газопровода по критерию индивидуального риска");
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QString::fromUtf8("О программе"));
  setModal(true);

  auto* picture1 = new QLabel(this);
  picture1->setObjectName(QStringLiteral("picIcon"));
  picture1->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
  auto* picture2 = new QLabel(this);
  picture2->setObjectName(QStringLiteral("picLogo"));
  picture2->setPixmap(style()->standardIcon(QStyle::SP_FileDialogInfoView).pixmap(48, 48));

  lblTitle_ = new QLabel(QString::fromUtf8(" Программа \"Веларон\""), this);
  lblTitle_->setObjectName(QStringLiteral("lblTitle"));
  QFont titleFont = lblTitle_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
  lblTitle_->setFont(titleFont);
  lblVersion_ = new QLabel(VersionLabel(VELARON_VERSION_MAJOR, VELARON_VERSION_MINOR), this);
  lblVersion_->setObjectName(QStringLiteral("lblVersion"));
  auto* purpose = new QLabel(PurposeText(), this);
  purpose->setObjectName(QStringLiteral("lblDescription"));
  purpose->setWordWrap(true);

  cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdOK_->setDefault(true);
  cmdSysInfo_ = new QPushButton(QStringLiteral("&System Info..."), this);
  cmdSysInfo_->setObjectName(QStringLiteral("cmdSysInfo"));
  cmdSysInfo_->setAutoDefault(false);

  auto* top = new QHBoxLayout;
  top->addWidget(picture1, 0, Qt::AlignTop);
  auto* texts = new QVBoxLayout;
  texts->addWidget(lblTitle_);
  texts->addWidget(lblVersion_);
  texts->addWidget(purpose);
  top->addLayout(texts, 1);
  top->addWidget(picture2, 0, Qt::AlignTop);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK_);
  buttons->addWidget(cmdSysInfo_);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(buttons);

  // "OK" closes, and so does Escape (the dialog's own cancel), so the one button serves for both.
  connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo_, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdSysInfo_Click() { StartSysInfo(this); }

}  // namespace velaron::ui
