#pragma once
// Page navigation: click and hover dispatch, the select menus and the table
// of contents' expander.

#include "core/dom.h"
#include "transcript/transcript.h"

namespace reVoziz {

class Navigation {
 public:
  explicit Navigation(const Transcript& transcript) : transcript_(transcript) {}

  void clickDispatch(const Window& w) const;
  void MouseOverDispatch(const Window& w) const;
  void MouseOutDispatch(const Window& w) const;
  void closeSelects(const Window& w) const;
  void toggleXpand(const Element& ex) const;

 private:
  // Copies the hover style named `styleAttribute` into the hovered element's runtime style.
  void applyHoverStyle(const Window& w, std::string_view styleAttribute) const;

  const Transcript& transcript_;
};

}  // namespace reVoziz
