// Finding and marking the segment that holds the player's position. All state
// between ticks lives in attributes of the list's container.

#include <optional>

#include "control/checked_arithmetic.h"
#include "control/page_lookups.h"
#include "control/text.h"
#include "control/time_code.h"
#include "transcript/transcript.h"

namespace reVoziz {
namespace {

bool isSingleMode(const Element& iText) {
  return lowerCase(getVal(iText, "tq_mode").toText()) == "single";
}

}  // namespace

Element Transcript::getCurrentSegment(const Element& iText, std::int32_t time) const {
  Element current = iText;
  const Collection divs = iText.all().tags("DIV");
  const std::int32_t count = divs.length();
  std::optional<bool> single;  // read at the first segment, as the walk needs it
  for (std::int32_t i = 0; i < count; ++i) {
    const Element el = divs.element(i);
    if (el.className() != "segment") continue;
    if (!single) single = isSingleMode(iText);
    // Outside "single" mode a segment that is not displayed does not count.
    if (!*single && el.offsetHeight() <= 0) continue;
    const std::int32_t start = timeToSeconds(el.propertyText("tq_start"));
    if (start <= time) {
      current = el;
      continue;
    }
    // A position before every segment falls to the first one.
    if (current.uniqueID() == iText.uniqueID()) current = el;
    break;
  }
  return current;
}

void Transcript::markCurrentSegment(const Element& iText, std::int32_t time) const {
  if (getVal(iText, "tq_insync").toText() == "0") return;
  const Element seg = getCurrentSegment(iText, time);
  const std::string refresh = getVal(iText, "tq_refresh").toText();
  const std::string segId = seg.uniqueID();
  const bool found = segId != iText.uniqueID();
  const std::string oldSegment = iText.propertyText("tq_oldSegment");
  const bool changed = refresh == "1" || oldSegment != segId;
  if (!found || !changed) return;

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
}

}  // namespace reVoziz
