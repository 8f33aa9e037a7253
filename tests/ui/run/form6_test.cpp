// The run dialog's share group as the user meets it: each share box under its own column heading, and no
// empty group for a scenario without flames.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "message_catcher.h"
#include "run/run_fixtures.h"
#include "run/run_texts.h"
#include "run/ui/form6.h"

namespace velaron::ui {
namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// A dialog over the good rows of the run tests, its section typed and its scenario chosen, shown.
struct Dialog {
  explicit Dialog(int code, run::RunData data = test::GoodData()) : form(test::GoodRequest(code)) {
    Form6::Services s = Form6::DatabaseServices();
    s.section = [](int) { return std::optional(test::GoodData().section); };
    s.ground = [](const QString&) { return std::optional(test::GoodData().ground); };
    s.runData = [data](const result::RunRequest&) { return data; };
    form.setServices(s);
    form.show();
    find<QComboBox>("Combo1")->setCurrentIndex(code - 1);
    find<QLineEdit>("Text1")->setText(U("1"));
  }
  template <class W = QWidget>
  W* find(const char* name) {
    return form.findChild<W*>(U(name));
  }
  // Horizontal middle of a widget in the dialog.
  int middle(const char* name) {
    QWidget* w = find(name);
    return w->mapTo(&form, QPoint(w->width() / 2, 0)).x();
  }
  Form6 form;
};

TEST(RunDialog, EachShareBoxStandsUnderItsOwnHeading) {
  struct Case {
    int code;
    const char* box;
    const char* heading;
  };
  // Before, the one box of a single jet filled the row from the left, under all three headings.
  for (const Case& c : {Case{3, "Pkw", "Label1"}, Case{5, "Psw", "Label6"}, Case{4, "Paw", "Label7"}}) {
    SCOPED_TRACE(c.code);
    test::MessageCatcher messages(QMessageBox::Yes);  // stop to correct the shares
    Dialog d(c.code);
    d.find<QPushButton>("cmdRaschet")->click();
    ASSERT_EQ(messages.texts(), QStringList{U(run::texts::kRefineQuestion)});
    QApplication::processEvents();
    ASSERT_TRUE(d.find(c.box)->isVisible());
    EXPECT_NEAR(d.middle(c.box), d.middle(c.heading), d.find(c.heading)->width() / 4);
  }
}

TEST(RunDialog, AScenarioWithoutFlamesShowsNoShareGroup) {
  run::RunData noMass = test::GoodData();
  noMass.gas->m = 0;
  test::MessageCatcher messages;
  Dialog d(2, noMass);
  d.find<QPushButton>("cmdRaschet")->click();
  ASSERT_EQ(messages.requests.size(), 1u);  // refused: the dialog stays open
  QApplication::processEvents();
  // Before, the group stood there empty but for its three headings.
  EXPECT_FALSE(d.find("Frame4")->isVisible());
  // A jet fire chosen next shows the shares the press filled.
  d.find<QComboBox>("Combo1")->setCurrentIndex(2);
  QApplication::processEvents();
  EXPECT_TRUE(d.find("Frame4")->isVisible());
  EXPECT_FALSE(d.find<QLineEdit>("Pkw")->text().isEmpty());
}

}  // namespace
}  // namespace velaron::ui
