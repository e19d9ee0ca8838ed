#include "lessonmaking/page_template.h"

#include <algorithm>

#include "core/error.h"
#include "lessonmaking/lesson_assets.h"
#include "lessonmaking/page_search.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/html_serializer.h"

namespace reVoziz::lessonmaking {
namespace {

using pagemodel::Node;
using pagemodel::NodeKind;
using pagemodel::NodePtr;

std::string_view templateText(std::string_view name) {
  for (const auto pages : {lessonPageTemplates(), lessonAssets()}) {
    const auto it = std::find_if(pages.begin(), pages.end(), [&](const LessonAsset& page) { return page.name == name; });
    if (it != pages.end()) return {reinterpret_cast<const char*>(it->bytes.data()), it->bytes.size()};
  }
  throw Error(ErrorCode::FileNotFound, "the lesson maker has no page " + std::string(name));
}

bool isWhiteSpace(const NodePtr& node) {
  return node && node->kind() == NodeKind::Text &&
         node->data().find_first_not_of(" \t\n\f\r") == std::string::npos;
}

// The text of `node`, when it is white space only; else none.
std::string whiteSpaceOf(const NodePtr& node) { return isWhiteSpace(node) ? node->data() : std::string(); }

// The parser drops the line end between <html> and <head>, and moves the
// white space after </body> and </html> into the body: both go back to where
// the file has them, so that a filled page reads like the sample.
void restoreFileLayout(const NodePtr& root) {
  if (root->children().empty()) return;
  if (!isWhiteSpace(root->children().front())) root->insertChild(0, Node::makeText("\n"));
  const NodePtr body = root->children().back();
  if (body->tag() != "body" || body->children().empty()) return;
  const NodePtr& tail = body->children().back();
  if (!isWhiteSpace(tail)) return;
  tail->setData(tail->data().substr(0, tail->data().find('\n') + 1));
  root->appendChild(Node::makeText("\n"));
}

}  // namespace

PageTemplate::PageTemplate(std::string_view name)
    : name_(name), root_(pagemodel::parseDocument(templateText(name))) {
  restoreFileLayout(root_);
}

NodePtr PageTemplate::element(const NodePtr& within, std::string_view what, const ElementMatch& match) const {
  NodePtr found = findElement(within, match);
  if (!found) throw Error(ErrorCode::InvalidArgument, "the lesson maker's " + name_ + " has no " + std::string(what));
  return found;
}

NodePtr PageTemplate::elementById(std::string_view id) const {
  std::string what = "element with the id ";
  what += id;
  return element(root_, what, byAttribute("id", id));
}

std::string PageTemplate::text() const {
  return "<!DOCTYPE html>\n" + pagemodel::serializeNode(*root_) + "\n";
}

ElementMatch byTag(std::string_view tag) {
  return [tag = std::string(tag)](const NodePtr& e) { return e->tag() == tag; };
}

ElementMatch byClass(std::string_view name) {
  return [name = std::string(name)](const NodePtr& e) {
    const std::string classes = e->attributeOr("class");
    for (std::size_t at = 0; at < classes.size();) {
      const std::size_t start = classes.find_first_not_of(" \t\n\f\r", at);
      if (start == std::string::npos) break;
      const std::size_t end = std::min(classes.find_first_of(" \t\n\f\r", start), classes.size());
      if (classes.compare(start, end - start, name) == 0) return true;
      at = end;
    }
    return false;
  };
}

ElementMatch byAttribute(std::string_view name, std::string_view value) {
  return [name = std::string(name), value = std::string(value)](const NodePtr& e) {
    const std::string* found = e->findAttribute(name);
    return found && *found == value;
  };
}

void setText(const NodePtr& element, std::string text) {
  element->replaceChildren({Node::makeText(std::move(text))});
}

void replaceEntries(const NodePtr& list, std::vector<NodePtr> entries) {
  const auto& old = list->children();
  const std::string lead = old.empty() ? std::string() : whiteSpaceOf(old.front());
  const std::string close = old.empty() ? std::string() : whiteSpaceOf(old.back());
  std::vector<NodePtr> children;
  for (NodePtr& entry : entries) {
    if (!lead.empty()) children.push_back(Node::makeText(lead));
    children.push_back(std::move(entry));
  }
  if (!close.empty()) children.push_back(Node::makeText(close));
  list->replaceChildren(std::move(children));
}

}  // namespace reVoziz::lessonmaking
