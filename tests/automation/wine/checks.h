#pragma once
// Checks for the native Wine clients: each failure is printed, and the
// summary line ends "N failed", which the runner reads.

#include <iostream>
#include <string>

namespace reVoziz::wine {

inline int checks = 0;
inline int failures = 0;

inline void check(bool ok, const std::string& what) {
  ++checks;
  if (!ok) {
    ++failures;
    std::cout << "FAIL " << what << std::endl;
  }
}

// Prints "N <kind> checks, M failed" and gives the exit status.
inline int summary(const std::string& kind) {
  std::cout << checks << ' ' << kind << " checks, " << failures << " failed" << std::endl;
  return failures ? 1 : 0;
}

}  // namespace reVoziz::wine
