#include "output/workbook/result_workbook.h"

#include <stdexcept>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/pi.h"
#include "result/printed_texts.h"
#include "result/scenarios.h"

namespace velaron::output {

namespace {

// --- The workbook's own texts, byte for byte as the program has always written them.

// Sheets of every run.
constexpr const char* kInputSheet = "Исходные данные";
constexpr const char* kFluxSheet = "Значения теплового потока";
constexpr const char* kFluxPicture = "Диаграмма теплового потока";
constexpr const char* kPressureSheet = "Избыточное давление, кПа";
constexpr const char* kPressurePicture = "Диаграмма избыточного давления";
constexpr const char* kPercentSheet = "Вероятность поражения, проценты";
constexpr const char* kPercentPicture = "Диаграмма вероятности поражения";
constexpr const char* kImpulseSheet = "Импульс, кПа.с";
constexpr const char* kProbitSheet = "Значения пробит функции потока";
constexpr const char* kRiskSheet = "Значения риска";
constexpr const char* kRiskPicture = "Диаграмма риска";

// Sheets of each scenario of the complex assessment: its grid in the record, the value sheet and its
// picture sheet (none for the risk sheets).
struct ScenarioSheet {
  models::Grid models::ComplexGrids::*grid;
  const char* name;
  const char* picture;
};
using models::ComplexGrids;
constexpr ScenarioSheet kScenarioSheets[] = {
    {&ComplexGrids::ProcFireBall, "Процент поражения - Огневой шар", "Диаграмма вер пораж-Огневой шар"},
    {&ComplexGrids::ProcExplosion, "Процент поражения-Взрыв", "Диаграмма-Взрыв"},
    {&ComplexGrids::ProcGPVS, "Процент поражения-взрыв ГПВС", "Диаграмма-ГПВС"},
    {&ComplexGrids::ProcTorch, "Процент пораж-факельн горение", "Диаграмма-факельное горен"},
    {&ComplexGrids::RiskFireBall, "Риск - Огневой шар", nullptr},
    {&ComplexGrids::RiskTorch, "Риск-факельн горение", nullptr},
    {&ComplexGrids::RiskGPVS, "Риск-взрыв ГПВС", nullptr},
    {&ComplexGrids::RiskExplosion, "Риск Взрыв", nullptr},
};

// Sheets of each jet case of the year-round assessment (codes 1 and 7): the layer (ScenarioKind) of
// LayerFlux or LayerProc, the value sheet and its picture sheet. "ТП" is Cyrillic, "Pr" Latin; the
// pictures of the winter cases are joined with "-", the others with "_".
struct JetCaseSheet {
  bool percent;  // LayerProc; else LayerFlux
  models::ScenarioKind layer;
  const char* name;
  const char* picture;
};
constexpr JetCaseSheet kJetCaseSheets[] = {
    {false, models::ScenarioKind::PitSummer, "Котл_лето-ТП", "Диаграмма_Котл_лето-ТП"},
    {false, models::ScenarioKind::PitWinter, "Котл_зима-ТП", "Диаграмма-Котл_зима-ТП"},
    {false, models::ScenarioKind::SymmetricSummer, "Симметр_лето-ТП", "Диаграмма_Симметр_лето-ТП"},
    {false, models::ScenarioKind::SymmetricWinter, "Симметр_зима-ТП", "Диаграмма-Симметр_зима-ТП"},
    {false, models::ScenarioKind::Asymmetric, "Ассимм-ТП", "Диаграмма_Ассимм-ТП"},
    {true, models::ScenarioKind::PitSummer, "Котл_лето-Pr", "Диаграмма_Котл_лето-Pr"},
    {true, models::ScenarioKind::PitWinter, "Котл_зима-Pr", "Диаграмма-Котл_зима-Pr"},
    {true, models::ScenarioKind::SymmetricSummer, "Симметр_лето-Pr", "Диаграмма_Симметр_лето-Pr"},
    {true, models::ScenarioKind::SymmetricWinter, "Симметр_зима-Pr", "Диаграмма-Симметр_зима-Pr"},
    {true, models::ScenarioKind::Asymmetric, "Ассимм-Pr", "Диаграмма_Ассимм-Pr"},
};

// Lines of the input sheet. The two blanks after "ветра:" are the program's own.
constexpr const char* kDiameterLine = "Диаметр трубопровода: ";
constexpr const char* kDiameterUnit = " мм";
constexpr const char* kGasLine = "Газ: ";
constexpr const char* kTemperatureLine = "Температура газа, °С: ";  // "С" is Cyrillic
constexpr const char* kWindLine = "Скорость ветра:  ";
constexpr const char* kWindFromRose = "см. розу ветров";
constexpr const char* kFlameHeightLine = "Высота факела: ";
constexpr const char* kFlameWidthLine = "Максимальный диаметр: ";
constexpr const char* kFlameAngleLine = "Угол отклонения факела от вертикали: ";
constexpr const char* kCloudMassLine = "Масса облака ТВС, кг ";
constexpr const char* kCloudTimeLine = "Время истечения при образовании облака ГПВС, с ";
constexpr const char* kCloudShareLine = "Доля массы, участвующей в горении ГПВС ";

// The radius table of the assessments over a year: zone levels across, jet cases (ScenarioKind 1..5) down.
constexpr const char* kRadiusHeads[] = {"R1", "R2", "R3", "R4"};
constexpr const char* kRadiusCases[] = {"Котлованный-Зима", "Котлованный-Лето", "Симметричный-Зима",
                                        "Симметричный-Лето", "Ассимметричный"};

QString Round2Text(double v) { return NumberText(Round2(v)); }

const models::Grid* Layer(const models::LayeredGrid& layers, int k) {
  return k >= 1 && k <= layers.count() ? &layers.layer(k) : nullptr;
}

// The grid of a sheet; a record without it cannot have come from a finished run of its code.
const models::Grid& Need(const models::Grid* grid, const char* sheet) {
  if (!grid) throw std::logic_error(std::string("no grid for the sheet ") + sheet);
  return *grid;
}

class SheetList {
 public:
  SheetList(std::vector<WorkbookSheet>& sheets, bool view3D) : sheets_(sheets), view3D_(view3D) {}

