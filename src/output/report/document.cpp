#include "document.h"

#include <QStringList>
#include <algorithm>
#include <numeric>

#include "output/pictures/run_pictures.h"
#include "output/report/text_width.h"

namespace velaron::report {

QString Paragraph::text() const {
  QString s;
  for (const auto& item : items)
    if (item.picture < 0) s += item.text;
  return s;
}

Table::Table(int rows, int cols, const Format& format)
    : rows_(std::max(rows, 1)), cols_(std::max(cols, 1)), format_(format), texts_(size_t(rows_) * cols_) {}

Merge Table::SpanOf(int r, int c) const {
  for (const auto& m : merges_)
    if (m.contains(r, c)) return m;
  return Merge{r, c, r, c};
}

void Table::MergeCells(int r1, int c1, int r2, int c2) {
  if (!inside(r1, c1) || !inside(r2, c2)) return;
  Merge m{std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)};
  // Grow over every earlier rectangle it touches, until no overlap is left.
  for (bool grown = true; grown;) {
    grown = false;
    for (auto it = merges_.begin(); it != merges_.end(); ++it) {
      const bool overlap = !(it->row2 < m.row1 || it->row1 > m.row2 || it->col2 < m.col1 || it->col1 > m.col2);
      if (!overlap) continue;
      m = Merge{std::min(m.row1, it->row1), std::min(m.col1, it->col1), std::max(m.row2, it->row2),
                std::max(m.col2, it->col2)};
      merges_.erase(it);
      grown = true;
      break;
    }
  }
  // The texts of the joined cells go to the top-left cell, as a word processor's merge keeps them.
  QString joined;
  for (int r = m.row1; r <= m.row2; ++r)
    for (int c = m.col1; c <= m.col2; ++c) {
      QString& t = texts_[size_t(r - 1) * cols_ + (c - 1)];
      if (!t.isEmpty()) joined += joined.isEmpty() ? t : QStringLiteral("\r\n") + t;
      t.clear();
    }
  texts_[size_t(m.row1 - 1) * cols_ + (m.col1 - 1)] = joined;
  merges_.push_back(m);
}

void Table::Append(int r, int c, const QString& text) {
  if (!inside(r, c)) return;
  const Merge m = SpanOf(r, c);
  texts_[size_t(m.row1 - 1) * cols_ + (m.col1 - 1)] += text;
}

QString Table::text(int r, int c) const {
  if (!inside(r, c)) return {};
  const Merge m = SpanOf(r, c);
  return texts_[size_t(m.row1 - 1) * cols_ + (m.col1 - 1)];
}

void Table::SetFixedWidths(std::vector<double> points) {
  fixed_ = std::move(points);
  weights_.clear();
}

void Table::SetFillWeights(std::vector<double> weights) {
  weights_ = std::move(weights);
  fixed_.clear();
}

std::vector<double> Table::ColumnWidths(double textWidth) const {
  std::vector<double> w(size_t(cols_), textWidth / cols_);
  if (!fixed_.empty()) {
    // Columns that were given no width take the last one given.
    for (int c = 0; c < cols_; ++c) w[size_t(c)] = fixed_[std::min(size_t(c), fixed_.size() - 1)];
    return w;
  }
  if (!weights_.empty()) {
    std::vector<double> k(size_t(cols_), 1.0);
    for (int c = 0; c < cols_; ++c) k[size_t(c)] = std::max(0.0, weights_[std::min(size_t(c), weights_.size() - 1)]);
    const double sum = std::accumulate(k.begin(), k.end(), 0.0);
    if (sum > 0)
      for (int c = 0; c < cols_; ++c) w[size_t(c)] = textWidth * k[size_t(c)] / sum;
  }
  return w;
}

namespace {

// A number of the tables: digits with a decimal comma, an exponent or a sign, maybe after ">" (the safe
// zone). A word processor may break it between any two characters; a word of text it must not break.
bool IsNumber(const QString& word) {
  bool digit = false;
  for (QChar ch : word) {
    if (ch.isDigit()) digit = true;
    else if (!QStringLiteral(",.E+->").contains(ch)) return false;
  }
  return digit;
}

double WidestCharacter(const QString& word, double size) {
  double w = 0;
  for (qsizetype i = 0; i < word.size(); ++i) w = std::max(w, TextWidthPt(QStringView(word).mid(i, 1), size));
  return w;
}

double Sum(const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); }

}  // namespace

