// What the objects library makes visible to programs.
#ifndef BROVADRIVER_BROVA_DETAIL_EXPORT_HPP
#define BROVADRIVER_BROVA_DETAIL_EXPORT_HPP

#define BROVA_OBJECTS_API __attribute__((visibility("default")))

#endif  // BROVADRIVER_BROVA_DETAIL_EXPORT_HPP
