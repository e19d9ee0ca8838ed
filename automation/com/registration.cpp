#include "automation/com/registration.h"

#include <string>

#include <oleauto.h>
#include <olectl.h>

#include "automation/com/com_ref.h"
#include "automation/com/server_module.h"
#include "reVoziz_h.h"

namespace reVoziz::com {
namespace {

constexpr wchar_t kProgId[] = L"reVoziz.tq";
constexpr wchar_t kClassName[] = L"tq";
constexpr wchar_t kMiscStatus[] = L"131473";  // 0x20191
constexpr int kToolboxBitmap = 30000;
// The type library is registered for the server's own architecture; a 32-bit
// and a 64-bit server each remove only their own.
constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

std::wstring guidText(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

// Writes `value` as the default (or `name`) value of HKCR\key, creating it.
HRESULT setKey(const std::wstring& key, const std::wstring& value, const wchar_t* name = nullptr) {
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                   &handle, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return HRESULT_FROM_WIN32(status);
}

// Whether the class is registered in the registry view of the other
// architecture. A 32-bit system has one view, which this server's own
// unregistration has already emptied.
bool registeredInOtherView() {
  const REGSAM otherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  const std::wstring key = L"CLSID\\" + guidText(CLSID_tq) + L"\\InprocServer32";
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ | otherView, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

HRESULT removeTree(const std::wstring& key) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
    return S_OK;
  }
  return HRESULT_FROM_WIN32(status);
}

}  // namespace

HRESULT registerServer() {
  const std::wstring path = serverPath();
  const std::wstring clsid = guidText(CLSID_tq);
  const std::wstring classKey = L"CLSID\\" + clsid;
  const std::wstring entries[][3] = {
      {classKey, kProgId, L""},
      {classKey + L"\\InprocServer32", path, L""},
      {classKey + L"\\InprocServer32", L"Apartment", L"ThreadingModel"},
      {classKey + L"\\ProgID", kProgId, L""},
      {classKey + L"\\Control", L"", L""},
      {classKey + L"\\MiscStatus", kMiscStatus, L""},
      {classKey + L"\\MiscStatus\\1", kMiscStatus, L""},
      {classKey + L"\\ToolboxBitmap32", path + L", " + std::to_wstring(kToolboxBitmap), L""},
      {classKey + L"\\TypeLib", guidText(LIBID_reVoziz), L""},
      {classKey + L"\\Version", L"2.0", L""},
      {kProgId, kClassName, L""},
      {std::wstring(kProgId) + L"\\CLSID", clsid, L""},
  };
  for (const auto& [key, value, name] : entries) {
    const HRESULT hr = setKey(key, value, name.empty() ? nullptr : name.c_str());
    if (FAILED(hr)) return SELFREG_E_CLASS;
  }
  ComRef<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, library.put()))) return SELFREG_E_TYPELIB;
  return S_OK;
}

HRESULT unregisterServer() {
  // The type library may already be gone; the class keys go regardless.
  const HRESULT library = UnRegisterTypeLib(LIBID_reVoziz, 2, 0, 0, kSysKind);
  const HRESULT classKey = removeTree(L"CLSID\\" + guidText(CLSID_tq));
  // Class keys have a view per architecture, the ProgID is shared: it stays
  // while the server of the other architecture is registered.
  const HRESULT progId = registeredInOtherView() ? S_OK : removeTree(kProgId);
  if (FAILED(classKey) || FAILED(progId)) return SELFREG_E_CLASS;
  if (FAILED(library) && library != TYPE_E_REGISTRYACCESS && library != TYPE_E_CANTLOADLIBRARY) {
    return SELFREG_E_TYPELIB;
  }
  return S_OK;
}

}  // namespace reVoziz::com
