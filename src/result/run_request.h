// What a run needs from the main window and the run dialog, gathered and checked before the run starts.
// The windows fill it; the headless driver reads it from JSON; the run never reads a widget.
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "db/table_rows.h"
#include "models/calc_settings.h"
#include "models/calc_state.h"
#include "result/scenarios.h"

namespace velaron::result {

// The pipeline fields of the main window, in the units of their labels.
struct PipelineInputs {
  int Gas = 1;                  // position in `abc`, from 1; < 1 when nothing is chosen
  double Diametr = 1420;        // mm (Text3)
  double DavlDown = 7.4;        // MPa (Text4)
  double DavlUp = 5.4;          // MPa (Text6)
  double Temp = 10;             // °C (Text5)
  double Glubina = 1.2;         // m (Text10)
  double Ltrub = 100;           // km (Text13)
  double Lkr = 30;              // km
  double Tsrab = 300;           // s (Text14)
  double InversPercent = 14.3;  // % (Text12)
};

// How the accident rate is given: 1 by region, 2 per 1000 km a year (with the region's Kreg), 3 typed in.
struct RateInputs {
  int way = 1;
  int RegionPos = 1;    // position in `Statistics`, from 1
  double Text8 = 0.33;  // accidents per 1000 km a year (way 2)
  double alfa_tr = 1;   // typed-in probability (way 3)
};

// The four external factors: check boxes (0/1) and their probabilities.
struct ExternalInputs {
  int Check5 = 0, Check6 = 0, Check7 = 0, Check8 = 0;
  double Eroz = 0.2, Stih = 0.01, Zapor = 0.2, Rechper = 0.1;
};

// Jet-kind shares of the run dialog (winter: Pkw, Psw, Paw; summer: Pks, Pss, Pas).
struct JetShares {
  double Pkw = 0, Psw = 0, Paw = 0, Pks = 0, Pss = 0, Pas = 0;
};

// The run dialog's choices.
struct RunChoice {
  Scenario scenario = Scenario::SymmetricJet;
  int season = 0;                   // 0 winter ("Зима"), 1 summer ("Лето")
  double WindSpeed = 3;             // m/s
  double WindDir = 0;               // degrees, where the wind blows from: 0, 45, ... 315
  int idCity = 0;                   // town for codes 1 and 7
  std::optional<JetShares> shares;  // absent: the section's `Ground3` row
};

// The two report options of the settings dialog (not stored in the database; both on at start).
struct OutputOptions {
  bool OptExtraFiles = true;  // save additional result workbooks
  bool Opt3D = true;          // three-dimensional surface pictures
};

// Texts of the main window and the run dialog that the reports print as the user saw them when the run
// started. A text left empty (a run without the windows) is printed from the run's numbers and rows instead.
struct MainWindowTexts {
  QString Mestn;                          // pipeline location (Text27)
  QString ScenarioName;                   // the scenario as the driver's input names it (texts.ScenarioName)
  QString gasName;                        // DataCombo1
  QString regionName;                     // DataCombo6
  QString cityName;                       // cmbCity
  std::array<QString, 4> groundNames;     // the run's section's soil levels (DataCombo5, 2, 3, 4 when shown)
  QString diameterText, temperatureText;  // Text3, Text5 as typed
  QString windSpeedText;                  // the run dialog's wind speed (Text2) as typed
};

// The jet-flame window's pipe: one asymmetric jet flame of a pipe typed in that window instead of a route
// section of the main window's pipeline. Such a run reads no section, ground or accident rate: it takes
// the scenario probabilities of the run dialog's last run as they stand, the typed gas temperature as it
// stands (+ 273 K), the typed lift angle of the pipe in place of the asymmetric jet's fixed elevation, and
// it forms no fireball and no cloud. The request's section holds only the typed azimuth. Its model writes its
// result workbook as the run dialog's last run left the models' flag: on after a single scenario, off after
// an assessment over a year and before the first run.
struct JetFlamePipe {
  double LiftAngle = 25;               // degrees
  models::ScenarioProbabilities last;  // all 0 before the first run
  bool SaveXls = false;                // the models write their result workbook
};

// Everything a run starts from.
struct RunRequest {
  models::CalcSettings settings;  // the calculation settings
  PipelineInputs pipeline;
  RateInputs rate;
  ExternalInputs external;
  db::SectionRow section;
  RunChoice run;
  OutputOptions options;
  MainWindowTexts texts;
  std::optional<JetFlamePipe> jetFlame;  // the jet-flame window's run
};

}  // namespace velaron::result
