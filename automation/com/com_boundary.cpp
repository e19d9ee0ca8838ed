#include "automation/com/com_boundary.h"

#include <exception>
#include <new>

#include "automation/com/com_ref.h"
#include "automation/com/com_text.h"
#include "core/error.h"
#include "reVoziz_h.h"

namespace reVoziz::com {
namespace {

constexpr wchar_t kSource[] = L"reVoziz.tq";
constexpr std::uint32_t kControlFacility = 0x800A0000u;

void setErrorInfo(const std::wstring& message) {
  ComRef<ICreateErrorInfo> created;
  if (FAILED(CreateErrorInfo(created.put()))) return;
  created->SetGUID(IID__tq);
  created->SetSource(const_cast<LPOLESTR>(kSource));
  created->SetDescription(const_cast<LPOLESTR>(message.c_str()));
  if (const auto info = created.as<IErrorInfo>()) SetErrorInfo(0, info.get());
}

}  // namespace

HRESULT reportFailure(std::uint32_t status, std::string_view message, EXCEPINFO* exception) noexcept {
  const HRESULT hr = static_cast<HRESULT>(status);
  if ((status & 0xFFFF0000u) != kControlFacility) return hr;
  try {
    const std::wstring text = wide(message);
    setErrorInfo(text);
    if (!exception) return hr;
    *exception = EXCEPINFO{};
    exception->scode = hr;
    exception->bstrSource = SysAllocString(kSource);
    exception->bstrDescription = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return DISP_E_EXCEPTION;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT statusOfCurrentException(EXCEPINFO* exception) noexcept {
  constexpr std::uint32_t hostError = kControlFacility | static_cast<std::uint32_t>(ErrorCode::HostError);
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const Error& e) {
    return reportFailure(e.status(), e.what(), exception);
  } catch (const std::exception& e) {
    return reportFailure(hostError, e.what(), exception);
  } catch (...) {
    return reportFailure(hostError, "Unexpected failure inside the control", exception);
  }
}

}  // namespace reVoziz::com
