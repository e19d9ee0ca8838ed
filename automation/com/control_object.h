#pragma once
// The COM object of the control tq: the dual interface _tq, whose vtable
// slots and IDispatch both go through the method table, error information,
// class information, and the few container interfaces a page needs to embed it.

#include <optional>

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "automation/com/com_ref.h"
#include "automation/com/windows_platform.h"
#include "automation/method_table.h"
#include "control/tq.h"
#include "reVoziz_h.h"

namespace reVoziz::com {

class ControlObject final : public _tq,
                      public ISupportErrorInfo,
                      public IProvideClassInfo2,
                      public IOleObject,
                      public IOleInPlaceObjectWindowless,
                      public IOleControl,
                      public IViewObject2,
                      public IPersistStreamInit,
                      public IPersistPropertyBag {
 public:
  ControlObject();
  ~ControlObject();
  ControlObject(const ControlObject&) = delete;
  ControlObject& operator=(const ControlObject&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

  // _tq, in slot order
  STDMETHODIMP showMode(IDispatch** mode, LONG* layout, VARIANT* result) override { return callSlot(1, result, mode, layout); }
  STDMETHODIMP min(LONG a, LONG b, LONG* result) override { return callSlot(2, result, a, b); }
  STDMETHODIMP max(LONG a, LONG b, LONG* result) override { return callSlot(3, result, a, b); }
  STDMETHODIMP goTo_(BSTR* pos_, VARIANT* result) override { return callSlot(4, result, pos_); }
  STDMETHODIMP timeToSeconds(BSTR time, LONG* result) override { return callSlot(5, result, time); }
  STDMETHODIMP secondsToTime(LONG t, BSTR* result) override { return callSlot(6, result, t); }
  STDMETHODIMP getVal(IDispatch** o, BSTR* p, VARIANT* result) override { return callSlot(7, result, o, p); }
  STDMETHODIMP getCurrentSegment(IDispatch** iText, LONG* time, IDispatch** result) override { return callSlot(8, result, iText, time); }
  STDMETHODIMP markCurrentSegment(IDispatch** iText, LONG* time) override { return callSlot(9, kNoResult, iText, time); }
  STDMETHODIMP addStyle(IDispatch** sSheet, BSTR* sel, BSTR s, VARIANT v) override { return callSlot(10, kNoResult, sSheet, sel, s, v); }
  STDMETHODIMP singleSegments(IDispatch** w) override { return callSlot(11, kNoResult, w); }
  STDMETHODIMP scrollSegments(IDispatch** w) override { return callSlot(12, kNoResult, w); }
  STDMETHODIMP toggleSync(IDispatch** d, IDispatch** e) override { return callSlot(13, kNoResult, d, e); }
  STDMETHODIMP switchText(IDispatch** d, IDispatch** e, VARIANT* result) override { return callSlot(14, result, d, e); }
  STDMETHODIMP closeSelects(IDispatch** w, VARIANT* result) override { return callSlot(15, result, w); }
  STDMETHODIMP clickDispatch(IDispatch** w, VARIANT* result) override { return callSlot(16, result, w); }
  STDMETHODIMP toggleXpand(IDispatch** ex, VARIANT* result) override { return callSlot(17, result, ex); }
  STDMETHODIMP MouseOverDispatch(IDispatch** w, VARIANT* result) override { return callSlot(18, result, w); }
  STDMETHODIMP MouseOutDispatch(IDispatch** w, VARIANT* result) override { return callSlot(19, result, w); }
  STDMETHODIMP startVelisk(IDispatch** w, IDispatch** mp, VARIANT* result) override { return callSlot(20, result, w, mp); }
  STDMETHODIMP notesClickDispatch(IDispatch** w, VARIANT* result) override { return callSlot(21, result, w); }
  STDMETHODIMP insertSyncTag(IDispatch** w, VARIANT* result) override { return callSlot(22, result, w); }
  STDMETHODIMP syncVideo(IDispatch** w, BSTR* timeText, VARIANT* result) override { return callSlot(23, result, w, timeText); }
  STDMETHODIMP adjustTimeCode(IDispatch** w, IDispatch** tc, LONG* secs, VARIANT* result) override { return callSlot(24, result, w, tc, secs); }
  STDMETHODIMP notesFocusOutDispatch(IDispatch** w, VARIANT* result) override { return callSlot(25, result, w); }
  STDMETHODIMP formatTimeCode(IDispatch** w, IDispatch** tc, VARIANT* result) override { return callSlot(26, result, w, tc); }
  STDMETHODIMP notesPaste(IDispatch** w, VARIANT* result) override { return callSlot(27, result, w); }
  STDMETHODIMP notesDragStart(VARIANT* result) override { return callSlot(28, result); }
  STDMETHODIMP notesDragEnter(IDispatch** w, VARIANT* result) override { return callSlot(29, result, w); }
  STDMETHODIMP notesDragEnd(VARIANT* result) override { return callSlot(30, result); }
  STDMETHODIMP notesDrop(IDispatch** w, VARIANT* result) override { return callSlot(31, result, w); }
  STDMETHODIMP notesKeyDispatch(IDispatch** w, VARIANT* result) override { return callSlot(32, result, w); }
  STDMETHODIMP editBarDispatch(IDispatch** w, VARIANT* result) override { return callSlot(33, result, w); }
  STDMETHODIMP editableSelection(IDispatch** w, VARIANT_BOOL* result) override { return callSlot(34, result, w); }
  STDMETHODIMP parentSelection(IDispatch** w, IDispatch** result) override { return callSlot(35, result, w); }
  STDMETHODIMP classContains(BSTR* className, IDispatch** el, VARIANT_BOOL* result) override { return callSlot(36, result, className, el); }
  STDMETHODIMP newNotes(IDispatch** w, VARIANT* result) override { return callSlot(37, result, w); }
  STDMETHODIMP openNotes(IDispatch** w, VARIANT* result) override { return callSlot(38, result, w); }
  STDMETHODIMP saveNotes(IDispatch** w, VARIANT* result) override { return callSlot(39, result, w); }
  STDMETHODIMP checkChanges(IDispatch** w, VARIANT_BOOL* result) override { return callSlot(40, result, w); }
  STDMETHODIMP composePage(IDispatch** w, BSTR* result) override { return callSlot(41, result, w); }
  STDMETHODIMP pageExtract(BSTR* page, BSTR* key, BSTR* result) override { return callSlot(42, result, page, key); }
  STDMETHODIMP checkContent(IDispatch** w, BSTR* page, VARIANT_BOOL* result) override { return callSlot(43, result, w, page); }
  STDMETHODIMP backupNotes(IDispatch** w, VARIANT_BOOL* result) override { return callSlot(44, result, w); }
  STDMETHODIMP restoreNotes(IDispatch** w, VARIANT* result) override { return callSlot(45, result, w); }
  STDMETHODIMP checkUnsaved(IDispatch** w, VARIANT_BOOL* result) override { return callSlot(46, result, w); }
  STDMETHODIMP backupNotes1(IDispatch** w, VARIANT* result) override { return callSlot(47, result, w); }
  STDMETHODIMP restoreNotes1(IDispatch** w, VARIANT* result) override { return callSlot(48, result, w); }

  // ISupportErrorInfo
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

  // IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT rect) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return OLEOBJ_E_NOVERBS; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* name) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleInPlaceObjectWindowless: windowless where the site allows it, drawn
  // through IViewObject; otherwise in a child window of the site's.
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
  // The control takes no input of its own.
  STDMETHODIMP OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return S_FALSE; }
  STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

  // IOleControl: no mnemonics, no ambient properties used, no events.
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
  STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
  STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

  // IViewObject2
  STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target,
                    HDC targetInfo, HDC dc, LPCRECTL bounds, LPCRECTL metafileBounds,
                    BOOL(STDMETHODCALLTYPE* proceed)(ULONG_PTR), ULONG_PTR proceedArg) override;
  STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return S_FALSE; }
  STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* target, LPSIZEL size) override;

  // IPersistStreamInit and IPersistPropertyBag: the control keeps no properties.
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM) override { return S_OK; }
  STDMETHODIMP Save(LPSTREAM, BOOL) override { return S_OK; }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override { return S_OK; }
  STDMETHODIMP Load(IPropertyBag*, IErrorLog*) override { return S_OK; }
  STDMETHODIMP Save(IPropertyBag*, BOOL, BOOL) override { return S_OK; }

 private:
  static constexpr std::nullptr_t* kNoResult = nullptr;
  // A vtable slot: typed arguments to values, the table, the result back.
  template <class Result, class... Args>
  HRESULT callSlot(automation::DispId id, Result* result, Args... args);
  HRESULT typeInfoOf(REFGUID guid, ITypeInfo** info);
  HRESULT activateInPlace(IOleClientSite* site);

  LONG references_ = 1;
  WindowsPlatform platform_;
  tq control_{platform_};
  ComRef<IOleClientSite> site_;
  ComRef<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0;
  DWORD viewFlags_ = 0;
  SIZEL extent_;
  RECT position_{};
  ComRef<IOleInPlaceSite> inPlaceSite_;  // set while in-place active
  HWND window_ = nullptr;                // the child window, when not windowless
};

}  // namespace reVoziz::com
