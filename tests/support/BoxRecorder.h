// Test support: a message-box function that records the boxes it is asked to show
#pragma once

#include <string>
#include <vector>

#include "image/MessageBox.h"

namespace testsupport {

// Records each box as "caption|text" ("|flags" appended for anything but a plain OK box) with its
// owner, and answers OK.
struct BoxRecorder {
  std::vector<std::string> boxes;
  std::vector<BoxOwner> owners;
  ShowMessageBox Show() {
    return [this](const std::string& text, const std::string& caption, unsigned flags, BoxOwner owner) {
      boxes.push_back(caption + "|" + text + (flags != kMessageBoxOk ? "|flags" : ""));
      owners.push_back(owner);
      return 1;
    };
  }
};

}  // namespace testsupport
