// com.quorvel.frc.sim.SimAnalogBoard over the simulated converter. The Java object holds a
// pointer to a shared_ptr of the board, released by detach.
#include <memory>

#include "brovasim/SimAnalogBoard.h"
#include "com_quorvel_frc_sim_SimAnalogBoard.h"

namespace {

using BoardRef = std::shared_ptr<brovasim::SimAnalogBoard>;

BoardRef& boardAt(jlong board) { return *reinterpret_cast<BoardRef*>(board); }

}  // namespace

extern "C" {

JNIEXPORT jlong JNICALL Java_com_quorvel_frc_sim_SimAnalogBoard_attachBoard(JNIEnv*, jclass) {
  return reinterpret_cast<jlong>(new BoardRef(brovasim::attachAnalogBoard()));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimAnalogBoard_setInput(JNIEnv*, jclass,
                                                                        jlong board, jint channel,
                                                                        jdouble volts) {
  boardAt(board)->setInput(channel, volts);
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimAnalogBoard_setPresent(JNIEnv*, jclass,
                                                                          jlong board,
                                                                          jboolean present) {
  boardAt(board)->setPresent(present != JNI_FALSE);
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimAnalogBoard_detach(JNIEnv*, jclass,
                                                                      jlong board) {
  BoardRef* ref = reinterpret_cast<BoardRef*>(board);
  brovasim::i2c::detach(brovasim::SimAnalogBoard::kDefaultPort,
                        brovasim::SimAnalogBoard::kDefaultAddress);
  delete ref;
}

}  // extern "C"
