#include <QTest>
#include <QGroupBox>
#include "form_fixture.h"
using namespace velaron;
using velaron::test::MainWindowTest;
using velaron::test::U;

TEST_F(MainWindowTest, ProbeEnterOnFocusedButton) {
  choose("DataCombo6", 0);
  tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  auto* del = find<QPushButton>("bDelete");
  del->setFocus();
  QApplication::processEvents();
  std::cerr << "focus=" << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none") << "\n";
  QTest::keyClick(del, Qt::Key_Return);
  std::cerr << "opened=" << opened << " msgs=" << messages.texts().join("|").toStdString() << "\n";
}

TEST_F(MainWindowTest, ProbeListClickAfterEdit) {
  tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  auto* t = box("Text11");
  t->setFocus();
  t->selectAll();
  QTest::keyClicks(t, "77.5");
  auto* list = find<QListWidget>("List1");
  QRect r = list->visualItemRect(list->item(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  QApplication::processEvents();
  std::cerr << "row1 len=" << db::LoadSection(1)->Length << " row2 len=" << db::LoadSection(2)->Length << " Text11=" << t->text().toStdString() << " Text1=" << find<QLineEdit>("Text1")->text().toStdString() << "\n";
}

TEST_F(MainWindowTest, ProbeCrossingTyping) {
  tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  auto* c = find<QCheckBox>("Check4");
  QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, c->height()/2));
  QApplication::processEvents();
  auto* b = box("P_LEP");
  b->setFocus();
  b->selectAll();
  QTest::keyClicks(b, "0.07");
  QTest::keyClick(b, Qt::Key_Tab);
  QApplication::processEvents();
  std::cerr << "text=" << b->text().toStdString() << " pv=" << db::LoadSection(1)->p_v << " dpp2=" << db::LoadSection(1)->dpp2 << " msgs=" << messages.texts().join("|").toStdString() << "\n";
  QTest::keyClick(b, Qt::Key_Backspace);
  std::cerr << "after bs pv=" << db::LoadSection(1)->p_v << "\n";
}

TEST_F(MainWindowTest, ProbeOption2Mouse) {
  tabs()->setCurrentIndex(2);
  QApplication::processEvents();
  auto* o = find<QRadioButton>("Option2");
  QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(5, o->height()/2));
  QApplication::processEvents();
  std::cerr << "focus=" << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none") << " checked=" << o->isChecked() << "\n";
}
TEST_F(MainWindowTest, ProbeDiameterTab) {
  choose("DataCombo6", 0);
  auto* t = box("Text3");
  t->setFocus();
  t->selectAll();
  QTest::keyClicks(t, "50");
  QTest::keyClick(t, Qt::Key_Tab);
  QApplication::processEvents();
  std::cerr << "text=" << t->text().toStdString() << " focus=" << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none") << " msgs=" << messages.texts().join("|").toStdString() << "\n";
  QTest::keyClick(t, Qt::Key_Tab);
  QApplication::processEvents();
  std::cerr << "text=" << t->text().toStdString() << " focus=" << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none") << " n=" << messages.requests.size() << "\n";
  t->setFocus();
  t->selectAll();
  QTest::keyClicks(t, "2000");
  QTest::keyClick(t, Qt::Key_Return);
  QApplication::processEvents();
  std::cerr << "text=" << t->text().toStdString() << " opened=" << opened << " msgs=" << messages.texts().join("|").toStdString() << "\n";
}
TEST_F(MainWindowTest, ProbeOptionArrows) {
  tabs()->setCurrentIndex(2);
  QApplication::processEvents();
  auto* o1 = find<QRadioButton>("Option1");
  o1->setFocus();
  QApplication::processEvents();
  QTest::keyClick(o1, Qt::Key_Down);
  QApplication::processEvents();
  std::cerr << "o2=" << find<QRadioButton>("Option2")->isChecked() << " text8hidden=" << box("Text8")->isHidden() << "\n";
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  QApplication::processEvents();
  std::cerr << "o3=" << find<QRadioButton>("Option3")->isChecked() << " alfahidden=" << box("alfa_tr")->isHidden() << " combo=" << find<QComboBox>("DataCombo6")->isEnabled() << " focus=" << QApplication::focusWidget()->objectName().toStdString() << "\n";
}
TEST_F(MainWindowTest, ProbeDeselect) {
  tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  auto* list = find<QListWidget>("List1");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
  std::cerr << "Text1=" << find<QLineEdit>("Text1")->text().toStdString() << "\n";
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, list->visualItemRect(list->item(2)).center());
  QApplication::processEvents();
  std::cerr << "after ctrl: Text1=" << find<QLineEdit>("Text1")->text().toStdString() << " cur=" << list->currentRow() << " sel=" << list->selectedItems().size() << " section=" << window->selectedSection() << "\n";
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
  QApplication::processEvents();
  std::cerr << "after empty click: Text1=" << find<QLineEdit>("Text1")->text().toStdString() << " cur=" << list->currentRow() << " sel=" << list->selectedItems().size() << "\n";
}
