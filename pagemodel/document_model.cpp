#include "pagemodel/document_model.h"

#include <algorithm>
#include <atomic>

#include "pagemodel/browser_member_names.h"
#include "pagemodel/editing_commands.h"
#include "pagemodel/element_collection.h"
#include "pagemodel/frames_collection.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/layout_generation.h"
#include "pagemodel/member_args.h"
#include "pagemodel/page_loader.h"
#include "pagemodel/selection_objects.h"
#include "pagemodel/style_sheet_model.h"
#include "pagemodel/window_model.h"

namespace reVoziz::pagemodel {
namespace {

std::string textContent(const Node& node) {
  std::string out;
  for (const NodePtr& child : node.children()) {
    out += child->kind() == NodeKind::Text ? child->data() : textContent(*child);
  }
  return out;
}

// Stamps count up across all documents, so that no two documents share one.
std::atomic<std::uint64_t> lastChangeStamp{0};

// `document.implementation`: makes documents in no window, which load and run nothing.
class DomImplementation : public Object {
 public:
  Value get(std::string_view member) override { throw memberNotFound(member); }
  void put(std::string_view member, const Value&) override { throw memberNotFound(member); }
  Value call(std::string_view method, std::span<const Value> args) override {
    if (method != "createHTMLDocument") throw memberNotFound(method);
    const NodePtr root = parseDocument("<!DOCTYPE html><html><head><title></title></head><body></body></html>");
    const auto document = DocumentModel::create(root, "about:blank", {}, {});
    if (!args.empty()) document->put("title", args[0]);
    return std::shared_ptr<Object>(document);
  }
  std::string typeName() const override { return "DOMImplementation"; }
  bool sameAs(const Object& other) const override { return this == &other; }
};

}  // namespace

void noteWrite(const Node& node) {
  if (auto document = node.document()) document->noteWrite();
}

void noteChange(const Node& node) {
  if (auto document = node.document()) document->noteChange();
}

bool noteChange(const TreeChange& change, bool namesChanged) {
  const auto document = (change.parent ? *change.parent : change.node).document();
  if (!document) return false;
  if (namesChanged) document->noteNamesChanged();
  if (!canChangeWhatTheControlReads(change, *document)) return false;
  document->noteChange();
  return true;
}

void DocumentModel::noteChange() { changeStamp_ = ++lastChangeStamp; }

void DocumentModel::noteList(const Node& element) {
  // Every tick asks: a live entry at the same address is this element.
  for (const NotedList& list : lists_) {
    if (list.element == &element && !list.alive.expired()) return;
  }
  std::erase_if(lists_, [](const NotedList& list) { return list.alive.expired(); });
  // A host asking about many elements only makes more changes count.
  constexpr std::size_t kLists = 8;
  if (lists_.size() == kLists) lists_.erase(lists_.begin());
  lists_.push_back({&element, element.weak_from_this()});
}

bool DocumentModel::isInList(const Node& node) const {
  return std::any_of(lists_.begin(), lists_.end(), [&](const auto& list) {
    const auto element = list.alive.lock();
    return element && element->contains(&node);
  });
}

bool DocumentModel::holdsList(const Node& node) const {
  return std::any_of(lists_.begin(), lists_.end(), [&](const auto& list) {
    const auto element = list.alive.lock();
    return element && node.contains(element.get());
  });
}

std::shared_ptr<DocumentModel> DocumentModel::create(NodePtr root, std::string address,
                                                     std::filesystem::path file,
                                                     std::weak_ptr<WindowModel> window) {
  std::shared_ptr<DocumentModel> document(new DocumentModel);
  document->root_ = std::move(root);
  document->address_ = std::move(address);
  document->file_ = std::move(file);
  document->window_ = std::move(window);
  document->root_->adoptInto(document);
  document->noteChange();
  document->root_->forEachDescendantElement([&](const NodePtr& e) {
    if (e->tag() == "style") {
      document->sheets_.push_back(StyleSheetModel::parse(e->attributeOr("id"), textContent(*e)));
    }
    return true;
  });
  return document;
}

void DocumentModel::setLineHeight(int pixels) {
  invalidateLayout();
  noteChange();
  lineHeight_ = pixels;
}

NodePtr DocumentModel::body() const {
  for (const NodePtr& child : root_->children()) {
    if (child->tag() == "body" || child->tag() == "frameset") return child;
  }
  return nullptr;
}

NodePtr DocumentModel::elementById(std::string_view id) {
  for (const NodePtr& e : elementsNamed(id)) {
    if (const std::string* v = e->findAttribute("id"); v && *v == id && e != root_) return e;
  }
  return nullptr;
}

const std::vector<NodePtr>& DocumentModel::elementsNamed(std::string_view idOrName) {
  if (!names_) {
    names_.emplace();
    auto add = [&](const NodePtr& e) {
      const std::string* id = e->findAttribute("id");
      const std::string* name = e->findAttribute("name");
      if (id) (*names_)[*id].push_back(e);
      if (name && !(id && *id == *name)) (*names_)[*name].push_back(e);
      return true;
    };
    if (root_->isElement()) add(root_);
    root_->forEachDescendantElement(add);
  }
  static const std::vector<NodePtr> kNone;
  const auto found = names_->find(std::string(idOrName));
  return found == names_->end() ? kNone : found->second;
}

NodePtr DocumentModel::titleElement() const {
  NodePtr found;
  root_->forEachDescendantElement([&](const NodePtr& e) {
    if (e->tag() == "title") found = e;
    return !found;
  });
  return found;
}

DocumentModel::ElementList DocumentModel::elementList(
    const ElementListKey& key, const std::function<std::vector<NodePtr>()>& collect) {
  const std::uint64_t generation = structure_;
  if (const auto found = elementLists_.find(key);
      found != elementLists_.end() && found->second.first == generation) {
    return found->second.second;
  }
  std::erase_if(elementLists_, [&](const auto& entry) { return entry.second.first != generation; });
  auto list = std::make_shared<const std::vector<NodePtr>>(collect());
  elementLists_[key] = {generation, list};
  return list;
}

const std::string& DocumentModel::uniqueIdOf(Node& element) {
  if (element.uniqueId.empty()) {
    element.uniqueId = "ms__id" + std::to_string(nextUniqueId_++);
    byUniqueId_[element.uniqueId] = element.weak_from_this();
  }
  return element.uniqueId;
}

NodePtr DocumentModel::elementByUniqueId(std::string_view id) const {
  const auto it = byUniqueId_.find(std::string(id));
  if (it == byUniqueId_.end()) return nullptr;
  NodePtr e = it->second.lock();
  return (e && e->document().get() == this) ? e : nullptr;
}

Value DocumentModel::get(std::string_view member) {
  if (member == "all") {
    return std::shared_ptr<Object>(ElementCollection::over(root_, CollectionScope::Subtree));
  }
  if (member == "body") return std::shared_ptr<Object>(body());
  if (member == "documentElement") return std::shared_ptr<Object>(root_);
  if (member == "frames") return std::shared_ptr<Object>(makeFramesCollection(shared_from_this()));
  if (member == "styleSheets") return std::shared_ptr<Object>(makeStyleSheetsCollection(shared_from_this()));
  if (member == "title") {
    const NodePtr title = titleElement();
    return title ? textContent(*title) : std::string();
  }
  if (member == "URL" || member == "URLUnencoded") return address_;
  if (member == "selection") return makeSelectionObject(shared_from_this());
  if (member == "parentWindow") return std::shared_ptr<Object>(window());
  if (member == "implementation") return std::shared_ptr<Object>(std::make_shared<DomImplementation>());
  throw memberNotFound(member);
}

void DocumentModel::put(std::string_view member, const Value& value) {
  if (member == "URL") {
    const auto w = window();
    if (!w) throw Error(ErrorCode::HostError, "The document has no window to load into");
    noteWrite();
    navigate(*w, value.toText());
    return;
  }
  if (member == "title") {
    if (const NodePtr title = titleElement()) {
      title->replaceChildren({Node::makeText(value.toText())});
      noteWrite();
      return;
    }
    throw Error(ErrorCode::HostError, "The document has no title element");
  }
  throw memberNotFound(member);
}

bool DocumentModel::has(std::string_view member) {
  return isBrowserMember(BrowserObject::Document, member) || Object::has(member);
}

Value DocumentModel::call(std::string_view method, std::span<const Value> args) {
  if (method == "execCommand") return pagemodel::execCommand(*this, textArg(args, 0));
  throw memberNotFound(method);
}

}  // namespace reVoziz::pagemodel
