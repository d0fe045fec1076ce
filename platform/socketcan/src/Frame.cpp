#include "brovasocketcan/Frame.h"

#include <algorithm>

namespace brovasocketcan {

can_frame toCanFrame(const Frame& frame) {
  can_frame out{};
  if (frame.id & kStandardFrameFlag) {
    out.can_id = frame.id & CAN_SFF_MASK;
  } else {
    out.can_id = (frame.id & CAN_EFF_MASK) | CAN_EFF_FLAG;
  }
  if (frame.id & kRemoteFrameFlag) out.can_id |= CAN_RTR_FLAG;
  out.len = std::min<uint8_t>(frame.size, CAN_MAX_DLEN);
  std::copy_n(frame.data.begin(), out.len, out.data);
  return out;
}

std::optional<Frame> fromCanFrame(const can_frame& frame) {
  if (frame.can_id & CAN_ERR_FLAG) return std::nullopt;
  Frame out;
  if (frame.can_id & CAN_EFF_FLAG) {
    out.id = frame.can_id & CAN_EFF_MASK;
  } else {
    out.id = (frame.can_id & CAN_SFF_MASK) | kStandardFrameFlag;
  }
  if (frame.can_id & CAN_RTR_FLAG) out.id |= kRemoteFrameFlag;
  out.size = std::min<uint8_t>(frame.len, CAN_MAX_DLEN);
  std::copy_n(frame.data, out.size, out.data.begin());
  return out;
}

}  // namespace brovasocketcan
