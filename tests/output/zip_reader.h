// Reads back written .xlsx and .docx files: a zip of XML parts, unpacked with minizip. Workbooks give their
// sheets in tab order with their cells and pictures; documents their paragraphs and tables, the table grid
// rebuilt from gridSpan / vMerge as a word processor shows it.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <map>
#include <string>
#include <vector>

namespace velaron::test {

using Parts = std::map<std::string, std::string>;

// Every part of the zip by its name; empty when the file is not a readable zip.
Parts ReadZip(const QString& path);

// Texts of every element `qualifiedName`, or of one attribute of each, in document order.
QStringList ElementTexts(const std::string& xml, const QString& qualifiedName);
QStringList AttributeValues(const std::string& xml, const QString& qualifiedName, const QString& attribute);

struct XlsxCell {
  bool isString = false;
  QString text;       // string value (shared or inline)
  QString rawNumber;  // number as written in the XML (<v>)
};
// Cells of one sheet part ("xl/worksheets/sheet1.xml") by reference ("A1").
std::map<QString, XlsxCell> ReadCells(const Parts& parts, const std::string& sheet);
// "A1" for row 1, column 1 (both from 1); columns past Z go on AA, AB, ...
QString CellRef(int row, int column);

struct SheetPart {
  QString name;
  std::string part;              // "xl/worksheets/sheet3.xml"
  bool selected = false;         // the sheet's view is the selected tab
  std::vector<QImage> pictures;  // images of the sheet's drawing
};
struct WorkbookParts {
  Parts parts;
  std::vector<SheetPart> sheets;  // in tab order
  int activeTab = 0;
};
WorkbookParts ReadWorkbook(const QString& path);

struct DocxParagraph {
  QString text;
  double size = 0;  // points, from the runs (or the paragraph mark when it has none)
  QString align;    // w:jc
};
struct DocxTable {
  // Rows × grid columns: a merged cell's text stands in its top-left position and every position it
  // covers holds the same anchor (row, col), 0-based.
  std::vector<std::vector<QString>> text;
  std::vector<std::vector<std::pair<int, int>>> anchor;
  std::vector<long> gridCols;                 // twips
  std::map<QString, int> borderSizes;         // "top", "insideH", ... → w:sz
  std::vector<DocxParagraph> cellParagraphs;  // every cell paragraph
  int rows() const { return int(text.size()); }
  int cols() const { return text.empty() ? 0 : int(text[0].size()); }
};
struct DocxBody {
  std::vector<DocxParagraph> paragraphs;  // outside the tables
  std::vector<DocxTable> tables;
  std::map<QString, long> page;  // "w", "h", "top", "left", "right", "bottom" (twips)
  bool endsWithParagraphThenSection = false;
};
DocxBody ReadDocxBody(const std::string& documentXml);
// The texts of the paragraphs outside the tables of a .docx file.
QStringList DocxLines(const QString& path);

}  // namespace velaron::test
