#include "output/workbook/wind_rose.h"

#include <QDir>

#include "common/texts.h"
#include "output/pictures/wind_rose_picture.h"
#include "output/workbook/xlsx_book.h"

namespace velaron::output {

namespace {

// Sheet layout (rows and columns from 0): row 0 the town, row 1 the directions, rows 2 and 3 winter and
// summer; column 0 the row captions, columns 1..8 the directions, column 9 calm.
constexpr int kTownRow = 0, kHeadRow = 1, kWinterRow = 2, kSummerRow = 3;
constexpr int kFirstDirCol = 1, kLastDirCol = 8, kCalmCol = 9;
constexpr double kCaptionSize = 10;
// The chart stands beside the table, a column apart, at libxlsxwriter's own chart size. A spreadsheet
// that places it by cell corners counted in its own default column width stretches it, so it lies
// inside one column whose width the sheet sets to the chart's and a character more (in the standard
// character of 7 pixels with 5 pixels of padding): its right edge is then an offset from the column's
// left edge in the file's own length unit, and a spreadsheet with a wider character only widens the
// blank beside it. The rows it spans are set to 18 points (24 pixels, a whole number, as the anchor is
// counted in pixels), so its lower edge does not hang on a default row height either.
constexpr int kChartRow = 0, kChartCol = kCalmCol + 2;
constexpr int kChartWidthPx = 480, kChartHeightPx = 288;
constexpr double kChartColumnWidth = (kChartWidthPx - 5) / 7.0 + 1;
constexpr double kChartRowHeightPt = 18, kChartRowHeightPx = kChartRowHeightPt * 4 / 3;
constexpr int kChartRows = int(kChartHeightPx / kChartRowHeightPx) + 1;  // with the row of its lower edge

void FillSheet(XlsxBook& book, lxw_worksheet* sheet, const db::WindRow& town) {
  lxw_format* bold = book.FontFormat(true, kCaptionSize);
  book.WriteString(sheet, kTownRow, 0, QStringLiteral("Регион:"), bold);
  book.WriteString(sheet, kTownRow, 1, town.CityName, bold);
  book.WriteString(sheet, kHeadRow, 0, QStringLiteral("Ветер"), bold);
  const QStringList letters = RoseDirectionLetters();  // as the rose picture labels them
  for (int i = 0; i < 8; ++i) book.WriteString(sheet, kHeadRow, kFirstDirCol + i, letters[i], bold);
  book.WriteString(sheet, kHeadRow, kCalmCol, QString::fromUtf8(texts::kCalm), bold);
  book.WriteString(sheet, kWinterRow, 0, QString::fromUtf8(texts::kSeasonNames[0]), bold);
  book.WriteString(sheet, kSummerRow, 0, QString::fromUtf8(texts::kSeasonNames[1]), bold);
  for (int i = 0; i < 9; ++i) {
    book.WriteNumber(sheet, kWinterRow, kFirstDirCol + i, town.winter[static_cast<size_t>(i)]);
    book.WriteNumber(sheet, kSummerRow, kFirstDirCol + i, town.summer[static_cast<size_t>(i)]);
  }
}

void AddRoseChart(XlsxBook& book, lxw_worksheet* sheet) {
  lxw_chart* chart = book.AddChart(LXW_CHART_RADAR_WITH_MARKERS);
  if (!chart) return;
  const QByteArray sheetName = QByteArray(kWindRoseSheet);
  // Categories are the direction letters; the calm column is not plotted.
  const struct {
    int row;
    const char* name;
  } seasons[] = {{kWinterRow, texts::kSeasonNames[0]}, {kSummerRow, texts::kSeasonNames[1]}};
  for (const auto& season : seasons) {
    lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
    if (!series) {
      book.Fail(QStringLiteral("ряд диаграммы не создан"));
      return;
    }
    chart_series_set_categories(series, sheetName.constData(), kHeadRow, kFirstDirCol, kHeadRow, kLastDirCol);
    chart_series_set_values(series, sheetName.constData(), season.row, kFirstDirCol, season.row, kLastDirCol);
    chart_series_set_name(series, season.name);
  }
  lxw_chart_fill white{};
  white.color = LXW_COLOR_WHITE;
  chart_plotarea_set_fill(chart, &white);
  book.Check(worksheet_set_column(sheet, kChartCol, kChartCol, kChartColumnWidth, nullptr), "ширина столбца");
  // Printed, the table and the chart beside it share one page across.
  worksheet_set_landscape(sheet);
  worksheet_fit_to_pages(sheet, 1, 1);
  for (int row = kChartRow; row < kChartRow + kChartRows; ++row)
    book.Check(worksheet_set_row(sheet, static_cast<lxw_row_t>(row), kChartRowHeightPt, nullptr), "высота строки");
  book.InsertChart(sheet, kChartRow, kChartCol, chart);
}

}  // namespace

WindRoseResult SaveWindRose(const db::WindRow& town, const QString& folder, const QString& fileName) {
  WindRoseResult result;
  if (folder.isEmpty() || fileName.isEmpty()) {
    result.error = QStringLiteral("не задан файл розы ветров");
    return result;
  }
  XlsxBook book(QDir(folder).filePath(fileName));
  lxw_worksheet* sheet = book.AddSheet(QString::fromUtf8(kWindRoseSheet));
  if (sheet) {
    FillSheet(book, sheet, town);
    AddRoseChart(book, sheet);
  }
  result.ok = book.Commit();
  if (result.ok) result.path = book.targetPath();
  else result.error = QDir::toNativeSeparators(book.targetPath()) + QStringLiteral(": ") + book.error();
  return result;
}

QString WindRoseResult::message() const {
  const QString failed = QString::fromUtf8(texts::kWriteFailed);
  return error.isEmpty() ? failed : failed + QLatin1Char('\n') + error;
}

}  // namespace velaron::output
