// The four entry points of reVoziz.ocx and the class factory of tq.

#include <windows.h>
#include <ole2.h>

#include "automation/com/com_boundary.h"
#include "automation/com/control_object.h"
#include "automation/com/registration.h"
#include "automation/com/server_module.h"
#include "automation/com/surface_window.h"

namespace reVoziz::com {
namespace {

HMODULE module = nullptr;
LONG liveObjects = 0;
LONG serverLocks = 0;

class ClassFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  // One factory for the life of the module; holding it is what LockServer is for.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    // The constructor itself allocates (the control, its platform), and may throw.
    return guarded(nullptr, [&] {
      auto* object = new ControlObject();
      const HRESULT hr = object->QueryInterface(iid, out);
      object->Release();
      return hr;
    });
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lockServer(lock != FALSE);
    return S_OK;
  }
};

ClassFactory factory;

}  // namespace

HMODULE serverModule() { return module; }

std::wstring serverPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void objectCreated() { InterlockedIncrement(&liveObjects); }
void objectDestroyed() { InterlockedDecrement(&liveObjects); }
void lockServer(bool lock) {
  if (lock) {
    InterlockedIncrement(&serverLocks);
  } else {
    InterlockedDecrement(&serverLocks);
  }
}
bool serverInUse() { return liveObjects > 0 || serverLocks > 0; }

}  // namespace reVoziz::com

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  // Thread notifications stay on: the statically linked C runtime needs them
  // to free the thread-local data of threads that leave.
  if (reason == DLL_PROCESS_ATTACH) reVoziz::com::module = instance;
  // Freed while the process goes on: its window class must not outlive it.
  if (reason == DLL_PROCESS_DETACH && !reserved) reVoziz::com::unregisterSurfaceClass();
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != CLSID_tq) return CLASS_E_CLASSNOTAVAILABLE;
  return reVoziz::com::factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return reVoziz::com::serverInUse() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() { return reVoziz::com::guarded(nullptr, reVoziz::com::registerServer); }

STDAPI DllUnregisterServer() { return reVoziz::com::guarded(nullptr, reVoziz::com::unregisterServer); }

}  // extern "C"
