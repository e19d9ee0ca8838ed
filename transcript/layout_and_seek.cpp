// Layout buttons, seeking the player, and carrying out a select-menu choice.

#include <algorithm>
#include <array>

#include "core/rounding.h"
#include "core/time_code.h"
#include "transcript/transcript.h"

namespace reVoziz {
namespace {

// The leading number of a page value such as "400" or "100%".
double pixels(const Value& v) { return leadingNumber(v.toText()); }

double bodyPixels(const Document& page, std::string_view frame, std::string_view attribute) {
  return pixels(page.frame(frame).document().body().property(attribute));
}

}  // namespace

void Transcript::showMode(const Element& mode, std::int32_t layout) const {
  const Document page = state_.HostDocument;
  static constexpr std::array<std::string_view, 4> kButtons = {"modefull", "modetoc", "modetrans",
                                                               "modevideo"};
  for (std::string_view name : kButtons) {
    const Element button = page.element(name);
    button.setSrc(button.propertyText("tq_src_off"));
  }
  if (layout != 1 || mode.id() != "modefull") return;

  const Window window = state_.HostWindow;
  const std::int32_t aw = window.screen().availWidth();
  const double tw = bodyPixels(page, "tq_trans", "tq_maxWidth");
  const double pw = pixels(state_.Player.width());
  const std::int32_t ah = window.screen().availHeight();
  const double th = bodyPixels(page, "frameToc", "tq_maxHeight");
  const double ph = pixels(state_.Player.height());
  // The window never grows beyond the screen's available area.
  window.resizeTo(std::min(aw, toInt32HalfEven(pw + tw)), std::min(ah, toInt32HalfEven(ph + th)));
  page.element("tra").style().setDisplay("block");
  page.element("toc").style().setDisplay("block");
}

void Transcript::goTo_(std::string_view pos_) const {
  const std::int32_t seconds = timeToSeconds(pos_);
  state_.Player.controls().setCurrentPosition(seconds);
  state_.Player.controls().play();
}

void Transcript::switchText(const Document& d, const Element& e) const {
  const Element menu = e.parentElement().parentElement();
  e.parentElement().style().setVisibility("hidden");
  const std::string newAddress = e.propertyText("tq_href");
  const auto targetFrame = [&] { return d.frame(menu.propertyText("tq_selFrame")); };
  // The option now offers what the frame shows at present.
  e.setAttribute("tq_href", targetFrame().document().URLUnencoded());
  targetFrame().document().setURL(newAddress);
  const std::string newLabel = e.innerText();
  const auto display = [&] { return d.element(menu.propertyText("tq_selId")); };
  e.setInnerText(display().innerText());
  display().setInnerText(newLabel);
}

}  // namespace reVoziz
