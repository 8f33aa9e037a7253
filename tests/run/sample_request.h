// The request of the headless driver's own example, for a scenario code and a square grid. The benchmarks
// include it on its own; the tests reach it through run_fixtures.h with the struct requests.
#pragma once

#include <QByteArray>
#include <QString>

namespace velaron::test {

inline QByteArray SampleRequest(int code, int width = 200, int step = 10, const QString& runExtra = {}) {
  return QStringLiteral(
             R"({"settings": {"XLimit": %2, "YLimit": %2, "CStep": %3, "Skor_chel": 1.0, "Tfb": 10, "Dola": 0.5,
                 "Tobl": 20, "Dola_obl": 0.3},
   "pipeline": {"Gas": 1, "Diametr": 1420, "DavlDown": 7.4, "DavlUp": 5.4, "Temp": 10, "Glubina": 1.2,
                "Ltrub": 100, "Lkr": 30, "Tsrab": 300, "InversPercent": 14.3},
   "rate": {"way": 1, "RegionPos": 1, "Text8": 0.33, "alfa_tr": 1},
   "external": {"Check5": 0, "Check6": 0, "Check7": 0, "Check8": 0, "Eroz": 0.2, "Stih": 0.01, "Zapor": 0.2,
                "Rechper": 0.1},
   "section": {"TPID": 1, "Length": 5000, "Udal": 20000, "Azimut": 30, "p_v": 0.1, "Ground": "2.1.1.2"},
   "run": {"ScenarioCode": %1, "season": 0, "WindSpeed": 3, "WindDir": 0, "idCity": 1 %4}})")
      .arg(code)
      .arg(width)
      .arg(step)
      .arg(runExtra)
      .toUtf8();
}

}  // namespace velaron::test
