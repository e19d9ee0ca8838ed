#include "pagemodel/content_editable.h"

namespace reVoziz::pagemodel {

bool isEditable(const Node& node) {
  for (const Node* n = node.isElement() ? &node : node.parent(); n; n = n->parent()) {
    const std::string* value = n->findAttribute("contenteditable");
    if (!value) continue;
    if (value->empty() || sameHtmlName(*value, "true")) return true;
    if (sameHtmlName(*value, "false")) return false;
  }
  return false;
}

NodePtr editingHost(const Node& node) {
  if (!isEditable(node)) return nullptr;
  const Node* host = node.isElement() ? &node : node.parent();
  while (host->elementParent() && isEditable(*host->elementParent())) host = host->elementParent();
  return std::const_pointer_cast<Node>(host->shared_from_this());
}

}  // namespace reVoziz::pagemodel
