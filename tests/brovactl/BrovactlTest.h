// Running brovactl's commands in-process against simulated controllers.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Brovactl.h"
#include "brovasim/SimController.h"
#include "support/SimTest.h"

// `part` appears in `text`; the message shows the whole text.
#define EXPECT_CONTAINS(text, part) \
  EXPECT_NE(std::string(text).find(part), std::string::npos) << "in: " << (text)

namespace brova::testing {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class BrovactlTest : public SimTest {
 protected:
  static Outcome run(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    Outcome result;
    result.status = brovactl::runBrovactl(arguments, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
  }

  // A controller that answers at once, in the requesting thread: no reply can miss its window
  // on a busy machine.
  std::shared_ptr<brovasim::SimController> attach(brovasim::SimController::Model model,
                                                  int device) {
    auto options = brovasim::SimController::defaults(model);
    options.replyLatency = std::chrono::microseconds(0);
    controllers_.push_back(brovasim::SimController::attach(model, device, options));
    return controllers_.back();
  }
  std::shared_ptr<brovasim::SimController> attachQuad(int device) {
    return attach(brovasim::SimController::Model::Quad, device);
  }
  std::shared_ptr<brovasim::SimController> attachSmall(int device) {
    return attach(brovasim::SimController::Model::Small, device);
  }

  void TearDown() override {
    for (auto& controller : controllers_) controller->detach();
    SimTest::TearDown();
  }

 private:
  std::vector<std::shared_ptr<brovasim::SimController>> controllers_;
};

}  // namespace brova::testing
