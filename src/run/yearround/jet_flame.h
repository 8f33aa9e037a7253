// The stand-alone calculation of one asymmetric jet flame (the jet-flame window "Струевой настильный
// факел"): a pipe described by inputs of its own (gas, diameter, pressure, gas temperature, wind, the
// pipeline's azimuth and the lift angle of the pipe) instead of the main window's pipeline data. The
// outflow and the frustum flame are derived with the run's formulas, the typed lift angle taking the
// place of the run's fixed 25° elevation. The prepared run is a code-4 run: run::ExecuteRun computes it
// and makes its record like any other run's.
#pragma once

#include <QString>
#include <memory>

#include "db/rows.h"
#include "models/calc_state.h"
#include "run/prepared_run.h"
#include "run/prepare.h"

namespace velaron::run::yearround {

struct JetFlameInputs {
  db::GasRow gas;          // the gas chosen by name
  double Diametr = 0;      // pipe diameter, mm (Text3)
  double Davl = 0;         // gas pressure, MPa (Text4)
  double Temp = 0;         // gas temperature, °C (Text5)
  double Glubina = 0;      // burial depth, m (Text10): the flame base lies this far below ground
  QString location;        // location of the pipeline (Text27), for the reports
  double WindSpeed = 0;    // m/s (Text2)
  int WindDirPos = 0;      // position 0..7 of the direction list: 0 north, then clockwise by 45°
  double Azimut = 0;       // pipeline azimuth, degrees (Text25)
  double LiftAngle = 0;    // lift angle of the pipe, degrees (Text8)
};

// Checks the inputs and derives the outflow and flame quantities into a prepared run of scenario code 4
// on a fresh calculation state of the given settings (its layered grids made). `last` are the scenario
// probabilities of the last run of the run dialog (all 0 before the first run). A refusal comes back as
// the message to show; nothing is computed then.
PrepareResult PrepareJetFlame(const JetFlameInputs& in, const db::AdjustmentRow& settings,
                              std::shared_ptr<const models::ReferenceTables> tables, const result::Probabilities& last);

}  // namespace velaron::run::yearround