std::vector<Table::ColumnNeed> Table::Needs(double size, double margin) const {
  // Half a point to spare for the word processor's rounding.
  const double padding = 2 * margin + 0.5;
  const auto needOf = [&](const QString& text) {
    ColumnNeed n;
    for (const QString& line :
         QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'))) {
      n.most = std::max(n.most, TextWidthPt(line, size));
      for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const double whole = TextWidthPt(word, size);
        n.whole = std::max(n.whole, whole);
        n.least = std::max(n.least, IsNumber(word) ? WidestCharacter(word, size) : whole);
      }
    }
    return ColumnNeed{n.least + padding, n.whole + padding, n.most + padding};
  };
  std::vector<ColumnNeed> need(size_t(cols_), ColumnNeed{padding, padding, padding});
  // Cells of one column first; then each cell spanning columns widens them evenly where the columns it
  // spans are too narrow together.
  for (int pass = 0; pass < 2; ++pass)
    for (int r = 1; r <= rows_; ++r)
      for (int c = 1; c <= cols_; ++c) {
        const Merge m = SpanOf(r, c);
        const size_t first = size_t(m.col1 - 1), span = size_t(m.col2 - m.col1 + 1);
        if (m.row1 != r || m.col1 != c || (span == 1) != (pass == 0)) continue;
        const ColumnNeed cell = needOf(text(r, c));
        ColumnNeed spanned;
        for (size_t k = first; k < first + span; ++k) {
          spanned.least += need[k].least;
          spanned.whole += need[k].whole;
          spanned.most += need[k].most;
        }
        for (size_t k = first; k < first + span; ++k) {
          if (cell.least > spanned.least) need[k].least += (cell.least - spanned.least) / double(span);
          if (cell.whole > spanned.whole) need[k].whole += (cell.whole - spanned.whole) / double(span);
          if (cell.most > spanned.most) need[k].most += (cell.most - spanned.most) / double(span);
          need[k].most = std::max(need[k].most, need[k].whole);
        }
      }
  return need;
}

std::vector<double> Table::WholeWordWidths(const std::vector<ColumnNeed>& need, double textWidth) {
  // Every column gets its longest word; what is left goes to the columns whose lines still wrap, in
  // proportion to what each lacks, and beyond that to all columns by their longest line.
  const size_t n = need.size();
  std::vector<double> w(n);
  double least = 0, lack = 0, most = 0;
  for (size_t k = 0; k < n; ++k) {
    w[k] = need[k].whole;
    least += need[k].whole;
    lack += need[k].most - need[k].whole;
    most += need[k].most;
  }
  const double spare = textWidth - least;
  for (size_t k = 0; k < n; ++k) {
    if (spare <= 0)  // nothing fits even at the smallest size: shared by the least widths
      w[k] = textWidth * need[k].whole / least;
    else if (spare < lack) w[k] += spare * (need[k].most - need[k].whole) / lack;
    else w[k] = need[k].most + (spare - lack) * need[k].most / most;
  }
  return w;
}

namespace {

// Widths when the longest numbers cannot all stand whole: every column gets its longest word of text,
// and the columns of long numbers are raised together to one width, as far as the text width allows. A
// column whose numbers fit below that width keeps them whole; the longer ones wrap over as few lines as
// the shared width gives, instead of a few columns keeping theirs whole at the cost of one or two
// columns broken into many lines.
std::vector<double> NumberWrappingWidths(const std::vector<double>& least, const std::vector<double>& whole,
                                         double textWidth) {
  const size_t n = least.size();
  const double leastSum = Sum(least);
  std::vector<double> w(n);
  if (leastSum >= textWidth) {  // not even the words of text fit: shared by what they need
    for (size_t k = 0; k < n; ++k) w[k] = textWidth * least[k] / leastSum;
    return w;
  }
  const auto widthsAt = [&](double level) {
    for (size_t k = 0; k < n; ++k) w[k] = std::max(least[k], std::min(level, whole[k]));
    return Sum(w);
  };
  // The total grows with the level, from the least widths (below the text width) to at least every
  // whole word (above it): halve the interval down to the level that fills the text width.
  double lo = 0, hi = *std::max_element(whole.begin(), whole.end());
  for (int i = 0; i < 200 && hi - lo > 1e-9; ++i) {
    const double mid = (lo + hi) / 2;
    (widthsAt(mid) > textWidth ? hi : lo) = mid;
  }
  widthsAt(lo);
  // What the halving leaves goes to the columns held at the level.
  std::vector<size_t> held;
  for (size_t k = 0; k < n; ++k)
    if (w[k] > least[k] && w[k] < whole[k]) held.push_back(k);
  if (held.empty()) held.push_back(n - 1);
  const double rest = (textWidth - Sum(w)) / double(held.size());
  for (size_t k : held) w[k] += rest;
  return w;
}

}  // namespace

