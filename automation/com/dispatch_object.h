#pragma once
// A host object of the page reached through its IDispatch: windows,
// documents, collections, elements and the player are all of this kind.

#include <optional>
#include <string>
#include <string_view>

#include <oaidl.h>

#include "automation/com/com_ref.h"
#include "core/object.h"

namespace reVoziz::com {

class DispatchObject : public Object {
 public:
  explicit DispatchObject(IDispatch* dispatch) : dispatch_(dispatch) {}

  IDispatch* dispatch() const { return dispatch_.get(); }

  // Missing members raise MemberNotFound; a failure inside the page keeps the
  // page's own code and message.
  Value get(std::string_view member) override;
  // Writes the member the object already has, found without case when not as
  // spelt; a member the object lacks is added as an expando where the object
  // lets it (IDispatchEx), as a page's script does.
  void put(std::string_view member, const Value& value) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  // The name of the object's type information; "Object" when it has none.
  std::string typeName() const override;
  bool sameAs(const Object& other) const override;

 private:
  // Through IDispatchEx with these flags, then GetIDsOfNames.
  std::optional<DISPID> findMember(const std::wstring& name, DWORD exFlags) const;
  DISPID readId(std::string_view member) const;
  DISPID writeId(std::string_view member) const;
  Value invoke(std::string_view member, DISPID id, WORD flags, std::span<VARIANT> args) const;

  ComRef<IDispatch> dispatch_;
};

}  // namespace reVoziz::com
