// The main window on a copy of the database the program ships with.
#include <QFile>
#include <QTemporaryDir>

#include "form_fixture.h"

using namespace velaron;
using velaron::test::MessageCatcher;
using velaron::test::U;

TEST(ShippedDatabase, FirstActivationAndARunStartByRegion) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/data.db";
  ASSERT_TRUE(QFile::copy(QStringLiteral(VELARON_PRISTINE_DB), path));
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
  ASSERT_TRUE(db::OpenDatabase(path).isEmpty());
  MessageCatcher messages;
  {
    ui::Form1 window;
    std::optional<run::RunRequest> request;
    window.setRunDialogOpener([&request](ui::Form1&, const run::RunRequest& r) { request = r; });
    window.show();
    // The shipped settings row: methane, 1420 mm, one section on "2.1.1.2" with a complete ground path.
    EXPECT_EQ(window.findChild<QComboBox*>("DataCombo1")->currentText(), U("Метан"));
    EXPECT_EQ(window.findChild<QLineEdit*>("Text3")->text(), "1420");
    ASSERT_EQ(window.findChild<QListWidget*>("List1")->count(), 1);
    ASSERT_TRUE(window.currentSection());
    EXPECT_EQ(window.currentSection()->Ground, "2.1.1.2");
    for (const char* level : {"DataCombo5", "DataCombo2", "DataCombo3", "DataCombo4"})
      EXPECT_FALSE(window.findChild<QComboBox*>(level)->currentText().isEmpty()) << level;
    auto* region = window.findChild<QComboBox*>("DataCombo6");
    ASSERT_GE(region->count(), 1);
    region->setCurrentIndex(0);
    emit region->activated(0);
    window.Command1_Click();
    ASSERT_TRUE(request.has_value()) << messages.texts().join("|").toStdString();
    // The shipped region has lambda 0,33; at 1420 mm KoefDy is 0,31: 0,1023.
    EXPECT_NEAR(window.lastAccidentRate().AccidentRate, 0.33 * 0.31, 1e-12);
    EXPECT_EQ(request->section.TPID, 1);
    EXPECT_TRUE(messages.requests.empty());
  }
  db::CloseDatabase();
}
