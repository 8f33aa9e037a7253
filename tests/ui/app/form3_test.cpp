#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/form3.h"
#include "widgets/numeric_box.h"
#include "db/database.h"
#include "message_catcher.h"
#include "test_database.h"

using velaron::ui::Form3;
using velaron::ui::NumericBox;
using velaron::ui::ReportOptions;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// The settings row in the order XLimit, YLimit, CStep, Tfb, Dola, Tobl, Dola_obl, Skor_chel, and the
// pipeline diameter.
using StoredRow = std::vector<double>;
// The shipped row.
const StoredRow kShippedRow = {1000, 1000, 10, 10, 0.5, 20, 0.3, 5, 1420};

class Form3Test : public ::testing::Test {
 protected:
  void SetUp() override {
    file = QDir(dir.path()).filePath(QStringLiteral("data.db"));
    ASSERT_TRUE(velaron::test::MakeDatabase(file));
    ASSERT_TRUE(velaron::db::OpenDatabase(file).isEmpty());
  }
  void TearDown() override { velaron::db::CloseDatabase(); }

  // The settings row read straight from the file, not through the program's database layer.
  StoredRow stored() {
    StoredRow r;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-reader"));
      db.setDatabaseName(file);
      EXPECT_TRUE(db.open());
      QSqlQuery q(db);
      EXPECT_TRUE(q.exec(QStringLiteral(
          "SELECT XLimit, YLimit, CStep, Tfb, Dola, Tobl, Dola_obl, Skor_chel, Diametr FROM Adjustment ORDER BY rowid")));
      EXPECT_TRUE(q.next());
      for (int i = 0; i < 9; ++i) r.push_back(q.value(i).toDouble());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test-reader"));
    return r;
  }

  static NumericBox* box(Form3& f, const char* name) {
    auto* b = f.findChild<NumericBox*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
  }

  // Fills the boxes with a valid set of settings different from the shipped row.
  static void fillValid(Form3& f) {
    const std::pair<const char*, const char*> values[] = {{"Text1", "600"},   {"Text2", "400"},  {"Text3", "20"},
                                                          {"Text6", "1.5"},   {"txtTfb", "12,5"}, {"txtDola", "0,4"},
                                                          {"Text5", "30"},    {"Text4", "0,2"}};
    for (const auto& [name, text] : values) box(f, name)->setText(text);
  }

  QTemporaryDir dir;
  QString file;
  velaron::test::MessageCatcher catcher;
  ReportOptions options;
};

TEST_F(Form3Test, ObjectNamesCaptionsAndButtons) {
  Form3 f(options);
  EXPECT_EQ(f.objectName(), "Form3");
  EXPECT_EQ(f.windowTitle(), U("Настройки|Программа \"Веларон\""));

  const std::pair<const char*, const char*> frames[] = {{"Frame1", "Параметры расчета"},
                                                        {"Frame2", "Параметры огневого шара"},
                                                        {"Frame3", "Параметры облака ГПВС"},
                                                        {"Frame4", "Параметры отчета"}};
  for (const auto& [name, caption] : frames) {
    auto* frame = f.findChild<QGroupBox*>(QString::fromLatin1(name));
    ASSERT_NE(frame, nullptr) << name;
    EXPECT_EQ(frame->title(), U(caption));
  }

  // The grid boxes take whole numbers only, keys and leave check alike.
  struct Expected { const char *box, *frame, *label; bool whole; };
  const Expected boxes[] = {
      {"Text1", "Frame1", "Ширина зоны расчета, м:", true},
      {"Text2", "Frame1", "Ширина зоны расчета по Y:", true},
      {"Text3", "Frame1", "Шаг сетки, м:", true},
      {"Text6", "Frame1", "Скорость выхода человека из опасной зоны, м/с", false},
      {"txtTfb", "Frame2", "Время истечения до            образования ОШ, с", false},
      {"txtDola", "Frame2", "Доля массы, участвующей в образовании ОШ", false},
      {"Text5", "Frame3", "Время истечения при образовании облака ГПВС, с", false},
      {"Text4", "Frame3", "Доля массы, участвующей в горении ГПВС", false}};
  const auto labels = f.findChildren<QLabel*>();
  for (const Expected& e : boxes) {
    NumericBox* b = box(f, e.box);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->keys(), e.whole ? NumericBox::Keys::Integer : NumericBox::Keys::Decimal) << e.box;
    EXPECT_EQ(b->leave(), e.whole ? NumericBox::Leave::Integer : NumericBox::Leave::Decimal) << e.box;
    EXPECT_EQ(b->parentWidget()->objectName(), QString::fromLatin1(e.frame)) << e.box;
    const QLabel* label = nullptr;
    for (QLabel* l : labels)
      if (l->buddy() == b) label = l;
    ASSERT_NE(label, nullptr) << e.box;
    EXPECT_EQ(label->text(), U(e.label));
  }

  auto* check1 = f.findChild<QCheckBox*>("Check1");
  auto* check2 = f.findChild<QCheckBox*>("Check2");
  ASSERT_TRUE(check1 && check2);
  EXPECT_EQ(check1->text(), U("создавать дополнительные файлы результатов  в формате Micosoft Excel"));
  EXPECT_EQ(check2->text(), U("3D диаграммы"));
  EXPECT_EQ(check1->parentWidget()->objectName(), "Frame4");

  auto* ok = f.findChild<QPushButton*>("Command1");
  auto* cancel = f.findChild<QPushButton*>("Command2");
  ASSERT_TRUE(ok && cancel);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(cancel->text(), U("Отмена"));
}

