package com.quorvel.frc.demo;

import com.quorvel.frc.BrovaQuad;
import com.quorvel.frc.BrovaQuadEncoder;
import com.quorvel.frc.BrovaSmall;
import com.quorvel.frc.Ferux;
import com.quorvel.frc.Reading;
import com.quorvel.frc.sim.SimAnalogBoard;
import com.quorvel.frc.sim.SimCan;
import com.quorvel.frc.sim.SimController;
import java.time.Duration;

/**
 * The demo robot program in Java: a BrovaQuad (device 5), a BrovaSmall (device 7) and the Ferux
 * board opened with the object API, driven in a 20 ms loop for a few seconds. The library's
 * telemetry thread reads the controllers and the board in the background; the loop reads only
 * cached values, so it never waits for the bus, and prints them as a table a few times a second.
 * The controllers and the board are simulated in the same process.
 *
 * <p>Usage: {@code BrovaDemo [seconds]}
 */
public final class BrovaDemo {
  private static final int QUAD = 5;
  private static final int SMALL = 7;
  private static final double METRES_PER_TICK = 0.1 / 2048;
  private static final long LOOP_MS = 20;
  private static final long PRINT_EVERY_MS = 300;

  private BrovaDemo() {}

  public static void main(String[] args) throws InterruptedException {
    final double seconds = args.length > 0 ? Double.parseDouble(args[0]) : 5.0;
    try (SimController quadSim = SimController.attach(SimController.Model.QUAD, QUAD);
        SimController smallSim = SimController.attach(SimController.Model.SMALL, SMALL);
        SimAnalogBoard board = SimAnalogBoard.attach()) {
      quadSim.setLoad(1, 0.3);
      smallSim.setLoad(0, 0.1);
      for (int channel = 0; channel < 4; ++channel) {
        board.setInput(channel, 0.4 * (channel + 1));
      }
      System.out.printf(
          "BrovaDriver Java demo: BrovaQuad on device %d, BrovaSmall on device %d, Ferux%n",
          QUAD, SMALL);
      runRobot(seconds);
    }
  }

  private static void runRobot(double seconds) throws InterruptedException {
    try (BrovaQuad quad = new BrovaQuad(QUAD);
        BrovaSmall small = new BrovaSmall(SMALL);
        Ferux ferux = new Ferux(5)) {
      for (int encoder = 0; encoder < BrovaQuad.CHANNELS; ++encoder) {
        quad.getEncoder(encoder).setDistancePerTick(METRES_PER_TICK);
      }
      small.getEncoder().setDistancePerTick(METRES_PER_TICK);
      // The identity reads block (10 ms and 100 ms each): done once, before the loop.
      System.out.println("BrovaQuad:  " + quad.getFirmwareVersion() + " | "
          + quad.getHardwareVersion() + " | serial " + quad.getSerialNumber());
      System.out.println("BrovaSmall: " + small.getFirmwareVersion() + " | "
          + small.getHardwareVersion() + " | serial " + small.getSerialNumber());

      quad.startTelemetry(Duration.ofMillis(LOOP_MS));
      small.startTelemetry(Duration.ofMillis(LOOP_MS));
      if (ferux.isConnected()) {
        ferux.startTelemetry(Duration.ofMillis(LOOP_MS));
      }
      System.out.printf("Robot enabled: driving for %.1f s%n", seconds);
      SimCan.setSystemActive(true);
      final double[] quadCommand = new double[BrovaQuad.CHANNELS];
      final long start = System.nanoTime();
      long nextPrint = 0;
      for (long elapsedMs = 0; elapsedMs < seconds * 1000;
          elapsedMs = (System.nanoTime() - start) / 1_000_000) {
        final double t = elapsedMs / 1000.0;
        final double ramp = t < seconds / 2 ? t / (seconds / 2) : (seconds - t) / (seconds / 2);
        quadCommand[0] = ramp;
        quadCommand[1] = 0.5;
        quadCommand[2] = 0.8 * Math.sin(2 * Math.PI * t / seconds);
        quadCommand[3] = t < seconds / 5 ? 0.0 : -0.6;
        for (int motor = 0; motor < BrovaQuad.CHANNELS; ++motor) {
          quad.set(motor, quadCommand[motor]);
        }
        final double smallCommand = t < seconds / 2 ? 0.3 : -0.3;
        small.set(smallCommand);
        if (elapsedMs >= nextPrint) {
          System.out.print(table(t, quad, quadCommand, small, smallCommand, ferux));
          nextPrint += PRINT_EVERY_MS;
        }
        Thread.sleep(LOOP_MS);
      }
      for (int motor = 0; motor < BrovaQuad.CHANNELS; ++motor) {
        quad.disable(motor);
      }
      small.disable();
      SimCan.setSystemActive(false);
      System.out.println("Robot disabled");
    }
  }

  /** One block of the telemetry table, from cached readings only. */
  private static String table(double t, BrovaQuad quad, double[] quadCommand, BrovaSmall small,
      double smallCommand, Ferux ferux) {
    final StringBuilder block = new StringBuilder();
    final Reading temperature = quad.getTemperature();
    block.append(String.format("t=%5.2f s  quad temp %s C, %s%n", t,
        number(temperature, "%5.2f"), age(temperature)));
    block.append("          cmd  current A   rpm  distance m\n");
    for (int motor = 0; motor < BrovaQuad.CHANNELS; ++motor) {
      final BrovaQuadEncoder encoder = quad.getEncoder(motor);
      block.append(String.format("  ch%d   %+5.2f  %8s  %5s  %10s%n", motor, quadCommand[motor],
          number(quad.getCurrent(motor), "%6.2f"), number(quad.getRPM(motor), "%5.0f"),
          number(encoder.getDistance(), "%7.3f")));
    }
    block.append(String.format("  small %+5.2f  %8s  %5s  %10s%n", smallCommand,
        number(small.getCurrent(), "%6.2f"), "", number(small.getEncoderDistance(), "%7.3f")));
    if (ferux.isConnected()) {
      block.append("  ferux");
      for (int channel = 0; channel < Ferux.CHANNELS; ++channel) {
        block.append(String.format(" %5s V", number(ferux.getVoltage(channel), "%5.2f")));
      }
      block.append('\n');
    }
    return block.toString();
  }

  private static String number(Reading reading, String format) {
    return reading.isPresent() ? String.format(format, reading.value()) : "-";
  }

  private static String age(Reading reading) {
    return reading.isPresent() ? "read " + reading.age().toMillis() + " ms ago" : "not read yet";
  }
}
