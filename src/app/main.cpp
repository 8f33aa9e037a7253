// The program's entry: makes the application object, fixes the number locale for the writers and hands
// over to the start-up procedure.
#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The workbook library formats numbers with the C library's locale; a comma there corrupts the file.
  std::setlocale(LC_NUMERIC, "C");
  return 0;
}
