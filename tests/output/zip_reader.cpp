#include "zip_reader.h"

#include <minizip/unzip.h>

#include <QDir>
#include <QXmlStreamReader>
#include <functional>

namespace velaron::test {

Parts ReadZip(const QString& path) {
  Parts parts;
  unzFile zip = unzOpen64(path.toUtf8().constData());
  if (!zip) return parts;
  for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
    char name[512];
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(zip) != UNZ_OK)
      break;
    std::string data;
    std::vector<char> buf(65536);
    int n;
    while ((n = unzReadCurrentFile(zip, buf.data(), static_cast<unsigned>(buf.size()))) > 0) data.append(buf.data(), n);
    if (unzCloseCurrentFile(zip) != UNZ_OK || n != 0) {  // a read error or a bad checksum: no parts at all
      parts.clear();
      break;
    }
    parts[name] = std::move(data);
  }
  unzClose(zip);
  return parts;
}

namespace {

std::string Part(const Parts& parts, const std::string& name) {
  auto it = parts.find(name);
  return it == parts.end() ? std::string() : it->second;
}

QString Attr(const QXmlStreamReader& r, const char* name) {
  return r.attributes().value(QLatin1String(name)).toString();
}

// Calls `seen` at every start element of the XML text.
void EachStart(const std::string& xml, const std::function<void(QXmlStreamReader&)>& seen) {
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  r.setNamespaceProcessing(false);
  while (!r.atEnd())
    if (r.readNext() == QXmlStreamReader::StartElement) seen(r);
}

// Targets of the relationships of `part` by id, as part names.
std::map<QString, std::string> Relationships(const Parts& parts, const std::string& part) {
  const auto slash = part.rfind('/');
  const QString folder = QString::fromStdString(part.substr(0, slash));
  std::map<QString, std::string> out;
  EachStart(Part(parts, part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels"),
            [&](QXmlStreamReader& r) {
              if (r.name() != QLatin1String("Relationship")) return;
              const QString target = Attr(r, "Target");
              out[Attr(r, "Id")] =
                  (target.startsWith('/') ? target.mid(1) : QDir::cleanPath(folder + '/' + target)).toStdString();
            });
  return out;
}

}  // namespace

QStringList ElementTexts(const std::string& xml, const QString& qualifiedName) {
  QStringList out;
  EachStart(xml, [&](QXmlStreamReader& r) {
    if (r.qualifiedName() == qualifiedName) out << r.readElementText(QXmlStreamReader::IncludeChildElements);
  });
  return out;
}

QStringList AttributeValues(const std::string& xml, const QString& qualifiedName, const QString& attribute) {
  QStringList out;
  EachStart(xml, [&](QXmlStreamReader& r) {
    if (r.qualifiedName() == qualifiedName) out << r.attributes().value(attribute).toString();
  });
  return out;
}

std::map<QString, XlsxCell> ReadCells(const Parts& parts, const std::string& sheet) {
  QStringList shared;  // each <si> is the join of its <t> runs
  EachStart(Part(parts, "xl/sharedStrings.xml"), [&](QXmlStreamReader& r) {
    if (r.name() == QLatin1String("si")) shared << QString();
    else if (r.name() == QLatin1String("t") && !shared.isEmpty()) shared.last() += r.readElementText();
  });
  std::map<QString, XlsxCell> cells;
  EachStart(Part(parts, sheet), [&](QXmlStreamReader& r) {
    if (r.name() != QLatin1String("c")) return;
    const QString type = Attr(r, "t");
    XlsxCell& cell = cells[Attr(r, "r")];
    while (!(r.isEndElement() && r.name() == QLatin1String("c")) && !r.atEnd()) {
      r.readNext();
      if (r.isStartElement() && r.name() == QLatin1String("v")) {
        const QString v = r.readElementText();
        cell.isString = type == QLatin1String("s");
        (cell.isString ? cell.text : cell.rawNumber) = cell.isString ? shared.value(v.toInt()) : v;
      } else if (r.isStartElement() && r.name() == QLatin1String("t")) {
        cell.isString = true;
        cell.text = r.readElementText();
      }
    }
  });
  return cells;
}

QString CellRef(int row, int column) {
  QString letters;
  for (int c = column; c > 0; c = (c - 1) / 26) letters.prepend(QChar('A' + (c - 1) % 26));
  return letters + QString::number(row);
}

WorkbookParts ReadWorkbook(const QString& path) {
  WorkbookParts book;
  book.parts = ReadZip(path);
  const auto rels = Relationships(book.parts, "xl/workbook.xml");
  EachStart(Part(book.parts, "xl/workbook.xml"), [&](QXmlStreamReader& r) {
    if (r.name() == QLatin1String("workbookView")) book.activeTab = Attr(r, "activeTab").toInt();
    if (r.name() != QLatin1String("sheet")) return;
    const auto target = rels.find(Attr(r, "r:id"));
    book.sheets.push_back({Attr(r, "name"), target == rels.end() ? std::string() : target->second, false, {}});
  });
  for (SheetPart& sheet : book.sheets) {
    EachStart(Part(book.parts, sheet.part), [&](QXmlStreamReader& r) {
      if (r.name() == QLatin1String("sheetView")) sheet.selected = Attr(r, "tabSelected") == QLatin1String("1");
    });
    for (const auto& [id, drawing] : Relationships(book.parts, sheet.part))  // sheet → drawing → images
      if (drawing.find("drawings/") != std::string::npos)
        for (const auto& [imageId, image] : Relationships(book.parts, drawing))
          if (book.parts.count(image))
            sheet.pictures.push_back(QImage::fromData(QByteArray::fromStdString(book.parts.at(image))));
  }
  return book;
}

namespace {

// Reads one <w:p> (the reader stands on its start) to its end.
DocxParagraph ReadParagraph(QXmlStreamReader& r) {
  DocxParagraph p;
  double markSize = 0, runSize = 0;
  bool inPPr = false, inRun = false;
  while (!r.atEnd()) {
    r.readNext();
    const QString name = r.qualifiedName().toString();
    if (r.isEndElement()) {
      if (name == "w:p") break;
      if (name == "w:pPr") inPPr = false;
      if (name == "w:r") inRun = false;
    } else if (r.isStartElement()) {
      if (name == "w:pPr") inPPr = true;
      else if (name == "w:r") inRun = true;
      else if (name == "w:jc") p.align = Attr(r, "w:val");
      else if (name == "w:sz") (inPPr ? markSize : runSize) = Attr(r, "w:val").toDouble() / 2;
      else if (name == "w:t" && inRun) p.text += r.readElementText();
    }
  }
  p.size = runSize > 0 ? runSize : markSize;
  return p;
}

DocxTable ReadTable(QXmlStreamReader& r) {
  DocxTable t;
  struct Cell {
    int span = 1;
    bool continued = false;  // a vMerge without "restart"
    QString text;
  };
  std::vector<std::vector<Cell>> rows;
  bool inBorders = false;
  while (!r.atEnd()) {
    r.readNext();
    const QString name = r.qualifiedName().toString();
    if (r.isEndElement()) {
      if (name == "w:tbl") break;
      if (name == "w:tblBorders") inBorders = false;
      continue;
    }
    if (!r.isStartElement()) continue;
    if (name == "w:tblBorders") inBorders = true;
    else if (inBorders) t.borderSizes[name.mid(2)] = Attr(r, "w:sz").toInt();
    else if (name == "w:gridCol") t.gridCols.push_back(Attr(r, "w:w").toLong());
    else if (name == "w:tr") rows.emplace_back();
    else if (name == "w:tc") rows.back().emplace_back();
    else if (name == "w:gridSpan") rows.back().back().span = Attr(r, "w:val").toInt();
    else if (name == "w:vMerge") rows.back().back().continued = Attr(r, "w:val") != "restart";
    else if (name == "w:p") {
      t.cellParagraphs.push_back(ReadParagraph(r));
      Cell& c = rows.back().back();
      c.text += (c.text.isEmpty() ? "" : "\n") + t.cellParagraphs.back().text;
    }
  }
  const int cols = int(t.gridCols.size());
  t.text.assign(rows.size(), std::vector<QString>(size_t(cols)));
  t.anchor.assign(rows.size(), std::vector<std::pair<int, int>>(size_t(cols), {-1, -1}));
  for (size_t ri = 0; ri < rows.size(); ++ri) {
    int col = 0;
    for (const Cell& c : rows[ri]) {
      std::pair<int, int> anchor{int(ri), col};
      if (c.continued && ri > 0 && col < cols) anchor = t.anchor[ri - 1][size_t(col)];
      for (int k = 0; k < c.span && col + k < cols; ++k) t.anchor[ri][size_t(col + k)] = anchor;
      if (anchor == std::pair<int, int>{int(ri), col} && col < cols) t.text[ri][size_t(col)] = c.text;
      col += c.span;
    }
  }
  return t;
}

}  // namespace

DocxBody ReadDocxBody(const std::string& documentXml) {
  DocxBody body;
  char lastItem = 0;
  EachStart(documentXml, [&](QXmlStreamReader& r) {
    const QString name = r.qualifiedName().toString();
    if (name == "w:p") {
      body.paragraphs.push_back(ReadParagraph(r));
      lastItem = 'p';
    } else if (name == "w:tbl") {
      body.tables.push_back(ReadTable(r));
      lastItem = 't';
    } else if (name == "w:sectPr") {
      body.endsWithParagraphThenSection = lastItem == 'p';
    } else if (name == "w:pgSz") {
      body.page["w"] = Attr(r, "w:w").toLong();
      body.page["h"] = Attr(r, "w:h").toLong();
    } else if (name == "w:pgMar") {
      for (const char* side : {"top", "left", "right", "bottom"})
        body.page[side] = Attr(r, (std::string("w:") + side).c_str()).toLong();
    }
  });
  return body;
}

QStringList DocxLines(const QString& path) {
  QStringList lines;
  for (const DocxParagraph& p : ReadDocxBody(ReadZip(path)["word/document.xml"]).paragraphs) lines << p.text;
  return lines;
}

}  // namespace velaron::test
