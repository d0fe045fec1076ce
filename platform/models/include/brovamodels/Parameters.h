// What a simulated controller's motors and heat balance are made of (brovamodels/Controller.h
// says how they behave).
#pragma once

namespace brovamodels {

// One channel's motor.
struct MotorParameters {
  double freeSpeedRpm = 5000.0;
  double timeConstantSeconds = 0.15;
  double freeCurrentAmperes = 1.0;
  double stallCurrentAmperes = 30.0;
};

// The controller's heat balance.
struct ThermalParameters {
  double ambientCelsius = 25.0;
  double risePerSquareAmpere = 0.02;  // °C above ambient, at equilibrium, per A^2 drawn
  double timeConstantSeconds = 30.0;
};

}  // namespace brovamodels
