#pragma once
// The control's own surface: a plain rectangle in light grey. Drawn into a
// container's device context when the control is windowless, or by a child
// window of the container's when it is not.

#include <windows.h>

namespace reVoziz::com {

// Fills `area` of `dc` with the surface colour; false when GDI failed.
bool paintSurface(HDC dc, const RECT& area);

// A visible child window of `parent` at `position` that paints the surface;
// null when it could not be made.
HWND createSurfaceWindow(HWND parent, const RECT& position);

// Called when the server unloads: the window class goes with it.
void unregisterSurfaceClass();

}  // namespace reVoziz::com
