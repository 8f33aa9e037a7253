// Scenario probabilities of a run: the section's rupture probability from the accident rate, the
// ignition probability of the soil and crossings, and the probability of each accident scenario.
#pragma once

#include "result/run_snapshot.h"
#include "result/run_request.h"

namespace velaron::run {

// Ignition probability P4 + P4·p_v. A sum above 1 is taken as 0.95 (not 1); exactly 1 stays 1.
double IgnitionProbability(double P4, double p_v);

// Ignition probability used when P4 and the crossings add up to more than certainty.
inline constexpr double kIgnitionCap = 0.95;

// Probability per year of a rupture of the section from the accident rate alone:
// 1 − exp(−rate · length / 10⁶), rounded to 6 decimals (halves to even). `lengthM` in metres, the rate
// per 1000 km a year.
double RuptureProbabilityBase(double accidentRate, double lengthM);

struct ProbabilityInputs {
  double AccidentRate = 0;   // per 1000 km a year
  double ExtFactors = 0;     // at most 1
  double p_v = 0;            // at most 1
  double InversPercent = 0;  // %
  double Length = 0;         // section length, m
  double P4 = 0;             // base ignition probability of the soil
  int season = 0;            // 1 summer, otherwise winter
  result::JetShares shares;
};

result::Probabilities ComputeProbabilities(const ProbabilityInputs& in);

}  // namespace velaron::run
