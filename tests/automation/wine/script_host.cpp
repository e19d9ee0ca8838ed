// A small script host, as a browser hosts JScript: it runs the given script
// files in one JScript engine through IActiveScript. The script reaches the
// host through the named item `host`: echo(text), create(progId), wait(ms),
// which pumps this thread's messages so timers tick, and finish(failures).
// Exit status: the failures given to finish, or 2 when the script broke off.

#include <windows.h>
#include <ole2.h>
// The script interfaces' identifiers are not all in libuuid.
#include <initguid.h>
#include <activscp.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "automation/com/com_text.h"

namespace {

using reVoziz::com::utf8;
using reVoziz::com::wide;

// CLSID_JScript
const CLSID kJScript = {0xf414c260, 0x6ac0, 0x11cf, {0xb6, 0xd1, 0x00, 0xaa, 0x00, 0xbb, 0xbb, 0x58}};

int finishedWith = -1;

void pumpMessagesFor(DWORD ms) {
  const ULONGLONG until = GetTickCount64() + ms;
  for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

class HostObject : public IDispatch {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IDispatch) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IDispatch*>(this);
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* id) override {
    const std::wstring name = names[0];
    *id = name == L"echo" ? 1 : name == L"create" ? 2 : name == L"wait" ? 3 : name == L"finish" ? 4 : -1;
    return *id < 0 ? DISP_E_UNKNOWNNAME : S_OK;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    if (p->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT arg;
    VariantInit(&arg);
    const HRESULT hr = VariantChangeType(&arg, &p->rgvarg[0], 0, id == 1 || id == 2 ? VT_BSTR : VT_I4);
    if (FAILED(hr)) return hr;
    if (id == 1) {
      std::cout << utf8(V_BSTR(&arg)) << std::endl;
    } else if (id == 2) {
      CLSID clsid;
      IDispatch* created = nullptr;
      HRESULT made = CLSIDFromProgID(V_BSTR(&arg), &clsid);
      if (SUCCEEDED(made)) {
        made = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&created));
      }
      VariantClear(&arg);
      if (FAILED(made)) return made;
      if (result) {
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = created;
      } else {
        created->Release();
      }
    } else if (id == 3) {
      pumpMessagesFor(static_cast<DWORD>(V_I4(&arg)));
    } else {
      finishedWith = V_I4(&arg);
    }
    VariantClear(&arg);
    return S_OK;
  }
};

HostObject host;

class Site : public IActiveScriptSite {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IActiveScriptSite) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IActiveScriptSite*>(this);
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetLCID(LCID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override {
    if (info) *info = nullptr;
    if (std::wstring(name) != L"host") return TYPE_E_ELEMENTNOTFOUND;
    if (mask & SCRIPTINFO_IUNKNOWN) *item = &host;
    return S_OK;
  }
  STDMETHODIMP GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
  STDMETHODIMP OnStateChange(SCRIPTSTATE) override { return S_OK; }
  STDMETHODIMP OnScriptError(IActiveScriptError* error) override {
    EXCEPINFO info{};
    error->GetExceptionInfo(&info);
    DWORD context = 0;
    ULONG line = 0;
    LONG column = 0;
    error->GetSourcePosition(&context, &line, &column);
    std::cout << "script error 0x" << std::hex << static_cast<unsigned long>(info.scode) << std::dec
              << " at line " << line + 1 << ": " << utf8(info.bstrDescription) << std::endl;
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    return S_OK;
  }
  STDMETHODIMP OnEnterScript() override { return S_OK; }
  STDMETHODIMP OnLeaveScript() override { return S_OK; }
};

Site site;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::string source;
  for (int i = 1; i < argc; ++i) {
    std::ifstream file(argv[i], std::ios::binary);
    if (!file) {
      std::cout << "cannot read " << utf8(argv[i]) << std::endl;
      return 2;
    }
    std::ostringstream text;
    text << file.rdbuf();
    source += text.str() + "\n";
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  IActiveScript* engine = nullptr;
  IActiveScriptParse* parser = nullptr;
  HRESULT hr = CoCreateInstance(kJScript, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                reinterpret_cast<void**>(&engine));
  if (SUCCEEDED(hr)) hr = engine->QueryInterface(IID_IActiveScriptParse, reinterpret_cast<void**>(&parser));
  if (SUCCEEDED(hr)) hr = parser->InitNew();
  if (SUCCEEDED(hr)) hr = engine->SetScriptSite(&site);
  if (SUCCEEDED(hr)) hr = engine->AddNamedItem(L"host", SCRIPTITEM_ISVISIBLE);
  if (SUCCEEDED(hr)) hr = engine->SetScriptState(SCRIPTSTATE_STARTED);
  if (SUCCEEDED(hr)) {
    const std::wstring code = wide(source);
    hr = parser->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0,
                                 SCRIPTTEXT_ISVISIBLE, nullptr, nullptr);
  }
  if (FAILED(hr)) std::cout << "script host: 0x" << std::hex << static_cast<unsigned long>(hr) << std::endl;
  if (engine) {
    engine->Close();
    engine->Release();
  }
  if (parser) parser->Release();
  CoUninitialize();
  return finishedWith < 0 ? 2 : finishedWith;
}
