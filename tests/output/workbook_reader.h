// Reads back the sheets of a written workbook: their names in tab order, the active tab, each sheet's
// part and the picture its drawing holds.
#pragma once

#include <QImage>
#include <QString>
#include <map>
#include <string>
#include <vector>

namespace velaron::test {

struct SheetPart {
  QString name;
  std::string part;  // "xl/worksheets/sheet3.xml"
  bool selected = false;  // the sheet's view is the selected tab
  std::vector<QImage> pictures;  // images of the sheet's drawing
};

struct WorkbookParts {
  std::map<std::string, std::string> parts;  // every part of the zip
  std::vector<SheetPart> sheets;             // in tab order
  int activeTab = 0;
};

// Empty sheets when the file is not a readable workbook.
WorkbookParts ReadWorkbook(const QString& path);

// "A1" for row 1, column 1 (both from 1); columns past Z go on AA, AB, ...
QString CellRef(int row, int column);

}  // namespace velaron::test
