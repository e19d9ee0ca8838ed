#include "lessonmaking/page_search.h"

namespace reVoziz::lessonmaking {

using pagemodel::NodePtr;

NodePtr findElement(const NodePtr& root, const std::function<bool(const NodePtr&)>& match) {
  NodePtr found;
  root->forEachDescendantElement([&](const NodePtr& e) {
    if (match(e)) found = e;
    return !found;
  });
  return found;
}

NodePtr findById(const NodePtr& root, std::string_view id) {
  return findElement(root, [&](const NodePtr& e) {
    const std::string* value = e->findAttribute("id");
    return value && *value == id;
  });
}

}  // namespace reVoziz::lessonmaking