TEST_F(Form3Test, OkStoresTheSettingsAndTheReportOptions) {
  Form3 f(options);
  velaron::db::AdjustmentRow signalled;
  int emitted = 0;
  QObject::connect(&f, &Form3::settingsStored, [&](const velaron::db::AdjustmentRow& r) {
    signalled = r;
    ++emitted;
  });
  fillValid(f);
  f.findChild<QCheckBox*>("Check1")->setChecked(false);
  ASSERT_TRUE(f.Command1_Click());
  EXPECT_TRUE(catcher.requests.empty());
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_EQ(box(f, "Text6")->text(), "1,5");  // the point became a comma before storing

  // The typed values, 1.5 read as 1,5; the pipeline inputs of the row (diameter 1420) are left alone.
  EXPECT_EQ(stored(), (StoredRow{600, 400, 20, 12.5, 0.4, 30, 0.2, 1.5, 1420}));

  EXPECT_FALSE(options.OptExtraFiles);
  EXPECT_TRUE(options.Opt3D);
  EXPECT_EQ(f.values().XLimit, 600);
  EXPECT_DOUBLE_EQ(f.values().Dola, 0.4);
  EXPECT_EQ(emitted, 1);
  EXPECT_EQ(signalled.CStep, 20);

  // The next opening shows what was stored, with the decimal comma, and the report options.
  Form3 again(options);
  const std::pair<const char*, const char*> texts[] = {{"Text1", "600"},   {"Text2", "400"},   {"Text3", "20"},
                                                       {"Text6", "1,5"},   {"txtTfb", "12,5"}, {"txtDola", "0,4"},
                                                       {"Text5", "30"},    {"Text4", "0,2"}};
  for (const auto& [name, text] : texts) EXPECT_EQ(box(again, name)->text(), text) << name;
  EXPECT_FALSE(again.findChild<QCheckBox*>("Check1")->isChecked());
  EXPECT_TRUE(again.findChild<QCheckBox*>("Check2")->isChecked());
  EXPECT_EQ(again.values().XLimit, 600);
  EXPECT_DOUBLE_EQ(again.values().Skor_chel, 1.5);
}

TEST_F(Form3Test, CancelAndEscapeStoreNothingEnterStores) {
  auto press = [](QWidget* w, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
  };
  for (bool byKey : {false, true}) {
    Form3 f(options);
    f.show();
    QApplication::setActiveWindow(&f);
    fillValid(f);
    f.findChild<QCheckBox*>("Check1")->setChecked(false);
    f.findChild<QCheckBox*>("Check2")->setChecked(false);
    if (byKey) {
      box(f, "Text5")->setFocus(Qt::OtherFocusReason);
      press(box(f, "Text5"), Qt::Key_Escape);
    } else {
      f.Command2_Click();
    }
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(stored(), kShippedRow);
    EXPECT_TRUE(options.OptExtraFiles);
    EXPECT_TRUE(options.Opt3D);
  }
  // The next opening shows the stored row; Enter in a box presses OK.
  Form3 f(options);
  EXPECT_EQ(box(f, "Text1")->text(), "1000");
  EXPECT_EQ(box(f, "Text6")->text(), "5");
  f.show();
  QApplication::setActiveWindow(&f);
  fillValid(f);
  box(f, "Text5")->setFocus(Qt::OtherFocusReason);
  press(box(f, "Text5"), Qt::Key_Return);
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_TRUE(catcher.requests.empty());
  EXPECT_EQ(stored()[0], 600);
}

