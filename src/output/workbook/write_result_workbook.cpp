// The writer of the result workbook: the model's sheets in a constant-memory libxlsxwriter book, tabs in the
// reverse order of making, pictures as PNG images on their own worksheets.
#include <QByteArray>
#include <QDir>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <future>
#include <thread>

#include "common/texts.h"
#include "output/pictures/run_pictures.h"
#include "output/workbook/result_workbook.h"
#include "output/workbook/sheet_picture.h"
#include "output/workbook/xlsx_book.h"

namespace velaron::output {

namespace {

constexpr double kTitleSize = 12;
// Rows (from 0) of the radius table on the input sheet.
constexpr int kRadiusHeadRow = 9;
// Pictures stand one cell in from the sheet's corner.
constexpr int kPictureRow = 1, kPictureCol = 1;
// A picture's sheet sets its own cell sizes, so that no spreadsheet places the picture by its own default
// column width (one that does stretches it). The picture lies inside its column, whose width is set to the
// picture's and a character more in the standard character of 7 pixels with 5 pixels of padding: its
// right edge is then an offset from the column's left edge in the file's own length unit, and a
// spreadsheet whose character is wider only widens the blank beside it. The rows are set to 30 points
// (40 pixels, a whole number, as the anchor is counted in pixels).
constexpr double kPictureColumnWidth = (kPrintPictureWidth - 5) / 7.0 + 1, kPictureRowHeight = 30;
// Column A of the input sheet fits the jet-case names of the radius table.
constexpr double kInputColumnWidth = 20;

constexpr const char* kTooWide =
    "Лист книги вмещает не более 16384 точек сетки по X: уменьшите ширину зоны расчета по X или увеличьте шаг "
    "сетки";

void WriteInputSheet(XlsxBook& book, lxw_worksheet* sheet, const InputSheet& in) {
  book.Check(worksheet_set_column(sheet, 0, 0, kInputColumnWidth, nullptr), "ширина столбца");
  for (int i = 0; i < in.lines.size(); ++i)
    book.WriteString(sheet, i, 0, in.lines[i], i == 0 ? book.FontFormat(true, kTitleSize) : nullptr);
  if (!in.radiusTable) return;
  for (int j = 0; j < in.radiusHeads.size(); ++j) book.WriteString(sheet, kRadiusHeadRow, 1 + j, in.radiusHeads[j]);
  for (int k = 0; k < in.radiusCases.size(); ++k) {
    const int row = kRadiusHeadRow + 1 + k;
    book.WriteString(sheet, row, 0, in.radiusCases[k]);
    for (int j = 0; j < 4; ++j) book.WriteNumber(sheet, row, 1 + j, in.radii[static_cast<size_t>(k)](j + 1));
  }
}

void WriteValueSheet(XlsxBook& book, lxw_worksheet* sheet, const models::Grid& grid, double divisor, int nx, int ny) {
  // Rows in order: the book keeps only the current row in memory.
  for (int iy = -ny; iy <= ny && book.ok(); ++iy) {
    const double* cells = grid.row(iy) + (grid.nx() - nx);  // some grids keep a border beyond the map
    const int row = SheetRowOf(iy, ny);
    for (int ix = -nx; ix <= nx; ++ix) {
      const double v = divisor == 1 ? cells[ix + nx] : cells[ix + nx] / divisor;
      if (!book.WriteNumber(sheet, row, SheetColumnOf(ix, nx), v)) return;
    }
  }
}

}  // namespace

QString SheetGridFault(int XLimit, int YLimit, int CStep) {
  if (CStep < 1) return {};  // no grid at all: the settings check refuses it
  if (2LL * models::GridHalf(XLimit, CStep) + 1 > kMaxSheetColumns ||
      2LL * models::GridHalf(YLimit, CStep) + 1 > kMaxSheetRows)
    return QString::fromUtf8(kTooWide);
  return {};
}

WorkbookWriteResult WriteResultWorkbook(const result::RunSnapshot& record, const QString& path) {
  WorkbookWriteResult res;
  auto fail = [&res](const QString& message, const QString& detail) {
    res.ok = false;
    res.message = message;
    res.detail = detail;
    return res;
  };
  const QString writeFailed = QString::fromUtf8(texts::kWriteFailed);
  ResultWorkbook model;
  try {
    model = BuildResultWorkbook(record);
  } catch (const std::exception& e) {
    return fail(writeFailed, QString::fromUtf8(e.what()));
  }
  const int nx = model.nx, ny = model.ny;
  // A sheet too narrow for the grid would cut the map: nothing is written instead.
  if (QString tooLarge =
          SheetGridFault(record.request.settings.XLimit, record.request.settings.YLimit, record.request.settings.CStep);
      !tooLarge.isEmpty())
    return fail(tooLarge, QStringLiteral("сетка %1 × %2 точек").arg(2 * nx + 1).arg(2 * ny + 1));
  for (const WorkbookSheet& s : model.sheets)
    if (s.kind != SheetKind::Input && (!s.grid || s.grid->nx() < nx || s.grid->ny() < ny))
      return fail(writeFailed, QStringLiteral("сетка листа \"%1\" не рассчитана").arg(s.name));

  // The pictures are drawn on up to four threads of their own while the cells are written, in the order the
  // sheets go into the book (the last made first); the book holds each picture's bytes until it is closed.
  const int cStep = record.request.settings.CStep;
  const double azimuth = record.request.section.Azimut;
  std::vector<std::promise<QByteArray>> drawn(model.sheets.size());
  std::vector<std::future<QByteArray>> pending(model.sheets.size());
  std::vector<size_t> order;  // picture sheets, the first needed first
  for (size_t i = model.sheets.size(); i-- > 0;)
    if (model.sheets[i].kind == SheetKind::Picture) {
      pending[i] = drawn[i].get_future();
      order.push_back(i);
    }
  std::atomic<size_t> next{0};
  auto paint = [&model, &drawn, &order, &next, nx, ny, cStep, azimuth] {
    for (size_t k; (k = next.fetch_add(1)) < order.size();) {
      const WorkbookSheet& s = model.sheets[order[k]];
      QByteArray png;
      try {
        const QString title = s.titled ? s.name : QString();
        png = PngBytes(DrawSheetPicture(*s.grid, title, s.quantity, s.view3D, nx, ny, cStep, azimuth));
      } catch (const std::exception&) {
        png.clear();  // the writer reports the missing picture
      }
      drawn[order[k]].set_value(std::move(png));
    }
  };
  std::vector<std::jthread> painters;
  // At most four: each painter holds a print-size picture or two in memory.
  const size_t painterCount = std::clamp<size_t>(std::thread::hardware_concurrency(), 2, 4);
  for (size_t i = 0; i < painterCount; ++i) {
    try {
      painters.emplace_back(paint);
    } catch (const std::exception&) {
      break;  // the system gives no more threads: those started draw every picture
    }
  }
  if (painters.empty()) paint();  // none at all: the pictures are drawn here first
  std::vector<QByteArray> pictures(model.sheets.size());

  XlsxBook book(path, /*constantMemory=*/true);
  // Each sheet goes in front of the ones made before it: the last one made is the first tab and active.
  for (size_t n = model.sheets.size(); n-- > 0 && book.ok();) {
    const WorkbookSheet& s = model.sheets[n];
    lxw_worksheet* sheet = book.AddSheet(s.name);
    if (!sheet) break;
    if (n + 1 == model.sheets.size()) worksheet_activate(sheet);
    switch (s.kind) {
      case SheetKind::Input: WriteInputSheet(book, sheet, model.input); break;
      case SheetKind::Values: WriteValueSheet(book, sheet, *s.grid, s.divisor, nx, ny); break;
      case SheetKind::Picture: {
        pictures[n] = pending[n].get();
        if (pictures[n].isEmpty()) {
          book.Fail(QStringLiteral("рисунок листа \"%1\" не получен").arg(s.name));
          break;
        }
        // The picture alone on a printed page.
        worksheet_gridlines(sheet, LXW_HIDE_ALL_GRIDLINES);
        worksheet_set_landscape(sheet);
        worksheet_fit_to_pages(sheet, 1, 1);
        book.Check(worksheet_set_column(sheet, kPictureCol, kPictureCol, kPictureColumnWidth, nullptr),
                   "ширина столбца");
        worksheet_set_default_row(sheet, kPictureRowHeight, LXW_FALSE);
        const QByteArray& png = pictures[n];
        book.Check(worksheet_insert_image_buffer(sheet, kPictureRow, kPictureCol,
                                                 reinterpret_cast<const unsigned char*>(png.constData()),
                                                 static_cast<size_t>(png.size())),
                   "вставка рисунка");
        break;
      }
    }
  }
  if (!book.Commit())
    return fail(writeFailed + QLatin1Char('\n') + QDir::toNativeSeparators(path) + QStringLiteral(": ") + book.error(),
                book.error());
  res.ok = true;
  return res;
}

}  // namespace velaron::output
