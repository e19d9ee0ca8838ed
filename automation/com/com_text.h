#pragma once
// UTF-8 strings of the control to and from the UTF-16 strings of COM.

#include <string>
#include <string_view>

#include <windows.h>
#include <oleauto.h>

namespace reVoziz::com {

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view wide);
// A BSTR may be null, which automation treats as the empty string.
std::string utf8(BSTR text);
// A new BSTR the caller frees; null when out of memory.
BSTR allocBstr(std::string_view utf8);

}  // namespace reVoziz::com
