// The devices layer's threads: one of each kind for the whole process, started on first need,
// detached and never ended, named so that a process listing shows them.
#pragma once

namespace brova::devices {

// Starts `body` on a detached thread called `name`. Throws std::system_error when the thread
// cannot start.
void startBackgroundThread(void (*body)() noexcept, const char* name);

}  // namespace brova::devices
