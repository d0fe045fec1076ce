// The two controller models' descriptions, for tools beside the library (brovactl) that ask a
// device questions without opening it: a create would configure a motor and start keep-alive
// frames, which a read-only tool must never do.
#pragma once

#include "controller/Model.h"

namespace brova::controller {

// The descriptions the entry points use, their device slots included.
const Model& brovaQuadModel();
const Model& brovaSmallModel();

// `base` addressing the device in `probeState`'s slot (set by the caller) instead of the
// model's own, and taking `probeState`'s exchange lock: an open controller of the same model
// keeps its device number. Every field is listed, so a field added to Model without a line
// here does not compile (-Wmissing-field-initializers).
inline Model onDevice(const Model& base, ModelState& probeState) {
  return Model{
      .state = probeState,
      .replyPause = base.replyPause,
      .greeting = base.greeting,
      .numbersChannels = base.numbersChannels,
      .currentByte1Divisor = base.currentByte1Divisor,
      .unknownHardware = base.unknownHardware,
  };
}

}  // namespace brova::controller
