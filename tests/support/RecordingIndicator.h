#pragma once
// A progress indicator that writes down every call it gets, for the tests to read:
// "share N" (N in thousandths), "indeterminate", "clear".

#include <cmath>
#include <string>
#include <vector>

#include "app/ProgressIndicator.h"

class RecordingIndicator : public ProgressIndicator {
 public:
  void ShowShare(double share) override {
    calls.push_back("share " + std::to_string(std::lround(share * 1000)));
  }
  void ShowIndeterminate() override { calls.push_back("indeterminate"); }
  void Clear() override { calls.push_back("clear"); }

  std::string Last() const { return calls.empty() ? "nothing" : calls.back(); }

  std::vector<std::string> calls;
};
