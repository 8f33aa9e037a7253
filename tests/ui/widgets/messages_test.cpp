// Qt's own Russian texts: the standard buttons of every message box read in Russian.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTranslator>
#include <gtest/gtest.h>

#include "ui/widgets/messages.h"

TEST(QtTranslations, StandardButtonsReadInRussian) {
  QTranslator* t = velaron::ui::InstallQtTranslations();
  ASSERT_NE(t, nullptr) << "qt6-translations-l10n is not installed";
  QMessageBox box(QMessageBox::Question, "t", "t", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&'), QString::fromUtf8("Да"));
  EXPECT_EQ(box.button(QMessageBox::No)->text().remove('&'), QString::fromUtf8("Нет"));
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&'), QString::fromUtf8("Отмена"));
  QCoreApplication::removeTranslator(t);
  delete t;
}
