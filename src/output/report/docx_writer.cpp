#include "docx_writer.h"

#include <minizip/zip.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cmath>
#include <ctime>

#include "common/output_file.h"
#include "common/xml_text.h"

namespace velaron::report {

namespace {

constexpr const char* kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kNsW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kNsR = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kNsWp = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
constexpr const char* kNsA = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr const char* kNsPic = "http://schemas.openxmlformats.org/drawingml/2006/picture";
constexpr double kEmuPerPt = 12700;

long Twips(double pt) { return std::lround(pt * 20); }
long HalfPoints(double pt) { return std::lround(pt * 2); }

void Escape(std::string& out, const QString& text) {
  for (char ch : XmlText(text.toStdU16String())) {
    switch (ch) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\n':
      case '\r': break;  // a line of text is one paragraph; the cells split theirs before
      default: out += ch;
    }
  }
}

void RunFormat(std::string& x, const Format& f) {
  x += "<w:rPr>";
  if (f.bold) x += "<w:b/><w:bCs/>";
  const std::string sz = std::to_string(HalfPoints(f.size));
  x += "<w:sz w:val=\"" + sz + "\"/><w:szCs w:val=\"" + sz + "\"/></w:rPr>";
}

void ParagraphFormat(std::string& x, const Format& f, bool keepWithNext) {
  x += "<w:pPr>";
  if (keepWithNext) x += "<w:keepNext/>";
  x += "<w:jc w:val=\"";
  x += f.align == Align::Center ? "center" : "left";
  x += "\"/>";
  RunFormat(x, f);  // the paragraph mark: an empty line keeps the height of its size
  x += "</w:pPr>";
}

void TextRun(std::string& x, const Format& f, const QString& text) {
  x += "<w:r>";
  RunFormat(x, f);
  x += "<w:t xml:space=\"preserve\">";
  Escape(x, text);
  x += "</w:t></w:r>";
}

struct PictureSize {
  long cx, cy;  // EMU
};

// Fitted to the text width with the aspect kept, and never taller than the text height.
PictureSize FitPicture(const Picture& p, const PageSetup& page) {
  double w = page.textWidth();
  double h = p.widthPx > 0 ? w * p.heightPx / p.widthPx : w;
  if (h > page.textHeight()) {
    w *= page.textHeight() / h;
    h = page.textHeight();
  }
  return {std::lround(w * kEmuPerPt), std::lround(h * kEmuPerPt)};
}

void PictureRun(std::string& x, int index, const Picture& p, const PageSetup& page, int docPrId) {
  const PictureSize s = FitPicture(p, page);
  const std::string cx = std::to_string(s.cx), cy = std::to_string(s.cy), n = std::to_string(index + 1);
  x += "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">";
  x += "<wp:extent cx=\"" + cx + "\" cy=\"" + cy + "\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/>";
  x += "<wp:docPr id=\"" + std::to_string(docPrId) + "\" name=\"Picture " + n + "\"/>";
  x += "<wp:cNvGraphicFramePr><a:graphicFrameLocks noChangeAspect=\"1\"/></wp:cNvGraphicFramePr>";
  x += "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>";
  x += "<pic:nvPicPr><pic:cNvPr id=\"0\" name=\"image" + n + ".png\"/><pic:cNvPicPr/></pic:nvPicPr>";
  x += "<pic:blipFill><a:blip r:embed=\"rIdImage" + n + "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>";
  x += "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" + cx + "\" cy=\"" + cy + "\"/></a:xfrm>";
  x += "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr>";
  x += "</pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
}

void WriteParagraph(std::string& x, const Paragraph& p, const Document& doc, int& docPrId) {
  x += "<w:p>";
  ParagraphFormat(x, p.format, p.keepWithNext);
  for (const auto& item : p.items) {
    if (item.picture >= 0 && item.picture < int(doc.pictures().size()))
      PictureRun(x, item.picture, doc.pictures()[size_t(item.picture)], doc.page, docPrId++);
    else if (!item.text.isEmpty()) TextRun(x, p.format, item.text);
  }
  x += "</w:p>";
}

void Border(std::string& x, const char* side, int eighths) {
  x += "<w:";
  x += side;
  x += " w:val=\"single\" w:sz=\"" + std::to_string(eighths) + "\" w:space=\"0\" w:color=\"auto\"/>";
}

// One cell's paragraphs: a text with line ends becomes several paragraphs of the cell. Kept with the next
// row, they hold the table's rows on one page.
void CellParagraphs(std::string& x, const Format& f, const QString& text, bool keepWithNext) {
  const QStringList lines =
      QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
  for (const QString& line : lines) {
    x += "<w:p>";
    ParagraphFormat(x, f, keepWithNext);
    if (!line.isEmpty()) TextRun(x, f, line);
    x += "</w:p>";
  }
}

void WriteTable(std::string& x, const Table& t, const PageSetup& page) {
  const std::vector<double> widths = t.ColumnWidths(page.textWidth());
  long total = 0;
  for (double w : widths) total += Twips(w);
  x += "<w:tbl><w:tblPr><w:tblW w:w=\"" + std::to_string(total) + "\" w:type=\"dxa\"/><w:tblBorders>";
  Border(x, "top", kOuterBorderEighths);
  Border(x, "left", kOuterBorderEighths);
  Border(x, "bottom", kOuterBorderEighths);
  Border(x, "right", kOuterBorderEighths);
  Border(x, "insideH", kInnerBorderEighths);
  Border(x, "insideV", kInnerBorderEighths);
  x += "</w:tblBorders><w:tblLayout w:type=\"fixed\"/>";
  const std::string margin = std::to_string(Twips(t.cellMargin()));
  x += "<w:tblCellMar><w:left w:w=\"" + margin + "\" w:type=\"dxa\"/><w:right w:w=\"" + margin +
       "\" w:type=\"dxa\"/></w:tblCellMar>";
  x += "</w:tblPr><w:tblGrid>";
  for (double w : widths) x += "<w:gridCol w:w=\"" + std::to_string(Twips(w)) + "\"/>";
  x += "</w:tblGrid>";
  // No row is split over two pages; the header rows come again at the top of the next page; each row is
  // kept with the next, so that a table that fits on a page is not cut.
  for (int r = 1; r <= t.rows(); ++r) {
    x += "<w:tr><w:trPr><w:cantSplit/>";
    if (r <= t.headerRows()) x += "<w:tblHeader/>";
    x += "</w:trPr>";
    for (int c = 1; c <= t.cols(); ++c) {
      const Merge m = t.SpanOf(r, c);
      if (c != m.col1) continue;  // covered by a horizontal span
      long w = 0;
      for (int k = m.col1; k <= m.col2; ++k) w += Twips(widths[size_t(k - 1)]);
      x += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(w) + "\" w:type=\"dxa\"/>";
      if (m.col2 > m.col1) x += "<w:gridSpan w:val=\"" + std::to_string(m.col2 - m.col1 + 1) + "\"/>";
      if (m.row2 > m.row1) x += r == m.row1 ? "<w:vMerge w:val=\"restart\"/>" : "<w:vMerge/>";
      x += "</w:tcPr>";
      CellParagraphs(x, t.format(), r == m.row1 ? t.text(r, c) : QString(), r < t.rows() || t.keepWithNext());
      x += "</w:tc>";
    }
    x += "</w:tr>";
  }
  x += "</w:tbl>";
}

std::string DocumentXml(const Document& doc) {
  std::string x;
  x.reserve(64 * 1024);
  x += kXmlHead;
  x += std::string("<w:document xmlns:w=\"") + kNsW + "\" xmlns:r=\"" + kNsR + "\" xmlns:wp=\"" + kNsWp +
       "\" xmlns:a=\"" + kNsA + "\" xmlns:pic=\"" + kNsPic + "\"><w:body>";
  int docPrId = 1;
  for (const auto& block : doc.blocks()) {
    if (const auto* p = std::get_if<Paragraph>(&block)) WriteParagraph(x, *p, doc, docPrId);
    else WriteTable(x, std::get<Table>(block), doc.page);
  }
  // The model always ends with a paragraph, so the body does too; the section properties close it.
  const PageSetup& pg = doc.page;
  x += "<w:sectPr><w:pgSz w:w=\"" + std::to_string(Twips(pg.widthPt)) + "\" w:h=\"" +
       std::to_string(Twips(pg.heightPt)) + "\"/><w:pgMar w:top=\"" + std::to_string(Twips(pg.top)) + "\" w:right=\"" +
       std::to_string(Twips(pg.right)) + "\" w:bottom=\"" + std::to_string(Twips(pg.bottom)) + "\" w:left=\"" +
       std::to_string(Twips(pg.left)) + "\" w:header=\"709\" w:footer=\"709\" w:gutter=\"0\"/></w:sectPr>";
  x += "</w:body></w:document>";
  return x;
}

std::string StylesXml() {
  std::string x = kXmlHead;
  x += std::string("<w:styles xmlns:w=\"") + kNsW + "\"><w:docDefaults><w:rPrDefault><w:rPr>";
  x += "<w:rFonts w:ascii=\"Times New Roman\" w:eastAsia=\"Times New Roman\" w:hAnsi=\"Times New Roman\" "
       "w:cs=\"Times New Roman\"/><w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/>"
       "<w:lang w:val=\"ru-RU\" w:eastAsia=\"ru-RU\" w:bidi=\"ar-SA\"/></w:rPr></w:rPrDefault>";
  // Widow and orphan control: no single line of a paragraph left alone at the top or foot of a page.
  x += "<w:pPrDefault><w:pPr><w:widowControl/><w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/>"
       "</w:pPr></w:pPrDefault>";
  x += "</w:docDefaults>";
  x += "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name "
       "w:val=\"Normal\"/><w:qFormat/></w:style>";
  x += "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/>"
       "<w:uiPriority w:val=\"99\"/><w:semiHidden/><w:unhideWhenUsed/><w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/>"
       "<w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/><w:left w:w=\"108\" w:type=\"dxa\"/>"
       "<w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" w:type=\"dxa\"/></w:tblCellMar></w:tblPr></w:style>";
  x += "</w:styles>";
  return x;
}

}  // namespace

