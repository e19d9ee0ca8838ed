#pragma once
// A page object through IDispatchEx as a browser's object model answers:
// GetIDsOfNames finds names without case, GetDispID as spelt unless asked
// with fdexNameCaseInsensitive, and fdexNameEnsure adds an expando. It
// records the expandos it was made to add. Lives on the stack of the test.

#include <windows.h>
#include <dispex.h>

#include <optional>
#include <string>
#include <vector>

namespace reVoziz::wine {

class PageDouble : public IDispatchEx {
 public:
  PageDouble() = default;
  PageDouble(const PageDouble&) = delete;
  PageDouble& operator=(const PageDouble&) = delete;
  ~PageDouble() {
    for (auto& member : members_) VariantClear(&member.second);
  }

  void setText(const std::wstring& name, const wchar_t* text) {
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(text);
    set(name, v);
  }
  void setObject(const std::wstring& name, IDispatch* object) {
    VARIANT v;
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = object;
    object->AddRef();
    set(name, v);
  }
  // The member spelt exactly so, if any.
  const VARIANT* member(const std::wstring& name) const {
    for (const auto& [n, v] : members_) {
      if (n == name) return &v;
    }
    return nullptr;
  }
  std::size_t memberCount() const { return members_.size(); }
  const std::vector<std::wstring>& expandos() const { return expandos_; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(IDispatchEx)) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IDispatchEx*>(this);
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
    const auto found = find(names[0], true);
    *id = found ? *found : DISPID_UNKNOWN;
    return found ? S_OK : DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* info, UINT*) override {
    return InvokeEx(id, lcid, flags, params, result, info, nullptr);
  }
  STDMETHODIMP GetDispID(BSTR name, DWORD flags, DISPID* id) override {
    auto found = find(name, (flags & fdexNameCaseInsensitive) != 0);
    if (!found && (flags & fdexNameEnsure)) {
      VARIANT empty;
      VariantInit(&empty);
      set(name, empty);
      expandos_.push_back(name);
      found = find(name, false);
    }
    *id = found ? *found : DISPID_UNKNOWN;
    return found ? S_OK : DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP InvokeEx(DISPID id, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        IServiceProvider*) override {
    if (id < 1 || static_cast<std::size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    VARIANT& value = members_[static_cast<std::size_t>(id) - 1].second;
    if (flags & DISPATCH_PROPERTYPUT) {
      if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
      return VariantCopy(&value, &params->rgvarg[0]);
    }
    if (!result) return S_OK;
    VariantInit(result);
    return VariantCopy(result, &value);
  }
  STDMETHODIMP DeleteMemberByName(BSTR, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP DeleteMemberByDispID(DISPID) override { return E_NOTIMPL; }
  STDMETHODIMP GetMemberProperties(DISPID, DWORD, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMemberName(DISPID, BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP GetNextDispID(DWORD, DISPID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetNameSpaceParent(IUnknown**) override { return E_NOTIMPL; }

 private:
  // DISPIDs are positions from 1.
  std::optional<DISPID> find(const wchar_t* name, bool anyCase) const {
    for (std::size_t i = 0; i < members_.size(); ++i) {
      const wchar_t* own = members_[i].first.c_str();
      if (anyCase ? lstrcmpiW(own, name) == 0 : lstrcmpW(own, name) == 0) return static_cast<DISPID>(i + 1);
    }
    return std::nullopt;
  }
  void set(const std::wstring& name, const VARIANT& value) { members_.emplace_back(name, value); }

  std::vector<std::pair<std::wstring, VARIANT>> members_;
  std::vector<std::wstring> expandos_;
};

}  // namespace reVoziz::wine
