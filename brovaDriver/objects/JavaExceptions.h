// How the Java objects' natives hand a C++ exception to Java: as the Java exception of its kind,
// so that none crosses the JNI boundary.
#pragma once

#include <jni.h>

#include <new>
#include <stdexcept>

namespace brova::detail {

inline void throwJava(JNIEnv* env, const char* className, const char* message) {
  if (env->ExceptionCheck()) return;  // the first exception is the one Java sees
  if (jclass type = env->FindClass(className)) env->ThrowNew(type, message);
}

// Runs `call`; an exception it throws is thrown in Java instead, and `fallback` returned.
template <typename Result, typename Call>
Result guarded(JNIEnv* env, Result fallback, Call&& call) noexcept {
  try {
    return call();
  } catch (const std::invalid_argument& e) {
    throwJava(env, "java/lang/IllegalArgumentException", e.what());
  } catch (const std::logic_error& e) {
    throwJava(env, "java/lang/IllegalStateException", e.what());
  } catch (const std::runtime_error& e) {
    throwJava(env, "java/lang/IllegalStateException", e.what());
  } catch (const std::bad_alloc&) {
    throwJava(env, "java/lang/OutOfMemoryError", "out of native memory");
  } catch (const std::exception& e) {
    throwJava(env, "java/lang/RuntimeException", e.what());
  } catch (...) {
    throwJava(env, "java/lang/RuntimeException", "unknown native failure");
  }
  return fallback;
}

template <typename Call>
void guardedVoid(JNIEnv* env, Call&& call) noexcept {
  guarded(env, 0, [&] {
    call();
    return 0;
  });
}

}  // namespace brova::detail
