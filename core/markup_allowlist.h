#pragma once
// What markup from outside the lesson may bring into the notes: the elements
// of text and its formatting, and of each the attributes it needs. Everything
// else goes, its harmless text kept.

#include <string_view>

namespace reVoziz {

enum class ElementFate {
  Keep,
  Unwrap,  // the element goes, its content stays
  Drop,    // the element goes with everything inside it
};

// By the lower-case tag name.
ElementFate fateOf(std::string_view tag);

// Whether an element of this lower-case tag keeps the lower-case attribute,
// apart from id, name, style and the addresses, which have rules of their own.
bool keepsAttribute(std::string_view tag, std::string_view attribute);

// Whether a link may lead there: an http:, https: or mailto: address.
bool isLinkAddress(std::string_view address);

// Whether an image from there loads nothing: a data: address of a raster type.
bool isInlineRasterImage(std::string_view address);

}  // namespace reVoziz
