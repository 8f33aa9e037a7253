#include "output/report/wind_block.h"

#include <array>

#include "output/report/report_numbers.h"

namespace velaron::report {

namespace {

constexpr const char* kWindCaption = "Таблица ___ Сезонные характеристики ветра в районе населенного пункта -";
constexpr const char* kDaysLabel = "Количество дней в году со среднесуточной температурой > 0   ";
constexpr const char* kRoseCaption = "Рис.  ___ Роза ветров в районе населенного пункта -";

// Row labels of the nine wind states, north first, clockwise, calm last (the blank before the hyphen is
// the documents' own).
constexpr std::array<const char*, 9> kStateNames = {
    "Северный", "Северо -восточный", "Восточный", "Юго -восточный", "Южный",
    "Юго -западный", "Западный", "Северо -западный", "Штиль"};

constexpr int kRows = 11, kCols = 5, kFirstStateRow = 3;

QString CityOf(const std::optional<db::WindRow>& town) { return town ? town->CityName : QString(); }

}  // namespace

void WriteWindBlock(Document& doc, const std::optional<db::WindRow>& town) {
  doc.Step(12, Align::Left, false);
  doc.Append(QString::fromUtf8(kEol) + QString::fromUtf8(kWindCaption) + CityOf(town) + QString::fromUtf8(kEol));

  doc.SelectLast();
  doc.SetBold(false);
  Table& t = doc.AddTable(kRows, kCols);
  // Direction column over both header rows; repetition over columns 2-3, speed over columns 4-5.
  t.MergeCells(1, 1, 2, 1);
  t.MergeCells(1, 2, 1, 3);
  t.MergeCells(1, 4, 1, 5);
  t.Append(1, 1, QStringLiteral("Направление ветра"));
  for (int k = 0; k < 9; ++k) t.Append(kFirstStateRow + k, 1, QString::fromUtf8(kStateNames[size_t(k)]));
  t.Append(1, 2, QStringLiteral("Процент повторяемости"));
  t.Append(1, 4, QStringLiteral("Средняя скорость ветра, м/с"));
  t.Append(2, 2, QStringLiteral("Зима"));
  t.Append(2, 3, QStringLiteral("Лето"));
  t.Append(2, 4, QStringLiteral("Зима"));
  t.Append(2, 5, QStringLiteral("Лето"));
  t.SetFillWeights({1.6, 1, 1, 1, 1});
  if (town) {
    const std::array<const std::array<double, 9>*, 4> columns = {&town->winter, &town->summer, &town->speedWinter,
                                                                 &town->speedSummer};
    for (int c = 0; c < 4; ++c)
      for (int k = 0; k < 9; ++k) t.Append(kFirstStateRow + k, 2 + c, Plain((*columns[size_t(c)])[size_t(k)]));
  }

  doc.Step(12, Align::Left, false);
  doc.Append(QString::fromUtf8(kDaysLabel) + (town ? Plain(town->Tmedium) : QString()) + QString::fromUtf8(kEol) +
             QString::fromUtf8(kEol));
}

void WriteWindRoseFigure(Document& doc, const std::optional<db::WindRow>& town, const QImage& rose) {
  doc.Step(12, Align::Center, false);
  doc.AppendPicture(rose);
  doc.Append(QString::fromUtf8(kEol) + QString::fromUtf8(kRoseCaption) + CityOf(town) + QString::fromUtf8(kEol));
}

}  // namespace velaron::report
