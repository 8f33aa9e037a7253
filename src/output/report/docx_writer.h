// Writes a report document as a WordprocessingML package (.docx): a zip of XML parts made with minizip.
// The file is written as an OutputFile: complete or not at all, an earlier file kept until then.
#pragma once

#include <QString>
#include <map>
#include <string>

#include "output/report/document.h"

namespace velaron::report {

// The package's parts by name ("word/document.xml", "word/media/image1.png", ...), as they go into the zip.
std::map<std::string, std::string> DocxParts(const Document& doc);

// Writes the package to `path`. Returns an empty text on success, else what went wrong.
QString WriteDocx(const Document& doc, const QString& path);

// Sizes of the package: border widths in eighths of a point, page units in twentieths of a point.
inline constexpr int kOuterBorderEighths = 12;  // 1.5 pt
inline constexpr int kInnerBorderEighths = 8;   // 1 pt

}  // namespace velaron::report
