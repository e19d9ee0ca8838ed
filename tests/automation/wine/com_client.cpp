// A C++ client of reVoziz.ocx under Wine: the registration, the type library
// against the method table, DISPIDs, the dual vtable, unloading, the container
// interfaces and unregistration. Run after regsvr32 with the path of the
// server; prints failures and a summary, exits 1 when any check failed.

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <iostream>
#include <string>
#include <vector>

#include "automation/com/com_ref.h"
#include "checks.h"
#include "automation/com/com_text.h"
#include "container_double.h"
#include "automation/method_table.h"
#include "page_double.h"
#include "reVoziz_h.h"

namespace {

using reVoziz::automation::Method;
using reVoziz::automation::Type;
using reVoziz::com::ComRef;
using reVoziz::com::utf8;

using reVoziz::wine::check;

template <class A, class B>
void checkEqual(const A& actual, const B& expected, const std::string& what) {
  check(actual == expected, what);
  if (!(actual == expected)) std::cout << "     got " << actual << ", want " << expected << std::endl;
}

std::wstring guidText(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

bool keyExists(const std::wstring& key) {
  HKEY handle;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

// A string value of HKCR\key; "<missing>" when absent.
std::string keyValue(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t data[1024];
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return "<missing>";
  }
  return utf8(std::wstring_view(data));
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

const std::wstring kClassKey = L"CLSID\\" + guidText(CLSID_tq);

void checkRegistration(const std::string& serverPath) {
  checkEqual(lower(keyValue(kClassKey + L"\\InprocServer32")), lower(serverPath), "InprocServer32 path");
  checkEqual(keyValue(kClassKey + L"\\InprocServer32", L"ThreadingModel"), std::string("Apartment"),
             "ThreadingModel");
  checkEqual(keyValue(kClassKey + L"\\ProgID"), std::string("reVoziz.tq"), "ProgID under the class");
  checkEqual(keyValue(L"reVoziz.tq\\CLSID"), utf8(guidText(CLSID_tq)), "class under the ProgID");
  check(keyExists(kClassKey + L"\\Control"), "Control key");
  checkEqual(lower(keyValue(kClassKey + L"\\ToolboxBitmap32")), lower(serverPath) + ", 30000",
             "ToolboxBitmap32");
  CLSID clsid{};
  check(SUCCEEDED(CLSIDFromProgID(L"reVoziz.tq", &clsid)) && clsid == CLSID_tq, "CLSIDFromProgID");
  DWORD misc = 0;
  check(SUCCEEDED(OleRegGetMiscStatus(CLSID_tq, DVASPECT_CONTENT, &misc)), "OleRegGetMiscStatus");
  checkEqual(misc, 0x20191ul, "registered MiscStatus");

  HMODULE image = LoadLibraryExW(reVoziz::com::wide(serverPath).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HBITMAP bitmap = image ? static_cast<HBITMAP>(LoadImageW(image, MAKEINTRESOURCEW(30000), IMAGE_BITMAP, 0, 0,
                                                           LR_CREATEDIBSECTION))
                         : nullptr;
  BITMAP info{};
  check(bitmap && GetObjectW(bitmap, sizeof info, &info), "toolbox bitmap resource 30000");
  check(info.bmWidth == 16 && info.bmHeight == 15 && info.bmBitsPixel == 4, "toolbox bitmap is 16 x 15, 16 colours");
  if (bitmap) DeleteObject(bitmap);
  if (image) FreeLibrary(image);

  ComRef<ITypeLib> library;
  check(SUCCEEDED(LoadRegTypeLib(LIBID_reVoziz, 2, 0, 0, library.put())), "registered type library 2.0");
}

// A parameter or result type as the type library writes it.
std::string typeText(const TYPEDESC& t) {
  switch (t.vt) {
    case VT_PTR: return typeText(*t.lptdesc) + "*";
    case VT_I4: return "long";
    case VT_BSTR: return "BSTR";
    case VT_DISPATCH: return "IDispatch*";
    case VT_VARIANT: return "VARIANT";
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_HRESULT: return "HRESULT";
    default: return "vt" + std::to_string(t.vt);
  }
}

std::string expectedType(Type type) {
  switch (type) {
    case Type::Integer: return "long";
    case Type::String: return "BSTR";
    case Type::Boolean: return "VARIANT_BOOL";
    case Type::Variant: return "VARIANT";
    default: return "IDispatch*";
  }
}

void checkFunction(ITypeInfo* info, UINT index, const Method& m, SHORT& lastSlot) {
  const std::string where = std::string(m.name) + ": ";
  FUNCDESC* f = nullptr;
  if (FAILED(info->GetFuncDesc(index, &f))) {
    check(false, where + "function description");
    return;
  }
  BSTR names[8] = {};
  UINT count = 0;
  info->GetNames(f->memid, names, 8, &count);
  checkEqual(utf8(names[0]), std::string(m.name), "name of function " + std::to_string(index));
  checkEqual(f->memid, static_cast<MEMBERID>(reVoziz::automation::dispIdOfSlot(index)), where + "DISPID");
  check(f->oVft > lastSlot, where + "vtable slot follows the previous one");
  lastSlot = f->oVft;
  const bool hasResult = m.result != Type::None;
  checkEqual(static_cast<std::size_t>(f->cParams), m.arity + (hasResult ? 1 : 0), where + "parameter count");
  for (std::size_t i = 0; i < m.arity && i < static_cast<std::size_t>(f->cParams); ++i) {
    const ELEMDESC& e = f->lprgelemdescParam[i];
    const std::string p = where + std::string(m.params[i].name) + " ";
    checkEqual(i + 1 < count ? utf8(names[i + 1]) : std::string(), std::string(m.params[i].name), p + "name");
    const USHORT flags = e.paramdesc.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
    checkEqual(flags, static_cast<USHORT>(m.params[i].byRef ? PARAMFLAG_FIN | PARAMFLAG_FOUT : PARAMFLAG_FIN),
               p + "flags");
    checkEqual(typeText(e.tdesc), expectedType(m.params[i].type) + (m.params[i].byRef ? "*" : ""), p + "type");
  }
  if (hasResult && f->cParams > 0) {
    const ELEMDESC& r = f->lprgelemdescParam[f->cParams - 1];
    checkEqual(r.paramdesc.wParamFlags & (PARAMFLAG_FOUT | PARAMFLAG_FRETVAL), PARAMFLAG_FOUT | PARAMFLAG_FRETVAL,
               where + "result flags");
    checkEqual(typeText(r.tdesc), expectedType(m.result) + "*", where + "result type");
  }
  for (UINT i = 0; i < count; ++i) SysFreeString(names[i]);
  info->ReleaseFuncDesc(f);
}

void checkTypeLibrary() {
  ComRef<ITypeLib> library;
  if (FAILED(LoadRegTypeLib(LIBID_reVoziz, 2, 0, 0, library.put()))) return;
  TLIBATTR* attr = nullptr;
  library->GetLibAttr(&attr);
  check(attr && attr->lcid == 0 && attr->wMajorVerNum == 2 && attr->wMinorVerNum == 0, "library 2.0, LCID 0");
  library->ReleaseTLibAttr(attr);
  BSTR name = nullptr, doc = nullptr;
  library->GetDocumentation(-1, &name, &doc, nullptr, nullptr);
  checkEqual(utf8(name), std::string("reVoziz"), "library name");
  checkEqual(utf8(doc), std::string("reVoziz"), "library description");
  SysFreeString(name);
  SysFreeString(doc);

  ComRef<ITypeInfo> coclass, dispatch, source;
  library->GetTypeInfoOfGuid(CLSID_tq, coclass.put());
  library->GetTypeInfoOfGuid(IID__tq, dispatch.put());
  library->GetTypeInfoOfGuid(DIID___tq, source.put());
  if (!coclass || !dispatch || !source) {
    check(false, "coclass tq, _tq and __tq in the library");
    return;
  }
  TYPEATTR* a = nullptr;
  coclass->GetTypeAttr(&a);
  check(a->typekind == TKIND_COCLASS && (a->wTypeFlags & TYPEFLAG_FCONTROL), "tq is a control class");
  checkEqual(a->cImplTypes, 2, "tq implements two interfaces");
  coclass->ReleaseTypeAttr(a);
  for (UINT i = 0; i < 2; ++i) {
    INT flags = 0;
    coclass->GetImplTypeFlags(i, &flags);
    HREFTYPE ref = 0;
    ComRef<ITypeInfo> impl;
    coclass->GetRefTypeOfImplType(i, &ref);
    coclass->GetRefTypeInfo(ref, impl.put());
    TYPEATTR* ia = nullptr;
    impl->GetTypeAttr(&ia);
    const bool isSource = flags & IMPLTYPEFLAG_FSOURCE;
    check((flags & IMPLTYPEFLAG_FDEFAULT) && ia->guid == (isSource ? DIID___tq : IID__tq),
          "default and default source interfaces");
    impl->ReleaseTypeAttr(ia);
  }

  dispatch->GetTypeAttr(&a);
  const WORD wanted = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE;
  check(a->typekind == TKIND_DISPATCH && (a->wTypeFlags & wanted) == wanted, "_tq is dual, hidden, non-extensible");
  dispatch->ReleaseTypeAttr(a);
  source->GetTypeAttr(&a);
  check(a->typekind == TKIND_DISPATCH && (a->wTypeFlags & TYPEFLAG_FHIDDEN) && a->cFuncs == 0,
        "__tq is a hidden dispinterface without members");
  source->ReleaseTypeAttr(a);

  // The vtable half of the dual interface holds the methods in slot order.
  HREFTYPE ref = 0;
  ComRef<ITypeInfo> vtable;
  if (FAILED(dispatch->GetRefTypeOfImplType(-1, &ref)) || FAILED(dispatch->GetRefTypeInfo(ref, vtable.put()))) {
    check(false, "vtable interface of _tq");
    return;
  }
  vtable->GetTypeAttr(&a);
  const auto table = reVoziz::automation::methods();
  checkEqual(static_cast<std::size_t>(a->cFuncs), table.size(), "_tq has the methods of the table");
  const UINT functions = a->cFuncs;
  vtable->ReleaseTypeAttr(a);
  SHORT lastSlot = 0;
  for (UINT i = 0; i < functions && i < table.size(); ++i) checkFunction(vtable.get(), i, table[i], lastSlot);
}

void checkDispatchAndVtable() {
  ComRef<IDispatch> control;
  if (FAILED(CoCreateInstance(CLSID_tq, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(control.put())))) {
    check(false, "CoCreateInstance");
    return;
  }
  const auto table = reVoziz::automation::methods();
  for (std::size_t slot = 0; slot < table.size(); ++slot) {
    for (std::string name : {std::string(table[slot].name), lower(std::string(table[slot].name))}) {
      std::wstring w = reVoziz::com::wide(name);
      LPOLESTR names[] = {w.data()};
      DISPID id = 0;
      control->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
      checkEqual(id, static_cast<DISPID>(slot + 1), "DISPID of " + name);
    }
  }

  const auto dual = control.as<_tq>();
  if (!dual) {
    check(false, "_tq from the object");
    return;
  }
  LONG least = 0;
  check(SUCCEEDED(dual->min(7, -3, &least)) && least == -3, "min through the vtable");
  BSTR text = nullptr;
  check(SUCCEEDED(dual->secondsToTime(3725, &text)) && utf8(text) == "01:02:05", "secondsToTime through the vtable");
  SysFreeString(text);

  // A failure: the status, and the error information beside it.
  BSTR position = SysAllocString(L"00:00:10");
  VARIANT result;
  VariantInit(&result);
  const HRESULT hr = dual->goTo_(&position, &result);
  checkEqual(static_cast<unsigned long>(hr), 0x800A01A8ul, "goTo_ before start: object required");
  checkEqual(utf8(position), std::string("00:00:10"), "by-reference argument left as it was");
  SysFreeString(position);
  ComRef<IErrorInfo> error;
  check(GetErrorInfo(0, error.put()) == S_OK && error, "error information set");
  if (error) {
    BSTR description = nullptr;
    error->GetDescription(&description);
    check(!utf8(description).empty(), "error description");
    SysFreeString(description);
  }
  const auto support = control.as<ISupportErrorInfo>();
  check(support && support->InterfaceSupportsErrorInfo(IID__tq) == S_OK, "ISupportErrorInfo for _tq");

  // The same failure through IDispatch arrives as an exception.
  VARIANT arg;
  V_VT(&arg) = VT_BSTR;
  V_BSTR(&arg) = SysAllocString(L"00:00:10");
  DISPPARAMS params{&arg, nullptr, 1, 0};
  EXCEPINFO exception{};
  VariantInit(&result);
  const HRESULT invoked = control->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &params, &result, &exception, nullptr);
  check(invoked == DISP_E_EXCEPTION && static_cast<unsigned long>(exception.scode) == 0x800A01A8ul,
        "Invoke gives the error as an exception");
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  VariantClear(&arg);
  params.cArgs = 0;
  check(control->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr) == DISP_E_BADPARAMCOUNT,
        "Invoke checks the argument count");
}

// Members are written where the page object has them, found without case;
// only a member it lacks becomes an expando.
void checkMemberWrites() {
  ComRef<_tq> control;
  if (FAILED(CoCreateInstance(CLSID_tq, nullptr, CLSCTX_INPROC_SERVER, IID__tq,
                              reinterpret_cast<void**>(control.put())))) {
    check(false, "CoCreateInstance for member writes");
    return;
  }
  reVoziz::wine::PageDouble event, window, field;
  window.setObject(L"event", &event);
  field.setText(L"value", L"1:5");
  IDispatch* w = &window;
  IDispatch* tc = &field;
  VARIANT result;
  VariantInit(&result);
  check(SUCCEEDED(control->formatTimeCode(&w, &tc, &result)), "formatTimeCode on IDispatchEx objects");
  const VARIANT* value = field.member(L"value");
  check(value && V_VT(value) == VT_BSTR && utf8(V_BSTR(value)) == "00:01:05", "the field's own value is written");
  checkEqual(field.memberCount(), static_cast<std::size_t>(1), "no expando beside the field's value");
  check(event.expandos() == std::vector<std::wstring>{L"cancelBubble"}, "a member the event lacks becomes an expando");
  const VARIANT* cancel = event.member(L"cancelBubble");
  check(cancel && V_VT(cancel) == VT_BOOL && V_BOOL(cancel) == VARIANT_TRUE, "the expando holds the value");
  VariantClear(&result);
}

void checkFactory(HRESULT(WINAPI* getClassObject)(REFCLSID, REFIID, void**), HRESULT(WINAPI* canUnloadNow)());

void checkUnloading(const std::wstring& serverPath) {
  HMODULE server = LoadLibraryW(serverPath.c_str());
  auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(server, "DllGetClassObject")));
  auto canUnloadNow = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow")));
  if (!getClassObject || !canUnloadNow) {
    check(false, "exported DllGetClassObject and DllCanUnloadNow");
    return;
  }
  checkEqual(canUnloadNow(), S_OK, "unloadable with no objects");
  checkFactory(getClassObject, canUnloadNow);
  FreeLibrary(server);
}

