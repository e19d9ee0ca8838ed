#pragma once
// What DllRegisterServer writes and DllUnregisterServer removes: the class,
// its ProgID both ways, the control keys and the type library.

#include <windows.h>

namespace reVoziz::com {

HRESULT registerServer();
HRESULT unregisterServer();

}  // namespace reVoziz::com
