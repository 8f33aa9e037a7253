// The result workbook of a finished run: an input sheet, one sheet of numbers per result grid laid out
// like the map, a picture sheet after the damaging factor, the probability and the risk, and for the
// complex (code 1) and year-round (code 7) assessments the sheets of each scenario and jet case.
// The model is built from the run's record alone; the writer turns it into an .xlsx file.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "models/calc_state.h"
#include "output/pictures/result_pictures.h"
#include "result/run_snapshot.h"

namespace velaron::output {

// What a picture sheet shows, for the bands and the legend of its picture.
enum class SheetKind {
  Input,    // "Исходные данные"
  Values,   // a grid, one cell per grid point
  Picture,  // the picture of the value sheet written just before it
};

struct WorkbookSheet {
  SheetKind kind = SheetKind::Values;
  QString name;
  // Values: the grid written; Picture: the grid drawn. Points into the record the model was built from.
  const models::Grid* grid = nullptr;
  double divisor = 1;  // Values: every cell is grid / divisor (Pa shown as kPa: 1000)
  // Picture: titled with the sheet's name, except the run's own three pictures, which are drawn as the
  // report shows them.
  bool titled = true;
  PictureKind quantity = PictureKind::HeatFlux;
  bool view3D = false;
};

// The input sheet: column A from row 1 (row 1 bold, 12 pt); for codes 1 and 7 the radius table of the
// five jet cases in rows 10 to 15 (headings "R1".."R4" in row 10, case names in column A).
struct InputSheet {
  QStringList lines;
  bool radiusTable = false;
  QStringList radiusHeads;                                 // row 10 from column B: the zone levels
  QStringList radiusCases;                                 // column A from row 11: the five jet cases
  std::array<models::ZoneRow, models::kJetCases> radii{};  // jet cases 1..5, radii unrounded (−1: not found)
};

struct ResultWorkbook {
  InputSheet input;
  // Every sheet in the order the workbook is made, the input sheet first. Each new sheet goes in front
  // of the ones before it, so the tabs show this list reversed and the last sheet made is the active one.
  std::vector<WorkbookSheet> sheets;
  int nx = 0, ny = 0;  // the grid runs −nx..nx along x (columns) and −ny..ny along y (rows)
};

// Texts of the input sheet of a finished run.
InputSheet BuildInputSheet(const result::RunSnapshot& record);

// The sheets of the record's workbook. The record must outlive the model.
ResultWorkbook BuildResultWorkbook(const result::RunSnapshot& record);

// Spreadsheet bounds: a value sheet needs a column per grid point along x and a row per point along y.
inline constexpr int kMaxSheetColumns = 16384;
inline constexpr int kMaxSheetRows = 1048576;
// Why a grid of these settings cannot go on a sheet, or empty when it fits.
QString SheetGridFault(int XLimit, int YLimit, int CStep);

struct WorkbookWriteResult {
  bool ok = false;
  QString message;  // for the user when not ok: what failed, and for a file that could not be written why
  QString detail;   // why, for the log and the command line
};

// Writes the record's workbook to `path`: into a temporary file in the same folder, renamed over `path`
// only when complete, so that a failure leaves an earlier file as it was. Safe on any thread.
WorkbookWriteResult WriteResultWorkbook(const result::RunSnapshot& record, const QString& path);

// Cell of the value-sheet layout (from 0) of the grid point (ix, iy): row 0 is the most negative y,
// column 0 the most negative x.
inline int SheetRowOf(int iy, int ny) { return iy + ny; }
inline int SheetColumnOf(int ix, int nx) { return ix + nx; }

}  // namespace velaron::output