void checkFactory(HRESULT(WINAPI* getClassObject)(REFCLSID, REFIID, void**), HRESULT(WINAPI* canUnloadNow)()) {
  ComRef<IClassFactory> factory;
  check(SUCCEEDED(getClassObject(CLSID_tq, IID_IClassFactory, reinterpret_cast<void**>(factory.put()))),
        "class factory");
  ComRef<IUnknown> object;
  IID other = IID_IUnknown;
  other.Data1 ^= 1;
  check(getClassObject(other, IID_IClassFactory, reinterpret_cast<void**>(object.put())) == CLASS_E_CLASSNOTAVAILABLE,
        "no factory for another class");
  factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(object.put()));
  checkEqual(canUnloadNow(), S_FALSE, "in use while an object lives");
  factory->LockServer(TRUE);
  object = ComRef<IUnknown>();
  checkEqual(canUnloadNow(), S_FALSE, "in use while locked");
  factory->LockServer(FALSE);
  checkEqual(canUnloadNow(), S_OK, "unloadable after release and unlock");
}

// A white 32-bit bitmap selected into a memory device context.
class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~MemoryBitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  HDC dc() const { return dc_; }
  COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

constexpr COLORREF kSurface = 0xE0E0E0, kWhite = 0xFFFFFF;

