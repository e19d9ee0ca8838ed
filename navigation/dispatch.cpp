// Clicks and hovers forwarded by the page and its frames, and closing the
// select menus.

#include "core/page_lookups.h"
#include "navigation/navigation.h"

namespace reVoziz {
void Navigation::clickDispatch(const Window& w) const {
  w.event().setCancelBubble(true);  // also for clicks that no rule takes
  const Element src = w.event().srcElement();
  const std::string className = src.className();
  if (className == "expander") {
    toggleXpand(src);
  } else if (className == "sync") {
    transcript_.goTo_(src.parentElement().propertyText("tq_start"));
  } else if (src.id() == "tq_print") {
    w.document().frame("tq_trans").document().execCommand("print");
  } else if (className == "tq_select") {
    const std::string options = src.parentElement().propertyText("tq_selOps");
    w.document().element(options).style().setVisibility("visible");
  } else if (className == "tq_option") {
    transcript_.switchText(w.document(), src);
  } else {
    Element segment;
    if (findClassAncestor(src, "segment", segment)) {
      transcript_.goTo_(segment.propertyText("tq_start"));
    }
  }
}

void Navigation::MouseOverDispatch(const Window& w) const { applyHoverStyle(w, "tq_mouseOver"); }

void Navigation::MouseOutDispatch(const Window& w) const { applyHoverStyle(w, "tq_mouseOut"); }

void Navigation::applyHoverStyle(const Window& w, std::string_view styleAttribute) const {
  w.event().setCancelBubble(true);
  const Element src = w.event().srcElement();
  if (src.className() == "tq_option") {
    src.runtimeStyle().setCssText(src.parentElement().propertyText(styleAttribute));
    return;
  }
  Element segment;
  if (findClassAncestor(src, "segment", segment)) {
    const Element iText = w.document().element("iText");
    segment.runtimeStyle().setCssText(iText.propertyText(styleAttribute));
  }
}

void Navigation::closeSelects(const Window& w) const {
  Document page = w.document();
  if (page.body().id() != "tq_player") page = w.parent().document();
  if (page.body().id() != "tq_player") return;
  for (const Element& menu : elementsNamed(page.all(), "tq_sel")) {
    const std::string options = menu.propertyText("tq_selOps");
    page.element(options).style().setVisibility("hidden");
  }
}

}  // namespace reVoziz
