// Settings, start time, reference rows and the tables a run looks values up in.
#include <QCollator>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

#include "db/database.h"
#include "db/db_internal.h"
#include "models/settings_rules.h"

namespace velaron::db {
using detail::Int;
using detail::Run;

namespace {

// The settings row is the table's first row in stored order.
constexpr const char* kFirstAdjustment = "(SELECT MIN(rowid) FROM Adjustment)";

// Updates the first row of Adjustment with `sets` (an "a = ?, b = ?" list); a table without a row gets
// one, holding the defaults with `row`'s values.
WriteError UpdateFirstAdjustment(const QString& sets, std::initializer_list<QVariant> values,
                                 const AdjustmentRow& row) {
  return detail::InTransaction([&]() -> WriteError {
    QSqlQuery q(Connection());
    if (!Run(q, QStringLiteral("UPDATE Adjustment SET %1 WHERE rowid = %2").arg(sets, kFirstAdjustment), values))
      return detail::WriteFailed(q);
    if (q.numRowsAffected() > 0) return {};
    QSqlQuery ins(Connection());
    if (!Run(ins,
             "INSERT INTO Adjustment (XLimit, YLimit, CStep, Tfb, Dola, Tobl, Dola_obl, Skor_chel, Gas, Glubina, "
             "Diametr, DavlDown, DavlUp, Temp, Ltrub, Tsrab, Lkr) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
             {row.XLimit, row.YLimit, row.CStep, row.Tfb, row.Dola, row.Tobl, row.Dola_obl, row.Skor_chel, row.Gas,
              row.Glubina, row.Diametr, row.DavlDown, row.DavlUp, row.Temp, row.Ltrub, row.Tsrab, row.Lkr}))
      return detail::WriteFailed(ins);
    return {};
  });
}

GasRow ReadGas(const QSqlQuery& q) {
  return {q.value(0).toString(), q.value(1).toDouble(), q.value(2).toDouble(),
          q.value(3).toDouble(), q.value(4).toDouble(), Int(q.value(5))};
}

GroundTypeRow ReadGroundType(const QSqlQuery& q) {
  return {Int(q.value(0)), Int(q.value(1)), q.value(2).toString(), q.value(3).toString()};
}

constexpr const char* kGroundTypeColumns = "GID, grParent, Ground, GroundCode";

}  // namespace

namespace detail {

QString WindColumns() {
  static const char* kDirs[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW", "ST"};
  QStringList cols = {"idCity", "CityName"};
  for (int season = 1; season <= 2; ++season)
    for (const char* d : kDirs) cols << QStringLiteral("%1%2").arg(QLatin1String(d)).arg(season);
  for (int season = 1; season <= 2; ++season)
    for (int i = 1; i <= 9; ++i) cols << QStringLiteral("V%1%2").arg(season).arg(i);
  cols << "Tmedium";
  return cols.join(QStringLiteral(", "));
}

WindRow ReadWind(const QSqlQuery& q) {
  WindRow w;
  w.idCity = Int(q.value(0));
  w.CityName = q.value(1).toString();
  for (int i = 0; i < 9; ++i) {
    w.winter[i] = q.value(2 + i).toDouble();
    w.summer[i] = q.value(11 + i).toDouble();
    w.speedWinter[i] = q.value(20 + i).toDouble();
    w.speedSummer[i] = q.value(29 + i).toDouble();
  }
  w.Tmedium = q.value(38).toDouble();
  return w;
}

}  // namespace detail
using detail::ReadWind;
using detail::WindColumns;

Read<std::optional<AdjustmentRow>> LoadAdjustment() {
  return detail::ReadFirst<AdjustmentRow>(
      QStringLiteral("Adjustment"),
      QStringLiteral("SELECT XLimit, YLimit, CStep, Tfb, Dola, Tobl, Dola_obl, Skor_chel, Gas, Glubina, Diametr, "
                     "DavlDown, DavlUp, Temp, Ltrub, Tsrab, Lkr FROM Adjustment ORDER BY rowid LIMIT 1"),
      {}, [](const QSqlQuery& q) {
        AdjustmentRow r;
        r.XLimit = Int(q.value(0));
        r.YLimit = Int(q.value(1));
        r.CStep = Int(q.value(2));
        r.Tfb = q.value(3).toDouble();
        r.Dola = q.value(4).toDouble();
        r.Tobl = q.value(5).toDouble();
        r.Dola_obl = q.value(6).toDouble();
        r.Skor_chel = q.value(7).toDouble();
        r.Gas = Int(q.value(8));
        r.Glubina = q.value(9).toDouble();
        r.Diametr = q.value(10).toDouble();
        r.DavlDown = q.value(11).toDouble();
        r.DavlUp = q.value(12).toDouble();
        r.Temp = q.value(13).toDouble();
        r.Ltrub = q.value(14).toDouble();
        r.Tsrab = q.value(15).toDouble();
        r.Lkr = q.value(16).toDouble();
        return r;
      });
}

WriteError SaveSettings(const AdjustmentRow& row) {
  if (const auto fault = models::CheckSettings(row)) return QString::fromStdString(fault->message);
  return UpdateFirstAdjustment(
      "XLimit = ?, YLimit = ?, CStep = ?, Tfb = ?, Dola = ?, Tobl = ?, Dola_obl = ?, Skor_chel = ?",
      {row.XLimit, row.YLimit, row.CStep, row.Tfb, row.Dola, row.Tobl, row.Dola_obl, row.Skor_chel}, row);
}

WriteError SavePipelineInputs(const AdjustmentRow& row) {
  return UpdateFirstAdjustment(
      "Gas = ?, Glubina = ?, Diametr = ?, DavlDown = ?, DavlUp = ?, Temp = ?, Ltrub = ?, Tsrab = ?, Lkr = ?",
      {row.Gas, row.Glubina, row.Diametr, row.DavlDown, row.DavlUp, row.Temp, row.Ltrub, row.Tsrab, row.Lkr}, row);
}

WriteError WriteStartTime(const QDateTime& when) {
  const QString text = when.toString(Qt::ISODate);
  return detail::InTransaction([&]() -> WriteError {
    QSqlQuery q(Connection());
    if (!Run(q, "UPDATE tab_time SET Time_nast = ? WHERE rowid = (SELECT MIN(rowid) FROM tab_time)", {text}))
      return detail::WriteFailed(q);
    if (q.numRowsAffected() > 0) return {};
    if (!Run(q, "INSERT INTO tab_time (Time_nast) VALUES (?)", {text})) return detail::WriteFailed(q);
    return {};
  });
}

Read<std::vector<GasRow>> LoadGases() {
  return detail::ReadRows<GasRow>(QStringLiteral("abc"),
                                  QStringLiteral("SELECT VName, m, qg, a, b, DangerClass FROM abc ORDER BY rowid"), {},
                                  ReadGas);
}

Read<std::vector<RegionRow>> LoadRegions() {
  return detail::ReadRows<RegionRow>(
      QStringLiteral("Statistics"), QStringLiteral("SELECT Region, lambda, Kreg FROM Statistics ORDER BY rowid"), {},
      [](const QSqlQuery& q) {
        return RegionRow{q.value(0).toString(), q.value(1).toDouble(), q.value(2).toDouble()};
      });
}

Read<std::vector<KoefDyRow>> LoadKoefDy() {
  return detail::ReadRows<KoefDyRow>(QStringLiteral("tabKoef_Dy"),
                                     QStringLiteral("SELECT Dy, kreg FROM tabKoef_Dy ORDER BY Dy DESC, rowid"), {},
                                     [](const QSqlQuery& q) {
                                       return KoefDyRow{q.value(0).toDouble(), q.value(1).toDouble()};
                                     });
}

Read<std::vector<GroundTypeRow>> LoadGroundTypes() {
  return detail::ReadRows<GroundTypeRow>(
      QStringLiteral("GroundType"), QStringLiteral("SELECT %1 FROM GroundType ORDER BY rowid").arg(kGroundTypeColumns),
      {}, ReadGroundType);
}

Read<std::vector<GroundTypeRow>> LoadGroundChildren(int parentGid) {
  return detail::ReadRows<GroundTypeRow>(
      QStringLiteral("GroundType"),
      QStringLiteral("SELECT %1 FROM GroundType WHERE grParent = ? ORDER BY rowid").arg(kGroundTypeColumns),
      {parentGid}, ReadGroundType);
}

Read<std::optional<GroundTypeRow>> LoadGroundType(int gid) {
  return detail::ReadFirst<GroundTypeRow>(
      QStringLiteral("GroundType"),
      QStringLiteral("SELECT %1 FROM GroundType WHERE GID = ? ORDER BY rowid LIMIT 1").arg(kGroundTypeColumns), {gid},
      ReadGroundType);
}

Read<std::optional<Ground3Row>> LoadGround3(const QString& groundCode) {
  return detail::ReadFirst<Ground3Row>(
      QStringLiteral("Ground3"),
      QStringLiteral("SELECT Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4 FROM Ground3 WHERE Ground = ? "
                     "ORDER BY rowid LIMIT 1"),
      {groundCode}, [](const QSqlQuery& q) {
        return Ground3Row{q.value(0).toString(), q.value(1).toDouble(), q.value(2).toDouble(), q.value(3).toDouble(),
                          q.value(4).toDouble(), q.value(5).toDouble(), q.value(6).toDouble(), q.value(7).toDouble()};
      });
}

Read<std::vector<WindRow>> LoadWinds() {
  auto towns = detail::ReadRows<WindRow>(
      QStringLiteral("Wind"), QStringLiteral("SELECT %1 FROM Wind ORDER BY rowid").arg(WindColumns()), {}, ReadWind);
  // SQLite orders texts by their bytes, which puts "Ё" before "А" and every lower-case name after all the
  // capitalised ones; the town lists want the Russian alphabet, letter case aside.
  QCollator alphabet{QLocale(QLocale::Russian, QLocale::Russia)};
  alphabet.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(towns.value.begin(), towns.value.end(), [&](const WindRow& a, const WindRow& b) {
    const int byName = alphabet.compare(a.CityName, b.CityName);
    return byName != 0 ? byName < 0 : a.idCity < b.idCity;
  });
  return towns;
}

Read<std::optional<WindRow>> LoadWind(int idCity) {
  return detail::ReadFirst<WindRow>(
      QStringLiteral("Wind"),
      QStringLiteral("SELECT %1 FROM Wind WHERE idCity = ? ORDER BY rowid LIMIT 1").arg(WindColumns()), {idCity},
      ReadWind);
}

QString GasTableName(std::size_t index) {
  return QStringLiteral("%1b").arg(static_cast<int>(models::kGasTablePressures.at(index)));
}

Read<models::ReferenceTables> LoadReferenceTables() {
  // The first table that cannot be read ends the load: the tables after it would wait for the same file.
  ReadsInTurn reads;
  models::ReferenceTables tables;
  for (std::size_t i = 0; i < tables.gas.size(); ++i) {
    tables.gas[i].pressureBar = models::kGasTablePressures[i];
    tables.gas[i].rows = reads([i] {
      return detail::ReadRows<models::GasPropertyRow>(
          GasTableName(i), QStringLiteral("SELECT t, cp, v FROM \"%1\" ORDER BY t ASC").arg(GasTableName(i)), {},
          [](const QSqlQuery& q) {
            return models::GasPropertyRow{q.value(0).toDouble(), q.value(1).toDouble(), q.value(2).toDouble()};
          });
    });
  }
  tables.lp = reads([] {
    return detail::ReadRows<models::LpRow>(QStringLiteral("Lp"), QStringLiteral("SELECT D, L FROM Lp ORDER BY D ASC"),
                                           {}, [](const QSqlQuery& q) {
                                             return models::LpRow{q.value(0).toDouble(), q.value(1).toDouble()};
                                           });
  });
  tables.probit = reads([] {
    return detail::ReadRows<models::ProbitRow>(
        QStringLiteral("TProbit"), QStringLiteral("SELECT Zn_Probit, Zn_Procent FROM TProbit ORDER BY Zn_Probit ASC"),
        {}, [](const QSqlQuery& q) {
          return models::ProbitRow{q.value(0).toDouble(), q.value(1).toDouble()};
        });
  });
  if (!reads.ok()) return {{}, reads.error()};
  return {std::move(tables), {}};
}

WriteError AppendReportSummary(const ReportSummaryRow& row) {
  return detail::InTransaction([&]() -> WriteError {
    QSqlQuery q(Connection());
    if (!Run(q,
             "INSERT INTO tabOtchet (Date, dlit, Mestn, scen, Grunt, Gr_grunt, Type_grunt, Vid_grunt, Dtr, Davl_sr, "
             "Vid_gaz, City, Region) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)",
             {row.Date.toString(Qt::ISODate), row.dlit, row.Mestn, row.scen, row.Grunt, row.Gr_grunt, row.Type_grunt,
              row.Vid_grunt, row.Dtr, row.Davl_sr, row.Vid_gaz, row.City, row.Region}))
      return detail::WriteFailed(q);
    return {};
  });
}

}  // namespace velaron::db
