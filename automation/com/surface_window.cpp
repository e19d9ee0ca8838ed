#include "automation/com/surface_window.h"

#include "automation/com/server_module.h"

namespace reVoziz::com {
namespace {

constexpr COLORREF kSurface = RGB(0xE0, 0xE0, 0xE0);
constexpr wchar_t kClassName[] = L"reVoziz.tq surface";
ATOM surfaceClass = 0;

LRESULT CALLBACK surfaceProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers the whole client area
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC dc = BeginPaint(window, &paint)) {
        RECT client;
        GetClientRect(window, &client);
        paintSurface(dc, client);
        EndPaint(window, &paint);
      }
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(window, &client);
      paintSurface(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool registerSurfaceClass() {
  if (surfaceClass) return true;
  WNDCLASSW definition{};
  definition.style = CS_HREDRAW | CS_VREDRAW;
  definition.lpfnWndProc = surfaceProcedure;
  definition.hInstance = serverModule();
  definition.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  definition.lpszClassName = kClassName;
  surfaceClass = RegisterClassW(&definition);
  return surfaceClass != 0;
}

}  // namespace

bool paintSurface(HDC dc, const RECT& area) {
  HBRUSH brush = CreateSolidBrush(kSurface);
  if (!brush) return false;
  const bool filled = FillRect(dc, &area, brush) != 0;
  DeleteObject(brush);
  return filled;
}

HWND createSurfaceWindow(HWND parent, const RECT& position) {
  if (!registerSurfaceClass()) return nullptr;
  return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, position.left, position.top,
                         position.right - position.left, position.bottom - position.top, parent, nullptr,
                         serverModule(), nullptr);
}

void unregisterSurfaceClass() {
  if (surfaceClass) UnregisterClassW(kClassName, serverModule());
  surfaceClass = 0;
}

}  // namespace reVoziz::com
