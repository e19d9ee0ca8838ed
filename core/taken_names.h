#pragma once
// The ids and names that markup from outside the lesson may not bring into
// the notes: a named element stands in for a member of the same name of the
// document or a form (the page's handlers look names up there before the
// window), and for the names that the control and the page look up.

#include <span>
#include <string_view>

#include "core/dom.h"

namespace reVoziz {

// The ids and names that the caller reserves, compared without letter case.
using ReservedIds = std::span<const std::string_view>;

class TakenNames {
 public:
  // Judged against the live objects of `page`'s host: its window, and a
  // document and a form of its own, empty, that nothing names.
  TakenNames(const Document& page, ReservedIds reservedIds);

  bool isTaken(std::string_view name) const;

 private:
  ReservedIds reservedIds_;
  Window window_;
  Document blank_;
  Element form_;
};

}  // namespace reVoziz
