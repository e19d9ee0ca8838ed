// Clicks and hovers forwarded by the page and its frames, and closing the
// select menus.

#include <vector>

#include "control/page_lookups.h"
#include "navigation/navigation.h"

namespace reVoziz {
namespace {

std::string propertyText(const Element& e, std::string_view name) {
  return e.property(name).toText();
}

// The elements that share an id or name in `all`: none, one or several.
std::vector<Element> elementsNamed(const Collection& all, std::string_view name) {
  const Value found = all.item(name);
  if (found.isNull()) return {};
  const Collection group(found);
  if (group.typeName().find("Collection") == std::string::npos) return {Element(found)};
  std::vector<Element> elements;
  const std::int32_t count = group.length();
  for (std::int32_t i = 0; i < count; ++i) elements.push_back(group.element(i));
  return elements;
}

}  // namespace

void Navigation::clickDispatch(const Window& w) const {
  w.event().setCancelBubble(true);  // also for clicks that no rule takes
  const Element src = w.event().srcElement();
  const std::string className = src.className();
  if (className == "expander") {
    toggleXpand(src);
  } else if (className == "sync") {
    transcript_.goTo_(propertyText(src.parentElement(), "tq_start"));
  } else if (src.id() == "tq_print") {
    w.document().frame("tq_trans").document().execCommand("print");
  } else if (className == "tq_select") {
    const std::string options = propertyText(src.parentElement(), "tq_selOps");
    Element(w.document().all().member(options)).style().setVisibility("visible");
  } else if (className == "tq_option") {
    transcript_.switchText(w.document(), src);
  } else {
    Element segment;
    if (findClassAncestor(src, "segment", segment)) {
      transcript_.goTo_(propertyText(segment, "tq_start"));
    }
  }
}

void Navigation::MouseOverDispatch(const Window& w) const { applyHoverStyle(w, "tq_mouseOver"); }

void Navigation::MouseOutDispatch(const Window& w) const { applyHoverStyle(w, "tq_mouseOut"); }

void Navigation::applyHoverStyle(const Window& w, std::string_view styleAttribute) const {
  w.event().setCancelBubble(true);
  const Element src = w.event().srcElement();
  if (src.className() == "tq_option") {
    src.runtimeStyle().setCssText(propertyText(src.parentElement(), styleAttribute));
    return;
  }
  Element segment;
  if (findClassAncestor(src, "segment", segment)) {
    const Element iText(w.document().all().member("iText"));
    segment.runtimeStyle().setCssText(propertyText(iText, styleAttribute));
  }
}

void Navigation::closeSelects(const Window& w) const {
  Document page = w.document();
  if (page.body().id() != "tq_player") page = w.parent().document();
  if (page.body().id() != "tq_player") return;
  for (const Element& menu : elementsNamed(page.all(), "tq_sel")) {
    const std::string options = propertyText(menu, "tq_selOps");
    Element(page.all().member(options)).style().setVisibility("hidden");
  }
}

}  // namespace reVoziz
