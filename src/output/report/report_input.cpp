#include "output/report/report_input.h"

#include <algorithm>

#include "common/numtext.h"
#include "output/pictures/chart_picture.h"
#include "output/pictures/run_pictures.h"
#include "result/crossings.h"
#include "result/printed_texts.h"
#include "output/report/report_numbers.h"

namespace velaron::report {

namespace {

// `yLimit`: the largest value the series can take (100 for a probability in %), 0 for none.
QImage Chart(const result::DistanceSeries& s, const QString& xTitle, const QString& yTitle, double xMax,
             double yLimit = 0) {
  output::ChartPictureOptions o;
  o.xMaxShared = xMax;  // both charts over one distance range
  o.yLimit = yLimit;
  o.xTitle = xTitle;
  o.yTitle = yTitle;
  o.width = kChartWidth;
  o.height = kChartHeight;
  return output::RenderDistanceChart(s.points, o);
}

}  // namespace

ReportInput InputFromRecord(const result::RunSnapshot& r, const QDate& today, bool drawFigures) {
  ReportInput in;
  const auto& req = r.request;
  const auto& st = req.settings;
  const auto& d = r.derived;
  const result::PrintedTexts texts = result::PrintedTextsOf(r);
  in.scenario = r.scenario();
  in.ZoneAtEdge = r.ZoneAtEdge;
  in.Mestn = texts.Mestn;
  in.today = today;
  in.start = r.start;
  in.end = r.end;
  in.TPID = req.section.TPID;
  in.gasName = texts.gasName;
  in.Dtrub = d.Dtrub;
  in.DavlText = texts.DavlText;
  in.TempText = texts.TempText;
  in.LengthText = texts.LengthText;
  in.Azimut = req.section.Azimut;
  in.groundNames = texts.groundNames;
  in.XLimitText = Plain(st.XLimit);
  in.CStepText = Plain(st.CStep);
  in.SkorChelText = Plain(st.Skor_chel);
  in.TfbText = Plain(st.Tfb);
  in.DolaText = Plain(st.Dola);
  in.ToblText = Plain(st.Tobl);
  in.DolaOblText = Plain(st.Dola_obl);
  in.CStep = st.CStep;
  in.crossings = result::CrossingFlags(req.section);
  in.external = {req.external.Check5, req.external.Check6, req.external.Check7, req.external.Check8};
  in.PitLength = d.PitLength;
  in.SpeedOut = d.SpeedOut;
  in.MassFlow = d.MassFlow;
  in.LTorch = d.LTorch;
  in.LTorchWind = d.LTorchWind;
  in.liftAngleText = texts.liftAngleText;
  in.MassFireBall = d.MassFireBall;
  in.RFireBall = r.RFireBall;
  in.TFireBall = r.TFireBall;
  in.Dola_obl = st.Dola_obl;
  in.MassGPVS = d.MassGPVS;
  in.RadiusDP = r.RadiusDP;
  in.probabilities = r.probabilities;
  in.MeteoText = texts.MeteoText;
  in.WorstDirWord = r.WorstDir[1];
  in.zones = r.zones;
  if (drawFigures) {
    const output::RunPictures pictures = output::DrawResultPictures(r);
    in.imgRisk = pictures.imgRisk;
    in.imgDiagr1 = pictures.imgDiagr1;
    in.imgDiagr2 = pictures.imgDiagr2;
    const double xMax = std::max(r.graf1.points.empty() ? 0.0 : r.graf1.points.back().first,
                                 r.graf2.points.empty() ? 0.0 : r.graf2.points.back().first);
    if (!r.graf1.points.empty()) in.graf1 = Chart(r.graf1, texts.distanceTitle, texts.damageTitle, xMax);
    if (!r.graf2.points.empty()) in.graf2 = Chart(r.graf2, texts.distanceTitle, texts.percentTitle, xMax, 100);
  }
  in.ScenarioName = texts.ScenarioName;
  in.cityName = texts.cityName;
  in.regionName = texts.regionName;
  in.diameterText = texts.diameterText;
  in.DavlDown = req.pipeline.DavlDown;
  in.DavlUp = req.pipeline.DavlUp;
  in.Diametr = req.pipeline.Diametr;
  return in;
}

db::ReportSummaryRow SummaryRow(const ReportInput& in, const QDateTime& now) {
  db::ReportSummaryRow row;
  row.Date = now;
  row.dlit = static_cast<int>(MinuteCount(in.start, in.end));
  row.Mestn = in.Mestn;
  row.scen = in.ScenarioName;
  row.Grunt = in.groundNames[0];
  row.Gr_grunt = in.groundNames[1];
  row.Type_grunt = in.groundNames[2];
  row.Vid_grunt = in.groundNames[3];
  // The table keeps the diameter as a number: the text as typed, read with the decimal comma.
  row.Dtr = ParseNumberLoose(in.diameterText.toStdString()).value_or(in.Diametr);
  row.Davl_sr = (in.DavlUp + in.DavlDown) / 2;
  row.Vid_gaz = in.gasName;
  row.City = in.cityName;
  row.Region = in.regionName;
  return row;
}

}  // namespace velaron::report
