#include "transcript/segment_walk.h"

#include <algorithm>

#include "core/page_lookups.h"
#include "core/skip_failure.h"
#include "core/text.h"
#include "core/time_code.h"

namespace reVoziz {

bool isSingleMode(const Element& iText) {
  return lowerCase(getVal(iText, "tq_mode").toText()) == "single";
}

std::optional<std::size_t> SegmentWalk::currentAt(std::int32_t time) {
  if (counted_.empty() || counted_.back().reach <= time) return readOn(time);
  const auto stop = std::upper_bound(counted_.begin(), counted_.end(), time,
                                     [](std::int32_t t, const Counted& c) { return t < c.reach; });
  const auto index = static_cast<std::size_t>(stop - counted_.begin());
  // A position before every counted segment falls to the first one.
  return index == 0 ? 0 : index - 1;
}

// Reaches never fall, so answer i holds from its own reach up to the next
// one; the first answer also takes every earlier position. Past the last
// reach the walk reads on unless it has read every DIV.
SecondsSpan SegmentWalk::spanOf(std::optional<std::size_t> answer) const {
  constexpr SecondsSpan every = SecondsSpan::everySecond();
  if (!answer) return every;  // only a walk that read every DIV finds no segment
  const std::size_t i = *answer;
  const std::int32_t from = i == 0 ? every.from : counted_[i].reach;
  if (i + 1 < counted_.size()) return {from, counted_[i + 1].reach - 1};
  const bool complete = divs_ && nextDiv_ >= divCount_;
  return {from, complete ? every.to : counted_.back().reach - 1};
}

// Every segment read so far starts at or before `time`.
std::optional<std::size_t> SegmentWalk::readOn(std::int32_t time) {
  if (!divs_) {
    divs_ = container_.all().tags("DIV");
    divCount_ = divs_->length();
  }
  for (; nextDiv_ < divCount_; ++nextDiv_) {
    const Element el = divs_->element(nextDiv_);
    if (el.className() != "segment") continue;
    if (!single_) single_ = isSingleMode(container_);  // read at the first segment
    // Outside "single" mode a segment that is not displayed does not count.
    if (!*single_ && el.offsetHeight() <= 0) continue;
    const std::int32_t start = timeToSeconds(el.propertyText("tq_start"));
    const std::int32_t reach = counted_.empty() ? start : std::max(start, counted_.back().reach);
    counted_.emplace_back(el, start, reach);
    if (start > time) {
      ++nextDiv_;
      return counted_.size() == 1 ? 0 : counted_.size() - 2;
    }
  }
  if (counted_.empty()) return std::nullopt;
  return counted_.size() - 1;
}

const std::string& SegmentWalk::uniqueIdOf(std::size_t index) {
  Counted& c = counted_[index];
  if (!c.uniqueId) {
    c.uniqueId = c.element.uniqueID();
    byUniqueId_.emplace(*c.uniqueId, index);
  }
  return *c.uniqueId;
}

const std::string& SegmentWalk::containerUniqueId() {
  if (!containerId_) containerId_ = container_.uniqueID();
  return *containerId_;
}

const Element& SegmentWalk::band() {
  if (!band_) band_ = container_.offsetParent();
  return *band_;
}

const std::string& SegmentWalk::containerValue(std::string_view name) {
  auto found = values_.find(name);
  if (found == values_.end()) found = values_.emplace(name, getVal(container_, name).toText()).first;
  return found->second;
}

const std::string& SegmentWalk::containerProperty(std::string_view name) {
  auto found = properties_.find(name);
  if (found == properties_.end()) found = properties_.emplace(name, container_.propertyText(name)).first;
  return found->second;
}

void SegmentWalk::rememberMarking(const std::string& uniqueId) {
  values_.insert_or_assign(std::string("tq_refresh"), std::string("0"));
  properties_.insert_or_assign("tq_oldSegment", uniqueId);
}

const Style& SegmentWalk::styleOf(std::size_t index) {
  Counted& c = counted_[index];
  if (!c.style) c.style = c.element.style();
  return *c.style;
}

const std::string& SegmentWalk::lookOf(std::size_t index) {
  Counted& c = counted_[index];
  if (!c.look) c.look = styleOf(index).cssText();
  return *c.look;
}

RestyleReach SegmentWalk::reachOf(const std::string& look) {
  const auto found = reachOfLook_.find(look);
  if (found != reachOfLook_.end()) return found->second;
  return reachOfLook_.emplace(look, restyleReachOf(look)).first->second;
}

std::optional<std::size_t> SegmentWalk::indexOfUniqueId(const std::string& uniqueId) const {
  const auto found = byUniqueId_.find(uniqueId);
  return found == byUniqueId_.end() ? std::nullopt : std::optional(found->second);
}

bool SegmentWalk::isAlone(const Element& segment) const {
  if (segment.all().tags("DIV").length() > 0) return false;
  for (Element up = segment.parentElement(); !up.sameAs(container_); up = up.parentElement()) {
    if (!up.isSet() || up.className() == "segment") return false;
  }
  return true;
}

// In "single" mode heights do not count. Otherwise each segment must have
// been displayed and still be, and must neither hold nor sit in another
// segment, whose height its look could change.
bool SegmentWalk::survivesRestyleOf(std::span<const Restyled> restyled) {
  if (!single_) return false;
  if (*single_) return true;
  return std::all_of(restyled.begin(), restyled.end(), [&](const Restyled& r) {
    if (!r.shownBefore || !r.shownAfter) return false;
    if (!r.index) return isAlone(r.element);
    // The tree stays as it was while the walk is kept.
    std::optional<bool>& alone = counted_[*r.index].alone;
    if (!alone) alone = isAlone(r.element);
    return *alone;
  });
}

SegmentWalk& SegmentWalks::of(const Element& container, std::optional<std::uint64_t> stamp) {
  if (!stamp) return unkept_.emplace(container);
  // The same handle first, which needs no call into the host.
  auto found = std::find_if(kept_.begin(), kept_.end(),
                            [&](const Kept& k) { return k.walk.container().handle() == container.handle(); });
  if (found == kept_.end()) {
    found = std::find_if(kept_.begin(), kept_.end(),
                         [&](const Kept& k) { return k.walk.container().sameAs(container); });
  }
  if (found != kept_.end()) {
    kept_.splice(kept_.begin(), kept_, found);
    if (found->stamp == *stamp) return found->walk;
    kept_.pop_front();
  }
  kept_.push_front({SegmentWalk(container), *stamp});
  if (kept_.size() > kLists) kept_.pop_back();
  return kept_.front().walk;
}

std::optional<std::uint64_t> SegmentWalks::keepAfterMarking(const SegmentWalk& walk, bool survives) {
  const auto found = std::find_if(kept_.begin(), kept_.end(),
                                  [&](const Kept& k) { return &k.walk == &walk; });
  if (found == kept_.end()) return std::nullopt;
  std::optional<std::uint64_t> stamp;
  // A failure to read the stamp only costs the walk.
  if (survives) skipFailure([&] { stamp = stampOf(walk.container()); });
  if (stamp) {
    found->stamp = *stamp;
  } else {
    kept_.erase(found);
  }
  return stamp;
}

}  // namespace reVoziz
