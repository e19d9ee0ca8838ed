// The transcript's display modes ("scroll" and "single") and the sync switch.
// They only set what the next tick reads, so the change shows at that tick.

#include "core/page_lookups.h"
#include "core/text.h"
#include "transcript/transcript.h"

namespace reVoziz {
namespace {

}  // namespace

void Transcript::addStyle(const StyleSheet& sSheet, std::string_view sel, std::string_view s,
                          const Value& v) const {
  const Collection rules = sSheet.rules();
  const std::int32_t count = rules.length();
  const std::string wanted = lowerCase(sel);
  for (std::int32_t i = 0; i < count; ++i) {
    const StyleRule rule(rules.item(i));
    if (lowerCase(rule.selectorText()) == wanted) {
      rule.style().setAttribute(s, v);
      return;
    }
  }
}

void Transcript::singleSegments(const Window& w) const { setDisplayMode(w, DisplayMode::Single); }

void Transcript::scrollSegments(const Window& w) const { setDisplayMode(w, DisplayMode::Scroll); }

void Transcript::setDisplayMode(const Window& w, DisplayMode mode) const {
  const bool single = mode == DisplayMode::Single;
  w.event().setCancelBubble(true);
  const Document page = w.document();
  const Document transcript = page.frame("tq_trans").document();

  // Button images: the page's own on/off images when it gives them.
  const Element scrollButton = page.element("tq_scroll");
  if (scrollButton.getAttribute("tq_src_off").isNull()) {
    scrollButton.setSrc(single ? "scroll.gif" : "scroll_on.gif");
    page.element("tq_single").setSrc(single ? "single_on.gif" : "single.gif");
  } else if (single) {
    scrollButton.setSrc(scrollButton.propertyText("tq_src_off"));
    const Element singleButton = page.element("tq_single");
    singleButton.setSrc(singleButton.propertyText("tq_src_on"));
  } else {
    const Element singleButton = page.element("tq_single");
    singleButton.setSrc(singleButton.propertyText("tq_src_off"));
    scrollButton.setSrc(scrollButton.propertyText("tq_src_on"));
  }

  const Element iText = transcript.element("iText");
  iText.setProperty("tq_mode", single ? "single" : "scroll");
  const std::string display = single ? "none" : "inline";
  addStyle(transcript.styleSheet("tq_style"), ".segment", "display", display);
  addStyle(transcript.styleSheet("tq_style"), ".sync", "display", display);
  iText.setAttribute("tq_refresh", "1");
}

void Transcript::toggleSync(const Document& d, const Element& e) const {
  const Element iText = d.element("iText");
  std::string image;
  if (getVal(iText, "tq_insync").toText() != "0") {
    iText.setAttribute("tq_insync", "0");
    image = "insync.gif";
  } else {
    iText.setAttribute("tq_insync", "1");
    iText.setAttribute("tq_refresh", "1");  // mark and scroll at the next tick
    image = "unsync.gif";
  }
  e.setSrc(image);
}

}  // namespace reVoziz
