#include "control/tick_lists.h"

#include <algorithm>

namespace reVoziz {

std::optional<std::uint64_t> TickLists::stampOf(const HostRef& node) const {
  if (!node.isSet()) return std::nullopt;
  return platform_.changeStamp(*node.handle());
}

TickLists::List TickLists::list(const Document& windowDocument, std::string_view frameName) {
  const std::optional<std::uint64_t> windowStamp = stampOf(windowDocument);
  const auto kept = std::find_if(found_.begin(), found_.end(),
                                 [&](const Found& f) { return f.frameName == frameName; });
  if (windowStamp && kept != found_.end() && kept->windowStamp == *windowStamp) {
    const std::optional<std::uint64_t> frameStamp = stampOf(kept->frameDocument);
    if (frameStamp == kept->frameStamp) return {kept->list, frameStamp};
  }
  if (kept != found_.end()) found_.erase(kept);

  const Document frameDocument = windowDocument.frame(frameName).document();
  const Element list = frameDocument.element("iText");
  // Stamps taken after the lookups, which may bring a layout up to date.
  const std::optional<std::uint64_t> windowStampNow = stampOf(windowDocument);
  const std::optional<std::uint64_t> frameStamp = stampOf(frameDocument);
  if (frameStamp && windowStampNow) {
    found_.push_back({std::string(frameName), frameDocument, list, *windowStampNow, *frameStamp});
  }
  return {list, frameStamp};
}

}  // namespace reVoziz
