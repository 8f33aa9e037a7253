// The report document in memory: paragraphs, tables and pictures appended from top to bottom, the way the
// report writers build them. A paragraph takes the size, bold and alignment of the one before it unless a
// step sets them; text is only ever appended, and CR LF ends a paragraph, so that the document always ends
// with an empty paragraph where the next block goes. A table is put at that last paragraph and takes its
// formatting. No widget and no file here: docx_writer.h turns the model into a file.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <algorithm>
#include <deque>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace velaron::report {

// A line end of the report texts: the paragraph ends there.
inline constexpr const char* kEol = "\r\n";

enum class Align { Left = 0, Center = 1 };

struct Format {
  double size = 12;  // points
  bool bold = false;
  Align align = Align::Left;
  bool operator==(const Format&) const = default;
};

// An inline PNG picture; its size on the page is fitted to the text width by the writer.
struct Picture {
  QByteArray png;
  int widthPx = 0, heightPx = 0;
};

struct Paragraph {
  Format format;
  // Kept on one page with the paragraph that follows (a heading, a table title, a picture with its
  // caption, a line ending with a colon that introduces the lines after it). Not carried over to the next
  // paragraph.
  bool keepWithNext = false;
  // Items in order: text, or a picture (index into Document::pictures()).
  struct Item {
    QString text;
    int picture = -1;
  };
  std::vector<Item> items;

  QString text() const;  // the text items joined
  bool empty() const { return items.empty(); }
};

// A rectangle of merged cells, 1-based and inclusive; its text lives in the top-left cell.
struct Merge {
  int row1 = 1, col1 = 1, row2 = 1, col2 = 1;
  bool contains(int r, int c) const { return r >= row1 && r <= row2 && c >= col1 && c <= col2; }
};

// Blank inside a table cell on its left and on its right, points; the narrow one lets a table sized to
// its content keep a larger type.
inline constexpr double kCellMarginPt = 2.85;
inline constexpr double kNarrowCellMarginPt = 1.4;

class Table {
 public:
  Table(int rows, int cols, const Format& format);

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  // The formatting of every cell: that of the paragraph where the table was put.
  const Format& format() const { return format_; }

  // Joins the rectangle spanned by cells (r1, c1) and (r2, c2) into one cell addressed by (r1, c1).
  // A rectangle that overlaps an earlier one joins with it. Cells outside the table are ignored.
  void MergeCells(int r1, int c1, int r2, int c2);
  // Appends text to cell (r, c); a cell inside a merged rectangle writes into the rectangle's cell.
  void Append(int r, int c, const QString& text);
  QString text(int r, int c) const;
  // The merged rectangle that holds (r, c), or the cell alone.
  Merge SpanOf(int r, int c) const;
  const std::vector<Merge>& merges() const { return merges_; }

  // Column widths: fixed in points, or weights that share the whole text width. Without either the
  // columns share the text width equally.
  void SetFixedWidths(std::vector<double> points);
  void SetFillWeights(std::vector<double> weights);
  std::vector<double> ColumnWidths(double textWidth) const;

  // Widths from what the cells hold, filling `textWidth`: every column at least as wide as its longest
  // word (a number is one word, so it does not break inside its digits; a header breaks only between
  // words) and the rest shared by how much each column's longest line still needs. When the longest
  // words do not fit at the table's size, the cell blanks narrow, the size stays, and the columns of the
  // long numbers share what the words of text leave, a number then wrapping over the lines of its cell.
  // Call it once the cells are filled.
  void FitToContent(double textWidth);

  // The first rows, repeated at the top of every page the table runs onto.
  void SetHeaderRows(int rows) { headerRows_ = std::clamp(rows, 0, rows_); }
  int headerRows() const { return headerRows_; }
  // The last row stays on one page with the paragraph after the table (a note on the table).
  void SetKeepWithNext(bool keep) { keepWithNext_ = keep; }
  bool keepWithNext() const { return keepWithNext_; }
  // The blank inside each cell on its left and right, points.
  double cellMargin() const { return cellMargin_; }

 private:
  bool inside(int r, int c) const { return r >= 1 && r <= rows_ && c >= 1 && c <= cols_; }
  // What a column needs at one size, with the cell's blanks: the narrowest it may be when its numbers
  // may wrap (its longest word of text, and room for any one character of a number), its longest word
  // whole, numbers included, and its longest line (the width at which nothing wraps).
  struct ColumnNeed {
    double least = 0, whole = 0, most = 0;
  };
  std::vector<ColumnNeed> Needs(double size, double margin) const;
  // Widths of the columns when every longest word fits whole: each column its longest word and the
  // rest shared by the lines that still wrap.
  static std::vector<double> WholeWordWidths(const std::vector<ColumnNeed>& need, double textWidth);
  int rows_, cols_;
  Format format_;
  int headerRows_ = 1;
  bool keepWithNext_ = false;
  double cellMargin_ = kCellMarginPt;
  std::vector<QString> texts_;  // rows × cols, row major
  std::vector<Merge> merges_;
  std::vector<double> fixed_, weights_;
};

using Block = std::variant<Paragraph, Table>;

// Page set-up: A4 portrait, margins in points.
struct PageSetup {
  double widthPt = 595.3, heightPt = 841.9;
  double left = 28.4, right = 28.4, top = 42.6, bottom = 42.6;
  double textWidth() const { return widthPt - left - right; }
  double textHeight() const { return heightPt - top - bottom; }
};

class Document {
 public:
  Document();

  PageSetup page;

  // The paragraph step: the current range becomes the last paragraph; it gets the size, and the
  // alignment and bold where given (what is not given carries over from the paragraph before).
  void Step(double size, std::optional<Align> align = std::nullopt, std::optional<bool> bold = std::nullopt);
  // The current range becomes the last paragraph, with its formatting unchanged (the table step).
  void SelectLast() { rangeStart_ = blocks_.size() - 1; }
  // Formatting of the whole current range (every paragraph appended since the last step).
  void SetBold(bool bold);
  void SetSize(double size);
  void SetAlign(Align align);

  // Appends text at the end; each CR LF (or a lone CR or LF) ends the paragraph and opens a new one
  // with the same formatting.
  void Append(const QString& text);
  void Append(const char* utf8) { Append(QString::fromUtf8(utf8)); }
  // Appends text whose paragraphs stay on one page with what follows them: headings and table titles.
  void AppendKept(const QString& text);
  // Appends a picture to the last paragraph, which then stays on one page with the next one (the
  // picture's caption). A null image adds nothing and returns false.
  bool AppendPicture(const QImage& image);
  // Adds a table at the last paragraph (ending it first if it holds anything): the table takes that
  // paragraph's formatting, and the paragraph stays after the table. Returns the new table.
  Table& AddTable(int rows, int cols);

  const std::deque<Block>& blocks() const { return blocks_; }
  const std::vector<Picture>& pictures() const { return pictures_; }
  // Every paragraph outside the tables, in order.
  std::vector<const Paragraph*> paragraphs() const;
  std::vector<const Table*> tables() const;
  // The paragraph texts joined with CR LF (outside the tables), for checks and searches.
  QString plainText() const;

 private:
  Paragraph& last();
  void EndParagraph();
  std::deque<Block> blocks_;  // a deque keeps the tables handed out in place
  std::vector<Picture> pictures_;
  size_t rangeStart_ = 0;  // block index of the first paragraph of the current range
};

}  // namespace velaron::report
