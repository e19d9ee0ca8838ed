#include "automation/com/variant_conversion.h"

#include <limits>
#include <memory>

#include "automation/com/com_text.h"
#include "automation/com/dispatch_object.h"

namespace reVoziz::com {
namespace {

Value fromInteger(long long i) {
  if (i >= std::numeric_limits<std::int32_t>::min() && i <= std::numeric_limits<std::int32_t>::max()) {
    return Value(static_cast<std::int32_t>(i));
  }
  return Value(static_cast<double>(i));
}

Value fromDispatch(IDispatch* d) {
  if (!d) return Value(Null{});
  return Value(std::shared_ptr<Object>(std::make_shared<DispatchObject>(d)));
}

}  // namespace

std::optional<Value> fromVariant(const VARIANT& v) {
  const bool byRef = (V_VT(&v) & VT_BYREF) != 0;
  switch (V_VT(&v) & ~VT_BYREF) {
    case VT_EMPTY: return Value();
    case VT_NULL: return Value(Null{});
    case VT_BOOL: return Value((byRef ? *V_BOOLREF(&v) : V_BOOL(&v)) != VARIANT_FALSE);
    case VT_I1: return fromInteger(byRef ? *V_I1REF(&v) : V_I1(&v));
    case VT_UI1: return fromInteger(byRef ? *V_UI1REF(&v) : V_UI1(&v));
    case VT_I2: return fromInteger(byRef ? *V_I2REF(&v) : V_I2(&v));
    case VT_UI2: return fromInteger(byRef ? *V_UI2REF(&v) : V_UI2(&v));
    case VT_I4: return fromInteger(byRef ? *V_I4REF(&v) : V_I4(&v));
    case VT_UI4: return fromInteger(byRef ? *V_UI4REF(&v) : V_UI4(&v));
    case VT_INT: return fromInteger(byRef ? *V_INTREF(&v) : V_INT(&v));
    case VT_UINT: return fromInteger(byRef ? *V_UINTREF(&v) : V_UINT(&v));
    case VT_I8: return fromInteger(byRef ? *V_I8REF(&v) : V_I8(&v));
    case VT_R4: return Value(static_cast<double>(byRef ? *V_R4REF(&v) : V_R4(&v)));
    case VT_R8: return Value(byRef ? *V_R8REF(&v) : V_R8(&v));
    case VT_BSTR: return Value(utf8(byRef ? *V_BSTRREF(&v) : V_BSTR(&v)));
    case VT_DISPATCH: return fromDispatch(byRef ? *V_DISPATCHREF(&v) : V_DISPATCH(&v));
    case VT_UNKNOWN: {
      IUnknown* u = byRef ? *V_UNKNOWNREF(&v) : V_UNKNOWN(&v);
      if (!u) return Value(Null{});
      ComRef<IDispatch> d;
      if (FAILED(u->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(d.put())))) return std::nullopt;
      return fromDispatch(d.get());
    }
    case VT_VARIANT:
      if (byRef && V_VARIANTREF(&v)) return fromVariant(*V_VARIANTREF(&v));
      return std::nullopt;
    default: {
      // Currency, dates and decimals: as a real number, as automation reads them.
      VARIANT r;
      VariantInit(&r);
      if (FAILED(VariantChangeType(&r, const_cast<VARIANT*>(&v), 0, VT_R8))) return std::nullopt;
      return Value(V_R8(&r));
    }
  }
}

HRESULT toVariant(const Value& value, VARIANT* out) {
  VariantInit(out);
  if (value.isEmpty()) return S_OK;
  if (value.isNull()) {
    V_VT(out) = VT_NULL;
  } else if (value.isBool()) {
    V_VT(out) = VT_BOOL;
    V_BOOL(out) = value.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (value.isInt()) {
    V_VT(out) = VT_I4;
    V_I4(out) = value.toInt32();
  } else if (value.isDouble()) {
    V_VT(out) = VT_R8;
    V_R8(out) = value.toNumber();
  } else if (value.isString()) {
    BSTR text = allocBstr(value.toText());
    if (!text) return E_OUTOFMEMORY;
    V_VT(out) = VT_BSTR;
    V_BSTR(out) = text;
  } else {
    const auto* page = dynamic_cast<const DispatchObject*>(value.toObject().get());
    if (!page) return E_NOTIMPL;
    V_VT(out) = VT_DISPATCH;
    V_DISPATCH(out) = page->dispatch();
    V_DISPATCH(out)->AddRef();
  }
  return S_OK;
}

}  // namespace reVoziz::com
