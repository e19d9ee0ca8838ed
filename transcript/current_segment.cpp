// Finding and marking the segment that holds the player's position. All state
// between ticks lives in attributes of the list's container; what the walk
// over the segments read is kept only while the page stays unchanged.

#include <algorithm>
#include <array>
#include <optional>

#include "core/checked_arithmetic.h"
#include "core/css_cleaning.h"
#include "core/page_lookups.h"
#include "core/skip_failure.h"
#include "core/text.h"
#include "transcript/transcript.h"

namespace reVoziz {
namespace {

// Whether a style that sets only these properties leaves every box with the
// height it had, or at least with some: colours, paint, font weight and style.
bool keepsBoxes(std::string_view property) {
  static constexpr auto kNames = std::to_array<std::string_view>(
      {"color", "opacity", "visibility", "cursor", "caret-color", "accent-color", "box-shadow", "text-shadow",
       "font-weight", "font-style", "background", "outline", "text-decoration", "border-color"});
  static constexpr auto kFamilies = std::to_array<std::string_view>(
      {"background-", "outline-", "text-decoration-", "scroll-padding", "scroll-margin"});
  const auto startsWith = [&](std::string_view prefix) { return property.starts_with(prefix); };
  return std::find(kNames.begin(), kNames.end(), property) != kNames.end() ||
         std::any_of(kFamilies.begin(), kFamilies.end(), startsWith) ||
         (property.starts_with("border-") && property.ends_with("-color"));
}

// Whether restyling with `css` can neither hide a segment nor show one.
bool restyleKeepsDisplay(std::string_view css) {
  const auto properties = declaredProperties(css);
  return properties && std::all_of(properties->begin(), properties->end(),
                                   [](const std::string& p) { return keepsBoxes(p); });
}

}  // namespace

Element Transcript::getCurrentSegment(const Element& iText, std::int32_t time) const {
  SegmentWalk& walk = walks_.of(iText);
  const std::optional<std::size_t> current = walk.currentAt(time);
  return current ? walk.segment(*current) : iText;
}

void Transcript::markCurrentSegment(const Element& iText, std::int32_t time) const {
  markCurrentSegment(iText, time, walks_.stampOf(iText));
}

std::optional<Transcript::Rest> Transcript::markCurrentSegment(
    const Element& iText, std::int32_t time, std::optional<std::uint64_t> documentStamp) const {
  SegmentWalk& walk = walks_.of(iText, documentStamp);
  // Without a stamp the walk is not kept, so the next call reads afresh.
  const auto restingUnder = [&](std::optional<std::uint64_t> stamp, SecondsSpan span) {
    return stamp ? std::optional(Rest{span, *stamp}) : std::nullopt;
  };
  if (walk.containerValue("tq_insync") == "0") return restingUnder(documentStamp, SecondsSpan::everySecond());
  const std::optional<std::size_t> current = walk.currentAt(time);
  const std::string refresh = walk.containerValue("tq_refresh");
  const std::string segId = current ? walk.uniqueIdOf(*current) : walk.containerUniqueId();
  const bool found = segId != walk.containerUniqueId();
  const std::string oldSegment = walk.containerProperty("tq_oldSegment");
  const bool changed = refresh == "1" || oldSegment != segId;
  if (!found || !changed) return restingUnder(documentStamp, walk.spanOf(current));

  // Everything that depends on layout is read before the first write and
  // after the last restyle, so that the browser lays the page out once.
  const Element seg = walk.segment(*current);
  const bool single = walk.single();
  // The old segment is most often the one the walk found last time.
  const std::optional<std::size_t> oldIndex = walk.indexOfUniqueId(oldSegment);
  // A restyle that replaces looks that only paint by others that only paint
  // leaves every segment displayed as it was: what the walk read holds
  // without reading the page again. Heights do not count in "single" mode.
  // A look that cannot be read fails below, where it is used.
  bool keepsDisplay = single;
  if (!single) {
    skipFailure([&] {
      keepsDisplay = walk.looksKeepDisplay([&] {
        return restyleKeepsDisplay(walk.containerProperty("tq_current")) &&
               restyleKeepsDisplay(walk.containerProperty("tq_nonCurrent"));
      });
      keepsDisplay = keepsDisplay && restyleKeepsDisplay(walk.lookOf(*current)) &&
                     (oldSegment.empty() || (oldIndex && restyleKeepsDisplay(walk.lookOf(*oldIndex))));
    });
  }
  const Element old = oldSegment.empty() ? Element()
                      : oldIndex          ? walk.segment(*oldIndex)
                                          : Element(iText.all().item(oldSegment));
  // A counted segment is displayed while the walk holds.
  const bool oldShown = !keepsDisplay && (oldIndex || (old.isSet() && old.offsetHeight() > 0));
  const Element& band = walk.band();
  const std::int32_t scrollTop = band.scrollTop();
  const std::int32_t bandHeight = band.clientHeight();

  // Writing the value it has would change nothing.
  if (refresh != "0") iText.setAttribute("tq_refresh", "0");
  const auto oldStyle = [&] { return oldIndex ? walk.styleOf(*oldIndex) : old.style(); };
  const Style& segStyle = walk.styleOf(*current);
  if (single) {
    if (!oldSegment.empty()) {
      const Style style = oldStyle();
      style.setCssText(walk.containerProperty("tq_nonCurrent"));
      style.setDisplay("");  // the sheet hides it again
    }
    segStyle.setCssText(walk.containerValue("tq_single"));
    segStyle.setDisplay("inline");
  } else {
    if (!oldSegment.empty()) {
      oldStyle().setCssText(walk.containerProperty("tq_nonCurrent"));
      if (oldIndex) walk.wroteLook(*oldIndex, walk.containerProperty("tq_nonCurrent"));
    }
    segStyle.setCssText(walk.containerProperty("tq_current"));
    walk.wroteLook(*current, walk.containerProperty("tq_current"));
  }

  const std::int32_t top = seg.offsetTop();
  const std::int32_t height = seg.offsetHeight();
  bool survives = keepsDisplay;
  // Deciding reads the page once more; a failure there only costs the walk.
  if (!survives) {
    skipFailure([&] {
      const bool oldShownAfter = old.isSet() && old.offsetHeight() > 0;
      const std::array<SegmentWalk::Restyled, 2> restyled = {
          {{seg, true, height > 0, current}, {old, oldShown, oldShownAfter, oldIndex}}};
      survives = walk.survivesRestyleOf(std::span(restyled).first(oldSegment.empty() ? 1 : 2));
    });
  }
  if (top < scrollTop) {
    seg.scrollIntoView(true);
  } else if (checkedAdd(top, height) > checkedAdd(scrollTop, bandHeight)) {
    seg.scrollIntoView(false);
  }
  iText.setProperty("tq_oldSegment", segId);
  walk.rememberMarking(segId);
  const SecondsSpan span = walk.spanOf(current);
  // The stamp is taken after the host's own answers to the marking, so that
  // the next tick finds it standing.
  return restingUnder(walks_.keepAfterMarking(walk, survives), span);
}

}  // namespace reVoziz
