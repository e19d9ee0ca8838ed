#include "automation/com/control_object.h"

#include <array>
#include <new>
#include <tuple>
#include <utility>

#include "automation/com/com_boundary.h"
#include "automation/com/com_text.h"
#include "automation/com/dispatch_object.h"
#include "automation/com/server_module.h"
#include "automation/com/surface_window.h"
#include "automation/com/variant_conversion.h"

namespace reVoziz::com {
namespace {

using automation::Outcome;

// 0x20191: set client site first, activate when visible, inside-out, cannot
// link inside, recompose on resize.
constexpr DWORD kMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE |
                              OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
static_assert(kMiscStatus == 0x20191);

// Vtable arguments as values; by-reference ones are read through, never written.
std::optional<Value> argument(LONG v) { return Value(static_cast<std::int32_t>(v)); }
std::optional<Value> argument(LONG* v) { return v ? Value(static_cast<std::int32_t>(*v)) : Value(); }
std::optional<Value> argument(BSTR v) { return Value(utf8(v)); }
std::optional<Value> argument(BSTR* v) { return v ? Value(utf8(*v)) : Value(); }
std::optional<Value> argument(IDispatch** v) {
  if (!v || !*v) return Value(Null{});
  return Value(std::shared_ptr<Object>(std::make_shared<DispatchObject>(*v)));
}
std::optional<Value> argument(const VARIANT& v) { return fromVariant(v); }

// Results in the declared types; the table has already given each its type.
HRESULT store(const Value& v, VARIANT* out) { return toVariant(v, out); }
HRESULT store(const Value& v, LONG* out) {
  *out = v.toInt32();
  return S_OK;
}
HRESULT store(const Value& v, BSTR* out) {
  *out = allocBstr(v.toText());
  return *out ? S_OK : E_OUTOFMEMORY;
}
HRESULT store(const Value& v, VARIANT_BOOL* out) {
  *out = v.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}
HRESULT store(const Value& v, IDispatch** out) {
  VARIANT variant;
  const HRESULT hr = toVariant(v, &variant);
  if (FAILED(hr)) return hr;
  *out = V_VT(&variant) == VT_DISPATCH ? V_DISPATCH(&variant) : nullptr;  // keeps its reference
  return S_OK;
}
HRESULT store(const Value&, std::nullptr_t*) { return S_OK; }

// Out parameters start empty, so a failed call leaves nothing to free.
void clear(VARIANT* out) { VariantInit(out); }
void clear(LONG* out) { *out = 0; }
void clear(BSTR* out) { *out = nullptr; }
void clear(VARIANT_BOOL* out) { *out = VARIANT_FALSE; }
void clear(IDispatch** out) { *out = nullptr; }

}  // namespace

ControlObject::ControlObject() : extent_{2646, 1323} { objectCreated(); }  // 100 × 50 px
ControlObject::~ControlObject() {
  if (window_) DestroyWindow(window_);
  objectDestroyed();
}

STDMETHODIMP ControlObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__tq) {
    *out = static_cast<_tq*>(this);
  } else if (iid == IID_ISupportErrorInfo) {
    *out = static_cast<ISupportErrorInfo*>(this);
  } else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2) {
    *out = static_cast<IProvideClassInfo2*>(this);
  } else if (iid == IID_IOleObject) {
    *out = static_cast<IOleObject*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject || iid == IID_IOleInPlaceObjectWindowless) {
    *out = static_cast<IOleInPlaceObjectWindowless*>(this);
  } else if (iid == IID_IOleControl) {
    *out = static_cast<IOleControl*>(this);
  } else if (iid == IID_IViewObject || iid == IID_IViewObject2) {
    *out = static_cast<IViewObject2*>(this);
  } else if (iid == IID_IPersist || iid == IID_IPersistStreamInit) {
    *out = static_cast<IPersistStreamInit*>(this);
  } else if (iid == IID_IPersistPropertyBag) {
    *out = static_cast<IPersistPropertyBag*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ControlObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) ControlObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT ControlObject::typeInfoOf(REFGUID guid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  ComRef<ITypeLib> library;
  const HRESULT hr = LoadTypeLibEx(serverPath().c_str(), REGKIND_NONE, library.put());
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(guid, info);
}

