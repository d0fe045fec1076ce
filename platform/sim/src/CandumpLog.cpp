#include "brovasim/CandumpLog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace brovasim {

namespace {

constexpr size_t kMaxData = 8;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

struct Capture {
  std::mutex mutex;
  std::FILE* file = nullptr;
  std::string interface = capture::kDefaultInterface;
  bool environmentChecked = false;
};

// Never destroyed: frames may still be sent while the process exits; stdio flushes the file.
Capture& theCapture() {
  static Capture* const instance = new Capture;
  return *instance;
}

bool openLocked(Capture& c, const std::string& path, const std::string& interfaceName) {
  if (c.file != nullptr) std::fclose(c.file);
  c.file = std::fopen(path.c_str(), "w");
  if (c.file == nullptr) return false;
  std::setvbuf(c.file, nullptr, _IOLBF, 0);
  c.interface = interfaceName;
  return true;
}

void checkEnvironmentLocked(Capture& c) {
  if (c.environmentChecked) return;
  c.environmentChecked = true;
  if (const char* path = std::getenv(capture::kEnvironmentVariable); path != nullptr && *path) {
    if (!openLocked(c, path, capture::kDefaultInterface)) {
      std::fprintf(stderr, "brovasim: cannot write the CAN capture to %s\n", path);
    }
  }
}

}  // namespace

std::string formatCandumpLine(const LoggedFrame& frame) {
  char head[64];
  std::snprintf(head, sizeof head, "(%lld.%06lld) ",
                static_cast<long long>(frame.microseconds / 1000000),
                static_cast<long long>(frame.microseconds % 1000000));
  std::string line = head;
  line += frame.interface;
  char id[16];
  std::snprintf(id, sizeof id, " %08X#", frame.id & 0x1FFFFFFF);
  line += id;
  for (uint8_t byte : frame.data) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", byte);
    line += pair;
  }
  return line;
}

std::optional<LoggedFrame> parseCandumpLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) {
    line.remove_suffix(1);
  }
  if (line.size() < 3 || line.front() != '(') return std::nullopt;
  const size_t close = line.find(')');
  const size_t dot = line.find('.');
  if (close == std::string_view::npos || dot == std::string_view::npos || dot > close) {
    return std::nullopt;
  }
  LoggedFrame frame;
  int64_t seconds = 0;
  for (char c : line.substr(1, dot - 1)) {
    if (c < '0' || c > '9') return std::nullopt;
    seconds = seconds * 10 + (c - '0');
  }
  std::string_view fraction = line.substr(dot + 1, close - dot - 1);
  if (fraction.empty() || fraction.size() > 6) return std::nullopt;
  int64_t micros = 0;
  for (size_t i = 0; i < 6; ++i) {
    const char c = i < fraction.size() ? fraction[i] : '0';
    if (c < '0' || c > '9') return std::nullopt;
    micros = micros * 10 + (c - '0');
  }
  frame.microseconds = seconds * 1000000 + micros;

  std::string_view rest = line.substr(close + 1);
  if (rest.empty() || rest.front() != ' ') return std::nullopt;
  rest.remove_prefix(1);
  const size_t space = rest.find(' ');
  if (space == 0 || space == std::string_view::npos) return std::nullopt;
  frame.interface = std::string(rest.substr(0, space));
  rest.remove_prefix(space + 1);
  const size_t hash = rest.find('#');
  if (hash == std::string_view::npos || hash == 0 || hash > 8) return std::nullopt;
  for (char c : rest.substr(0, hash)) {
    const int v = hexValue(c);
    if (v < 0) return std::nullopt;
    frame.id = frame.id << 4 | static_cast<uint32_t>(v);
  }
  std::string_view data = rest.substr(hash + 1);
  if (data.size() % 2 != 0 || data.size() / 2 > kMaxData) return std::nullopt;
  for (size_t i = 0; i < data.size(); i += 2) {
    const int high = hexValue(data[i]);
    const int low = hexValue(data[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    frame.data.push_back(static_cast<uint8_t>(high << 4 | low));
  }
  return frame;
}

namespace capture {

bool start(const std::string& path, const std::string& interfaceName) {
  Capture& c = theCapture();
  std::lock_guard lock(c.mutex);
  c.environmentChecked = true;
  return openLocked(c, path, interfaceName);
}

void stop() {
  Capture& c = theCapture();
  std::lock_guard lock(c.mutex);
  c.environmentChecked = true;
  if (c.file != nullptr) std::fclose(c.file);
  c.file = nullptr;
}

bool active() {
  Capture& c = theCapture();
  std::lock_guard lock(c.mutex);
  checkEnvironmentLocked(c);
  return c.file != nullptr;
}

std::string interfaceOfBus(const std::string& busZero, int32_t bus) {
  if (bus == 0) return busZero;
  // The number is the name's last digits, at most nine of them, so that the sum cannot overflow.
  size_t start = busZero.size();
  while (start > 0 && busZero.size() - start < 9 && busZero[start - 1] >= '0' &&
         busZero[start - 1] <= '9') {
    --start;
  }
  const long long number = start < busZero.size() ? std::stoll(busZero.substr(start)) : 0;
  return busZero.substr(0, start) + std::to_string(number + bus);
}

void record(uint32_t id, const uint8_t* data, uint8_t size, int32_t bus) {
  Capture& c = theCapture();
  std::lock_guard lock(c.mutex);
  checkEnvironmentLocked(c);
  if (c.file == nullptr) return;
  LoggedFrame frame;
  frame.microseconds = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  frame.interface = interfaceOfBus(c.interface, bus);
  frame.id = id;
  if (data != nullptr) frame.data.assign(data, data + std::min<size_t>(size, kMaxData));
  const std::string line = formatCandumpLine(frame) + "\n";
  std::fputs(line.c_str(), c.file);
}

}  // namespace capture
}  // namespace brovasim
