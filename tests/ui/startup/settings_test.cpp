// The settings dialog over a copy of the shipped database: "OK" stores what was typed and hands it on, a
// setting that breaks a rule is refused with its message, on its box, and stores nothing. And the manual
// is found beside the program in the build and in the share folder of an installed program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "db/database.h"
#include "message_catcher.h"
#include "ui/startup/form3.h"
#include "ui/startup/help.h"
#include "ui/widgets/numeric_box.h"

namespace velaron::ui {
namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

class SettingsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString path = dir.filePath(QStringLiteral("data.db"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELARON_PRISTINE_DB), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(db::OpenDatabase(path), QString());
  }
  void TearDown() override { db::CloseDatabase(); }
  // The stored settings, read with plain SQL.
  static std::string Stored() {
    QSqlQuery q(db::Connection());
    if (!q.exec("SELECT XLimit, YLimit, CStep, Skor_chel, Tfb, Dola, Tobl, Dola_obl FROM Adjustment") || !q.next()) return {};
    QStringList values;
    for (int i = 0; i < 8; ++i) values << q.value(i).toString();
    return values.join(' ').toStdString();
  }
  static void Type(Form3& dialog, const char* box, const char* text) {
    dialog.findChild<NumericBox*>(box)->setText(U(text));
  }
  QTemporaryDir dir;
  test::MessageCatcher messages;
};

TEST_F(SettingsDialog, OkStoresTheTypedSettingsAndTheReportOptions) {
  ReportOptions options;
  Form3 dialog(options);
  db::AdjustmentRow handed;
  QObject::connect(&dialog, &Form3::settingsStored, [&handed](const db::AdjustmentRow& row) { handed = row; });
  for (auto [box, text] : {std::pair{"Text1", "600"}, {"Text2", "400"}, {"Text3", "20"}, {"Text6", "1,5"},
                           {"txtTfb", "12"}, {"txtDola", "0,4"}, {"Text5", "25"}, {"Text4", "0,25"}})
    Type(dialog, box, text);
  dialog.findChild<QCheckBox*>("Check1")->setChecked(false);
  EXPECT_TRUE(dialog.Command1_Click());
  EXPECT_TRUE(messages.requests.empty()) << messages.texts().join('|').toStdString();
  EXPECT_EQ(Stored(), "600 400 20 1.5 12 0.4 25 0.25");
  EXPECT_EQ(std::tuple(handed.XLimit, handed.CStep, handed.Dola_obl, handed.Diametr), std::tuple(600, 20, 0.25, 1420.0));
  EXPECT_EQ(std::pair(options.OptExtraFiles, options.Opt3D), std::pair(false, true));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(SettingsDialog, ASettingThatBreaksARuleIsRefusedOnItsBoxAndNothingIsStored) {
  const std::string before = Stored();
  ASSERT_EQ(before, "1000 1000 10 5 10 0.5 20 0.3");
  const struct {
    const char *box, *text, *message;
  } cases[] = {
      {"Text1", "990", "Ширина зоны расчета должна быть кратна двум шагам сетки (20 м)!"},
      {"Text2", "10", "Ширина зоны расчета по Y должна быть от двух шагов сетки (20 м) до 32767 м!"},
      {"Text3", "0", "Шаг сетки должен быть не меньше 1 м!"},
      {"Text3", "2,5", "Проверте правильность ввода!"},
      {"Text6", "0", "Скорость выхода человека из опасной зоны должна быть больше 0!"},
      {"txtDola", "1,5", "Доля массы, участвующей в образовании ОШ, должна быть от 0 до 1!"},
      {"Text4", "-0,1", "Доля массы, участвующей в горении ГПВС, должна быть от 0 до 1!"},
  };
  ReportOptions options;
  for (const auto& c : cases) {
    Form3 dialog(options);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.findChild<QCheckBox*>("Check2")->setChecked(false);
    Type(dialog, c.box, c.text);
    messages.requests.clear();
    EXPECT_FALSE(dialog.Command1_Click()) << c.box << " " << c.text;
    EXPECT_EQ(messages.texts(), QStringList{U(c.message)}) << c.box << " " << c.text;
    EXPECT_TRUE(dialog.findChild<NumericBox*>(c.box)->hasFocus()) << c.box << " " << c.text;
    EXPECT_EQ(Stored(), before);
    EXPECT_TRUE(options.Opt3D);
  }
}

TEST(Manual, IsFoundBesideTheProgramInTheBuildAndInTheShareFolderOnceInstalled) {
  QTemporaryDir prefix;
  const QString bin = prefix.filePath("bin"), doc = prefix.filePath("share/doc/velaron");
  ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(doc));
  QStringList opened;
  SetUrlOpener([&opened](const QUrl& url) {
    opened << url.toLocalFile();
    return true;
  });
  for (const QString& folder : {doc, bin}) {
    QFile manual(QDir(folder).filePath(QString::fromLatin1(kManualFile)));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    EXPECT_TRUE(OpenManual(nullptr, bin));
  }
  SetUrlOpener(nullptr);
  EXPECT_EQ(opened, QStringList({doc + "/Instrukziy_polzovately.html", bin + "/Instrukziy_polzovately.html"}));
}

}  // namespace
}  // namespace velaron::ui