std::map<std::string, std::string> DocxParts(const Document& doc) {
  std::map<std::string, std::string> parts;
  std::string types = kXmlHead;
  types +=
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Default Extension=\"png\" ContentType=\"image/png\"/>"
      "<Override PartName=\"/word/document.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
      "<Override PartName=\"/word/styles.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/></Types>";
  parts["[Content_Types].xml"] = types;
  parts["_rels/.rels"] = std::string(kXmlHead) +
                         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                         "<Relationship Id=\"rId1\" "
                         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                         "Target=\"word/document.xml\"/></Relationships>";
  std::string rels = std::string(kXmlHead) +
                     "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                     "<Relationship Id=\"rIdStyles\" "
                     "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
                     "Target=\"styles.xml\"/>";
  for (size_t i = 0; i < doc.pictures().size(); ++i) {
    const std::string n = std::to_string(i + 1);
    rels += "<Relationship Id=\"rIdImage" + n +
            "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
            "Target=\"media/image" +
            n + ".png\"/>";
    const QByteArray& png = doc.pictures()[i].png;
    parts["word/media/image" + n + ".png"] = std::string(png.constData(), size_t(png.size()));
  }
  rels += "</Relationships>";
  parts["word/_rels/document.xml.rels"] = rels;
  parts["word/document.xml"] = DocumentXml(doc);
  parts["word/styles.xml"] = StylesXml();
  return parts;
}