// The surface fills the rectangle from (left, top) to just before (right, bottom).
void checkSurface(const MemoryBitmap& bitmap, const RECT& area, const std::string& road) {
  checkEqual(bitmap.pixel(area.left, area.top), kSurface, road + ": surface at the corner");
  checkEqual(bitmap.pixel(area.right - 1, area.bottom - 1), kSurface, road + ": surface at the far corner");
  checkEqual(bitmap.pixel(area.right, area.bottom), kWhite, road + ": nothing beyond it");
}

void checkContainerInterfaces() {
  ComRef<IUnknown> control;
  if (FAILED(CoCreateInstance(CLSID_tq, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                              reinterpret_cast<void**>(control.put())))) {
    return;
  }
  const auto ole = control.as<IOleObject>();
  DWORD misc = 0;
  check(ole && SUCCEEDED(ole->GetMiscStatus(DVASPECT_CONTENT, &misc)) && misc == 0x20191, "IOleObject misc status");
  check(ole && SUCCEEDED(ole->SetClientSite(nullptr)), "IOleObject client site");
  check(static_cast<bool>(control.as<IOleInPlaceObject>()), "IOleInPlaceObject");
  const auto oleControl = control.as<IOleControl>();
  CONTROLINFO info{};
  info.cb = sizeof info;
  check(oleControl && SUCCEEDED(oleControl->GetControlInfo(&info)), "IOleControl");
  const auto persist = control.as<IPersistStreamInit>();
  CLSID clsid{};
  check(persist && persist->InitNew() == S_OK && SUCCEEDED(persist->GetClassID(&clsid)) && clsid == CLSID_tq,
        "IPersistStreamInit");
  const auto bag = control.as<IPersistPropertyBag>();
  check(bag && bag->InitNew() == S_OK, "IPersistPropertyBag");
  const auto classInfo = control.as<IProvideClassInfo2>();
  GUID source{};
  check(classInfo && SUCCEEDED(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source)) && source == DIID___tq,
        "IProvideClassInfo2 source interface");
  ComRef<ITypeInfo> coclass;
  TYPEATTR* attr = nullptr;
  check(classInfo && SUCCEEDED(classInfo->GetClassInfo(coclass.put())) && SUCCEEDED(coclass->GetTypeAttr(&attr)) &&
            attr->guid == CLSID_tq,
        "IProvideClassInfo2 class information");
  if (attr) coclass->ReleaseTypeAttr(attr);

  // Draws its plain rectangle into the bounds it is given, and nowhere else.
  const auto view = control.as<IViewObject2>();
  const MemoryBitmap bitmap(20, 10);
  RECTL bounds{2, 2, 12, 8};
  check(view && SUCCEEDED(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, bitmap.dc(), &bounds, nullptr,
                                     nullptr, 0)),
        "IViewObject2::Draw");
  checkSurface(bitmap, RECT{2, 2, 12, 8}, "Draw into bounds");
  SIZEL size{};
  check(view && SUCCEEDED(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &size)) && size.cx > 0, "IViewObject2 extent");
}

