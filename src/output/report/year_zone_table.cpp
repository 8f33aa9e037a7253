#include "output/report/year_zone_table.h"

#include <vector>

#include "common/qt_text.h"
#include "output/report/report_blocks.h"
#include "output/report/report_numbers.h"
#include "output/report/report_texts.h"
#include "result/zone_texts.h"

namespace velaron::report {

namespace {

using models::ScenarioKind;

constexpr int kRows = 8, kFirstZoneRow = 3, kSafeRow = 7, kProbabilityRow = 8;

// A scenario column: its scenario kind and its probability within a year.
struct Column {
  ScenarioKind kind;
  double probability;
};

}  // namespace

void WriteYearZoneTable(Document& doc, YearTableForm form, const models::ZoneTables& zones,
                        const result::Probabilities& p) {
  const bool complex = form == YearTableForm::Complex;
  doc.Step(12, Align::Center, false);
  doc.Append(QStringLiteral("\r\n"));
  doc.AppendKept(U(complex ? texts::kYearComplexTableCaption : texts::kYearJetsTableCaption) + QStringLiteral("\r\n"));

  // The jet columns take the rupture's probability times the ignition's times the share of their kind; the
  // asymmetric jet has only the winter share.
  const double jet = p.PRupture * p.PIgnition;
  std::vector<Column> columns;
  if (complex)
    columns = {{ScenarioKind::Explosion, p.PRupture},
               {ScenarioKind::FireBall, p.PFireBall},
               {ScenarioKind::GasCloud, p.PGPVS}};
  columns.insert(columns.end(), {{ScenarioKind::PitWinter, jet * p.Pkw},
                                 {ScenarioKind::PitSummer, jet * p.Pks},
                                 {ScenarioKind::SymmetricWinter, jet * p.Psw},
                                 {ScenarioKind::SymmetricSummer, jet * p.Pss},
                                 {ScenarioKind::Asymmetric, jet * p.Paw}});
  const int cols = int(columns.size()) + 2;
  const int combined = cols;

  // The table's text is 10 pt, not bold, centred like its caption.
  doc.SelectLast();
  doc.SetBold(false);
  doc.SetSize(10);
  Table& t = doc.AddTable(kRows, cols);
  t.SetHeaderRows(2);
  t.Append(1, 1, U(texts::kScenarioKindHead));
  t.Append(2, 1, U(texts::kZoneHead));
  // Header: the single scenarios over both rows, each jet kind with a season split over its two columns.
  int c = 2;
  if (complex)
    for (const char* name : {texts::kExplosionHead, texts::kFireBallHead, texts::kCloudHead}) {
      t.MergeCells(1, c, 2, c);
      t.Append(1, c++, U(name));
    }
  for (const char* name : {texts::kPitHead, texts::kSymmetricHead}) {
    t.MergeCells(1, c, 1, c + 1);
    t.Append(1, c, U(name));
    t.Append(2, c, U(texts::kWinterCap));
    t.Append(2, c + 1, U(texts::kSummerCap));
    c += 2;
  }
  t.MergeCells(1, c, 2, c);
  t.Append(1, c, U(texts::kAsymmetricHead));
  t.MergeCells(1, combined, 2, combined);
  t.Append(1, combined, U(texts::kCombinedHead));
  for (int z = 0; z < 4; ++z) t.Append(kFirstZoneRow + z, 1, U(texts::kZoneLabels[size_t(z)]));
  t.Append(kSafeRow, 1, U(texts::kSafeZone));
  t.Append(kProbabilityRow, 1, U(texts::kYearProbability));

  for (size_t i = 0; i < columns.size(); ++i) {
    const int col = 2 + int(i);
    const models::ZoneRow& radii = zones.ZoneR(columns[i].kind);
    for (int z = 0; z < 4; ++z) t.Append(kFirstZoneRow + z, col, result::RadiusText(radii(z + 1)));
    t.Append(kSafeRow, col, result::SafeZoneText(radii(4)));
    t.Append(kProbabilityRow, col, Plain(columns[i].probability));
  }
  const models::ZoneRow& cur = zones.CurZones();
  for (int z = 0; z < 4; ++z) t.Append(kFirstZoneRow + z, combined, result::RadiusText(cur(z + 1)));
  t.Append(kSafeRow, combined, result::SafeZoneText(cur(4)));
  // The combined column has no probability of its own: its row-8 cell stays empty.

  // Both forms keep their 10 pt: a long number (a radius on the grid's diagonal, a probability with fifteen
  // digits, as every jet share of a third gives) wraps inside its cell instead of the text shrinking.
  t.FitToContent(doc.page.textWidth());
}

}  // namespace velaron::report
