#include "ui/startup/start_screen.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/startup/about_box.h"
#include "ui/startup/help.h"

namespace velaron::ui {

frmMain1::frmMain1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frmMain1"));
  setWindowTitle(QString::fromUtf8("Программа \"Веларон\""));

  auto* exitAction = menuBar()->addAction(QString::fromUtf8("Выход"));
  exitAction->setObjectName(QStringLiteral("Ex"));
  QMenu* help = menuBar()->addMenu(QString::fromUtf8("Помощь"));
  help->setObjectName(QStringLiteral("Help"));
  QAction* manual = help->addAction(QString::fromUtf8("Инструкция"));
  manual->setObjectName(QStringLiteral("He"));
  manual->setShortcut(QKeySequence(Qt::Key_F1));
  QAction* about = help->addAction(QString::fromUtf8("О программе..."));
  about->setObjectName(QStringLiteral("Hel"));
  about->setShortcut(QKeySequence(Qt::Key_F3));
  connect(exitAction, &QAction::triggered, this, &frmMain1::Ex_Click);
  connect(manual, &QAction::triggered, this, &frmMain1::He_Click);
  connect(about, &QAction::triggered, this, &frmMain1::Hel_Click);

  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);
  auto* frame = new QFrame(central);
  frame->setObjectName(QStringLiteral("Frame1"));
  frame->setFrameShape(QFrame::Box);
  auto* inner = new QVBoxLayout(frame);
  auto* pictures = new QHBoxLayout;
  auto* picture1 = new QLabel(frame);
  picture1->setObjectName(QStringLiteral("Image1"));
  picture1->setPixmap(style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(64, 64));
  auto* picture2 = new QLabel(frame);
  picture2->setObjectName(QStringLiteral("Image2"));
  picture2->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(64, 64));
  pictures->addWidget(picture1);
  pictures->addStretch();
  pictures->addWidget(picture2);
  inner->addLayout(pictures);
  auto* purpose = new QLabel(PurposeText(), frame);
  purpose->setObjectName(QStringLiteral("Label1"));
  purpose->setWordWrap(true);
  purpose->setAlignment(Qt::AlignCenter);
  QFont font = purpose->font();
  font.setPointSizeF(font.pointSizeF() * 1.3);
  purpose->setFont(font);
  inner->addWidget(purpose);
  auto* next = new QPushButton(QString::fromUtf8("Далее>>"), frame);
  next->setObjectName(QStringLiteral("Command1"));
  next->setDefault(true);
  inner->addWidget(next, 0, Qt::AlignRight);
  outer->addWidget(frame);
  setCentralWidget(central);
  connect(next, &QPushButton::clicked, this, &frmMain1::Command1_Click);
}

void frmMain1::Command1_Click() {
  // The main window is shown before this one closes, so that the program never has no window left.
  emit nextRequested();
  close();
}

void frmMain1::Ex_Click() {
  QApplication::closeAllWindows();
  emit exitRequested();
}

void frmMain1::He_Click() { OpenManual(this); }

void frmMain1::Hel_Click() {
  frmAbout about;
  about.exec();
}

}  // namespace velaron::ui
