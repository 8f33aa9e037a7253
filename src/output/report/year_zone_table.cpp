#include "output/report/year_zone_table.h"

#include <vector>

#include "output/report/report_numbers.h"

namespace velaron::report {

namespace {

using result::ScenarioKind;

constexpr const char* kJetsCaption =
    "Таблица __ Расчетный размер опасных зон поражения человека от комплексного термического воздействия "
    "факельного горения при условной вероятности возникновения в течение года";
constexpr const char* kComplexCaption =
    "Таблица __ Расчетные параметры опасных зон поражения человека от комплексного термического и барического "
    "действия при условной вероятности возникновения аварийных сценариев в течение года";

constexpr std::array<const char*, 6> kRowLabels = {
    "Зона безусловного поражения, Рпор>99%",          "Зона возможно сильных поражений, 50%<Рпор<=99%",
    "Зона возможно средних поражений, 33%<Рпор<=50%", "Зона возможно слабых поражений, 1%<Рпор<=33%",
    "Зона безопасности, Рпор<=1%",                    "Вероятность возникновения в течение года"};

constexpr int kRows = 8, kFirstZoneRow = 3, kSafeRow = 7, kProbabilityRow = 8;
constexpr double kNotFound = -1;

// A scenario column: its scenario kind and its probability within a year.
struct Column {
  ScenarioKind kind;
  double probability;
};

QString Radius(double r) { return r == kNotFound ? QStringLiteral("уточнить") : Plain(r); }
QString SafeZone(double r4) { return r4 == kNotFound ? QStringLiteral("уточнить") : QStringLiteral(">") + Plain(r4); }

QString U(const char* s) { return QString::fromUtf8(s); }

}  // namespace

void WriteYearZoneTable(Document& doc, YearTableForm form, const std::array<result::ZoneRow, 9>& ZoneR,
                        const result::ZoneRow& CurZones, const result::Probabilities& p) {
  const bool complex = form == YearTableForm::Complex;
  doc.Step(12, Align::Center, false);
  doc.Append(U(kEol) + U(complex ? kComplexCaption : kJetsCaption) + U(kEol));

  // The jet columns take the rupture's probability times the ignition's times the share of their kind; the
  // asymmetric jet has only the winter share.
  const double jet = p.PRupture * p.PIgnition;
  std::vector<Column> columns;
  if (complex)
    columns = {{ScenarioKind::Explosion, p.PRupture}, {ScenarioKind::FireBall, p.PFireBall},
               {ScenarioKind::GasCloud, p.PGPVS}};
  columns.insert(columns.end(), {{ScenarioKind::PitWinter, jet * p.Pkw},
                                 {ScenarioKind::PitSummer, jet * p.Pks},
                                 {ScenarioKind::SymmetricWinter, jet * p.Psw},
                                 {ScenarioKind::SymmetricSummer, jet * p.Pss},
                                 {ScenarioKind::Asymmetric, jet * p.Paw}});
  const int cols = int(columns.size()) + 2;
  const int combined = cols;

  doc.SelectLast();
  doc.SetBold(false);
  doc.SetSize(10);
  Table& t = doc.AddTable(kRows, cols);
  t.Append(1, 1, QStringLiteral("Вид аварийного сценария"));
  t.Append(2, 1, QStringLiteral("Характеристика опасных зон"));
  // Header: the single scenarios over both rows, each jet kind with a season split over its two columns.
  int c = 2;
  if (complex) {
    for (const char* name : {"Физический взрыв", "Огневой шар", "Горение ГПВС"}) {
      t.MergeCells(1, c, 2, c);
      t.Append(1, c++, U(name));
    }
  }
  for (const char* name : {"Котлованный факел", "Симметричный факел"}) {
    t.MergeCells(1, c, 1, c + 1);
    t.Append(1, c, U(name));
    t.Append(2, c, QStringLiteral("Зима"));
    t.Append(2, c + 1, QStringLiteral("Лето"));
    c += 2;
  }
  t.MergeCells(1, c, 2, c);
  t.Append(1, c, QStringLiteral("Ассиметричный факел"));
  t.MergeCells(1, combined, 2, combined);
  t.Append(1, combined, QStringLiteral("Комплексная оценка опасных зон"));
  for (int r = kFirstZoneRow; r <= kProbabilityRow; ++r) t.Append(r, 1, U(kRowLabels[size_t(r - kFirstZoneRow)]));

  for (size_t i = 0; i < columns.size(); ++i) {
    const int col = 2 + int(i);
    const result::ZoneRow& radii = ZoneR[size_t(static_cast<int>(columns[i].kind) - 1)];
    for (int z = 0; z < 4; ++z) t.Append(kFirstZoneRow + z, col, Radius(radii[size_t(z)]));
    t.Append(kSafeRow, col, SafeZone(radii[3]));
    t.Append(kProbabilityRow, col, Plain(columns[i].probability));
  }
  for (int z = 0; z < 4; ++z) t.Append(kFirstZoneRow + z, combined, Radius(CurZones[size_t(z)]));
  t.Append(kSafeRow, combined, SafeZone(CurZones[3]));
  // The combined column has no probability of its own: its row-8 cell stays empty.

  std::vector<double> weights(size_t(cols), 1.0);
  weights[0] = complex ? 2.6 : 2.2;
  t.SetFillWeights(weights);
}

}  // namespace velaron::report
