#include "db/table_checks.h"

#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "db/database.h"
#include "db/db_internal.h"

namespace velaron::db {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// What one column must hold. `low` and `high` are inclusive unless `aboveLow` (then the value must be
// greater than `low`); `whole` asks for a whole number; `unique` for a key no other row repeats.
struct ColumnRule {
  const char* column;
  double low = -kInf;
  double high = kInf;
  bool aboveLow = false;
  bool whole = false;
  bool unique = false;
  int maxChars = 0;  // a text of at most this many characters (0: a number)
};

ColumnRule Any(const char* c) { return {c}; }
ColumnRule Key(const char* c, double low = -kInf) { return {c, low, kInf, false, false, true}; }
ColumnRule AtLeast0(const char* c) { return {c, 0}; }
ColumnRule Positive(const char* c) { return {c, 0, kInf, true}; }
ColumnRule Share(const char* c) { return {c, 0, 1}; }
ColumnRule Percent(const char* c) { return {c, 0, 100}; }
ColumnRule Whole(const char* c, double low = -kInf, double high = kInf) { return {c, low, high, false, true}; }
// A name the result workbook prints in one cell after a caption: a cell holds 32,767 characters, and a
// longer text fails the whole workbook after the calculation.
ColumnRule Name(const char* c) { return {c, -kInf, kInf, false, false, false, 32000}; }

QString Where(const QString& table, const char* column, int row) {
  return QStringLiteral("Ошибка в справочных данных: таблица \"%1\", столбец \"%2\", строка %3")
      .arg(table, QLatin1String(column))
      .arg(row);
}

// Why the value breaks the rule, or empty.
QString Fault(const QVariant& v, const ColumnRule& r) {
  if (r.maxChars > 0) {
    const qsizetype length = v.toString().toUcs4().size();
    if (length <= r.maxChars) return {};
    return QStringLiteral("название из %1 знаков длиннее %2, которые помещаются в ячейку книги результатов")
        .arg(length)
        .arg(r.maxChars);
  }
  if (v.isNull()) return QStringLiteral("значение не задано");
  const int type = v.typeId();
  if (type != QMetaType::LongLong && type != QMetaType::Int && type != QMetaType::Double &&
      type != QMetaType::ULongLong && type != QMetaType::UInt)
    return QStringLiteral("\"%1\" не является числом").arg(v.toString().left(40));
  const double x = v.toDouble();
  if (!std::isfinite(x)) return QStringLiteral("значение не является конечным числом");
  if (r.whole && x != std::floor(x))
    return QStringLiteral("значение %1 должно быть целым").arg(NumberTextBeyond(x, std::nearbyint(x)));
  const bool lowOk = r.aboveLow ? x > r.low : x >= r.low;
  if (!lowOk || x > r.high) {
    const QString value = NumberTextBeyond(x, lowOk ? r.high : r.low), low = NumberText(r.low),
                  high = NumberText(r.high);
    if (std::isinf(r.high))
      return QStringLiteral("значение %1 должно быть %2 %3").arg(value, r.aboveLow ? "больше" : "не меньше", low);
    if (std::isinf(r.low)) return QStringLiteral("значение %1 должно быть не больше %2").arg(value, high);
    return QStringLiteral("значение %1 вне пределов от %2 до %3").arg(value, low, high);
  }
  return {};
}

// Why `table` could not be read by `query`, in the user's words.
QString Unreadable(const QString& table, const QSqlQuery& query) {
  return QStringLiteral("Таблица \"%1\" не читается: %2").arg(table, detail::QueryFault(query.lastError()));
}

// Checks the rows of `table` that `where` selects (all when empty), in stored order. Rows are named by
// their place in the stored order, counted from 1, as the program's lists count them; `offset` is the
// place of the first selected row less one.
QString CheckRows(const QString& table, const std::vector<ColumnRule>& rules, const QString& where = {},
                  std::initializer_list<QVariant> values = {}, int offset = 0, bool required = false) {
  QStringList columns;
  for (const ColumnRule& r : rules) columns << QStringLiteral("\"%1\"").arg(QLatin1String(r.column));
  QSqlQuery q(Connection());
  const QString sql = QStringLiteral("SELECT %1 FROM \"%2\"%3 ORDER BY rowid")
                          .arg(columns.join(QStringLiteral(", ")), table, where.isEmpty() ? QString() : " " + where);
  // A table that cannot be read is no fault of its data: a busy or damaged file says so as the probe does.
  if (!detail::Run(q, sql, values)) return Unreadable(table, q);
  std::vector<QSet<double>> seen(rules.size());
  int row = offset;
  while (q.next()) {
    ++row;
    int i = 0;
    for (const ColumnRule& r : rules) {
      const QVariant v = q.value(i);
      if (QString why = Fault(v, r); !why.isEmpty()) return Where(table, r.column, row) + ": " + why + ".";
      if (r.unique) {
        const double x = v.toDouble();
        if (seen[static_cast<size_t>(i)].contains(x))
          return Where(table, r.column, row) + QStringLiteral(": значение %1 повторяется.").arg(NumberText(x));
        seen[static_cast<size_t>(i)].insert(x);
      }
      ++i;
    }
  }
  // A query that stops midway (a damaged page) has not checked the rows after it.
  if (q.lastError().isValid()) return Unreadable(table, q);
  if (required && row == offset)
    return QStringLiteral("Ошибка в справочных данных: в таблице \"%1\" нет нужной строки.").arg(table);
  return {};
}

// Place of the row that `where` finds, in stored order, less one; or why the table could not be read.
Read<int> OffsetOf(const QString& table, const QString& where, std::initializer_list<QVariant> values) {
  QSqlQuery q(Connection());
  const QString sql =
      QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE rowid < (SELECT MIN(rowid) FROM \"%1\" %2)").arg(table, where);
  if (!detail::Run(q, sql, values) || !q.next()) return {0, Unreadable(table, q)};
  return {q.value(0).toInt(), {}};
}

// The row at `position` of the stored order.
QString CheckRowAt(const QString& table, const std::vector<ColumnRule>& rules, int position) {
  return CheckRows(
      table, rules,
      QStringLiteral("WHERE rowid = (SELECT rowid FROM \"%1\" ORDER BY rowid LIMIT 1 OFFSET ?)").arg(table),
      {position - 1}, position - 1);
}

// The first row of `table` whose `column` holds `key`, named by its place in the stored order.
QString CheckFirstRowOf(const QString& table, const std::vector<ColumnRule>& rules, const char* column,
                        const QVariant& key) {
  const QString where = QStringLiteral("WHERE \"%1\" = ?").arg(QLatin1String(column));
  const Read<int> offset = OffsetOf(table, where, {key});
  if (!offset.ok()) return offset.error;
  return CheckRows(table, rules, QStringLiteral("%1 AND rowid = (SELECT MIN(rowid) FROM \"%2\" %1)").arg(where, table),
                   {key, key}, offset.value);
}

QStringList WindNumberColumns() {
  QStringList cols = detail::WindColumns().split(QStringLiteral(", "));
  cols.removeAll(QStringLiteral("idCity"));
  cols.removeAll(QStringLiteral("CityName"));
  return cols;
}

}  // namespace