// A site that offers windowless activation gets it: the control has no
// window, and the container draws it where it sits.
void checkWindowlessActivation() {
  ComRef<IOleObject> ole;
  if (FAILED(CoCreateInstance(CLSID_tq, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(ole.put())))) {
    return;
  }
  const RECT place{4, 3, 24, 13};
  reVoziz::wine::ContainerDouble site(nullptr, place);
  ole->SetClientSite(&site);
  check(SUCCEEDED(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, nullptr, &place)), "windowless: DoVerb");
  check(site.called("CanWindowlessActivate") && site.called("OnInPlaceActivateEx windowless") &&
            !site.called("OnInPlaceActivate"),
        "windowless: activated through OnInPlaceActivateEx with ACTIVATE_WINDOWLESS");
  const auto windowless = ole.as<IOleInPlaceObjectWindowless>();
  HWND window = nullptr;
  check(windowless && windowless->GetWindow(&window) == E_FAIL && !window, "windowless: no window of its own");
  LRESULT answer = 0;
  check(windowless && windowless->OnWindowMessage(WM_LBUTTONDOWN, 0, 0, &answer) == S_FALSE,
        "windowless: leaves the container's messages to it");
  const MemoryBitmap bitmap(30, 20);
  const auto view = ole.as<IViewObject2>();
  check(view && SUCCEEDED(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, bitmap.dc(), nullptr, nullptr,
                                     nullptr, 0)),
        "windowless: Draw where it sits");
  checkSurface(bitmap, place, "windowless");
  check(windowless && SUCCEEDED(windowless->InPlaceDeactivate()) && site.called("OnInPlaceDeactivate"),
        "windowless: deactivated");
  ole->Close(OLECLOSE_NOSAVE);
  ole->SetClientSite(nullptr);
}

