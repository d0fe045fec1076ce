package com.quorvel.frc.demo;

import com.quorvel.frc.jni.BrovaQuadEncoderJNI;
import com.quorvel.frc.jni.BrovaQuadJNI;
import com.quorvel.frc.jni.BrovaSmallEncoderJNI;
import com.quorvel.frc.jni.BrovaSmallJNI;
import com.quorvel.frc.jni.FeruxJNI;
import com.quorvel.frc.sim.SimAnalogBoard;
import com.quorvel.frc.sim.SimCan;
import com.quorvel.frc.sim.SimController;

/**
 * The demo robot program in Java: a BrovaQuad (device 5) and a BrovaSmall (device 7) driven
 * through the JNI classes in a 20 ms loop for a few seconds, with telemetry printed from a
 * second thread, against controllers and an analog board simulated in the same process.
 *
 * <p>Usage: {@code BrovaDemo [seconds]}
 */
public final class BrovaDemo {
  private static final int QUAD = 5;
  private static final int SMALL = 7;
  private static final int FREQUENCY = 15000;
  private static final double METRES_PER_TICK = 0.1 / 2048;

  private BrovaDemo() {}

  public static void main(String[] args) throws InterruptedException {
    final double seconds = args.length > 0 ? Double.parseDouble(args[0]) : 5.0;
    try (SimController quadSim = SimController.attach(SimController.Model.QUAD, QUAD);
        SimController smallSim = SimController.attach(SimController.Model.SMALL, SMALL);
        SimAnalogBoard ferux = SimAnalogBoard.attach()) {
      quadSim.setLoad(1, 0.3);
      smallSim.setLoad(0, 0.1);
      for (int channel = 0; channel < 4; ++channel) {
        ferux.setInput(channel, 0.4 * (channel + 1));
      }
      System.out.printf("BrovaDriver Java demo: BrovaQuad on device %d, BrovaSmall on device %d%n",
          QUAD, SMALL);
      runRobot(seconds);
    }
  }

  private static void runRobot(double seconds) throws InterruptedException {
    final long quad = BrovaQuadJNI.c_BrovaQuad_create(QUAD, FREQUENCY, false, 0);
    final long small = BrovaSmallJNI.c_BrovaSmall_create(SMALL, FREQUENCY, false);
    final boolean feruxPresent = FeruxJNI.c_initializeI2C(5.0f);
    System.out.println("BrovaQuad:  " + BrovaQuadJNI.c_BrovaQuad_getFirmwareVersion(quad) + " | "
        + BrovaQuadJNI.c_BrovaQuad_getHardwareVersion(quad) + " | serial "
        + BrovaQuadJNI.c_BrovaQuad_getSerialNumber(quad));
    System.out.println("BrovaSmall: " + BrovaSmallJNI.c_BrovaSmall_getFirmwareVersion(small)
        + " | " + BrovaSmallJNI.c_BrovaSmall_getHardwareVersion(small) + " | serial "
        + BrovaSmallJNI.c_BrovaSmall_getSerialNumber(small));

    System.out.printf("Robot enabled: driving for %.1f s%n", seconds);
    SimCan.setSystemActive(true);
    final long start = System.nanoTime();
    final Thread telemetry = new Thread(() -> {
      while (!Thread.currentThread().isInterrupted()) {
        final StringBuilder block = new StringBuilder();
        block.append(String.format("t=%5.2f s   BrovaQuad temp %5.2f C%n",
            (System.nanoTime() - start) / 1e9, BrovaQuadJNI.c_BrovaQuad_getControllerTemp(quad)));
        for (int motor = 0; motor < 4; ++motor) {
          block.append(String.format("  quad ch%d  current %6.2f A  rpm %5.0f  distance %7.3f m%n",
              motor, BrovaQuadJNI.c_BrovaQuad_getCurrent(quad, motor),
              BrovaQuadJNI.c_BrovaQuad_getRPM(quad, motor),
              BrovaQuadEncoderJNI.c_BrovaQuadEncoder_getEncoderDistance(
                  quad, motor, METRES_PER_TICK, 0, 0)));
        }
        block.append(String.format("  small     current %6.2f A  distance %7.3f m%n",
            BrovaSmallJNI.c_BrovaSmall_getCurrent(small),
            BrovaSmallEncoderJNI.c_BrovaSmallEncoder_getEncoderDistance(
                small, METRES_PER_TICK, 0, 0)));
        if (feruxPresent) {
          block.append(String.format("  ferux     %5.2f V  %5.2f V  %5.2f V  %5.2f V%n",
              FeruxJNI.c_getVoltage(0), FeruxJNI.c_getVoltage(1), FeruxJNI.c_getVoltage(2),
              FeruxJNI.c_getVoltage(3)));
        }
        System.out.print(block);
      }
    });
    telemetry.start();
    for (double t = 0; t < seconds; t = (System.nanoTime() - start) / 1e9) {
      final double ramp = t < seconds / 2 ? t / (seconds / 2) : (seconds - t) / (seconds / 2);
      BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(quad, 0, ramp);
      BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(quad, 1, 0.5);
      BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(quad, 2, 0.8 * Math.sin(2 * Math.PI * t / seconds));
      BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(quad, 3, t < seconds / 5 ? 0.0 : -0.6);
      BrovaSmallJNI.c_BrovaSmall_setMotorSpeed(small, t < seconds / 2 ? 0.3 : -0.3);
      Thread.sleep(20);
    }
    telemetry.interrupt();
    telemetry.join();
    for (int motor = 0; motor < 4; ++motor) {
      BrovaQuadJNI.c_BrovaQuad_disableMotor(quad, motor);
    }
    BrovaSmallJNI.c_BrovaSmall_disableMotor(small);
    SimCan.setSystemActive(false);
    System.out.println("Robot disabled");
    BrovaQuadJNI.c_BrovaQuad_destroy(quad);
    BrovaSmallJNI.c_BrovaSmall_destroy(small);
    FeruxJNI.c_closeI2C();
  }
}