STDMETHODIMP ControlObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP ControlObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (index != 0) return DISP_E_BADINDEX;
  return typeInfoOf(IID__tq, info);
}

STDMETHODIMP ControlObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  return guarded(nullptr, [&] {
    const auto id = automation::dispIdOf(utf8(std::wstring_view(names[0])));
    ids[0] = id ? *id : DISPID_UNKNOWN;
    // The methods take no named arguments.
    for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return id && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
  });
}

STDMETHODIMP ControlObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  if (!params) return E_INVALIDARG;
  if (params->cNamedArgs) return DISP_E_NONAMEDARGS;
  if (result) VariantInit(result);
  return guarded(exception, [&]() -> HRESULT {
    std::vector<Value> args;
    args.reserve(params->cArgs);
    // Automation passes arguments last first.
    for (UINT i = params->cArgs; i-- > 0;) {
      std::optional<Value> value = fromVariant(params->rgvarg[i]);
      if (!value) {
        if (argError) *argError = i;
        return DISP_E_TYPEMISMATCH;
      }
      args.push_back(std::move(*value));
    }
    const WindowsPlatform::CallScope call(platform_);
    const Outcome outcome = automation::invoke(control_, id, args);
    if (!outcome.ok()) return reportFailure(outcome.status, outcome.message, exception);
    if (!result) return S_OK;
    const HRESULT stored = toVariant(outcome.result, result);
    // An object result that is empty is Nothing to the caller, as through the
    // vtable, so that VBScript can Set it and ask Is Nothing.
    const automation::Method* method = automation::methodOf(id);
    if (SUCCEEDED(stored) && method && automation::isObjectType(method->result) && V_VT(result) == VT_NULL) {
      V_VT(result) = VT_DISPATCH;
      V_DISPATCH(result) = nullptr;
    }
    return stored;
  });
}

template <class Result, class... Args>
HRESULT ControlObject::callSlot(automation::DispId id, Result* result, Args... args) {
  if constexpr (!std::is_same_v<Result, std::nullptr_t>) {
    if (!result) return E_POINTER;
    clear(result);
  }
  return guarded(nullptr, [&]() -> HRESULT {
    const std::array<std::optional<Value>, sizeof...(Args)> given = {argument(args)...};
    std::array<Value, sizeof...(Args)> values;
    for (std::size_t i = 0; i < given.size(); ++i) {
      if (!given[i]) return DISP_E_TYPEMISMATCH;
      values[i] = *given[i];
    }
    const WindowsPlatform::CallScope call(platform_);
    const Outcome outcome = automation::invoke(control_, id, values);
    if (!outcome.ok()) return reportFailure(outcome.status, outcome.message, nullptr);
    return store(outcome.result, result);
  });
}

STDMETHODIMP ControlObject::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID__tq ? S_OK : S_FALSE;
}

STDMETHODIMP ControlObject::GetClassInfo(ITypeInfo** info) { return typeInfoOf(CLSID_tq, info); }

STDMETHODIMP ControlObject::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = DIID___tq;
  return S_OK;
}

STDMETHODIMP ControlObject::SetClientSite(IOleClientSite* site) {
  site_ = ComRef<IOleClientSite>(site);
  return S_OK;
}

STDMETHODIMP ControlObject::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = site_.get();
  if (*site) (*site)->AddRef();
  return S_OK;
}

STDMETHODIMP ControlObject::Close(DWORD) {
  InPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP ControlObject::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT rect) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      if (rect) position_ = *rect;
      return activateInPlace(site ? site : site_.get());
    case OLEIVERB_HIDE:
      return InPlaceDeactivate();
    default:
      return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}

