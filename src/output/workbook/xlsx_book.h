// A workbook being written with libxlsxwriter. The workbook goes into an OutputFile and takes the
// target's name only when it was written whole, so a failure never leaves a broken file or destroys the
// previous one. Numbers are formatted with the C locale while the book is open, whatever
// LC_NUMERIC the program runs under (a decimal comma in the XML corrupts the file).
#pragma once

#include <xlsxwriter.h>

#include <QString>
#include <clocale>
#include <cstdint>
#include <memory>

#include "common/output_file.h"

namespace velaron::output {

// Switches this thread's number formatting to the C locale for the lifetime of the object.
class CNumericLocale {
 public:
  CNumericLocale();
  ~CNumericLocale();
  CNumericLocale(const CNumericLocale&) = delete;
  CNumericLocale& operator=(const CNumericLocale&) = delete;

 private:
  locale_t c_ = static_cast<locale_t>(0);
  locale_t previous_ = static_cast<locale_t>(0);
};

class XlsxBook {
 public:
  // `constantMemory` writes rows straight to disk (large grids); rows must then be written in order.
  explicit XlsxBook(const QString& targetPath, bool constantMemory = false);
  ~XlsxBook();  // an uncommitted book is discarded, its temporary file removed
  XlsxBook(const XlsxBook&) = delete;
  XlsxBook& operator=(const XlsxBook&) = delete;

  // False once anything failed; the first failure's text is kept (for a file that could not be written,
  // the cause in the user's words).
  bool ok() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }
  const QString& targetPath() const { return target_; }

  lxw_workbook* workbook() { return book_; }

  // Adds a worksheet; nullptr (and the book failed) when the name is refused.
  lxw_worksheet* AddSheet(const QString& name);
  // A cell format with the given font weight and size (points); owned by the workbook.
  lxw_format* FontFormat(bool bold, double size);
  lxw_chart* AddChart(uint8_t type);

  // Cell writers; texts are cleaned of what a document's XML cannot hold. A failure marks the book failed and returns
  // false. A number that is not finite is such a failure (the file format has no text for it).
  bool WriteString(lxw_worksheet* sheet, int row, int col, const QString& text, lxw_format* format = nullptr);
  bool WriteNumber(lxw_worksheet* sheet, int row, int col, double value, lxw_format* format = nullptr);
  bool InsertChart(lxw_worksheet* sheet, int row, int col, lxw_chart* chart);

  // Records a failure of the caller's own (a libxlsxwriter call that returns an error code, say).
  bool Check(lxw_error err, const char* what);
  void Fail(const QString& why);

  // Writes the workbook and renames it over the target. Returns whether the target now holds it.
  bool Commit();

 private:
  void Discard();

  CNumericLocale locale_;
  QString target_;
  std::unique_ptr<OutputFile> file_;
  QString error_;
  lxw_workbook* book_ = nullptr;
};

}  // namespace velaron::output
