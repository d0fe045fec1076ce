// Simulated controllers named by the environment, so that any program on the simulated platform
// (a robot program built elsewhere, an artifact under test) finds controllers answering without
// a line of simulation code: BROVA_SIM_CONTROLLERS=quad:5,small:7.
#include "FromEnvironment.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "brovasim/SimController.h"

namespace brovasim {
namespace {

// "quad:N" or "small:N" with N in 0..63; false for anything else.
bool parse(const std::string& item, SimController::Model& model, int& device) {
  const auto colon = item.find(':');
  if (colon == std::string::npos) return false;
  const std::string kind = item.substr(0, colon);
  if (kind == "quad") {
    model = SimController::Model::Quad;
  } else if (kind == "small") {
    model = SimController::Model::Small;
  } else {
    return false;
  }
  const std::string number = item.substr(colon + 1);
  char* end = nullptr;
  const long value = std::strtol(number.c_str(), &end, 10);
  if (number.empty() || *end != '\0' || value < 0 || value > 63) return false;
  device = static_cast<int>(value);
  return true;
}

void attachListed(const char* list) {
  // Kept for the life of the process, as the controllers of a real robot are.
  static auto* const attached = new std::vector<std::shared_ptr<SimController>>;
  std::string rest = list;
  while (!rest.empty()) {
    const auto comma = rest.find(',');
    const std::string item = rest.substr(0, comma);
    rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
    SimController::Model model{};
    int device = 0;
    if (parse(item, model, device)) {
      attached->push_back(SimController::attach(model, device));
    } else {
      std::fprintf(stderr, "%s: '%s' is not quad:N or small:N (N 0..63); ignored\n",
                   kControllersVariable, item.c_str());
    }
  }
}

}  // namespace

void attachControllersFromEnvironment() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (const char* list = std::getenv(kControllersVariable)) attachListed(list);
  });
}

}  // namespace brovasim