// A site without windowless activation gets a child window in the place it
// gives, which paints the surface.
void checkWindowedActivation() {
  ComRef<IOleObject> ole;
  if (FAILED(CoCreateInstance(CLSID_tq, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(ole.put())))) {
    return;
  }
  HWND container = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  check(container != nullptr, "windowed: the container's window (Wine needs a graphics driver, null will do)");
  const RECT place{20, 10, 70, 40};
  reVoziz::wine::ContainerDouble site(container, place);
  ole->SetClientSite(&site);
  const RECT verbRect{0, 0, 1, 1};
  check(SUCCEEDED(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, container, &verbRect)), "windowed: DoVerb");
  check(site.called("GetWindowContext") && site.called("OnInPlaceActivate") && !site.called("CanWindowlessActivate"),
        "windowed: activated in place with the site's window context");
  const auto inPlace = ole.as<IOleInPlaceObject>();
  HWND window = nullptr;
  check(inPlace && inPlace->GetWindow(&window) == S_OK && IsWindow(window), "windowed: a window of its own");
  if (!window) return;
  check(GetParent(window) == container && (GetWindowLongW(window, GWL_STYLE) & (WS_CHILD | WS_VISIBLE)) ==
                                              (WS_CHILD | WS_VISIBLE),
        "windowed: a visible child of the container's window");
  RECT where{};
  GetWindowRect(window, &where);
  MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&where), 2);
  check(EqualRect(&where, &place), "windowed: in the place the site gave");
  const MemoryBitmap bitmap(60, 40);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap.dc()), PRF_CLIENT);
  checkSurface(bitmap, RECT{0, 0, 50, 30}, "windowed");
  const RECT moved{5, 5, 25, 15};
  check(inPlace && SUCCEEDED(inPlace->SetObjectRects(&moved, &moved)), "windowed: SetObjectRects");
  RECT client{};
  GetClientRect(window, &client);
  check(client.right == 20 && client.bottom == 10, "windowed: the window follows SetObjectRects");
  check(inPlace && SUCCEEDED(inPlace->InPlaceDeactivate()) && !IsWindow(window) && site.called("OnInPlaceDeactivate"),
        "windowed: deactivation destroys the window");
  ole->Close(OLECLOSE_NOSAVE);
  ole->SetClientSite(nullptr);
  DestroyWindow(container);
}

