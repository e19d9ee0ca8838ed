#include "core/taken_names.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/text.h"

namespace reVoziz {
namespace {

// What the control and the lesson's pages look up by name, besides the ids
// of the notes page: the transcript list, the control's own members and
// attributes, and the lesson's frames.
constexpr auto kLookedUpNames =
    std::to_array<std::string_view>({"itext", "tq_toc", "tq_trans", "frametoc", "notestemplate", "timecode"});
constexpr std::string_view kControlPrefix = "tq_";

}  // namespace

TakenNames::TakenNames(const Document& page, ReservedIds reservedIds)
    : reservedIds_(reservedIds), window_(page.parentWindow()), blank_(page.createInertDocument()) {
  const Element body = blank_.body();
  body.setInnerHTML("<form></form>");
  form_ = body.firstChild();
}

bool TakenNames::isTaken(std::string_view name) const {
  const std::string folded = lowerCase(name);
  if (folded.empty() || folded.starts_with(kControlPrefix)) return true;
  const auto same = [&](std::string_view id) { return lowerCase(id) == folded; };
  if (std::any_of(kLookedUpNames.begin(), kLookedUpNames.end(), same) ||
      std::any_of(reservedIds_.begin(), reservedIds_.end(), same)) {
    return true;
  }
  // A form's members include every element's.
  return window_.hasMember(name) || blank_.hasMember(name) || form_.hasMember(name);
}

}  // namespace reVoziz
