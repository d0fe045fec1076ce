// The C++ classes libBrovaDriver.so makes visible to programs (its version script lists them).
#ifndef BROVADRIVER_BROVA_DETAIL_EXPORT_HPP
#define BROVADRIVER_BROVA_DETAIL_EXPORT_HPP

#define BROVA_OBJECTS_API __attribute__((visibility("default")))

#endif  // BROVADRIVER_BROVA_DETAIL_EXPORT_HPP
