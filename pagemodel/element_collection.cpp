#include "pagemodel/element_collection.h"

#include "pagemodel/document_model.h"
#include "pagemodel/member_args.h"

namespace reVoziz::pagemodel {

std::shared_ptr<ElementCollection> ElementCollection::over(NodePtr root, CollectionScope scope,
                                                           std::string tag) {
  std::shared_ptr<ElementCollection> c(new ElementCollection);
  c->root_ = std::move(root);
  c->scope_ = scope;
  c->tag_ = std::move(tag);
  return c;
}

std::shared_ptr<ElementCollection> ElementCollection::of(std::vector<NodePtr> elements) {
  std::shared_ptr<ElementCollection> c(new ElementCollection);
  c->elements_ = std::make_shared<const std::vector<NodePtr>>(std::move(elements));
  return c;
}

const std::vector<NodePtr>& ElementCollection::elements() {
  if (!elements_) {
    const auto document = root_->document();
    elements_ = document ? document->elementList({root_.get(), static_cast<int>(scope_), tag_},
                                                 [this] { return collect(); })
                         : std::make_shared<const std::vector<NodePtr>>(collect());
  }
  return *elements_;
}

std::vector<NodePtr> ElementCollection::collect() const {
  std::vector<NodePtr> elements;
  auto add = [&](const NodePtr& element) {
    if (tag_.empty() || sameHtmlName(element->tag(), tag_)) elements.push_back(element);
    return true;
  };
  switch (scope_) {
    case CollectionScope::Subtree:
      add(root_);
      root_->forEachDescendantElement(add);
      break;
    case CollectionScope::Descendants:
      root_->forEachDescendantElement(add);
      break;
    case CollectionScope::Children:
      for (const NodePtr& child : root_->children()) {
        if (child->isElement()) add(child);
      }
      break;
  }
  return elements;
}

bool ElementCollection::inScope(const Node& element) const {
  if (!root_) {
    for (const NodePtr& e : *elements_) {
      if (e.get() == &element) return true;
    }
    return false;
  }
  if (!tag_.empty() && !sameHtmlName(element.tag(), tag_)) return false;
  switch (scope_) {
    case CollectionScope::Subtree:
      return root_->contains(&element);
    case CollectionScope::Descendants:
      return &element != root_.get() && root_->contains(&element);
    case CollectionScope::Children:
      return element.parent() == root_.get();
  }
  return false;
}

Value ElementCollection::at(std::size_t index) { return std::shared_ptr<Object>(elements()[index]); }

std::vector<NodePtr> ElementCollection::elementsNamed(std::string_view name) {
  std::vector<NodePtr> matches;
  const auto document = root_ ? root_->document() : nullptr;
  // The document's index covers its tree; a detached root is searched itself.
  if (document && document->root()->contains(root_.get())) {
    for (const NodePtr& e : document->elementsNamed(name)) {
      if (inScope(*e)) matches.push_back(e);
    }
    return matches;
  }
  for (const NodePtr& e : elements()) {
    const std::string* id = e->findAttribute("id");
    const std::string* elementName = e->findAttribute("name");
    if ((id && *id == name) || (elementName && *elementName == name)) matches.push_back(e);
  }
  return matches;
}

Value ElementCollection::named(std::string_view name) {
  std::vector<NodePtr> matches = elementsNamed(name);
  if (matches.empty()) {
    // Unique ids are not attributes; the document knows which element has one.
    const auto document = root_ ? root_->document()
                                : (elements_->empty() ? nullptr : elements_->front()->document());
    if (document) {
      if (NodePtr e = document->elementByUniqueId(name); e && inScope(*e)) {
        return std::shared_ptr<Object>(e);
      }
    }
    return Null{};
  }
  if (matches.size() == 1) return std::shared_ptr<Object>(matches.front());
  return std::shared_ptr<Object>(of(std::move(matches)));
}

Value ElementCollection::call(std::string_view method, std::span<const Value> args) {
  if (method == "tags") {
    const std::string tag = textArg(args, 0);
    if (root_ && tag_.empty()) return std::shared_ptr<Object>(over(root_, scope_, tag));
    std::vector<NodePtr> matches;
    for (const NodePtr& e : elements()) {
      if (sameHtmlName(e->tag(), tag)) matches.push_back(e);
    }
    return std::shared_ptr<Object>(of(std::move(matches)));
  }
  return IndexedCollection::call(method, args);
}

}  // namespace reVoziz::pagemodel
