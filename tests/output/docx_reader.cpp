#include "docx_reader.h"

#include <QXmlStreamReader>

namespace velaron::test {

QStringList DocxBody::lines() const {
  QStringList out;
  for (const auto& p : paragraphs) out << p.text;
  return out;
}

namespace {

QString Attr(const QXmlStreamReader& r, const char* name) { return r.attributes().value(QLatin1String(name)).toString(); }

// Reads one <w:p> (the reader stands on its start) to its end.
DocxParagraph ReadParagraph(QXmlStreamReader& r, QStringList& docPrIds) {
  DocxParagraph p;
  double markSize = 0, runSize = 0;
  bool markBold = false, runBold = false, inPPr = false, inRun = false, sawRun = false;
  while (!r.atEnd()) {
    r.readNext();
    const QString name = r.qualifiedName().toString();
    if (r.isEndElement()) {
      if (name == "w:p") break;
      if (name == "w:pPr") inPPr = false;
      if (name == "w:r") inRun = false;
      continue;
    }
    if (!r.isStartElement()) continue;
    if (name == "w:pPr") inPPr = true;
    else if (name == "w:r") { inRun = true; sawRun = true; }
    else if (name == "w:jc") p.align = Attr(r, "w:val");
    else if (name == "w:sz") (inPPr ? markSize : runSize) = Attr(r, "w:val").toDouble() / 2;
    else if (name == "w:b") (inPPr ? markBold : runBold) = Attr(r, "w:val") != "0";
    else if (name == "w:t" && inRun) p.text += r.readElementText();
    else if (name == "wp:docPr") { ++p.pictures; docPrIds << Attr(r, "id"); }
    else if (name == "a:blip") p.embeds << Attr(r, "r:embed");
  }
  p.size = sawRun && runSize > 0 ? runSize : markSize;
  p.bold = sawRun ? runBold : markBold;
  return p;
}

DocxTable ReadTable(QXmlStreamReader& r, QStringList& docPrIds) {
  DocxTable t;
  struct Cell {
    int span = 1;
    QString vMerge = "none";
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
    else if (name == "w:vMerge") rows.back().back().vMerge = Attr(r, "w:val").isEmpty() ? "continue" : Attr(r, "w:val");
    else if (name == "w:p") {
      DocxParagraph p = ReadParagraph(r, docPrIds);
      Cell& c = rows.back().back();
      c.text += (c.text.isEmpty() ? "" : "\n") + p.text;
      t.cellParagraphs.push_back(p);
    }
  }
  const int cols = int(t.gridCols.size());
  t.text.assign(rows.size(), std::vector<QString>(size_t(cols)));
  t.anchor.assign(rows.size(), std::vector<std::pair<int, int>>(size_t(cols), {-1, -1}));
  for (size_t ri = 0; ri < rows.size(); ++ri) {
    int col = 0;
    for (const Cell& c : rows[ri]) {
      std::pair<int, int> anchor{int(ri), col};
      if (c.vMerge == "continue" && ri > 0 && col < cols) anchor = t.anchor[ri - 1][size_t(col)];
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
  QXmlStreamReader r(QByteArray::fromStdString(documentXml));
  r.setNamespaceProcessing(false);
  char lastItem = 0;
  while (!r.atEnd()) {
    r.readNext();
    if (!r.isStartElement()) continue;
    const QString name = r.qualifiedName().toString();
    if (name == "w:p") {
      body.order.push_back({'p', int(body.paragraphs.size())});
      body.paragraphs.push_back(ReadParagraph(r, body.docPrIds));
      lastItem = 'p';
    } else if (name == "w:tbl") {
      body.order.push_back({'t', int(body.tables.size())});
      body.tables.push_back(ReadTable(r, body.docPrIds));
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
  }
  return body;
}

}  // namespace velaron::test
