#include "zip_reader.h"

#include <minizip/unzip.h>

#include <QStringList>
#include <QXmlStreamReader>
#include <functional>
#include <vector>

namespace velaron::test {

std::map<std::string, std::string> ReadZip(const QString& path) {
  std::map<std::string, std::string> parts;
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

// Calls `seen` at every start element of the XML text.
void EachStart(const std::string& xml, const std::function<void(QXmlStreamReader&)>& seen) {
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  r.setNamespaceProcessing(false);
  while (!r.atEnd())
    if (r.readNext() == QXmlStreamReader::StartElement) seen(r);
}

std::string Part(const std::map<std::string, std::string>& parts, const std::string& name) {
  auto it = parts.find(name);
  return it == parts.end() ? std::string() : it->second;
}

struct Font {
  bool bold = false;
  double size = 0;
};

}  // namespace

std::map<QString, XlsxCell> ReadCells(const std::map<std::string, std::string>& parts, const std::string& sheet) {
  // Shared strings: each <si> is the join of its <t> runs.
  QStringList shared;
  EachStart(Part(parts, "xl/sharedStrings.xml"), [&](QXmlStreamReader& r) {
    if (r.name() == QLatin1String("si")) shared << QString();
    else if (r.name() == QLatin1String("t") && !shared.isEmpty()) shared.last() += r.readElementText();
  });
  // The font of each cell format: the <fonts> come before the formats in styles.xml, and the cells'
  // formats are the <xf> of <cellXfs> (not those of <cellStyleXfs> before them).
  std::vector<Font> fonts, xfs;
  bool inCellXfs = false;
  EachStart(Part(parts, "xl/styles.xml"), [&](QXmlStreamReader& r) {
    const auto n = r.name();
    if (n == QLatin1String("font")) fonts.push_back({});
    else if (n == QLatin1String("b") && !fonts.empty()) fonts.back().bold = true;
    else if (n == QLatin1String("sz") && !fonts.empty())
      fonts.back().size = r.attributes().value(QLatin1String("val")).toDouble();
    else if (n == QLatin1String("cellXfs")) inCellXfs = true;
    else if (n == QLatin1String("cellStyles")) inCellXfs = false;
    else if (n == QLatin1String("xf") && inCellXfs) {
      const int id = r.attributes().value(QLatin1String("fontId")).toInt();
      xfs.push_back(id >= 0 && id < static_cast<int>(fonts.size()) ? fonts[static_cast<size_t>(id)] : Font{});
    }
  });
  std::map<QString, XlsxCell> cells;
  EachStart(Part(parts, sheet), [&](QXmlStreamReader& r) {
    if (r.name() != QLatin1String("c")) return;
    const QString type = r.attributes().value(QLatin1String("t")).toString();
    const int style = r.attributes().value(QLatin1String("s")).toInt();
    XlsxCell& cell = cells[r.attributes().value(QLatin1String("r")).toString()];
    if (style >= 0 && style < static_cast<int>(xfs.size())) {
      cell.bold = xfs[static_cast<size_t>(style)].bold;
      cell.fontSize = xfs[static_cast<size_t>(style)].size;
    }
    while (!(r.isEndElement() && r.name() == QLatin1String("c")) && !r.atEnd()) {
      r.readNext();
      if (r.isStartElement() && r.name() == QLatin1String("v")) {
        const QString v = r.readElementText();
        cell.isString = type == QLatin1String("s");
        if (cell.isString) cell.text = shared.value(v.toInt());
        else cell.rawNumber = v;
      } else if (r.isStartElement() && r.name() == QLatin1String("t")) {
        cell.isString = true;
        cell.text = r.readElementText();
      }
    }
  });
  return cells;
}

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

}  // namespace velaron::test
