#include "devices/Kinds.h"

#include "controller/Models.h"

namespace brova::devices {
namespace {

// The single-channel controller answers neither the RPM nor the temperature request.
constexpr KindDescription kQuad{controller::brovaQuadModel, kEveryQuantity};
constexpr KindDescription kSmall{controller::brovaSmallModel, kCurrent | kEncoderCount};

}  // namespace

const KindDescription& describe(Kind kind) { return kind == Kind::Quad ? kQuad : kSmall; }

}  // namespace brova::devices