void Table::FitToContent(double textWidth) {
  const auto wholeSum = [](const std::vector<ColumnNeed>& need) {
    double sum = 0;
    for (const ColumnNeed& c : need) sum += c.whole;
    return sum;
  };
  // At the table's own size with the usual blanks if the longest words fit so; else with narrow blanks. The
  // size stays what the table was given.
  std::vector<ColumnNeed> need = Needs(format_.size, kCellMarginPt);
  if (wholeSum(need) > textWidth) {
    cellMargin_ = kNarrowCellMarginPt;
    need = Needs(format_.size, cellMargin_);
  }
  if (wholeSum(need) <= textWidth) {
    SetFixedWidths(WholeWordWidths(need, textWidth));
    return;
  }
  std::vector<double> least, whole;
  for (const ColumnNeed& c : need) {
    least.push_back(c.least);
    whole.push_back(c.whole);
  }
  SetFixedWidths(NumberWrappingWidths(least, whole, textWidth));
}

Document::Document() { blocks_.emplace_back(Paragraph{}); }

Paragraph& Document::last() { return std::get<Paragraph>(blocks_.back()); }

void Document::EndParagraph() {
  // A line ending with a colon introduces the lines after it ("Грунт:", "Котлованный факел:"): every
  // report line is a paragraph of its own, so it is kept on one page with the next one.
  if (last().text().trimmed().endsWith(QLatin1Char(':'))) last().keepWithNext = true;
  Paragraph next;
  next.format = last().format;
  blocks_.emplace_back(std::move(next));
}

void Document::Step(double size, std::optional<Align> align, std::optional<bool> bold) {
  rangeStart_ = blocks_.size() - 1;
  Paragraph& p = last();
  p.format.size = size;
  if (align) p.format.align = *align;
  if (bold) p.format.bold = *bold;
}

template <typename F>
static void ForRange(std::deque<Block>& blocks, size_t from, F&& f) {
  for (size_t i = std::min(from, blocks.size() - 1); i < blocks.size(); ++i)
    if (auto* p = std::get_if<Paragraph>(&blocks[i])) f(p->format);
}

void Document::SetBold(bool bold) {
  ForRange(blocks_, rangeStart_, [&](Format& f) { f.bold = bold; });
}
void Document::SetSize(double size) {
  ForRange(blocks_, rangeStart_, [&](Format& f) { f.size = size; });
}
void Document::SetAlign(Align align) {
  ForRange(blocks_, rangeStart_, [&](Format& f) { f.align = align; });
}

void Document::Append(const QString& text) {
  qsizetype from = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n')) continue;
    if (i > from) last().items.push_back({text.mid(from, i - from), -1});
    EndParagraph();
    if (ch == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
    from = i + 1;
  }
  if (from < text.size()) {
    Paragraph& p = last();
    // Consecutive text joins the item before it, so a paragraph is one run of text.
    if (!p.items.empty() && p.items.back().picture < 0) p.items.back().text += text.mid(from);
    else p.items.push_back({text.mid(from), -1});
  }
}

void Document::AppendKept(const QString& text) {
  const size_t from = blocks_.size() - 1;
  Append(text);
  // Every paragraph that the text ended; the open paragraph after them is the next block's.
  for (size_t i = from; i + 1 < blocks_.size(); ++i)
    if (auto* p = std::get_if<Paragraph>(&blocks_[i])) p->keepWithNext = true;
}

bool Document::AppendPicture(const QImage& image) {
  if (image.isNull()) return false;
  Picture pic;
  pic.widthPx = image.width();
  pic.heightPx = image.height();
  pic.png = output::PngBytes(image);
  if (pic.png.isEmpty()) return false;
  pictures_.push_back(std::move(pic));
  last().items.push_back({QString(), int(pictures_.size()) - 1});
  last().keepWithNext = true;  // with its caption
  return true;
}

Table& Document::AddTable(int rows, int cols) {
  if (!last().empty()) EndParagraph();
  const Format format = last().format;
  blocks_.back() = Table(rows, cols, format);
  Paragraph after;
  after.format = format;
  blocks_.emplace_back(std::move(after));
  rangeStart_ = blocks_.size() - 1;
  return std::get<Table>(blocks_[blocks_.size() - 2]);
}

std::vector<const Paragraph*> Document::paragraphs() const {
  std::vector<const Paragraph*> out;
  for (const auto& b : blocks_)
    if (const auto* p = std::get_if<Paragraph>(&b)) out.push_back(p);
  return out;
}

std::vector<const Table*> Document::tables() const {
  std::vector<const Table*> out;
  for (const auto& b : blocks_)
    if (const auto* t = std::get_if<Table>(&b)) out.push_back(t);
  return out;
}

QString Document::plainText() const {
  QStringList lines;
  for (const auto* p : paragraphs()) lines << p->text();
  return lines.join(QStringLiteral("\r\n"));
}

}  // namespace velaron::report
