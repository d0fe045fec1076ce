// Which controllers the process drives, by bus and device number, and through what: an object
// (one a device) or the C entry points' creates (any number a device, on bus 0). The two never
// share a device: their keep-alive frames and commands would contradict each other, and the
// replies one asked for would be taken by the other. The bus identifiers carry no model, so a
// device is taken whatever the model.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "can/Link.h"

namespace brova::controller::claims {

// An object named `name` ("BrovaQuad on device 5") takes `address`. Throws std::logic_error
// naming what holds it: "BrovaQuad on device 5 is already open; close it first", or, for a
// device the C entry points drive, "BrovaQuad on device 5 is driven through the C entry points;
// destroy it there first" (with the name of the object asking). std::bad_alloc when memory runs
// out.
void takeForObject(can::Address address, const std::string& name);
void releaseObject(can::Address address) noexcept;

// A create of the C entry points on `device` of bus 0: the name of the object that holds it, when
// one does; otherwise nothing, and the create is counted until releaseForEntryPoint.
std::optional<std::string> takeForEntryPoint(int32_t device);
void releaseForEntryPoint(int32_t device) noexcept;

}  // namespace brova::controller::claims
