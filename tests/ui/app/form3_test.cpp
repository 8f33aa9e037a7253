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
#include "app/numeric_box.h"
#include "db/database.h"
#include "message_catcher.h"
#include "test_database.h"

using velaron::ui::Form3;
using velaron::ui::NumericBox;
using velaron::ui::ReportOptions;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// The settings row read straight from the file, not through the program's database layer.
struct StoredRow {
  int XLimit = 0, YLimit = 0, CStep = 0;
  double Tfb = 0, Dola = 0, Tobl = 0, Dola_obl = 0, Skor_chel = 0, Diametr = 0;
};

class Form3Test : public ::testing::Test {
 protected:
  void SetUp() override {
    file = QDir(dir.path()).filePath(QStringLiteral("data.db"));
    ASSERT_TRUE(velaron::test::MakeDatabase(file));
    ASSERT_TRUE(velaron::db::OpenDatabase(file).isEmpty());
  }
  void TearDown() override {
    velaron::db::CloseDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("test-reader"));
  }

  void exec(const QString& sql) {
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-reader"));
      db.setDatabaseName(file);
      ASSERT_TRUE(db.open());
      QSqlQuery q(db);
      ASSERT_TRUE(q.exec(sql));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test-reader"));
  }

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
      r = {q.value(0).toInt(),    q.value(1).toInt(),    q.value(2).toInt(),
           q.value(3).toDouble(), q.value(4).toDouble(), q.value(5).toDouble(),
           q.value(6).toDouble(), q.value(7).toDouble(), q.value(8).toDouble()};
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
    box(f, "Text1")->setText("600");
    box(f, "Text2")->setText("400");
    box(f, "Text3")->setText("20");
    box(f, "Text6")->setText("1.5");
    box(f, "txtTfb")->setText("12,5");
    box(f, "txtDola")->setText("0,4");
    box(f, "Text5")->setText("30");
    box(f, "Text4")->setText("0,2");
  }

  static void expectRow(const StoredRow& r, const StoredRow& want) {
    EXPECT_EQ(r.XLimit, want.XLimit);
    EXPECT_EQ(r.YLimit, want.YLimit);
    EXPECT_EQ(r.CStep, want.CStep);
    EXPECT_DOUBLE_EQ(r.Tfb, want.Tfb);
    EXPECT_DOUBLE_EQ(r.Dola, want.Dola);
    EXPECT_DOUBLE_EQ(r.Tobl, want.Tobl);
    EXPECT_DOUBLE_EQ(r.Dola_obl, want.Dola_obl);
    EXPECT_DOUBLE_EQ(r.Skor_chel, want.Skor_chel);
    EXPECT_DOUBLE_EQ(r.Diametr, want.Diametr);
  }
  // The shipped row: XLimit 1000, YLimit 1000, CStep 10, Tfb 10, Dola 0.5, Tobl 20, Dola_obl 0.3,
  // Skor_chel 5, and the pipeline diameter 1420.
  static void expectShippedRow(const StoredRow& r) { expectRow(r, {1000, 1000, 10, 10, 0.5, 20, 0.3, 5, 1420}); }

  QTemporaryDir dir;
  QString file;
};

