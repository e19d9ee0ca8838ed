// Finding and marking the segment that holds the player's position. All state
// between ticks lives in attributes of the list's container; what the walk
// over the segments read is kept only while the page stays unchanged.

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>

#include "core/checked_arithmetic.h"
#include "core/page_lookups.h"
#include "core/skip_failure.h"
#include "core/text.h"
#include "transcript/restyle_reach.h"
#include "transcript/transcript.h"

namespace reVoziz {
namespace {

// What the marking's restyle can change: the looks it replaces and those it
// writes. Heights do not count in "single" mode, which the caller tells
// apart. A look that cannot be read reaches anything here and fails where
// it is used.
RestyleReach reachOfMarking(SegmentWalk& walk, std::size_t current, const std::string& oldSegment,
                            std::optional<std::size_t> oldIndex) {
  RestyleReach reach = RestyleReach::Anything;
  skipFailure([&] {
    const RestyleReach old = oldSegment.empty() ? RestyleReach::Paint
                             : oldIndex         ? walk.reachOf(walk.lookOf(*oldIndex))
                                                : RestyleReach::Anything;
    reach = std::max({walk.reachOf(walk.containerProperty("tq_current")),
                      walk.reachOf(walk.containerProperty("tq_nonCurrent")), walk.reachOf(walk.lookOf(current)), old});
  });
  return reach;
}

// Gives the old segment, when one was marked, the look of segments not
// current and the new one the current look; in "single" mode it shows only
// the new one.
void writeLooks(SegmentWalk& walk, std::size_t current, const std::optional<Element>& old,
                std::optional<std::size_t> oldIndex) {
  const auto oldStyle = [&] { return oldIndex ? walk.styleOf(*oldIndex) : old->style(); };
  const Style& segStyle = walk.styleOf(current);
  if (walk.single()) {
    if (old) {
      const Style style = oldStyle();
      style.setCssText(walk.containerProperty("tq_nonCurrent"));
      style.setDisplay("");  // the sheet hides it again
    }
    segStyle.setCssText(walk.containerValue("tq_single"));
    segStyle.setDisplay("inline");
    return;
  }
  if (old) {
    oldStyle().setCssText(walk.containerProperty("tq_nonCurrent"));
    if (oldIndex) walk.wroteLook(*oldIndex, walk.containerProperty("tq_nonCurrent"));
  }
  segStyle.setCssText(walk.containerProperty("tq_current"));
  walk.wroteLook(current, walk.containerProperty("tq_current"));
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

  // Everything that depends on layout is read before the first write, or
  // else after the last restyle, so that the browser lays the page out once.
  const Element seg = walk.segment(*current);
  const bool single = walk.single();
  // The old segment is most often the one the walk found last time.
  const std::optional<std::size_t> oldIndex = walk.indexOfUniqueId(oldSegment);
  const RestyleReach reach = single ? RestyleReach::Anything : reachOfMarking(walk, *current, oldSegment, oldIndex);
  // Every segment stays displayed as it was: what the walk read holds without
  // reading the page again.
  const bool keepsDisplay = single || reach <= RestyleReach::Heights;
  // Every box keeps its place, so the segment's place is read before the
  // first write and the tick leaves the restyle to the browser's next
  // rendering. A refresh also writes an attribute the sheets may select on.
  const bool keepsPlaces = reach == RestyleReach::Paint && refresh == "0";
  const Element old = oldSegment.empty() ? Element()
                      : oldIndex          ? walk.segment(*oldIndex)
                                          : Element(iText.all().item(oldSegment));
  // A counted segment is displayed while the walk holds.
  const bool oldShown = !keepsDisplay && (oldIndex || (old.isSet() && old.offsetHeight() > 0));
  const Element& band = walk.band();
  const std::int32_t scrollTop = band.scrollTop();
  const std::int32_t bandHeight = band.clientHeight();
  struct Place {
    std::int32_t top;
    std::int32_t height;
  };
  const auto placeOfSegment = [&] { return Place{seg.offsetTop(), seg.offsetHeight()}; };
  std::optional<Place> place;
  if (keepsPlaces) place = placeOfSegment();

  // Writing the value it has would change nothing.
  if (refresh != "0") iText.setAttribute("tq_refresh", "0");
  writeLooks(walk, *current, oldSegment.empty() ? std::nullopt : std::optional(old), oldIndex);

  if (!place) place = placeOfSegment();
  const std::int32_t top = place->top;
  const std::int32_t height = place->height;
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
