#include "pagemodel/change_relevance.h"

#include <algorithm>
#include <array>

#include "pagemodel/css.h"
#include "pagemodel/document_model.h"
#include "pagemodel/layout.h"

namespace reVoziz::pagemodel {
namespace {

// As the walk finds them: a DIV whose class is "segment".
bool isSegment(const Node& node) { return node.tag() == "div" && node.attributeOr("class") == "segment"; }

bool isSheetOrFrame(const Node& element) {
  static constexpr std::array<std::string_view, 4> kTags = {"style", "link", "iframe", "frame"};
  return std::find(kTags.begin(), kTags.end(), element.tag()) != kTags.end();
}

bool isBlank(std::string_view text) { return trimHtmlWhitespace(text).empty(); }

template <class Test>
bool selfOrAncestor(const Node& node, Test test) {
  for (const Node* n = &node; n; n = n->parent()) {
    if (test(*n)) return true;
  }
  return false;
}

bool inStyle(const Node& node) {
  return selfOrAncestor(node, [](const Node& n) { return n.tag() == "style"; });
}

// What the layout and the sheets' selectors read (class, style, id), what
// lookups read (id, name), and the control's own settings and starts (tq_).
bool isReadAttribute(std::string_view name) {
  return sameHtmlName(name, "class") || sameHtmlName(name, "style") || sameHtmlName(name, "id") ||
         sameHtmlName(name, "name") || (name.size() >= 3 && sameHtmlName(name.substr(0, 3), "tq_"));
}

// Something a walk, a sheet or a lookup by id or name could find in the subtree.
bool holdsFindable(const Node& node) {
  const auto findable = [](const Node& e) {
    return e.tag() == "div" || isSheetOrFrame(e) || e.findAttribute("id") || e.findAttribute("name");
  };
  if (!node.isElement()) return false;
  return findable(node) || !node.forEachDescendantElement([&](const NodePtr& e) { return !findable(*e); });
}

template <class Test>
bool anyText(const Node& node, Test test) {
  for (const NodePtr& child : node.children()) {
    if (child->kind() == NodeKind::Text ? test(*child) : anyText(*child, test)) return true;
  }
  return false;
}

// Some non-blank text other than `changed` gives `segment` a line of height,
// as the layout sees it: nothing on its way is hidden or has a height imposed.
bool keepsALine(const Node& segment, const Node* changed) {
  return anyText(segment, [&](const Node& text) {
    if (&text == changed || isBlank(text.data())) return false;
    for (const Node* n = text.parent(); n != &segment; n = n->parent()) {
      if (n->layoutOverride().height) return false;
    }
    return layout::isDisplayed(*text.parent());
  });
}

// A text that gained or lost its last non-blank character, or a non-blank
// text added or removed under `parent`, can make a segment around it empty
// (of no height, so not counted) or no longer empty.
bool canEmptyOrFillASegment(const Node& parent, const Node* text) {
  return selfOrAncestor(parent, [&](const Node& n) { return isSegment(n) && !keepsALine(n, text); });
}

}  // namespace

// The control reads which segments of a list are displayed (by the model's
// own layout: the class, style and id of each element and its ancestors, the
// sheets, and the height that text gives an otherwise empty segment), their
// order and tq_start, the list's tq_ settings, and what it looks up by id or
// name: elements and frames. So a change counts when it is
//  - an attribute named class, style, id, name or tq_*, or any attribute of
//    a STYLE, LINK or frame element; the layout reads no other (it does not
//    honour `hidden`), so aria-*, tabindex, title, data-*, role do not count;
//  - a text or comment in a STYLE;
//  - a text whose data went from blank to not or back, inside a segment that
//    keeps no other non-blank displayed text; the layout gives every non-blank
//    text one line whatever it says, and skips comments;
//  - a node added or removed inside a list (an element whose stamp was asked
//    for) or inside a segment, unless it is a comment, a blank text, or a text
//    in a segment that keeps other text, as above;
//  - a node added or removed elsewhere that is or holds a list, a DIV, a
//    STYLE, LINK or frame, or an element with an id or a name.
// A change the rules cannot place counts. Sheets, layout settings, loads and
// navigations move the stamp by themselves.
bool canChangeWhatTheControlReads(const TreeChange& change, const DocumentModel& document) {
  const Node& node = change.node;
  switch (change.kind) {
    case TreeChange::Kind::Attribute:
      return isSheetOrFrame(node) || isReadAttribute(change.detail);
    case TreeChange::Kind::Data: {
      if (!node.parent() || inStyle(node)) return true;
      if (node.kind() == NodeKind::Comment) return false;
      return isBlank(change.detail) != isBlank(node.data()) && canEmptyOrFillASegment(*node.parent(), &node);
    }
    case TreeChange::Kind::Child: {
      if (!change.parent || inStyle(*change.parent)) return true;
      const Node& parent = *change.parent;
      const bool inSegment = selfOrAncestor(parent, isSegment);
      if (inSegment && node.kind() == NodeKind::Comment) return false;
      if (inSegment && node.kind() == NodeKind::Text) {
        return !isBlank(node.data()) && canEmptyOrFillASegment(parent, &node);
      }
      if (inSegment || document.isInList(parent)) return true;
      return document.holdsList(node) || holdsFindable(node);
    }
  }
  return true;
}

}  // namespace reVoziz::pagemodel
