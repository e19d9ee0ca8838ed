// Finding and marking the segment that holds the player's position. All state
// between ticks lives in attributes of the list's container; what the walk
// over the segments read is kept only while the page stays unchanged.

#include <array>
#include <optional>

#include "core/checked_arithmetic.h"
#include "core/page_lookups.h"
#include "core/text.h"
#include "transcript/transcript.h"

namespace reVoziz {

Element Transcript::getCurrentSegment(const Element& iText, std::int32_t time) const {
  SegmentWalk& walk = walks_.of(iText);
  const std::optional<std::size_t> current = walk.currentAt(time);
  return current ? walk.segment(*current) : iText;
}

void Transcript::markCurrentSegment(const Element& iText, std::int32_t time) const {
  markCurrentSegment(iText, time, walks_.stampOf(iText));
}

std::optional<SecondsSpan> Transcript::markCurrentSegment(
    const Element& iText, std::int32_t time, std::optional<std::uint64_t> documentStamp) const {
  SegmentWalk& walk = walks_.of(iText, documentStamp);
  // Without a stamp the walk is not kept, so the next call reads afresh.
  const auto unlessUnkept = [&](SecondsSpan span) {
    return documentStamp ? std::optional(span) : std::nullopt;
  };
  if (walk.containerValue("tq_insync") == "0") return unlessUnkept(SecondsSpan::everySecond());
  const std::optional<std::size_t> current = walk.currentAt(time);
  const std::string refresh = walk.containerValue("tq_refresh");
  const std::string segId = current ? walk.uniqueIdOf(*current) : walk.containerUniqueId();
  const bool found = segId != walk.containerUniqueId();
  const std::string oldSegment = walk.containerProperty("tq_oldSegment");
  const bool changed = refresh == "1" || oldSegment != segId;
  if (!found || !changed) return unlessUnkept(walk.spanOf(current));

  const Element seg = walk.segment(*current);
  iText.setAttribute("tq_refresh", "0");
  if (isSingleMode(iText)) {
    if (!oldSegment.empty()) {
      const Style old = Element(iText.all().item(oldSegment)).style();
      old.setCssText(iText.propertyText("tq_nonCurrent"));
      old.setDisplay("");  // the sheet hides it again
    }
    seg.style().setCssText(getVal(iText, "tq_single").toText());
    seg.style().setDisplay("inline");
  } else {
    if (!oldSegment.empty()) {
      Element(iText.all().item(oldSegment)).style().setCssText(
          iText.propertyText("tq_nonCurrent"));
    }
    seg.style().setCssText(iText.propertyText("tq_current"));
  }

  const Element band = iText.offsetParent();
  const std::int32_t top = seg.offsetTop();
  if (top < band.scrollTop()) {
    seg.scrollIntoView(true);
  } else if (checkedAdd(top, seg.offsetHeight()) >
             checkedAdd(band.scrollTop(), band.clientHeight())) {
    seg.scrollIntoView(false);
  }
  iText.setProperty("tq_oldSegment", segId);
  const std::array<std::string, 2> restyled = {segId, oldSegment};
  walks_.keepAfterMarking(walk, std::span(restyled).first(oldSegment.empty() ? 1 : 2));
  return std::nullopt;
}

}  // namespace reVoziz
