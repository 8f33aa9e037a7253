// Reads back a written workbook: an .xlsx file is a zip of XML parts. The parts are unpacked with
// minizip's unzip API and the cells of a sheet are decoded with their strings and fonts.
#pragma once

#include <QString>
#include <map>
#include <optional>
#include <string>

namespace velaron::test {

// Every part of the zip by its name; empty when the file is not a readable zip.
std::map<std::string, std::string> ReadZip(const QString& path);

struct XlsxCell {
  bool isString = false;
  QString text;       // string value (shared or inline)
  QString rawNumber;  // number as written in the XML (<v>), for numbers
  bool bold = false;
  double fontSize = 0;
};

// Cells of one sheet part ("xl/worksheets/sheet1.xml") by reference ("A1").
std::map<QString, XlsxCell> ReadCells(const std::map<std::string, std::string>& parts, const std::string& sheet);

// Text of all matches of one element's attribute, in document order (for example every <c:f>).
QStringList ElementTexts(const std::string& xml, const QString& qualifiedName);
QStringList AttributeValues(const std::string& xml, const QString& qualifiedName, const QString& attribute);

}  // namespace velaron::test
