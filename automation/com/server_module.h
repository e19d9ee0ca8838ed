#pragma once
// What the whole in-process server shares: its module handle, and the count
// of live objects and server locks that DllCanUnloadNow reports.

#include <string>

#include <windows.h>

namespace reVoziz::com {

HMODULE serverModule();
std::wstring serverPath();

void objectCreated();
void objectDestroyed();
void lockServer(bool lock);
bool serverInUse();

}  // namespace reVoziz::com