STDMETHODIMP ControlObject::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

STDMETHODIMP ControlObject::GetUserType(DWORD form, LPOLESTR* name) {
  return OleRegGetUserType(CLSID_tq, form, name);
}

STDMETHODIMP ControlObject::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

STDMETHODIMP ControlObject::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP ControlObject::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

HRESULT ControlObject::activateInPlace(IOleClientSite* site) {
  if (inPlaceSite_) return S_OK;
  const auto inPlace = ComRef<IOleClientSite>(site).as<IOleInPlaceSite>();
  if (!inPlace) return S_OK;  // a container that only draws the control through IViewObject
  if (inPlace->CanInPlaceActivate() != S_OK) return S_OK;  // stays loaded, not active
  // Windowless where the site offers it: the container draws the surface
  // through IViewObject::Draw.
  if (const auto windowless = inPlace.as<IOleInPlaceSiteWindowless>();
      windowless && windowless->CanWindowlessActivate() == S_OK) {
    BOOL noRedraw = FALSE;
    const HRESULT hr = windowless->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
    if (FAILED(hr)) return hr;
    inPlaceSite_ = inPlace;
    if (!noRedraw) windowless->InvalidateRect(nullptr, FALSE);
    return S_OK;
  }
  // Otherwise a child window of the site's, where the site places it.
  HWND parent = nullptr;
  if (FAILED(inPlace->GetWindow(&parent)) || !parent) return E_FAIL;
  ComRef<IOleInPlaceFrame> frame;
  ComRef<IOleInPlaceUIWindow> document;
  RECT position = position_, clip = position_;
  OLEINPLACEFRAMEINFO frameInfo{};
  frameInfo.cb = sizeof frameInfo;
  if (SUCCEEDED(inPlace->GetWindowContext(frame.put(), document.put(), &position, &clip, &frameInfo))) {
    position_ = position;
  }
  const HRESULT hr = inPlace->OnInPlaceActivate();
  if (FAILED(hr)) return hr;
  inPlaceSite_ = inPlace;
  window_ = createSurfaceWindow(parent, position_);
  if (!window_) {
    InPlaceDeactivate();
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

STDMETHODIMP ControlObject::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = window_;
  return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP ControlObject::InPlaceDeactivate() {
  if (!inPlaceSite_) return S_OK;
  if (window_) {
    DestroyWindow(window_);
    window_ = nullptr;
  }
  const ComRef<IOleInPlaceSite> site = std::exchange(inPlaceSite_, ComRef<IOleInPlaceSite>());
  site->OnInPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP ControlObject::SetObjectRects(LPCRECT position, LPCRECT) {
  if (!position) return E_POINTER;
  position_ = *position;
  if (window_) {
    MoveWindow(window_, position_.left, position_.top, position_.right - position_.left,
               position_.bottom - position_.top, TRUE);
  }
  return S_OK;
}

STDMETHODIMP ControlObject::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP ControlObject::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                 LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                 ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!dc) return E_INVALIDARG;
  // Without bounds a windowless, in-place active control draws where it sits.
  const RECT area = bounds ? RECT{bounds->left, bounds->top, bounds->right, bounds->bottom} : position_;
  return paintSurface(dc, area) ? S_OK : E_FAIL;
}

STDMETHODIMP ControlObject::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  viewAspects_ = aspects;
  viewFlags_ = flags;
  viewSink_ = ComRef<IAdviseSink>(sink);
  return S_OK;
}

STDMETHODIMP ControlObject::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = viewAspects_;
  if (flags) *flags = viewFlags_;
  if (sink) {
    *sink = viewSink_.get();
    if (*sink) (*sink)->AddRef();
  }
  return S_OK;
}

STDMETHODIMP ControlObject::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

STDMETHODIMP ControlObject::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_tq;
  return S_OK;
}

STDMETHODIMP ControlObject::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return S_OK;
}

}  // namespace reVoziz::com
