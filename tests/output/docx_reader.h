// Reads back a written .docx: the body of word/document.xml as paragraphs and tables, with the table grid
// rebuilt from gridSpan / vMerge, so that tests check what a word processor will show.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <string>
#include <vector>

namespace velaron::test {

struct DocxParagraph {
  QString text;
  double size = 0;  // points, from the paragraph's runs (or its mark when it has none)
  bool bold = false;
  QString align;    // value of w:jc
  int pictures = 0;  // inline drawings
  QStringList embeds;  // r:embed of the pictures
};

struct DocxTable {
  // Grid of texts, rows × grid columns: a merged cell's text stands in its top-left position and every
  // position it covers holds the same anchor (row, col).
  std::vector<std::vector<QString>> text;
  std::vector<std::vector<std::pair<int, int>>> anchor;  // 0-based
  std::vector<long> gridCols;  // twips
  std::map<QString, int> borderSizes;  // "top", "insideH", ... → w:sz
  std::vector<DocxParagraph> cellParagraphs;  // every cell paragraph, for formats
  int rows() const { return int(text.size()); }
  int cols() const { return text.empty() ? 0 : int(text[0].size()); }
};

struct DocxBody {
  // Body items in order: kind 'p' (index into paragraphs) or 't' (index into tables).
  std::vector<std::pair<char, int>> order;
  std::vector<DocxParagraph> paragraphs;
  std::vector<DocxTable> tables;
  std::map<QString, long> page;  // "w", "h", "top", "left", "right", "bottom" (twips)
  bool endsWithParagraphThenSection = false;
  QStringList docPrIds;
  // Paragraph texts outside the tables.
  QStringList lines() const;
};

DocxBody ReadDocxBody(const std::string& documentXml);

}  // namespace velaron::test
