// Parts of reVoziz.ocx linked in directly, where a fault cannot be provoked
// through the registered server: what becomes of an exception at an entry
// point, a tick that throws on the message loop, and the text-to-number rule
// against the system's own VariantChangeType.

#include <windows.h>
#include <oleauto.h>

#include <iostream>
#include <new>
#include <stdexcept>
#include <string>

#include "automation/com/com_boundary.h"
#include "automation/com/com_ref.h"
#include "automation/com/com_text.h"
#include "automation/com/windows_platform.h"
#include "checks.h"
#include "core/error.h"
#include "core/value.h"

namespace {

using reVoziz::ErrorCode;
using reVoziz::com::guarded;
using reVoziz::com::utf8;
using reVoziz::wine::check;

constexpr HRESULT kHostError = static_cast<HRESULT>(0x800A01B8u);

std::string errorDescription() {
  reVoziz::com::ComRef<IErrorInfo> error;
  if (GetErrorInfo(0, error.put()) != S_OK || !error) return "<none>";
  BSTR description = nullptr;
  error->GetDescription(&description);
  std::string text = utf8(description);
  SysFreeString(description);
  return text;
}

void checkExceptionsAtTheBoundary() {
  check(guarded(nullptr, []() -> HRESULT { throw std::bad_alloc(); }) == E_OUTOFMEMORY,
        "exhausted memory is E_OUTOFMEMORY");
  check(guarded(nullptr, [] { return S_FALSE; }) == S_FALSE, "a body's own status passes");

  EXCEPINFO info{};
  HRESULT hr = guarded(&info, []() -> HRESULT { throw std::length_error("too long a text"); });
  check(hr == DISP_E_EXCEPTION && info.scode == kHostError && utf8(info.bstrDescription) == "too long a text" &&
            utf8(info.bstrSource) == "reVoziz.tq",
        "a standard exception is a host error in EXCEPINFO");
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);

  info = EXCEPINFO{};
  hr = guarded(&info, []() -> HRESULT { throw reVoziz::Error(ErrorCode::TypeMismatch, "Type mismatch"); });
  check(hr == DISP_E_EXCEPTION && static_cast<unsigned long>(info.scode) == 0x800A000Dul,
        "the control's own error keeps its code");
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);

  // Without EXCEPINFO (the vtable), the status itself and error information.
  hr = guarded(nullptr, []() -> HRESULT { throw std::out_of_range("no such index"); });
  check(hr == kHostError && errorDescription() == "no such index", "host error status and error information");
  hr = guarded(nullptr, []() -> HRESULT { throw 42; });
  check(hr == kHostError && !errorDescription().empty(), "anything else thrown is a host error too");
}

void pump(DWORD ms) {
  const ULONGLONG until = GetTickCount64() + ms;
  for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

// Wine's DispatchMessage itself swallows what a timer procedure throws, so
// here this shows the outcome (ticks go on), not who caught the exception.
void checkThrowingTicks() {
  reVoziz::com::WindowsPlatform platform;
  auto timer = platform.createTimer();
  int ticks = 0;
  timer->onTick([&] {
    ++ticks;
    if (ticks == 1) throw std::runtime_error("a tick that breaks");
    if (ticks == 2) throw std::bad_alloc();
  });
  timer->setInterval(20);
  pump(400);
  check(ticks > 2, "ticks go on after ticks that threw (" + std::to_string(ticks) + " ticks)");
  check(timer->interval() == 20, "the timer keeps its interval");
}

// Text read as a number by the control's rule and by VariantChangeType.
void checkTextToNumber() {
  // Left out: currency symbols, which depend on the locale.
  const wchar_t* texts[] = {L"12", L" 12 ", L"&H10", L"&h1f", L"&O17", L"1e3", L"1.5E+2", L"-3.25", L"+7",
                            L".5", L"5.", L"1,000", L"1,5", L"(5)", L"5-", L"\t8\n", L"&HFFFF", L"&H7FFFFFFF",
                            L"", L"  ", L"abc", L"12x", L"1e", L"&H", L"&HG", L"--5", L"nan", L"inf", L"1 2",
                            L"0x10", L"&O8", L"1.2.3", L"-", L"()", L"1,000.5", L"-0"};
  for (const wchar_t* text : texts) {
    VARIANT in, out;
    VariantInit(&in);
    VariantInit(&out);
    V_VT(&in) = VT_BSTR;
    V_BSTR(&in) = SysAllocString(text);
    const bool system = SUCCEEDED(VariantChangeTypeEx(&out, &in, MAKELCID(0x0409, SORT_DEFAULT), 0, VT_R8));
    VariantClear(&in);
    bool ours = true;
    double number = 0;
    try {
      number = reVoziz::Value(utf8(std::wstring_view(text))).toNumber();
    } catch (const reVoziz::Error&) {
      ours = false;
    }
    std::string what(1, '"');
    what += utf8(std::wstring_view(text));
    what += '"';
    check(ours == system, what + (system ? " is the number " + std::to_string(V_R8(&out)) : " is no number"));
    if (ours && system && number != V_R8(&out)) {
      check(false, what + " reads " + std::to_string(number) + ", the system reads " + std::to_string(V_R8(&out)));
    }
  }
}

}  // namespace

int wmain() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  checkExceptionsAtTheBoundary();
  checkThrowingTicks();
  checkTextToNumber();
  CoUninitialize();
  return reVoziz::wine::summary("boundary");
}
