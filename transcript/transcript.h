#pragma once
// Transcript synchronisation: the current segment of each list, the display
// modes and the sync switch, the layout modes, seeking and menu choices.

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/control_state.h"
#include "core/dom.h"
#include "core/platform.h"
#include "transcript/segment_walk.h"

namespace reVoziz {

class Transcript {
 public:
  Transcript(ControlState& state, Platform& platform) : state_(state), walks_(platform) {}

  // Current-segment tracking.
  Element getCurrentSegment(const Element& iText, std::int32_t time) const;
  void markCurrentSegment(const Element& iText, std::int32_t time) const;
  // Where a marking leaves its list: the positions at which the call would
  // again read nothing new and write nothing, while iText's document keeps
  // `stamp`.
  struct Rest {
    SecondsSpan seconds;
    std::uint64_t stamp;
    bool operator==(const Rest&) const = default;
  };
  // With the change stamp of iText's document that the caller has just
  // taken, reading nothing from the page since. Nothing when there is no
  // stamp, or when the marking's writes left nothing it read standing.
  std::optional<Rest> markCurrentSegment(const Element& iText, std::int32_t time,
                                         std::optional<std::uint64_t> documentStamp) const;

  // Display modes and the sync switch.
  void addStyle(const StyleSheet& sSheet, std::string_view sel, std::string_view s,
                const Value& v) const;
  void singleSegments(const Window& w) const;
  void scrollSegments(const Window& w) const;
  void toggleSync(const Document& d, const Element& e) const;

  // Layout modes, seeking and text switching.
  void showMode(const Element& mode, std::int32_t layout) const;
  void goTo_(std::string_view pos_) const;
  void switchText(const Document& d, const Element& e) const;

 private:
  enum class DisplayMode { Scroll, Single };
  void setDisplayMode(const Window& w, DisplayMode mode) const;

  ControlState& state_;
  // What the walks over the lists read; reused while their pages stay unchanged.
  mutable SegmentWalks walks_;
};

}  // namespace reVoziz
