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
// The chart sits under the table.
constexpr int kChartRow = 5, kChartCol = 0;

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