  void values(const char* name, const models::Grid& grid, double divisor = 1) {
    WorkbookSheet s;
    s.kind = SheetKind::Values;
    s.name = U(name);
    s.grid = &grid;
    s.divisor = divisor;
    sheets_.push_back(s);
  }
  // The picture of the value sheet just added; `runPicture`: one of the run's three pictures.
  void picture(const char* name, PictureKind quantity, bool runPicture = false, bool topView = false) {
    WorkbookSheet s;
    s.kind = SheetKind::Picture;
    s.name = U(name);
    s.grid = sheets_.back().grid;
    s.quantity = quantity;
    s.titled = !runPicture;
    s.view3D = view3D_ && !topView;
    sheets_.push_back(s);
  }

 private:
  std::vector<WorkbookSheet>& sheets_;
  bool view3D_;
};

}  // namespace

InputSheet BuildInputSheet(const result::RunSnapshot& record) {
  InputSheet in;
  const result::RunRequest& r = record.request;
  const models::DerivedQuantities& d = record.derived;
  const result::PrintedTexts texts = result::PrintedTextsOf(record);
  const result::ScenarioFacts& facts = result::FactsOf(record.scenario());

  in.lines << U(kInputSheet) << U(kDiameterLine) + texts.diameterText + U(kDiameterUnit) << U(kGasLine) + texts.gasName
           << U(kTemperatureLine) + texts.TempText
           << U(kWindLine) + (facts.singleJet ? texts.WindSpeedText : U(kWindFromRose));
  auto flameLines = [&](double width) {
    in.lines << U(kFlameHeightLine) + Round2Text(d.LTorch) << U(kFlameWidthLine) + Round2Text(width)
             << U(kFlameAngleLine) + Round2Text((kPi / 2 - d.Tilt) * 180 / kPi);
  };
  switch (facts.workbookLines) {
    case result::InputSheetLines::SymmetricFlame:
      // The widest section: twice the cone's diameter the documents give the flame.
      flameLines(2 * facts.flameCone.diameter * d.LTorch);
      break;
    case result::InputSheetLines::AsymmetricFlame: flameLines(2 * d.W2); break;
    case result::InputSheetLines::Cloud:
      in.lines << U(kCloudMassLine) + Round2Text(d.MassGPVS) << U(kCloudTimeLine) + Round2Text(r.settings.Tobl)
               << U(kCloudShareLine) + Round2Text(r.settings.Dola_obl);
      break;
    case result::InputSheetLines::JetCaseRadii:
      in.radiusTable = true;
      for (const char* head : kRadiusHeads) in.radiusHeads << U(head);
      for (const char* name : kRadiusCases) in.radiusCases << U(name);
      // The jet cases are the scenario kinds 1 to 5.
      for (int k = 1; k <= models::kJetCases; ++k)
        in.radii[static_cast<size_t>(k - 1)] = record.zones.ZoneR(models::KindOf(k));
      break;
    case result::InputSheetLines::None: break;
  }
  return in;
}

ResultWorkbook BuildResultWorkbook(const result::RunSnapshot& record) {
  ResultWorkbook book;
  const result::ScenarioFacts& facts = result::FactsOf(record.scenario());
  const models::CalcSettings cs{record.request.settings.XLimit, record.request.settings.YLimit,
                                record.request.settings.CStep};
  book.nx = models::GridHalf(cs.XLimit, cs.CStep);
  book.ny = models::GridHalf(cs.YLimit, cs.CStep);
  book.input = BuildInputSheet(record);

  WorkbookSheet input;
  input.kind = SheetKind::Input;
  input.name = U(kInputSheet);
  book.sheets.push_back(input);

  SheetList sheets(book.sheets, record.request.options.Opt3D);
  // The damaging factor: overpressure in Pa shown in kPa, or the heat flux as it is.
  if (facts.overpressure) {
    sheets.values(kPressureSheet, record.GridValue, 1000);
    sheets.picture(kPressurePicture, PictureKind::Overpressure, true);
  } else {
    sheets.values(kFluxSheet, record.GridValue);
    sheets.picture(kFluxPicture, PictureKind::HeatFlux, true);
  }
  sheets.values(kPercentSheet, record.GridProc);
  sheets.picture(kPercentPicture, PictureKind::Probability, true);
  // The assessments over a year have neither impulse nor probit of their own.
  if (!facts.yearRound) {
    if (facts.overpressure) sheets.values(kImpulseSheet, record.GridImpuls);
    sheets.values(kProbitSheet, record.GridProbit);
  }
  sheets.values(kRiskSheet, record.GridRisk);
  sheets.picture(kRiskPicture, PictureKind::Risk, true, /*topView=*/true);

  // The assessment that joins single scenarios shows each one's risk and percent.
  if (!facts.parts.empty()) {
    for (const ScenarioSheet& s : kScenarioSheets) {
      sheets.values(s.name, record.complexGrids.*s.grid);
      if (s.picture) sheets.picture(s.picture, PictureKind::Probability);
    }
  }
  if (facts.yearRound) {
    for (const JetCaseSheet& s : kJetCaseSheets) {
      sheets.values(s.name,
                    Need(Layer(s.percent ? record.LayerProc : record.LayerFlux, models::LayerOf(s.layer)), s.name));
      sheets.picture(s.picture, s.percent ? PictureKind::Probability : PictureKind::HeatFlux);
    }
  }
  return book;
}

}  // namespace velaron::output
