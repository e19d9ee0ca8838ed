#include "pagemodel/layout.h"

#include <algorithm>
#include <array>

#include "core/text.h"
#include "pagemodel/css.h"
#include "pagemodel/document_model.h"
#include "pagemodel/layout_generation.h"
#include "pagemodel/style_sheet_model.h"
#include "pagemodel/window_model.h"

namespace reVoziz::pagemodel::layout {
namespace {

bool isInlineTag(std::string_view tag) {
  static constexpr std::array<std::string_view, 20> kInline = {
      "a",    "abbr", "b",     "big", "br",  "code",   "em",  "font", "i",     "img",
      "input", "label", "select", "small", "span", "strong", "sub", "sup", "u", "textarea"};
  return std::find(kInline.begin(), kInline.end(), tag) != kInline.end();
}

bool isHiddenTag(std::string_view tag) {
  static constexpr std::array<std::string_view, 8> kHidden = {
      "head", "script", "style", "title", "meta", "link", "noscript", "template"};
  return std::find(kHidden.begin(), kHidden.end(), tag) != kHidden.end();
}

std::string inlineStyleValue(const Node& element, std::string_view property) {
  const std::string* css = element.findAttribute("style");
  return css ? CssDeclarations::parse(*css).get(property) : std::string();
}

// The element's own display: inline style, then the last matching sheet rule.
// Keywords compare without case, as in CSS.
std::string ownDisplay(const Node& element) {
  std::string display = inlineStyleValue(element, "display");
  if (!display.empty()) return lowerCase(display);
  if (const auto document = element.document()) {
    for (const auto& sheet : document->styleSheets()) {
      for (const auto& rule : sheet->rules) {
        const std::string& value = rule->display();
        if (!value.empty() && selectorMatches(rule->selectorText(), element)) display = value;
      }
    }
  }
  if (display.empty() && isHiddenTag(element.tag())) return "none";
  return lowerCase(display);
}

bool ownDisplayIsNone(const Node& element) {
  auto& memo = element.layoutMemo();
  if (!memo.hidden) memo.hidden = ownDisplay(element) == "none";
  return *memo.hidden;
}

int lineHeightOf(const Node& element) {
  const auto document = element.document();
  return document ? document->lineHeight() : 20;
}

int heightOf(const Node& element);

// Walks the rows of `container` in document order, calling visit(child, top)
// with the top of each child's row, until visit returns false. Returns the
// height of the rows walked.
template <class Visit>
int walkRows(const Node& container, Visit&& visit) {
  const int line = lineHeightOf(container);
  int y = 0;
  bool rowOpen = false;
  for (const NodePtr& child : container.children()) {
    if (child->kind() == NodeKind::Comment) continue;
    const bool isText = child->kind() == NodeKind::Text;
    if (isText || isInlineTag(child->tag())) {
      const bool visible = isText ? !trimHtmlWhitespace(child->data()).empty() : !ownDisplayIsNone(*child);
      if (visible && !rowOpen) {
        rowOpen = true;
        y += line;
      }
      if (!visit(*child, rowOpen ? y - line : y)) return y;
      continue;
    }
    rowOpen = false;
    if (!visit(*child, y)) return y;
    if (!ownDisplayIsNone(*child)) y += heightOf(*child);
  }
  return y;
}

int contentHeight(const Node& container) {
  return walkRows(container, [](const Node&, int) { return true; });
}

// The rows' tops are remembered for all children at once: ticks ask for the
// top of one segment after another.
int topOfChild(const Node& container, const Node& child) {
  auto& memo = container.layoutMemo();
  if (!memo.childTops) {
    const auto& children = container.children();
    std::vector<int> tops(children.size(), 0);
    std::size_t i = 0;
    walkRows(container, [&](const Node& n, int y) {
      while (children[i].get() != &n) ++i;
      tops[i] = y;
      return true;
    });
    memo.childTops = std::move(tops);
  }
  return (*memo.childTops)[child.indexInParent()];
}

void forgetHeights(const Node* from) {
  for (const Node* n = from; n; n = n->parent()) {
    auto& memo = n->layoutMemo();
    memo.height.reset();
    memo.childTops.reset();
  }
}

int heightOf(const Node& element) {
  if (element.layoutOverride().height) return *element.layoutOverride().height;
  auto& memo = element.layoutMemo();
  if (!memo.height) {
    if (ownDisplayIsNone(element)) {
      memo.height = 0;
    } else if (element.tag() == "img" || element.tag() == "br") {
      memo.height = lineHeightOf(element);
    } else {
      memo.height = contentHeight(element);
    }
  }
  return *memo.height;
}

bool isPositioned(const Node& element) {
  const std::string position = inlineStyleValue(element, "position");
  return position == "relative" || position == "absolute" || position == "fixed";
}

// Top edge relative to the content of `ancestor`.
int topWithin(const Node& element, const Node* ancestor) {
  int top = 0;
  for (const Node* n = &element; n != ancestor && n->parent(); n = n->parent()) {
    if (n->layoutOverride().top) return top + *n->layoutOverride().top;
    top += topOfChild(*n->parent(), *n);
  }
  return top;
}

}  // namespace

void forgetLook(const Node& element) {
  auto& memo = element.layoutMemo();
  const std::optional<bool> wasHidden = memo.hidden;
  const std::optional<int> hadHeight = memo.height;
  memo.hidden.reset();
  memo.height.reset();
  // Not laid out before: what is around it may still hold a guess.
  if (!wasHidden || !hadHeight) return forgetHeights(element.parent());
  if (ownDisplayIsNone(element) != *wasHidden || heightOf(element) != *hadHeight) {
    forgetHeights(element.parent());
  }
}

void forgetContent(const Node& node) { forgetHeights(&node); }

void forgetSubtree(const Node& node) {
  node.layoutMemo() = Node::LayoutMemo{layoutGeneration()};
  for (const NodePtr& child : node.children()) forgetSubtree(*child);
}

bool isDisplayed(const Node& element) {
  for (const Node* n = &element; n; n = n->parent()) {
    if (n->isElement() && ownDisplayIsNone(*n)) return false;
  }
  return true;
}

int offsetHeight(const Node& element) { return isDisplayed(element) ? heightOf(element) : 0; }

Node* offsetParent(const Node& element) {
  if (element.tag() == "body") return nullptr;
  for (Node* n = element.elementParent(); n; n = n->elementParent()) {
    if (n->tag() == "body" || isPositioned(*n) || n->tag() == "td" || n->tag() == "table") {
      return n;
    }
  }
  return nullptr;
}

int offsetTop(const Node& element) { return topWithin(element, offsetParent(element)); }

int clientHeight(const Node& element) {
  if (element.layoutOverride().clientHeight) return *element.layoutOverride().clientHeight;
  if (element.tag() == "body") {
    const auto document = element.document();
    const auto window = document ? document->window() : nullptr;
    if (window) return window->viewportHeight;
  }
  return offsetHeight(element);
}

int scrollHeight(const Node& element) {
  return std::max(contentHeight(element), clientHeight(element));
}

void scrollIntoView(Node& element, bool alignToTop) {
  if (const auto document = element.document()) {
    document->scrollIntoViewCalls.push_back({element.shared_from_this(), alignToTop});
    document->noteWrite();
  }
  Node* scroller = offsetParent(element);
  if (!scroller) return;
  const int top = offsetTop(element);
  const int band = clientHeight(*scroller);
  const int wanted = alignToTop ? top : top + offsetHeight(element) - band;
  const int maxScroll = std::max(0, scrollHeight(*scroller) - band);
  scroller->scrollTop = std::clamp(wanted, 0, maxScroll);
}

}  // namespace reVoziz::pagemodel::layout
