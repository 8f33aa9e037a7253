// A report input with every value set by hand, for the content tests of the report documents.
#pragma once

#include <QImage>

#include "output/report/report_input.h"

namespace velaron::test {

inline QImage Swatch(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::darkCyan);
  return img;
}

inline report::ReportInput SampleReportInput(int code) {
  report::ReportInput in;
  in.scenario = result::ScenarioOf(code).value();
  in.Mestn = QStringLiteral("Хабаровский край, км 12");
  in.today = QDate(2026, 3, 14);
  in.start = QDateTime(in.today, QTime(10, 0, 59));
  in.end = QDateTime(in.today, QTime(10, 3, 1));
  in.TPID = 7;
  in.gasName = QStringLiteral("Метан");
  in.Dtrub = 1.42;
  in.DavlText = QStringLiteral("6,40");
  in.TempText = QStringLiteral("10");
  in.LengthText = QStringLiteral("5000");
  in.Azimut = 22.5;
  in.groundNames = {QStringLiteral("Дисперсные"), QStringLiteral("Связные"), QStringLiteral("Минеральные"),
                    QStringLiteral("Суглинок")};
  in.XLimitText = QStringLiteral("1000");
  in.CStepText = QStringLiteral("20");
  in.CStep = 20;
  in.SkorChelText = QStringLiteral("1,5");
  in.TfbText = QStringLiteral("10");
  in.DolaText = QStringLiteral("0,5");
  in.ToblText = QStringLiteral("20");
  in.DolaOblText = QStringLiteral("0,15");
  in.PitLength = 45.2;
  in.SpeedOut = 371.175;
  in.MassFlow = 12.5;
  in.LTorch = 50.25;
  in.LTorchWind = 30.125;
  in.MassFireBall = 2010.004;
  in.RFireBall = 123.456;
  in.TFireBall = 7;
  in.Dola_obl = 0.1;
  in.MassGPVS = 812.4567;
  in.RadiusDP = {5, 12.5, 40, 0, 0, 0, 0, 0};
  in.probabilities.PRupture = 1.428e-4;
  in.probabilities.PIgnition = 0.25;
  in.probabilities.PKotlTorch = 0;
  in.probabilities.PSimmTorch = 0.3;
  in.probabilities.PAsimmTorch = 0.05;
  in.probabilities.PFireBall = 2.5e-5;
  in.probabilities.PGPVS = 1e-10;
  in.MeteoText = {QStringLiteral("Зима"), QStringLiteral("3"), QStringLiteral("С-В")};
  in.WorstDirWord = QStringLiteral("Южному");
  in.zones.CurZones() = {-1, 120, 153.25, 200};
  for (int c = 1; c <= 5; ++c)
    for (int d = 1; d <= 8; ++d)
      for (int z = 1; z <= 4; ++z) in.zones.ZoneRDir(models::KindOf(c), d)(z) = 100 * c + 10 * (d - 1) + z - 1;
  in.imgRisk = Swatch(56, 44);
  in.graf1 = Swatch(64, 40);
  in.imgDiagr1 = Swatch(56, 44);
  in.graf2 = Swatch(64, 40);
  in.imgDiagr2 = Swatch(56, 44);
  in.ScenarioName = QStringLiteral("Взрыв");
  in.cityName = QStringLiteral("Хабаровск");
  in.regionName = QStringLiteral("Дальний Восток");
  in.diameterText = QStringLiteral("1420");
  in.DavlDown = 7.4;
  in.DavlUp = 5.4;
  in.Diametr = 1420;
  return in;
}

}  // namespace velaron::test
