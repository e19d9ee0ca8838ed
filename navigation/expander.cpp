// Opening and closing a branch of the table of contents. A branch opens with
// its open direct sub-branches folded.

#include "navigation/navigation.h"

namespace reVoziz {
namespace {

// The branch block sits three nodes after its expander; text nodes count.
Element branchOf(const Element& expander) {
  return expander.nextSibling().nextSibling().nextSibling();
}

// The expander's own image for a state, or the default one.
std::string imageOf(const Element& expander, std::string_view attribute,
                    std::string_view fallback) {
  const Value image = expander.getAttribute(attribute);
  return image.isNull() ? std::string(fallback) : image.toText();
}

}  // namespace

void Navigation::toggleXpand(const Element& ex) const {
  const Element branch = branchOf(ex);
  const std::string expanderClass = ex.className();
  const std::string branchClass = branch.className();
  if (expanderClass != "expander" || branchClass != "indent") return;

  std::string display;
  if (branch.style().display() == "block") {
    ex.setSrc(imageOf(ex, "tq_src_open", "open.gif"));
    display = "none";
  } else {
    const Collection images = branch.children().tags("IMG");
    const std::int32_t count = images.length();
    for (std::int32_t i = 0; i < count; ++i) {
      const Element image = images.element(i);
      if (image.className() != "expander") continue;
      const Element subBranch = branchOf(image);
      const std::string subClass = subBranch.className();
      const std::string subDisplay = subBranch.style().display();
      if (subClass == "indent" && subDisplay == "block") {
        image.setSrc(imageOf(image, "tq_src_open", "open.gif"));
        subBranch.style().setDisplay("none");
      }
    }
    ex.setSrc(imageOf(ex, "tq_src_close", "close.gif"));
    display = "block";
  }
  branch.style().setDisplay(display);
}

}  // namespace reVoziz
