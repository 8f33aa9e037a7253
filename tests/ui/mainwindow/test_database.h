// The main window's database: a scratch database of the program's schema with synthetic rows of its own,
// opened as the program's connection for the test's lifetime.
#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include "output/scratch_db.h"

namespace velaron::test {

class TempDatabase : public ScratchDatabase {
 public:
  TempDatabase() {
    EXPECT_TRUE(error().isEmpty()) << error().toStdString();
    for (const char* sql : kRows) EXPECT_TRUE(Exec(QString::fromUtf8(sql))) << sql;
  }

  // Changes made through the program's connection since it opened.
  static int changes() {
    QSqlQuery q(db::Connection());
    return q.exec("SELECT total_changes()") && q.next() ? q.value(0).toInt() : -1;
  }
  static void exec(const QString& sql) {
    QSqlQuery q(db::Connection());
    EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
  }

 private:
  static constexpr const char* kRows[] = {
      "INSERT INTO Adjustment VALUES (1000, 1000, 10, 10, 0.5, 20, 0.3, 5, 2, 1.5, 1020, 7.4, 5.4, 12, 120, 250, 25)",
      "INSERT INTO tab_time VALUES ('2020-01-01T00:00:00')",
      "INSERT INTO abc VALUES ('Метан', 16.043, 50000, 21, 0.2, 4)",
      "INSERT INTO abc VALUES ('Пропан', 44.1, 46000, 20, 0.2, 3)",
      "INSERT INTO Statistics VALUES ('Север', 0.5, 2)",
      "INSERT INTO Statistics VALUES ('Юг', 0.2, 1.5)",
      "INSERT INTO tabKoef_Dy VALUES (1420, 0.31), (1220, 0.5), (1020, 0.7), (529, 1.43)",
      // The soil tree: two level-1 entries with full paths and one without children.
      "INSERT INTO GroundType VALUES (1, 0, 'Скальные', '1'), (2, 0, 'Дисперсные', '2'), (9, 0, 'Пустой', '3')",
      "INSERT INTO GroundType VALUES (3, 1, 'Скальные гр', '1'), (4, 2, 'Связные', '1'), (5, 2, 'Несвязные', '2')",
      "INSERT INTO GroundType VALUES (6, 3, 'Магматические', '1'), (7, 4, 'Минеральные', '1'), "
      "(8, 5, 'Минеральные несв', '1')",
      "INSERT INTO GroundType VALUES (10, 6, 'Граниты', '1'), (11, 7, 'Супесь', '1'), (12, 7, 'Суглинок', '2'), "
      "(13, 8, 'Песок', '1')",
      "INSERT INTO Ground3 VALUES ('2.1.1.2', 0.3, 0.3, 0.3, 0.3, 0.4, 0.4, 0.25)",
      "INSERT INTO Wind (idCity, CityName, Tmedium) VALUES (2, 'Хабаровск', 207), (1, 'Амурск', 200)",
      "INSERT INTO TPs (TPID, Length, Udal, Azimut, dpp1, dpp2, dpp3, dpp4, p_v, G1, G2, G3, G4, Ground) VALUES (1, "
      "100, 0, 30, 0, 0, 0, 0, 0, 2, 4, 7, 12, '2.1.1.2')",
      "INSERT INTO TPs (TPID, Length, Udal, Azimut, dpp1, dpp2, dpp3, dpp4, p_v, G1, G2, G3, G4, Ground) VALUES (2, "
      "250.5, 100, 45, 1, 0, 0, 0, 0.1, 1, 3, 6, 10, '1.1.1.1')",
      "INSERT INTO TPs (TPID, Length, Udal, Azimut, dpp1, dpp2, dpp3, dpp4, p_v, G1, G2, G3, G4, Ground) VALUES (3, "
      "49.5, 350.5, 90, 0, 0, 0, 1, 0.08, 2, 4, 7, 11, '2.1.1.1')",
  };
};

}  // namespace velaron::test