namespace {

bool ZipParts(const std::map<std::string, std::string>& parts, const std::string& path) {
  errno = 0;
  zipFile zf = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (!zf) return false;
  zip_fileinfo info{};
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  info.tmz_date = {static_cast<uInt>(tm.tm_sec),  static_cast<uInt>(tm.tm_min), static_cast<uInt>(tm.tm_hour),
                   static_cast<uInt>(tm.tm_mday), static_cast<uInt>(tm.tm_mon), static_cast<uInt>(tm.tm_year + 1900)};
  bool ok = true;
  // The content types go first, as the package readers expect.
  std::vector<const std::pair<const std::string, std::string>*> order;
  for (const auto& kv : parts)
    if (kv.first == "[Content_Types].xml") order.insert(order.begin(), &kv);
    else order.push_back(&kv);
  for (const auto* kv : order) {
    const bool png = kv->first.ends_with(".png");  // pictures are compressed already: stored as they are
    if (zipOpenNewFileInZip64(zf, kv->first.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, png ? 0 : Z_DEFLATED,
                              png ? 0 : 6, kv->second.size() >= 0xffffffffu) != ZIP_OK) {
      ok = false;
      break;
    }
    if (!kv->second.empty() &&
        zipWriteInFileInZip(zf, kv->second.data(), static_cast<unsigned>(kv->second.size())) != ZIP_OK)
      ok = false;
    if (zipCloseFileInZip(zf) != ZIP_OK) ok = false;
    if (!ok) break;
  }
  if (zipClose(zf, nullptr) != ZIP_OK) ok = false;
  return ok;
}

}  // namespace

QString WriteDocx(const Document& doc, const QString& path) {
  OutputFile file(QFile::encodeName(path).toStdString());
  if (file.ok() && !ZipParts(DocxParts(doc), file.writePath())) file.Fail(errno);
  if (!file.Commit())
    return QStringLiteral("Не удалось записать файл %1: %2")
        .arg(QDir::toNativeSeparators(path), QString::fromStdString(file.error()));
  return {};
}

}  // namespace velaron::report
