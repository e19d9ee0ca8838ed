#pragma once
// Automation variants to and from the control's values.

#include <optional>

#include <oaidl.h>

#include "core/value.h"

namespace reVoziz::com {

// By-reference variants are read through. Nullopt for a type the control has
// no value for (arrays, records, pointers to unknown kinds).
std::optional<Value> fromVariant(const VARIANT& v);

// Fills a VARIANT the caller has initialised and will clear. Objects that do
// not come from the page have no IDispatch and give E_NOTIMPL.
HRESULT toVariant(const Value& value, VARIANT* out);

}  // namespace reVoziz::com