TEST_F(Form3Test, ObjectNamesCaptionsAndButtons) {
  ReportOptions options;
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

  struct Expected {
    const char* box;
    const char* frame;
    const char* label;
    NumericBox::Keys keys;
  };
  const Expected boxes[] = {
      {"Text1", "Frame1", "Ширина зоны расчета, м:", NumericBox::Keys::Integer},
      {"Text2", "Frame1", "Ширина зоны расчета по Y:", NumericBox::Keys::Integer},
      {"Text3", "Frame1", "Шаг сетки, м:", NumericBox::Keys::Integer},
      {"Text6", "Frame1", "Скорость выхода человека из опасной зоны, м/с", NumericBox::Keys::Decimal},
      {"txtTfb", "Frame2", "Время истечения до            образования ОШ, с", NumericBox::Keys::Decimal},
      {"txtDola", "Frame2", "Доля массы, участвующей в образовании ОШ", NumericBox::Keys::Decimal},
      {"Text5", "Frame3", "Время истечения при образовании облака ГПВС, с", NumericBox::Keys::Decimal},
      {"Text4", "Frame3", "Доля массы, участвующей в горении ГПВС", NumericBox::Keys::Decimal}};
  const auto labels = f.findChildren<QLabel*>();
  for (const Expected& e : boxes) {
    NumericBox* b = box(f, e.box);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->keys(), e.keys) << e.box;
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

TEST_F(Form3Test, ShowsTheStoredRowWithTheDecimalCommaAndTheReportOptions) {
  exec("UPDATE Adjustment SET XLimit = 400, YLimit = 200, CStep = 5, Skor_chel = 2.5, Dola = 0.25, "
       "Tfb = 7, Tobl = 12.75, Dola_obl = 0.125");
  ReportOptions options;
  options.OptExtraFiles = false;
  options.Opt3D = true;
  Form3 f(options);
  EXPECT_EQ(box(f, "Text1")->text(), "400");
  EXPECT_EQ(box(f, "Text2")->text(), "200");
  EXPECT_EQ(box(f, "Text3")->text(), "5");
  EXPECT_EQ(box(f, "Text6")->text(), "2,5");
  EXPECT_EQ(box(f, "txtTfb")->text(), "7");
  EXPECT_EQ(box(f, "txtDola")->text(), "0,25");
  EXPECT_EQ(box(f, "Text5")->text(), "12,75");
  EXPECT_EQ(box(f, "Text4")->text(), "0,125");
  EXPECT_FALSE(f.findChild<QCheckBox*>("Check1")->isChecked());
  EXPECT_TRUE(f.findChild<QCheckBox*>("Check2")->isChecked());
  EXPECT_EQ(f.values().XLimit, 400);
  EXPECT_DOUBLE_EQ(f.values().Skor_chel, 2.5);
}

TEST_F(Form3Test, KeyFiltersOfGridAndDecimalBoxes) {
  ReportOptions options;
  Form3 f(options);
  auto type = [](QWidget* w, const QString& text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(w, &press);
    }
  };
  NumericBox* text1 = box(f, "Text1");
  text1->clear();
  type(text1, "1.5,a-0");
  EXPECT_EQ(text1->text(), "150");  // a point, a comma, a letter and a minus are refused in a grid box
  NumericBox* text6 = box(f, "Text6");
  text6->clear();
  type(text6, "2.5-x");
  EXPECT_EQ(text6->text(), "2.5");
}