void checkUnregistration(const std::wstring& serverPath) {
  HMODULE server = LoadLibraryW(serverPath.c_str());
  auto unregister = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(server, "DllUnregisterServer")));
  check(unregister && SUCCEEDED(unregister()), "DllUnregisterServer");
  for (const std::wstring& key : {kClassKey, std::wstring(L"reVoziz.tq"), L"TypeLib\\" + guidText(LIBID_reVoziz),
                                  L"Interface\\" + guidText(IID__tq), L"Interface\\" + guidText(DIID___tq)}) {
    check(!keyExists(key), "removed: " + utf8(key));
  }
  CLSID clsid{};
  check(FAILED(CLSIDFromProgID(L"reVoziz.tq", &clsid)), "ProgID no longer resolves");
  FreeLibrary(server);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::cout << "usage: com_client PATH_OF_reVoziz.ocx" << std::endl;
    return 2;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  wchar_t full[MAX_PATH];
  GetFullPathNameW(argv[1], MAX_PATH, full, nullptr);
  const std::wstring serverPath = full;
  checkRegistration(utf8(serverPath));
  checkTypeLibrary();
  checkDispatchAndVtable();
  checkContainerInterfaces();
  checkWindowlessActivation();
  checkWindowedActivation();
  checkMemberWrites();
  CoFreeUnusedLibraries();
  checkUnloading(serverPath);
  checkUnregistration(serverPath);
  CoUninitialize();
  return reVoziz::wine::summary("client");
}
