#include "output/workbook/xlsx_book.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

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
QByteArray Utf8(const QString& s) { return s.toUtf8(); }
}  // namespace

XlsxBook::XlsxBook(const QString& targetPath, bool constantMemory) : target_(targetPath) {
  const QFileInfo info(target_);
  if (!info.dir().exists()) {
    Fail(QStringLiteral("нет папки %1").arg(info.dir().path()));
    return;
  }
  // Reserve a unique name in the target's folder, so that the final rename stays on one file system.
  QTemporaryFile reserve(info.dir().filePath(QStringLiteral(".~") + info.fileName() + QStringLiteral(".XXXXXX")));
  reserve.setAutoRemove(false);
  // A name the file system refuses (too long, say) may leave the reservation without a file name.
  if (!reserve.open() || reserve.fileName().isEmpty()) {
    Fail(QStringLiteral("не удалось создать файл в папке %1").arg(info.dir().path()));
    return;
  }
  temp_ = reserve.fileName();
  reserve.close();
  // The workbook library makes the file afresh, with the permissions a saved file usually gets (a
  // reserved temporary file would be private to its owner).
  QFile::remove(temp_);

  lxw_workbook_options options{};
  options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
  book_ = workbook_new_opt(Utf8(temp_).constData(), &options);
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
  return Check(worksheet_write_number(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), value,
                                      format),
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
  const lxw_error closed = workbook_close(book_);
  book_ = nullptr;
  if (!Check(closed, "сохранение книги")) {
    Discard();
    return false;
  }
  // rename() replaces an existing target in one step: the old file stays whole until the new one is there.
  if (std::rename(Utf8(temp_).constData(), Utf8(target_).constData()) != 0) {
    Fail(QStringLiteral("не удалось заменить %1: %2").arg(target_, QString::fromLocal8Bit(std::strerror(errno))));
    Discard();
    return false;
  }
  temp_.clear();
  return true;
}

void XlsxBook::Discard() {
  if (book_) {
    // Closing is the only way to free a libxlsxwriter workbook; it writes the temporary file, removed below.
    workbook_close(book_);
    book_ = nullptr;
  }
  if (!temp_.isEmpty()) {
    QFile::remove(temp_);
    temp_.clear();
  }
}

}  // namespace velaron::output
