// Built against the installed package, linking its one library: a BrovaQuad and a BrovaSmall
// object and the Ferux board open at once. The simulated controllers the install test names in
// BROVA_SIM_CONTROLLERS (quad:5, small:7) answer; no board is attached, so it opens not
// connected.
#include <cstdio>
#include <string>

#include "BrovaDriver.hpp"

namespace {

int failures = 0;

// A reply can miss its pause on a loaded machine; a robot program asks again, and so does this
// one, a few times.
template <typename Ask>
std::string firmware(Ask ask) {
  std::string text = ask();
  for (int attempt = 1; attempt < 5 && text == "Firmware Version: [0.0.0]"; ++attempt) text = ask();
  return text;
}

void expect(bool ok, const std::string& what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what.c_str());
    ++failures;
  }
}

}  // namespace

int main() {
  {
    brova::BrovaQuad quad(5);
    brova::BrovaSmall small(7);
    brova::Ferux board;
    quad.set(0, 0.25);
    small.set(-0.25);
    const std::string quadFirmware = firmware([&] { return quad.getFirmwareVersion(); });
    const std::string smallFirmware = firmware([&] { return small.getFirmwareVersion(); });
    expect(quadFirmware != "Firmware Version: [0.0.0]",
           "BrovaQuad 5 firmware reads " + quadFirmware);
    expect(smallFirmware != "Firmware Version: [0.0.0]",
           "BrovaSmall 7 firmware reads " + smallFirmware);
    expect(board.isOpen() && !board.isConnected(), "the board opens, not connected");
  }
  std::printf("%s\n", failures == 0 ? "C++ consumer: a simulated BrovaQuad and BrovaSmall answer"
                                    : "C++ consumer failed");
  return failures == 0 ? 0 : 1;
}
