#include "MotorPhysics.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace brovamodels::physics {
namespace {

constexpr double kSecondsPerMinute = 60.0;
// Time constants below this act as this: the response is then complete within any interval the
// bus can show, and nothing divides by zero.
constexpr double kShortestTimeConstant = 1e-9;

double timeConstant(double seconds) { return std::max(seconds, kShortestTimeConstant); }

// The speed the winding settles at under `drive`: a held speed is where it stays.
double settlingRpm(const Drive& drive, const MotorParameters& motor) {
  if (drive.heldRpm) return *drive.heldRpm;
  if (!drive.on) return 0.0;
  return drive.duty * std::max(motor.freeSpeedRpm, 0.0) * (1.0 - std::clamp(drive.load, 0.0, 1.0));
}

// Between events the speed error d - rpm/F of a driven winding is a + b * x, with
// x = exp(-t / tau) from the start of the interval; its current is c + Is * |a + b * x|.
struct CurrentShape {
  double a = 0.0;
  double b = 0.0;
  double c = 0.0;
};

// A held current is a constant; a held speed makes b zero, since the winding stands at it.
CurrentShape shape(const Winding& winding, const Drive& drive, const MotorParameters& motor) {
  if (drive.heldCurrent) return {0.0, 0.0, *drive.heldCurrent};
  if (!drive.on) return {};
  const double friction = motor.freeCurrentAmperes * std::fabs(drive.duty);
  // A motor without a free speed cannot turn: all of the duty is error.
  if (motor.freeSpeedRpm <= 0.0) return {drive.duty, 0.0, friction};
  const double settling = settlingRpm(drive, motor);
  return {drive.duty - settling / motor.freeSpeedRpm, (settling - winding.rpm) / motor.freeSpeedRpm,
          friction};
}

// The temperature's response after `u` seconds to a heat term exp(-lambda * t), with mu the
// inverse thermal time constant: the integral of exp(-lambda * s) * exp(-mu * (u - s)) over s in
// [0, u]. Near lambda == mu the difference quotient loses its digits, so its limit is used.
double response(double lambda, double mu, double u) {
  const double difference = mu - lambda;
  if (std::fabs(difference * u) < 1e-6) {
    return u * std::exp(-mu * u) * (1.0 + difference * u / 2.0);
  }
  return (std::exp(-lambda * u) - std::exp(-mu * u)) / difference;
}

// Where a winding's speed error changes sign within [0, seconds], if it does: there |I| has a
// corner, so the heat is integrated on each side separately.
void addSignChange(const CurrentShape& s, double tau, double seconds, std::vector<double>& cuts) {
  if (s.b == 0.0) return;
  const double x = -s.a / s.b;
  if (x <= 0.0 || x >= 1.0) return;
  const double t = -tau * std::log(x);
  if (t < seconds) cuts.push_back(t);
}

// Dissipation sum(I^2) over [from, to] is p0 + p1 * y + p2 * y^2 with y = exp(-(t - from) / tau),
// each current keeping its sign's branch inside the piece.
double heatPiece(std::span<const CurrentShape> shapes, const MotorParameters& motor,
                 const ThermalParameters& thermal, double tau, double temperature, double from,
                 double to) {
  const double middle = std::exp(-(from + to) / 2.0 / tau);
  const double start = std::exp(-from / tau);
  double p0 = 0.0, p1 = 0.0, p2 = 0.0;
  for (const CurrentShape& s : shapes) {
    const double sign = s.a + s.b * middle < 0.0 ? -1.0 : 1.0;
    const double constant = s.c + sign * motor.stallCurrentAmperes * s.a;
    const double decaying = sign * motor.stallCurrentAmperes * s.b * start;
    p0 += constant * constant;
    p1 += 2.0 * constant * decaying;
    p2 += decaying * decaying;
  }
  const double mu = 1.0 / timeConstant(thermal.timeConstantSeconds);
  const double k = thermal.risePerSquareAmpere;
  const double u = to - from;
  const double settling = thermal.ambientCelsius + k * p0;
  return settling + (temperature - settling) * std::exp(-mu * u) +
         k * mu * (p1 * response(1.0 / tau, mu, u) + p2 * response(2.0 / tau, mu, u));
}

}  // namespace

double current(const Winding& winding, const Drive& drive, const MotorParameters& motor) {
  const CurrentShape s = shape(winding, drive, motor);
  return s.c + motor.stallCurrentAmperes * std::fabs(s.a + s.b);
}

void advance(std::span<Winding> windings, std::span<const Drive> drives,
             const MotorParameters& motor, const ThermalParameters& thermal, double& temperature,
             double seconds) {
  if (seconds <= 0.0) return;
  const double tau = timeConstant(motor.timeConstantSeconds);

  // A held speed is the winding's speed throughout.
  for (size_t i = 0; i < windings.size(); ++i) {
    if (drives[i].heldRpm) windings[i].rpm = *drives[i].heldRpm;
  }

  std::vector<CurrentShape> shapes;
  std::vector<double> cuts{0.0, seconds};
  for (size_t i = 0; i < windings.size(); ++i) {
    shapes.push_back(shape(windings[i], drives[i], motor));
    addSignChange(shapes.back(), tau, seconds, cuts);
  }
  std::sort(cuts.begin(), cuts.end());
  for (size_t i = 1; i < cuts.size(); ++i) {
    if (cuts[i] > cuts[i - 1]) {
      temperature = heatPiece(shapes, motor, thermal, tau, temperature, cuts[i - 1], cuts[i]);
    }
  }

  const double decay = std::exp(-seconds / tau);
  const double approach = -std::expm1(-seconds / tau);  // 1 - decay, without losing digits
  for (size_t i = 0; i < windings.size(); ++i) {
    Winding& w = windings[i];
    const double settling = settlingRpm(drives[i], motor);
    w.revolutions += (settling * seconds + (w.rpm - settling) * tau * approach) / kSecondsPerMinute;
    w.rpm = settling + (w.rpm - settling) * decay;
  }
}

}  // namespace brovamodels::physics
