#pragma once
// The edge of the server: no C++ exception may unwind into a COM caller or
// into the message loop, so every entry point runs its body through here.

#include <cstdint>
#include <string_view>

#include <windows.h>
#include <oaidl.h>

namespace reVoziz::com {

// A failed call of _tq. Statuses of the control's facility set error
// information and, when the caller gave an EXCEPINFO, fill it and give
// DISP_E_EXCEPTION; dispatch statuses (unknown member, argument count) are
// returned as they are.
HRESULT reportFailure(std::uint32_t status, std::string_view message, EXCEPINFO* exception) noexcept;

// The status of the exception being handled: E_OUTOFMEMORY when memory ran
// out; the control's own Error with its code; anything else as a host error.
HRESULT statusOfCurrentException(EXCEPINFO* exception) noexcept;

template <class Body>
HRESULT guarded(EXCEPINFO* exception, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return statusOfCurrentException(exception);
  }
}

}  // namespace reVoziz::com
