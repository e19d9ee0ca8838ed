#pragma once
// What restyling a segment with a look (a style text) can change of the
// list's boxes, judged by the properties the look declares.

#include <string_view>

namespace reVoziz {

// In order of reach: each one covers what the ones before it may change.
enum class RestyleReach {
  // Colours, backgrounds, outlines, shadows, text decoration: every box keeps
  // its place and size.
  Paint,
  // Also font weight and style, which may rewrap a segment's text: every box
  // keeps some height, so every segment stays displayed as it was.
  Heights,
  // Anything else, or a look that cannot be read.
  Anything,
};

RestyleReach restyleReachOf(std::string_view look);

}  // namespace reVoziz
