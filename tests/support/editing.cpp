#include "support/editing.h"

#include <stdexcept>
#include <string>

namespace reVoziz::testing {
namespace {

pagemodel::NodePtr textNodeWith(const pagemodel::NodePtr& node, std::string_view text) {
  if (node->kind() == pagemodel::NodeKind::Text) {
    return node->data().find(text) != std::string::npos ? node : nullptr;
  }
  for (const auto& child : node->children()) {
    if (auto found = textNodeWith(child, text)) return found;
  }
  return nullptr;
}

}  // namespace

pagemodel::Boundary pointAt(const pagemodel::NodePtr& root, std::string_view text,
                            std::size_t offset) {
  const auto node = textNodeWith(root, text);
  if (!node) throw std::runtime_error("no text \"" + std::string(text) + "\" on the page");
  return {node, node->data().find(text) + offset};
}

void placeCaret(pagemodel::DocumentModel& document, const pagemodel::NodePtr& root,
                std::string_view text, std::size_t offset) {
  document.selection().placeCaret(pointAt(root, text, offset));
}

void selectText(pagemodel::DocumentModel& document, const pagemodel::NodePtr& root,
                std::string_view text) {
  const auto start = pointAt(root, text);
  document.selection().selectRange(start, {start.node, start.offset + text.size()});
}

void caretAtEnd(pagemodel::DocumentModel& document, const pagemodel::NodePtr& element) {
  document.selection().placeCaret({element, element->children().size()});
}

}  // namespace reVoziz::testing
