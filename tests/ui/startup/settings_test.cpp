// The settings dialog over a copy of the shipped database: a setting that breaks a rule is refused with
// its message, on its box, and stores nothing; "OK" stores what was typed and hands it on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "db/database.h"
#include "message_catcher.h"
#include "output/held_database.h"
#include "ui/startup/form3.h"
#include "ui/widgets/numeric_box.h"

namespace velaron::ui {
namespace {

// The stored settings, read with plain SQL.
std::string Stored() {
  QSqlQuery q(db::Connection());
  QStringList values;
  if (q.exec("SELECT XLimit, YLimit, CStep, Skor_chel, Tfb, Dola, Tobl, Dola_obl FROM Adjustment") && q.next())
    for (int i = 0; i < 8; ++i) values << q.value(i).toString();
  return values.join(' ').toStdString();
}

// Opens a writable copy of the shipped database at `path` as the program's connection.
void OpenShippedCopy(const QString& path) {
  ASSERT_TRUE(QFile::copy(QStringLiteral(VELARON_PRISTINE_DB), path));
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
  ASSERT_EQ(db::OpenDatabase(path), QString());
}

TEST(SettingsDialog, RefusesASettingThatBreaksARuleOnItsBoxAndStoresWhatIsRight) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("data.db"));
  ASSERT_NO_FATAL_FAILURE(OpenShippedCopy(path));
  test::MessageCatcher messages;
  ReportOptions options;
  const std::string shipped = "1000 1000 10 5 10 0.5 20 0.3";
  ASSERT_EQ(Stored(), shipped);
  const struct {
    const char *box, *text, *message;
  } refused[] = {
      {"Text1", "990", "Ширина зоны расчета должна быть кратна двум шагам сетки (20 м)!"},
      {"Text2", "10", "Ширина зоны расчета по Y должна быть от двух шагов сетки (20 м) до 32767 м!"},
      {"Text3", "2,5", "Проверте правильность ввода!"},
      {"Text6", "0", "Скорость выхода человека из опасной зоны должна быть больше 0!"},
      {"txtDola", "1,5", "Доля массы, участвующей в образовании ОШ, должна быть от 0 до 1!"},
      {"Text4", "-0,1", "Доля массы, участвующей в горении ГПВС, должна быть от 0 до 1!"},
  };
  for (const auto& c : refused) {
    Form3 dialog(options);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.findChild<QCheckBox*>("Check2")->setChecked(false);
    dialog.findChild<NumericBox*>(c.box)->setText(QString::fromUtf8(c.text));
    messages.requests.clear();
    EXPECT_FALSE(dialog.Command1_Click()) << c.box;
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8(c.message)}) << c.box;
    EXPECT_TRUE(dialog.findChild<NumericBox*>(c.box)->hasFocus()) << c.box;
    EXPECT_EQ(Stored(), shipped) << c.box;
    EXPECT_TRUE(options.Opt3D) << c.box;
  }

  Form3 dialog(options);
  db::AdjustmentRow handed;
  QObject::connect(&dialog, &Form3::settingsStored, [&handed](const db::AdjustmentRow& row) { handed = row; });
  for (auto [box, text] : {std::pair{"Text1", "600"},
                           {"Text2", "400"},
                           {"Text3", "20"},
                           {"Text6", "1,5"},
                           {"txtTfb", "12"},
                           {"txtDola", "0,4"},
                           {"Text5", "25"},
                           {"Text4", "0,25"}})
    dialog.findChild<NumericBox*>(box)->setText(QString::fromUtf8(text));
  dialog.findChild<QCheckBox*>("Check1")->setChecked(false);
  messages.requests.clear();
  EXPECT_TRUE(dialog.Command1_Click());
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();
  EXPECT_EQ(Stored(), "600 400 20 1.5 12 0.4 25 0.25");
  EXPECT_EQ(std::tuple(handed.XLimit, handed.CStep, handed.Dola_obl, handed.Diametr),
            std::tuple(600, 20, 0.25, 1420.0));
  EXPECT_EQ(std::pair(options.OptExtraFiles, options.Opt3D), std::pair(false, true));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  db::CloseDatabase();
}

// Settings that cannot be read (another program holds the file) are told with the cause, and "OK" cannot
// store the defaults the boxes then show over them. Before, the message gave no cause and "OK" stored them.
TEST(SettingsDialog, SettingsThatCannotBeReadAreNeverOverwritten) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("data.db"));
  ASSERT_NO_FATAL_FAILURE(OpenShippedCopy(path));
  test::MessageCatcher messages;
  ReportOptions options;
  {
    test::HeldDatabase held(path);
    Form3 dialog(options);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Ошибка чтения базы данных (таблица \"Adjustment\"): "
                                                           "база данных заблокирована другой программой")});
    held.release();
    dialog.findChild<NumericBox*>("Text3")->setText("20");
    EXPECT_FALSE(dialog.Command1_Click());
  }
  EXPECT_EQ(Stored(), "1000 1000 10 5 10 0.5 20 0.3");
  db::CloseDatabase();
}

}  // namespace
}  // namespace velaron::ui
