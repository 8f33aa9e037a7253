#include "output/workbook/xlsx_book.h"

#include <QFile>
#include <cerrno>
#include <cmath>

#include "common/xml_text.h"

namespace velaron::output {

CNumericLocale::CNumericLocale() {
  // Only the number category changes; the rest stays as the program set it.
  locale_t base = duplocale(LC_GLOBAL_LOCALE);
  c_ = base ? newlocale(LC_NUMERIC_MASK, "C", base) : static_cast<locale_t>(0);
  if (!c_ && base) freelocale(base);
  if (c_) previous_ = uselocale(c_);
}

CNumericLocale::~CNumericLocale() {
  if (c_) {
    uselocale(previous_);
    freelocale(c_);
  }
}

namespace {
// A text for a cell, a sheet or a chart, without what XML cannot hold.
QByteArray Utf8(const QString& s) { return QByteArray::fromStdString(XmlText(s.toStdU16String())); }
}  // namespace

XlsxBook::XlsxBook(const QString& targetPath, bool constantMemory) : target_(targetPath) {
  file_ = std::make_unique<OutputFile>(QFile::encodeName(target_).toStdString());
  if (!file_->ok()) {
    Fail(QString::fromStdString(file_->error()));
    return;
  }
  lxw_workbook_options options{};
  options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
  book_ = workbook_new_opt(file_->writePath().c_str(), &options);
  if (!book_) Fail(QStringLiteral("не удалось начать книгу"));
}

XlsxBook::~XlsxBook() { Discard(); }

void XlsxBook::Fail(const QString& why) {
  if (error_.isEmpty()) error_ = why.isEmpty() ? QStringLiteral("ошибка") : why;
}

bool XlsxBook::Check(lxw_error err, const char* what) {
  if (err == LXW_NO_ERROR) return true;
  Fail(QStringLiteral("%1: %2").arg(QString::fromUtf8(what), QString::fromUtf8(lxw_strerror(err))));
  return false;
}

lxw_worksheet* XlsxBook::AddSheet(const QString& name) {
  if (!book_) return nullptr;
  lxw_worksheet* sheet = workbook_add_worksheet(book_, Utf8(name).constData());
  if (!sheet) Fail(QStringLiteral("лист \"%1\" не создан").arg(name));
  return sheet;
}

lxw_format* XlsxBook::FontFormat(bool bold, double size) {
  if (!book_) return nullptr;
  lxw_format* format = workbook_add_format(book_);
  if (!format) {
    Fail(QStringLiteral("формат не создан"));
    return nullptr;
  }
  if (bold) format_set_bold(format);
  format_set_font_size(format, size);
  return format;
}

lxw_chart* XlsxBook::AddChart(uint8_t type) {
  if (!book_) return nullptr;
  lxw_chart* chart = workbook_add_chart(book_, type);
  if (!chart) Fail(QStringLiteral("диаграмма не создана"));
  return chart;
}

bool XlsxBook::WriteString(lxw_worksheet* sheet, int row, int col, const QString& text, lxw_format* format) {
  if (!sheet) return false;
  return Check(worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col),
                                      Utf8(text).constData(), format),
               "запись текста");
}

bool XlsxBook::WriteNumber(lxw_worksheet* sheet, int row, int col, double value, lxw_format* format) {
  if (!sheet) return false;
  // The file format has no text for NaN or infinity; written as such they make the book unreadable.
  if (!std::isfinite(value)) {
    Fail(QStringLiteral("нечисловое значение в ячейке (%1, %2)").arg(row + 1).arg(col + 1));
    return false;
  }
  return Check(worksheet_write_number(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), value, format),
               "запись числа");
}

bool XlsxBook::InsertChart(lxw_worksheet* sheet, int row, int col, lxw_chart* chart) {
  if (!sheet || !chart) return false;
  return Check(worksheet_insert_chart(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), chart),
               "вставка диаграммы");
}

bool XlsxBook::Commit() {
  if (!book_) {
    Fail(QStringLiteral("книга не начата"));
    Discard();
    return false;
  }
  if (!ok()) {
    Discard();
    return false;
  }
  errno = 0;
  const lxw_error closed = workbook_close(book_);
  book_ = nullptr;
  if (closed != LXW_NO_ERROR) file_->Fail(errno);
  if (!file_->Commit()) {
    Fail(QString::fromStdString(file_->error()));
    Discard();
    return false;
  }
  file_.reset();
  return true;
}

void XlsxBook::Discard() {
  if (book_) {
    // Closing is the only way to free a libxlsxwriter workbook; what it writes is dropped with the file.
    workbook_close(book_);
    book_ = nullptr;
  }
  file_.reset();
}

}  // namespace velaron::output
