#include "zip_reader.h"

#include <minizip/unzip.h>

#include <QStringList>
#include <QXmlStreamReader>
#include <vector>

namespace velaron::test {

std::map<std::string, std::string> ReadZip(const QString& path) {
  std::map<std::string, std::string> parts;
  unzFile zip = unzOpen64(path.toUtf8().constData());
  if (!zip) return parts;
  for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
    char name[512];
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    if (unzOpenCurrentFile(zip) != UNZ_OK) break;
    std::string data;
    std::vector<char> buf(65536);
    int n;
    while ((n = unzReadCurrentFile(zip, buf.data(), static_cast<unsigned>(buf.size()))) > 0) data.append(buf.data(), n);
    const bool crcOk = unzCloseCurrentFile(zip) == UNZ_OK && n == 0;
    if (!crcOk) {
      parts.clear();
      break;
    }
    parts[name] = std::move(data);
  }
  unzClose(zip);
  return parts;
}

namespace {

std::string Part(const std::map<std::string, std::string>& parts, const std::string& name) {
  auto it = parts.find(name);
  return it == parts.end() ? std::string() : it->second;
}

QStringList SharedStrings(const std::string& xml) {
  QStringList out;
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  QString current;
  bool inSi = false;
  while (!r.atEnd()) {
    r.readNext();
    if (r.isStartElement() && r.name() == QLatin1String("si")) {
      inSi = true;
      current.clear();
    } else if (r.isStartElement() && r.name() == QLatin1String("t") && inSi) {
      current += r.readElementText();
    } else if (r.isEndElement() && r.name() == QLatin1String("si")) {
      inSi = false;
      out << current;
    }
  }
  return out;
}

struct Font {
  bool bold = false;
  double size = 0;
};

// Fonts of each cell format (cellXfs) of styles.xml.
std::vector<Font> XfFonts(const std::string& xml) {
  std::vector<Font> fonts, xfs;
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  bool inFonts = false, inXfs = false;
  while (!r.atEnd()) {
    r.readNext();
    if (r.isStartElement()) {
      const auto n = r.name();
      if (n == QLatin1String("fonts")) inFonts = true;
      else if (n == QLatin1String("cellXfs")) inXfs = true;
      else if (inFonts && n == QLatin1String("font")) fonts.push_back({});
      else if (inFonts && n == QLatin1String("b") && !fonts.empty()) fonts.back().bold = true;
      else if (inFonts && n == QLatin1String("sz") && !fonts.empty())
        fonts.back().size = r.attributes().value(QLatin1String("val")).toDouble();
      else if (inXfs && n == QLatin1String("xf")) {
        const int id = r.attributes().value(QLatin1String("fontId")).toInt();
        xfs.push_back(id >= 0 && id < static_cast<int>(fonts.size()) ? fonts[static_cast<size_t>(id)] : Font{});
      }
    } else if (r.isEndElement()) {
      if (r.name() == QLatin1String("fonts")) inFonts = false;
      if (r.name() == QLatin1String("cellXfs")) inXfs = false;
    }
  }
  return xfs;
}

}  // namespace

std::map<QString, XlsxCell> ReadCells(const std::map<std::string, std::string>& parts, const std::string& sheet) {
  std::map<QString, XlsxCell> cells;
  const QStringList shared = SharedStrings(Part(parts, "xl/sharedStrings.xml"));
  const std::vector<Font> xfs = XfFonts(Part(parts, "xl/styles.xml"));
  QXmlStreamReader r(QByteArray::fromStdString(Part(parts, sheet)));
  while (!r.atEnd()) {
    r.readNext();
    if (!r.isStartElement() || r.name() != QLatin1String("c")) continue;
    const QString ref = r.attributes().value(QLatin1String("r")).toString();
    const QString type = r.attributes().value(QLatin1String("t")).toString();
    const int style = r.attributes().value(QLatin1String("s")).toInt();
    XlsxCell cell;
    if (style >= 0 && style < static_cast<int>(xfs.size())) {
      cell.bold = xfs[static_cast<size_t>(style)].bold;
      cell.fontSize = xfs[static_cast<size_t>(style)].size;
    }
    while (!(r.isEndElement() && r.name() == QLatin1String("c")) && !r.atEnd()) {
      r.readNext();
      if (r.isStartElement() && r.name() == QLatin1String("v")) {
        const QString v = r.readElementText();
        if (type == QLatin1String("s")) {
          cell.isString = true;
          const int i = v.toInt();
          if (i >= 0 && i < shared.size()) cell.text = shared[i];
        } else {
          cell.rawNumber = v;
        }
      } else if (r.isStartElement() && r.name() == QLatin1String("t")) {
        cell.isString = true;
        cell.text = r.readElementText();
      }
    }
    cells[ref] = cell;
  }
  return cells;
}

QStringList ElementTexts(const std::string& xml, const QString& qualifiedName) {
  QStringList out;
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  r.setNamespaceProcessing(false);
  while (!r.atEnd()) {
    r.readNext();
    if (r.isStartElement() && r.qualifiedName() == qualifiedName) out << r.readElementText(QXmlStreamReader::IncludeChildElements);
  }
  return out;
}

QStringList AttributeValues(const std::string& xml, const QString& qualifiedName, const QString& attribute) {
  QStringList out;
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  r.setNamespaceProcessing(false);
  while (!r.atEnd()) {
    r.readNext();
    if (r.isStartElement() && r.qualifiedName() == qualifiedName) out << r.attributes().value(attribute).toString();
  }
  return out;
}

}  // namespace velaron::test
