// The rows of the database's tables as plain value types (field names are the columns'). They stand apart
// from the database library (Qt Core only, no Qt SQL) so that every layer above may hand them on as
// values: the run and the writers take the rows they need from their caller and never read the database
// themselves.
#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

namespace velaron::db {

// The outcome of a read: what was read, or, when the database could not be read (a file another program
// holds, a damaged file, ...), why: `error` is the message for the user, naming the table and the cause,
// and `value` stays empty. A failed read is never an empty table, so a caller keeps what it showed.
template <class T>
struct Read {
  T value{};
  QString error;
  bool ok() const { return error.isEmpty(); }
};

// The reads of one piece of work, made in turn: a read runs only while every read before it went through,
// and the first failure is kept for the one message the user gets. A file another program holds is thus
// waited for once, not once per table.
//
//   ReadsInTurn reads;
//   const auto settings = reads([] { return LoadAdjustment(); });
//   const auto section = reads([&] { return LoadSection(tpid); });
//   if (!reads.ok()) ... reads.error() ...
class ReadsInTurn {
 public:
  // The value `read()` (a function giving a Read) gives; after a failed read an empty value, read no more.
  template <class ReadFn>
  auto operator()(ReadFn&& read) -> decltype(read().value) {
    if (!ok()) return {};
    auto result = read();
    if (!result.ok()) error_ = std::move(result.error);
    return std::move(result.value);
  }
  bool ok() const { return error_.isEmpty(); }
  // The first failure's message; empty while every read went through.
  const QString& error() const { return error_; }

 private:
  QString error_;
};

// `abc`: one gas.
struct GasRow {
  QString VName;
  double m = 0, qg = 0, a = 0, b = 0;
  int DangerClass = 0;
};

// `Statistics`: one region.
struct RegionRow {
  QString Region;
  double lambda = 0, Kreg = 0;
};

// `TPs`: one route section.
struct SectionRow {
  int TPID = 0;
  double Length = 0, Udal = 0, Azimut = 0;
  int dpp1 = 0, dpp2 = 0, dpp3 = 0, dpp4 = 0;
  double p_v = 0;
  int G1 = 0, G2 = 0, G3 = 0, G4 = 0;
  QString Ground;
  // The crossing probabilities as typed (road, power line, other pipeline, cable line); nothing when the
  // row was written before they were kept, and the window then shows its initial texts.
  std::optional<double> P_avto, P_LEP, P_tr, P_kab;
};

// `GroundType`: one node of the soil tree.
struct GroundTypeRow {
  int GID = 0, grParent = 0;
  QString Ground, GroundCode;
};

// `Ground3`: jet-kind shares and the ignition base for one composed ground code.
struct Ground3Row {
  QString Ground;
  double SP3_1 = 0, WP3_1 = 0, SP3_2 = 0, WP3_2 = 0, SP3_3 = 0, WP3_3 = 0, P4 = 0;
};

// `Wind`: wind data of one town. Index 0..8 = N, NE, E, SE, S, SW, W, NW, calm.
struct WindRow {
  int idCity = 0;
  QString CityName;
  std::array<double, 9> winter{};       // N1 .. ST1, percent
  std::array<double, 9> summer{};       // N2 .. ST2, percent
  std::array<double, 9> speedWinter{};  // V11 .. V19, m/s
  std::array<double, 9> speedSummer{};  // V21 .. V29, m/s
  double Tmedium = 0;
};

// `tabKoef_Dy`: diameter coefficient row.
struct KoefDyRow {
  double Dy = 0, kreg = 0;
};

// `tabOtchet`: summary row of one written report.
struct ReportSummaryRow {
  QDateTime Date;
  int dlit = 0;
  QString Mestn, scen, Grunt, Gr_grunt, Type_grunt, Vid_grunt;
  double Dtr = 0, Davl_sr = 0;
  QString Vid_gaz, City, Region;
};

}  // namespace velaron::db
