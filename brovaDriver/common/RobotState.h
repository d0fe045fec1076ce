// Whether the robot system is active: the one question the keep-alive asks the platform.
#pragma once

namespace brova {

// True when the platform says the robot's outputs may run. Where the platform cannot answer
// that directly (the 2027 robot controller's HAL reports an error status for it), the Driver
// Station's control word decides: enabled, not e-stopped, and a Driver Station attached.
bool robotActive();

}  // namespace brova
