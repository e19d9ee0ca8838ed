#pragma once
// What the walk over one list's segments has read. The walk reads the
// segments in document order only as far as a position needs, and goes on from
// there when a later position needs more; what it read answers any position
// by a binary search, for as long as the list's document stays unchanged.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <list>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/dom.h"
#include "core/platform.h"
#include "transcript/restyle_reach.h"

namespace reVoziz {

// Whether the list is in "single" mode, where every segment counts.
bool isSingleMode(const Element& iText);

// Whole seconds from `from` to `to`, both included.
struct SecondsSpan {
  std::int32_t from;
  std::int32_t to;
  bool operator==(const SecondsSpan&) const = default;
  static constexpr SecondsSpan everySecond() {
    return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
  }
};

class SegmentWalk {
 public:
  explicit SegmentWalk(Element container) : container_(std::move(container)) {}

  const Element& container() const { return container_; }

  // The current segment for `time`, as an index for segment(): the last counted
  // segment that starts at or before `time`, or the first one when `time` lies
  // before it. Nothing when no segment counts. Reads the page only where what
  // was read so far does not decide.
  std::optional<std::size_t> currentAt(std::int32_t time);
  const Element& segment(std::size_t index) const { return counted_[index].element; }
  // The counted segment's style object, asked once.
  const Style& styleOf(std::size_t index);
  // The counted segment's own style text: as the marking wrote it last, else
  // as read once.
  const std::string& lookOf(std::size_t index);
  void wroteLook(std::size_t index, const std::string& look) { counted_[index].look = look; }
  // The positions at which currentAt gives `answer` again from what was read,
  // without reading the page further; `answer` is what it gave last.
  SecondsSpan spanOf(std::optional<std::size_t> answer) const;
  // How far the walk has read, in DIVs of the container.
  std::int32_t divsRead() const { return nextDiv_; }
  // Unique ids, read once.
  const std::string& uniqueIdOf(std::size_t index);
  const std::string& containerUniqueId();
  // The counted segment of that unique id, among those whose id was read.
  std::optional<std::size_t> indexOfUniqueId(const std::string& uniqueId) const;

  // A segment that the marking restyled, whether it was displayed before and
  // after, and its index when it is a counted segment.
  struct Restyled {
    Element element;
    bool shownBefore;
    bool shownAfter;
    std::optional<std::size_t> index;
  };
  // Whether what was read still holds after the marking restyled these
  // segments.
  bool survivesRestyleOf(std::span<const Restyled> restyled);
  // Whether the list is in "single" mode, as read at its first segment; only
  // once a segment was read.
  bool single() const { return single_.value_or(false); }
  // The container's offset parent, the band it scrolls in; read once.
  const Element& band();
  // The container's attribute read with getVal, or as a named property; each
  // read once.
  const std::string& containerValue(std::string_view name);
  const std::string& containerProperty(std::string_view name);
  // What the marking wrote to the container, as reading it back would give.
  void rememberMarking(const std::string& uniqueId);
  // What restyling with `look` can change, judged the first time the walk
  // meets that text: the marking meets the same few looks tick after tick.
  RestyleReach reachOf(const std::string& look);

 private:
  struct Counted {
    Counted(Element e, std::int32_t s, std::int32_t r) : element(std::move(e)), start(s), reach(r) {}
    Element element;
    std::int32_t start;
    // The greatest start up to this segment: the walk stops at the first
    // segment whose reach passes the position, whatever the order of starts.
    std::int32_t reach;
    std::optional<std::string> uniqueId;
    // Whether it neither holds nor sits in another segment, once asked.
    std::optional<bool> alone;
    std::optional<Style> style;
    std::optional<std::string> look;
  };
  bool isAlone(const Element& segment) const;

  std::optional<std::size_t> readOn(std::int32_t time);

  Element container_;
  std::optional<Collection> divs_;
  std::int32_t divCount_ = 0;
  std::int32_t nextDiv_ = 0;
  std::optional<bool> single_;
  std::vector<Counted> counted_;
  std::optional<std::string> containerId_;
  std::optional<Element> band_;
  std::map<std::string, std::string, std::less<>> values_;
  std::map<std::string, std::string, std::less<>> properties_;
  std::unordered_map<std::string, RestyleReach> reachOfLook_;
  std::unordered_map<std::string, std::size_t> byUniqueId_;
};

// The walks of the lists marked lately, each kept while the host's change
// stamp of its document stays put. Without a stamp every call walks afresh.
class SegmentWalks {
 public:
  explicit SegmentWalks(Platform& platform) : platform_(platform) {}

  SegmentWalk& of(const Element& container) { return of(container, stampOf(container)); }
  // With the stamp of the container's document, taken just before.
  SegmentWalk& of(const Element& container, std::optional<std::uint64_t> stamp);
  std::optional<std::uint64_t> stampOf(const Element& container) const {
    return platform_.changeStampOf(container.handle());
  }
  // After the marking's writes, and what the host did with them: keeps the
  // walk when they `survive`, under its document's stamp taken now, and
  // answers that stamp; else forgets the walk.
  std::optional<std::uint64_t> keepAfterMarking(const SegmentWalk& walk, bool survives);

 private:
  struct Kept {
    SegmentWalk walk;
    std::uint64_t stamp;
  };
  static constexpr std::size_t kLists = 4;

  Platform& platform_;
  std::list<Kept> kept_;  // most recently used first
  std::optional<SegmentWalk> unkept_;
};

}  // namespace reVoziz
