#include "workbook_reader.h"

#include <QDir>
#include <QStringList>
#include <QXmlStreamReader>

#include "zip_reader.h"

namespace velaron::test {

namespace {

// Targets of a relationships part by id, made absolute against the folder of the part they belong to.
std::map<QString, std::string> Relationships(const std::map<std::string, std::string>& parts, const std::string& rels,
                                             const QString& baseFolder) {
  std::map<QString, std::string> out;
  auto it = parts.find(rels);
  if (it == parts.end()) return out;
  QXmlStreamReader r(QByteArray::fromStdString(it->second));
  while (!r.atEnd())
    if (r.readNext() == QXmlStreamReader::StartElement && r.name() == QLatin1String("Relationship")) {
      const QString target = r.attributes().value(QLatin1String("Target")).toString();
      const QString path = target.startsWith('/') ? target.mid(1) : QDir::cleanPath(baseFolder + '/' + target);
      out[r.attributes().value(QLatin1String("Id")).toString()] = path.toStdString();
    }
  return out;
}

// "xl/worksheets/sheet1.xml" → "xl/worksheets/_rels/sheet1.xml.rels"
std::string RelsOf(const std::string& part) {
  const auto slash = part.rfind('/');
  return part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels";
}

QString FolderOf(const std::string& part) { return QString::fromStdString(part.substr(0, part.rfind('/'))); }

}  // namespace

WorkbookParts ReadWorkbook(const QString& path) {
  WorkbookParts book;
  book.parts = ReadZip(path);
  auto wb = book.parts.find("xl/workbook.xml");
  if (wb == book.parts.end()) return book;
  const auto rels = Relationships(book.parts, "xl/_rels/workbook.xml.rels", QStringLiteral("xl"));
  QXmlStreamReader r(QByteArray::fromStdString(wb->second));
  r.setNamespaceProcessing(false);
  while (!r.atEnd()) {
    if (r.readNext() != QXmlStreamReader::StartElement) continue;
    if (r.name() == QLatin1String("workbookView"))
      book.activeTab = r.attributes().value(QLatin1String("activeTab")).toInt();
    if (r.name() != QLatin1String("sheet")) continue;
    SheetPart sheet;
    sheet.name = r.attributes().value(QLatin1String("name")).toString();
    const auto target = rels.find(r.attributes().value(QLatin1String("r:id")).toString());
    if (target != rels.end()) sheet.part = target->second;
    book.sheets.push_back(sheet);
  }
  for (SheetPart& sheet : book.sheets) {
    auto part = book.parts.find(sheet.part);
    if (part == book.parts.end()) continue;
    QXmlStreamReader s(QByteArray::fromStdString(part->second));
    s.setNamespaceProcessing(false);
    while (!s.atEnd())
      if (s.readNext() == QXmlStreamReader::StartElement && s.name() == QLatin1String("sheetView"))
        sheet.selected = s.attributes().value(QLatin1String("tabSelected")) == QLatin1String("1");
    // sheet → drawing → images
    for (const auto& [id, drawing] : Relationships(book.parts, RelsOf(sheet.part), FolderOf(sheet.part))) {
      if (drawing.find("drawings/") == std::string::npos) continue;
      for (const auto& [imageId, image] : Relationships(book.parts, RelsOf(drawing), FolderOf(drawing))) {
        auto bytes = book.parts.find(image);
        if (bytes != book.parts.end())
          sheet.pictures.push_back(QImage::fromData(QByteArray::fromStdString(bytes->second)));
      }
    }
  }
  return book;
}

QString CellRef(int row, int column) {
  QString letters;
  for (int c = column; c > 0; c = (c - 1) / 26) letters.prepend(QChar('A' + (c - 1) % 26));
  return letters + QString::number(row);
}

}  // namespace velaron::test
