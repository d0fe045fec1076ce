#include "devices/BackgroundThread.h"

#include <thread>

#ifdef __linux__
#include <pthread.h>
#endif

namespace brova::devices {

void startBackgroundThread(void (*body)() noexcept, const char* name) {
  std::thread thread(body);
#ifdef __linux__
  pthread_setname_np(thread.native_handle(), name);
#else
  (void)name;
#endif
  thread.detach();
}

}  // namespace brova::devices
