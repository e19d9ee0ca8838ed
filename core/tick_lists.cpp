#include "core/tick_lists.h"

#include <algorithm>

namespace reVoziz {

TickLists::List TickLists::list(const Document& windowDocument, std::string_view frameName) {
  const auto windowStamp = platform_.changeStampOf(windowDocument.handle());
  const auto kept = std::find_if(found_.begin(), found_.end(),
                                 [&](const Found& f) { return f.frameName == frameName; });
  if (windowStamp && kept != found_.end() && kept->windowStamp == *windowStamp) {
    const auto frameStamp = platform_.changeStampOf(kept->list.handle());
    if (frameStamp == kept->frameStamp) return {kept->list, frameStamp, kept->frameDocument, windowStamp};
  }
  if (kept != found_.end()) found_.erase(kept);

  const Document frameDocument = windowDocument.frame(frameName).document();
  const Element list = frameDocument.element("iText");
  // Stamps taken after the lookups, which may bring a layout up to date. The
  // frame's is asked through the list, which tells the host what the stamp
  // is for: changes beside the list need not move it.
  const auto windowStampNow = platform_.changeStampOf(windowDocument.handle());
  const auto frameStamp = platform_.changeStampOf(list.handle());
  if (frameStamp && windowStampNow) {
    found_.push_back({std::string(frameName), frameDocument, list, *windowStampNow, *frameStamp});
  }
  return {list, frameStamp, frameDocument, windowStampNow};
}

void TickLists::restamp(std::string_view frameName, std::uint64_t before, std::uint64_t after) {
  for (Found& f : found_) {
    if (f.frameName == frameName && f.frameStamp == before) f.frameStamp = after;
  }
}

}  // namespace reVoziz
