// com.quorvel.frc.sim.SimController over the simulated controllers. The Java object holds a
// pointer to a shared_ptr of the controller, released by detach.
#include <memory>

#include "brovasim/SimController.h"
#include "com_quorvel_frc_sim_SimController.h"

namespace {

using brovasim::SimController;
using ControllerRef = std::shared_ptr<SimController>;

SimController& controllerAt(jlong controller) {
  return **reinterpret_cast<ControllerRef*>(controller);
}

}  // namespace

extern "C" {

JNIEXPORT jlong JNICALL Java_com_quorvel_frc_sim_SimController_attachController(JNIEnv*, jclass,
                                                                                jboolean quad,
                                                                                jint device,
                                                                                jint bus) {
  const auto model = quad != JNI_FALSE ? SimController::Model::Quad : SimController::Model::Small;
  auto options = SimController::defaults(model);
  options.bus = bus;
  return reinterpret_cast<jlong>(new ControllerRef(SimController::attach(model, device, options)));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimController_setAnswering(JNIEnv*, jclass,
                                                                           jlong controller,
                                                                           jboolean answering) {
  controllerAt(controller).setAnswering(answering != JNI_FALSE);
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimController_setLoad(JNIEnv*, jclass,
                                                                      jlong controller,
                                                                      jint channel,
                                                                      jdouble fraction) {
  controllerAt(controller).setLoad(channel, fraction);
}

JNIEXPORT jboolean JNICALL Java_com_quorvel_frc_sim_SimController_enabled(JNIEnv*, jclass,
                                                                          jlong controller) {
  return controllerAt(controller).enabled();
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_sim_SimController_rpm(JNIEnv*, jclass,
                                                                     jlong controller,
                                                                     jint channel) {
  return controllerAt(controller).channel(channel).rpm;
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_sim_SimController_encoderCount(JNIEnv*, jclass,
                                                                           jlong controller,
                                                                           jint channel) {
  return controllerAt(controller).channel(channel).encoderCount;
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_sim_SimController_commandedSpeed(JNIEnv*, jclass,
                                                                                jlong controller,
                                                                                jint channel) {
  return controllerAt(controller).channel(channel).commandedSpeed;
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_sim_SimController_temperature(JNIEnv*, jclass,
                                                                             jlong controller) {
  return controllerAt(controller).temperature();
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimController_detach(JNIEnv*, jclass,
                                                                     jlong controller) {
  ControllerRef* ref = reinterpret_cast<ControllerRef*>(controller);
  (*ref)->detach();
  delete ref;
}

}  // extern "C"