QString CheckRunTables(const RunTableKeys& k) {
  if (k.gasPosition >= 1)
    if (QString e =
            CheckRowAt("abc", {Positive("m"), AtLeast0("qg"), Any("a"), Any("b"), Whole("DangerClass"), Name("VName")},
                       k.gasPosition);
        !e.isEmpty())
      return e;
  if (k.regionPosition >= 1) {
    if (QString e = CheckRowAt("Statistics", {AtLeast0("lambda"), AtLeast0("Kreg")}, k.regionPosition); !e.isEmpty())
      return e;
    if (QString e = CheckRows("tabKoef_Dy", {Key("Dy", 0), AtLeast0("kreg")}); !e.isEmpty()) return e;
  }
  if (!k.groundCode.isEmpty())
    if (QString e = CheckFirstRowOf("Ground3",
                                    {Share("SP3_1"), Share("WP3_1"), Share("SP3_2"), Share("WP3_2"), Share("SP3_3"),
                                     Share("WP3_3"), Share("P4")},
                                    "Ground", k.groundCode);
        !e.isEmpty())
      return e;
  if (k.idCity) {
    // The repetitions are percentages, the speeds m/s, the warm days a count of days.
    std::vector<QByteArray> names;  // the rules point into these
    for (const QString& c : WindNumberColumns()) names.push_back(c.toLatin1());
    std::vector<ColumnRule> rules;
    for (const QByteArray& n : names) {
      if (n.startsWith('V')) rules.push_back(AtLeast0(n.constData()));
      else if (n == "Tmedium") rules.push_back(Any(n.constData()));  // its range is the town check's
      else rules.push_back(Percent(n.constData()));
    }
    if (QString e = CheckFirstRowOf("Wind", rules, "idCity", *k.idCity); !e.isEmpty()) return e;
  }
  if (k.tpid)
    if (QString e = CheckFirstRowOf("TPs", {AtLeast0("Length"), AtLeast0("Udal"), Any("Azimut"), AtLeast0("p_v")},
                                    "TPID", *k.tpid);
        !e.isEmpty())
      return e;
  // The gas properties, pit lengths and probit percentages are interpolated: every row counts.
  for (std::size_t i = 0; i < models::kGasTablePressures.size(); ++i)
    if (QString e = CheckRows(GasTableName(i), {Key("t"), Positive("cp"), Positive("v")}); !e.isEmpty()) return e;
  if (QString e = CheckRows("Lp", {Key("D", 0), AtLeast0("L")}); !e.isEmpty()) return e;
  if (QString e = CheckRows("TProbit", {Key("Zn_Probit"), Percent("Zn_Procent")}); !e.isEmpty()) return e;
  return {};
}

QString CheckAdjustmentNumbers() {
  constexpr double kIntMax = std::numeric_limits<int>::max();
  return CheckRows("Adjustment",
                   {Whole("XLimit", 0, kIntMax), Whole("YLimit", 0, kIntMax), Whole("CStep", 0, kIntMax), Any("Tfb"),
                    Any("Dola"), Any("Tobl"), Any("Dola_obl"), Any("Skor_chel")},
                   QStringLiteral("WHERE rowid = (SELECT MIN(rowid) FROM Adjustment)"), {}, 0, true);
}

}  // namespace velaron::db
