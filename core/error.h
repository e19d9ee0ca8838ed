#pragma once
// The one exception type of the library. Codes follow the automation runtime's
// numbering so that script callers see familiar numbers.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace reVoziz {

enum class ErrorCode : std::int32_t {
  InvalidArgument = 5,
  Overflow = 6,
  TypeMismatch = 13,
  FileNotFound = 53,
  FileAlreadyExists = 58,
  PermissionDenied = 70,
  PathNotFound = 76,
  ObjectRequired = 424,
  MemberNotFound = 438,
  HostError = 440,  // raised by a host with a message of its own
  DialogCancelled = 32755,  // "Cancel was selected." from a file dialog
};

class Error : public std::runtime_error {
 public:
  Error(ErrorCode code, const std::string& message)
      : std::runtime_error(message), code_(code) {}

  ErrorCode code() const { return code_; }

  // The status an automation caller sees for this failure.
  std::uint32_t status() const {
    return 0x800A0000u | static_cast<std::uint32_t>(code_);
  }

 private:
  ErrorCode code_;
};

}  // namespace reVoziz
