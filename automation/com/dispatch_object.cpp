#include "automation/com/dispatch_object.h"

#include <dispex.h>

#include <cstdio>
#include <new>
#include <vector>

#include "automation/com/com_text.h"
#include "automation/com/variant_conversion.h"
#include "core/error.h"

namespace reVoziz::com {
namespace {

// Variants built for one call, cleared on every way out.
class VariantList {
 public:
  explicit VariantList(std::size_t n) : items_(n) {
    for (VARIANT& v : items_) VariantInit(&v);
  }
  ~VariantList() {
    for (VARIANT& v : items_) VariantClear(&v);
  }
  VariantList(const VariantList&) = delete;
  VariantList& operator=(const VariantList&) = delete;
  std::span<VARIANT> items() { return items_; }

 private:
  std::vector<VARIANT> items_;
};

[[noreturn]] void missingMember(std::string_view member) {
  throw Error(ErrorCode::MemberNotFound,
              "Object doesn't support this property or method: " + std::string(member));
}

std::string hexStatus(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

// A failure inside the page as the control's error: the script runtime's own
// codes stay what they are; anything else is the host's error.
[[noreturn]] void pageFailure(std::string_view member, HRESULT hr, EXCEPINFO& info) {
  if (hr == DISP_E_EXCEPTION && info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  const HRESULT status = hr == DISP_E_EXCEPTION ? (info.scode ? info.scode : MAKE_HRESULT(1, 0x0A, info.wCode)) : hr;
  std::string message = hr == DISP_E_EXCEPTION ? utf8(info.bstrDescription) : std::string();
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  if (status == DISP_E_MEMBERNOTFOUND || status == DISP_E_UNKNOWNNAME) missingMember(member);
  if (status == DISP_E_TYPEMISMATCH) throw Error(ErrorCode::TypeMismatch, "Type mismatch");
  if (message.empty()) message = "Automation error " + hexStatus(status) + " in " + std::string(member);
  if ((static_cast<std::uint32_t>(status) & 0xFFFF0000u) == 0x800A0000u) {
    throw Error(static_cast<ErrorCode>(status & 0xFFFF), message);
  }
  throw Error(ErrorCode::HostError, message);
}

}  // namespace

std::optional<DISPID> DispatchObject::findMember(const std::wstring& name, DWORD exFlags) const {
  DISPID id = DISPID_UNKNOWN;
  // Script objects answer names through IDispatchEx, some of them only there.
  if (const auto ex = dispatch_.as<IDispatchEx>()) {
    BSTR bname = SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
    if (!bname) throw std::bad_alloc();
    const HRESULT hr = ex->GetDispID(bname, exFlags, &id);
    SysFreeString(bname);
    if (SUCCEEDED(hr)) return id;
  }
  LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
  if (SUCCEEDED(dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return id;
  return std::nullopt;
}

DISPID DispatchObject::readId(std::string_view member) const {
  if (const auto id = findMember(wide(member), fdexNameCaseSensitive)) return *id;
  missingMember(member);
}

DISPID DispatchObject::writeId(std::string_view member) const {
  const std::wstring name = wide(member);
  // The member as it is spelt, else the one the object answers without case
  // (a field's `value` for "Value"); only a member the object lacks is made
  // an expando, where the object allows one.
  if (const auto id = findMember(name, fdexNameCaseSensitive)) return *id;
  if (const auto id = findMember(name, fdexNameCaseInsensitive)) return *id;
  if (const auto id = findMember(name, fdexNameCaseSensitive | fdexNameEnsure)) return *id;
  missingMember(member);
}

Value DispatchObject::invoke(std::string_view member, DISPID id, WORD flags,
                             std::span<VARIANT> args) const {
  DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  DISPID putId = DISPID_PROPERTYPUT;
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO info{};
  UINT argError = 0;
  const HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                       (flags & DISPATCH_PROPERTYPUT) ? nullptr : &result, &info, &argError);
  if (FAILED(hr)) pageFailure(member, hr, info);
  std::optional<Value> value = fromVariant(result);
  VariantClear(&result);
  if (!value) throw Error(ErrorCode::TypeMismatch, "Type mismatch: " + std::string(member));
  return std::move(*value);
}

Value DispatchObject::get(std::string_view member) {
  return invoke(member, readId(member), DISPATCH_PROPERTYGET, {});
}

void DispatchObject::put(std::string_view member, const Value& value) {
  VariantList args(1);
  if (FAILED(toVariant(value, &args.items()[0]))) throw Error(ErrorCode::TypeMismatch, "Type mismatch");
  invoke(member, writeId(member), DISPATCH_PROPERTYPUT, args.items());
}

Value DispatchObject::call(std::string_view method, std::span<const Value> args) {
  // Automation passes arguments last first.
  VariantList variants(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (FAILED(toVariant(args[i], &variants.items()[args.size() - 1 - i]))) {
      throw Error(ErrorCode::TypeMismatch, "Type mismatch");
    }
  }
  return invoke(method, readId(method), DISPATCH_METHOD | DISPATCH_PROPERTYGET, variants.items());
}

std::string DispatchObject::typeName() const {
  ComRef<ITypeInfo> info;
  BSTR name = nullptr;
  if (SUCCEEDED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) && info &&
      SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr)) && name) {
    std::string text = utf8(name);
    SysFreeString(name);
    return text;
  }
  return "Object";
}

bool DispatchObject::sameAs(const Object& other) const {
  const auto* that = dynamic_cast<const DispatchObject*>(&other);
  if (!that) return false;
  const auto mine = dispatch_.as<IUnknown>();
  const auto theirs = that->dispatch_.as<IUnknown>();
  return mine.get() == theirs.get();
}

}  // namespace reVoziz::com
