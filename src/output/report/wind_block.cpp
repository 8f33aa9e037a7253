#include "output/report/wind_block.h"

#include <array>

#include "common/qt_text.h"
#include "output/report/report_numbers.h"
#include "output/report/report_texts.h"

namespace velaron::report {

namespace {

constexpr int kRows = 11, kCols = 5, kFirstStateRow = 3;
const QString kCrLf = QStringLiteral("\r\n");

QString CityOf(const std::optional<db::WindRow>& town) { return town ? town->CityName : QString(); }

}  // namespace

void WriteWindBlock(Document& doc, const std::optional<db::WindRow>& town) {
  doc.Step(12, Align::Left, false);
  doc.Append(kCrLf);
  doc.AppendKept(U(texts::kWindCaption) + CityOf(town) + kCrLf);

  // The table takes the caption's paragraph (12 pt, left, not bold); no size of its own.
  doc.SelectLast();
  doc.SetBold(false);
  Table& t = doc.AddTable(kRows, kCols);
  t.SetHeaderRows(2);
  t.SetKeepWithNext(true);  // with the days line under it
  // Direction column over both header rows; repetition over columns 2-3, speed over columns 4-5.
  t.MergeCells(1, 1, 2, 1);
  t.MergeCells(1, 2, 1, 3);
  t.MergeCells(1, 4, 1, 5);
  t.Append(1, 1, U(texts::kWindDirectionHead));
  for (int k = 0; k < 9; ++k) t.Append(kFirstStateRow + k, 1, U(texts::kWindStates[size_t(k)]));
  t.Append(1, 2, U(texts::kWindRepetitionHead));
  t.Append(1, 4, U(texts::kWindSpeedHead));
  for (int c = 2; c <= 5; c += 2) {
    t.Append(2, c, U(texts::kWinterCap));
    t.Append(2, c + 1, U(texts::kSummerCap));
  }
  t.SetFillWeights({1.6, 1, 1, 1, 1});
  if (town) {
    // Columns: winter and summer repetition, %; winter and summer mean speed, m/s; the values as stored.
    const std::array<const std::array<double, 9>*, 4> columns = {&town->winter, &town->summer, &town->speedWinter,
                                                                 &town->speedSummer};
    for (int c = 0; c < 4; ++c)
      for (int k = 0; k < 9; ++k) t.Append(kFirstStateRow + k, 2 + c, Plain((*columns[size_t(c)])[size_t(k)]));
  }

  doc.Step(12, Align::Left, false);
  doc.Append(U(texts::kDaysAboveZero) + (town ? Plain(town->Tmedium) : QString()) + kCrLf + kCrLf);
}

void WriteWindRoseFigure(Document& doc, const std::optional<db::WindRow>& town, const QImage& rose) {
  doc.Step(12, Align::Center, false);
  doc.AppendPicture(rose);  // a rose that failed leaves the caption alone
  doc.Append(kCrLf + U(texts::kFigWindRose) + CityOf(town) + kCrLf);
}

}  // namespace velaron::report