TEST_F(Form3Test, SettingsRulesRefuseBeforeStoringAndFocusTheBox) {
  struct Case { std::vector<std::pair<const char*, const char*>> entries; const char *message, *focus; };

  // Each message is the rule's wording for the typed values (2·CStep worked out by hand: 20 m for a
  // 10 m step). Texts that are not numbers, or a pasted fraction in a grid box, stop first.
  const char* badText = "Проверте правильность ввода!";
  const Case cases[] = {
      {{{"Text5", ""}}, badText, "Text5"},
      {{{"Text3", "10,5"}}, badText, "Text3"},
      {{{"Text3", "0"}}, "Шаг сетки должен быть не меньше 1 м!", "Text3"},
      {{{"Text1", "1010"}}, "Ширина зоны расчета должна быть кратна двум шагам сетки (20 м)!", "Text1"},
      {{{"Text1", "40000"}}, "Ширина зоны расчета должна быть от двух шагов сетки (20 м) до 32767 м!", "Text1"},
      {{{"Text1", "99999999999"}}, "Ширина зоны расчета должна быть от двух шагов сетки (20 м) до 32767 м!",
       "Text1"},
      {{{"Text2", "10"}}, "Ширина зоны расчета по Y должна быть от двух шагов сетки (20 м) до 32767 м!", "Text2"},
      // 20000/10 + 1 = 2001 points a side: 4 004 001 points, over the 1001 x 1001 limit.
      {{{"Text1", "20000"}, {"Text2", "20000"}},
       "Слишком большая сетка расчета (2001 x 2001 точек): увеличьте шаг сетки или уменьшите ширину зоны расчета!",
       "Text3"},
      {{{"Text6", "0"}}, "Скорость выхода человека из опасной зоны должна быть больше 0!", "Text6"},
      {{{"txtTfb", "-1"}}, "Время истечения до образования ОШ не может быть отрицательным!", "txtTfb"},
      {{{"txtDola", "1,5"}}, "Доля массы, участвующей в образовании ОШ, должна быть от 0 до 1!", "txtDola"},
      {{{"Text5", "-0,5"}}, "Время истечения при образовании облака ГПВС не может быть отрицательным!", "Text5"},
      {{{"Text4", "2"}}, "Доля массы, участвующей в горении ГПВС, должна быть от 0 до 1!", "Text4"},
  };
  for (const Case& c : cases) {
    catcher.requests.clear();
    Form3 f(options);
    f.show();
    QApplication::setActiveWindow(&f);
    f.findChild<QCheckBox*>("Check2")->setChecked(false);
    for (const auto& [name, text] : c.entries) box(f, name)->setText(QString::fromLatin1(text));
    EXPECT_FALSE(f.Command1_Click()) << c.message;
    ASSERT_EQ(catcher.requests.size(), 1u) << c.message;
    EXPECT_EQ(catcher.requests[0].text, U(c.message));
    EXPECT_EQ(catcher.requests[0].title, U("Внимание!!!"));
    EXPECT_EQ(catcher.requests[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(box(f, c.focus)->hasFocus()) << c.message;
    EXPECT_NE(f.result(), QDialog::Accepted);
    EXPECT_TRUE(options.Opt3D) << "the options change only when the settings are stored";
    EXPECT_EQ(stored(), kShippedRow);
  }
}

TEST_F(Form3Test, AFailedWriteIsReportedAndTheDialogStaysOpen) {
  velaron::db::CloseDatabase();
  ASSERT_TRUE(velaron::db::OpenDatabase(file, /*readOnly=*/true).isEmpty());
  Form3 f(options);
  fillValid(f);
  f.findChild<QCheckBox*>("Check1")->setChecked(false);
  EXPECT_FALSE(f.Command1_Click());
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].icon, QMessageBox::Critical);
  EXPECT_FALSE(catcher.requests[0].text.isEmpty());
  EXPECT_NE(f.result(), QDialog::Accepted);
  EXPECT_TRUE(options.OptExtraFiles);
  EXPECT_EQ(f.values().XLimit, 1000);
  EXPECT_EQ(stored(), kShippedRow);
}

}  // namespace