TEST_F(Form3Test, LeavingABadBoxKeepsTheFocusAndAGoodOneIsConverted) {
  velaron::test::MessageCatcher catcher;
  ReportOptions options;
  Form3 f(options);
  f.show();
  QApplication::setActiveWindow(&f);
  NumericBox* text1 = box(f, "Text1");
  NumericBox* text6 = box(f, "Text6");

  text6->setFocus(Qt::OtherFocusReason);
  text6->setText("2.5");
  text1->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(text6->text(), "2,5");
  EXPECT_TRUE(catcher.requests.empty());
  EXPECT_TRUE(text1->hasFocus());

  text1->setText("");
  text6->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, U("Проверте правильность ввода!"));
  EXPECT_EQ(catcher.requests[0].title, U("Внимание!!!"));
  EXPECT_EQ(catcher.requests[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(text1->hasFocus());

  // A pasted 1.2.3 becomes 1,2,3 and is refused the same way.
  NumericBox* tfb = box(f, "txtTfb");
  text1->setText("1000");
  tfb->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  tfb->setText("1.2.3");
  text1->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(tfb->text(), "1,2,3");
  EXPECT_EQ(catcher.requests.size(), 2u);
  EXPECT_TRUE(tfb->hasFocus());
}

TEST_F(Form3Test, OkStoresTheSettingsAndTheReportOptions) {
  velaron::test::MessageCatcher catcher;
  ReportOptions options;
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
  expectRow(stored(), {600, 400, 20, 12.5, 0.4, 30, 0.2, 1.5, 1420});

  EXPECT_FALSE(options.OptExtraFiles);
  EXPECT_TRUE(options.Opt3D);
  EXPECT_EQ(f.values().XLimit, 600);
  EXPECT_DOUBLE_EQ(f.values().Dola, 0.4);
  EXPECT_EQ(emitted, 1);
  EXPECT_EQ(signalled.CStep, 20);

  // The next opening shows what was stored.
  Form3 again(options);
  EXPECT_EQ(box(again, "Text1")->text(), "600");
  EXPECT_EQ(box(again, "txtTfb")->text(), "12,5");
  EXPECT_FALSE(again.findChild<QCheckBox*>("Check1")->isChecked());
}

TEST_F(Form3Test, CancelStoresNothingAndTheNextOpeningShowsTheStoredRow) {
  velaron::test::MessageCatcher catcher;
  ReportOptions options;
  {
    Form3 f(options);
    fillValid(f);
    f.findChild<QCheckBox*>("Check1")->setChecked(false);
    f.findChild<QCheckBox*>("Check2")->setChecked(false);
    f.Command2_Click();
    EXPECT_EQ(f.result(), QDialog::Rejected);
  }
  expectShippedRow(stored());
  EXPECT_TRUE(options.OptExtraFiles);
  EXPECT_TRUE(options.Opt3D);
  Form3 again(options);
  EXPECT_EQ(box(again, "Text1")->text(), "1000");
  EXPECT_EQ(box(again, "Text6")->text(), "5");
  EXPECT_TRUE(catcher.requests.empty());
}

TEST_F(Form3Test, EnterPressesOkAndEscapePressesCancel) {
  velaron::test::MessageCatcher catcher;
  ReportOptions options;
  auto press = [](QWidget* w, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
  };
  {
    Form3 f(options);
    f.show();
    QApplication::setActiveWindow(&f);
    fillValid(f);
    box(f, "Text5")->setFocus(Qt::OtherFocusReason);
    press(box(f, "Text5"), Qt::Key_Escape);
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_FALSE(f.isVisible());
  }
  expectShippedRow(stored());
  Form3 f(options);
  f.show();
  QApplication::setActiveWindow(&f);
  fillValid(f);
  box(f, "Text5")->setFocus(Qt::OtherFocusReason);
  press(box(f, "Text5"), Qt::Key_Return);
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_TRUE(catcher.requests.empty());
  EXPECT_EQ(stored().XLimit, 600);
}

TEST_F(Form3Test, SettingsRulesRefuseBeforeStoringAndFocusTheBox) {
  struct Case {
    std::vector<std::pair<const char*, const char*>> entries;
    const char* message;
    const char* focus;
  };
  // Each message is the rule's wording for the typed values (2·CStep worked out by hand: 20 m for a
  // 10 m step).
  const Case cases[] = {
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
    velaron::test::MessageCatcher catcher;
    ReportOptions options;
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
    expectShippedRow(stored());
  }
}

TEST_F(Form3Test, BadTextOrAFractionalGridValueStopsOk) {
  velaron::test::MessageCatcher catcher;
  ReportOptions options;
  Form3 f(options);
  f.show();
  QApplication::setActiveWindow(&f);
  box(f, "Text5")->setText("");
  EXPECT_FALSE(f.Command1_Click());
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, U("Проверте правильность ввода!"));
  EXPECT_TRUE(box(f, "Text5")->hasFocus());

  box(f, "Text5")->setText("20");
  box(f, "Text3")->setText("10,5");  // pasted: a grid step is whole metres
  EXPECT_FALSE(f.Command1_Click());
  ASSERT_EQ(catcher.requests.size(), 2u);
  EXPECT_EQ(catcher.requests[1].text, U("Проверте правильность ввода!"));
  EXPECT_TRUE(box(f, "Text3")->hasFocus());
  expectShippedRow(stored());
}

TEST_F(Form3Test, AFailedWriteIsReportedAndTheDialogStaysOpen) {
  velaron::test::MessageCatcher catcher;
  velaron::db::CloseDatabase();
  ASSERT_TRUE(velaron::db::OpenDatabase(file, /*readOnly=*/true).isEmpty());
  ReportOptions options;
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
  expectShippedRow(stored());
}

}  // namespace
