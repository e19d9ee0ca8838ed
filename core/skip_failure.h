#pragma once
// The few places where a failure is dropped by design: the steps of the
// dispatch methods that go on after a failing step, and tidying up after a
// step that failed.

#include <utility>

#include "core/error.h"

namespace reVoziz {

// Runs one step; when it fails, the failure is dropped and the caller goes on.
template <class Step>
void skipFailure(Step&& step) {
  try {
    std::forward<Step>(step)();
  } catch (const Error&) {
    // Dropped by design.
  }
}

// Runs `tidy` when the scope ends, however it ends. Its own failure is
// dropped, so that it never hides the error that ended the scope.
template <class Tidy>
class TidyOnExit {
 public:
  explicit TidyOnExit(Tidy tidy) : tidy_(std::move(tidy)) {}
  TidyOnExit(const TidyOnExit&) = delete;
  TidyOnExit& operator=(const TidyOnExit&) = delete;
  ~TidyOnExit() { skipFailure(tidy_); }

 private:
  Tidy tidy_;
};

}  // namespace reVoziz
