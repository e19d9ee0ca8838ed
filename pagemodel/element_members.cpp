// The members that model nodes offer to the control: standard members first,
// then attributes as named properties.

#include <algorithm>
#include <array>
#include <optional>

#include "pagemodel/attribute_objects.h"
#include "pagemodel/document_model.h"
#include "pagemodel/element_collection.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/html_serializer.h"
#include "pagemodel/layout.h"
#include "pagemodel/member_args.h"
#include "pagemodel/node.h"
#include "pagemodel/style_object.h"

namespace reVoziz::pagemodel {
namespace {

Value objectOrNull(const std::shared_ptr<Object>& o) { return Value(o); }

std::string upperAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return s;
}

std::string innerTextOf(const Node& node) {
  std::string out;
  for (const NodePtr& child : node.children()) {
    if (child->kind() == NodeKind::Text) {
      out += child->data();
    } else if (child->tag() == "br") {
      out += '\n';
    } else if (child->isElement() && child->tag() != "script" && child->tag() != "style") {
      out += innerTextOf(*child);
    }
  }
  return out;
}

Value parentNodeOf(const Node& node) {
  if (node.parent()) return objectOrNull(node.parent()->shared_from_this());
  const auto document = node.document();
  if (document && document->root().get() == &node) return objectOrNull(document);
  return Null{};
}

std::shared_ptr<Object> styleOf(Node& node) {
  NodePtr self = node.shared_from_this();
  return std::make_shared<StyleObject>(
      self.get(), [self] { return self->attributeOr("style"); },
      [self](std::string css) {
        self->setAttribute("style", std::move(css));
        noteWrite(*self);
      });
}

std::shared_ptr<Object> runtimeStyleOf(Node& node) {
  NodePtr self = node.shared_from_this();
  // The runtime layer has an identity of its own, apart from the inline style.
  return std::make_shared<StyleObject>(
      &self->runtimeCss(), [self] { return self->runtimeCss(); },
      [self](std::string css) {
        self->runtimeCss() = std::move(css);
        noteWrite(*self);
      });
}

std::optional<Value> textNodeMember(Node& node, std::string_view member) {
  if (member == "nodeName") return node.kind() == NodeKind::Text ? "#text" : "#comment";
  if (member == "nodeType") return node.kind() == NodeKind::Text ? 3 : 8;
  if (member == "nodeValue" || member == "data") return node.data();
  if (member == "parentNode") return parentNodeOf(node);
  if (member == "nextSibling") return objectOrNull(node.nextSibling());
  if (member == "previousSibling") return objectOrNull(node.previousSibling());
  return std::nullopt;
}

// The standard members of an element; nullopt for any other name.
std::optional<Value> elementMember(Node& node, std::string_view member) {
  const auto attribute = [&](std::string_view name) { return Value(node.attributeOr(name)); };
  if (member == "id") return attribute("id");
  if (member == "className") return attribute("class");
  if (member == "tagName" || member == "nodeName") return upperAscii(node.tag());
  if (member == "nodeType") return 1;
  if (member == "parentElement") {
    Node* p = node.elementParent();
    return p ? objectOrNull(p->shared_from_this()) : Value(Null{});
  }
  if (member == "parentNode") return parentNodeOf(node);
  if (member == "nextSibling") return objectOrNull(node.nextSibling());
  if (member == "previousSibling") return objectOrNull(node.previousSibling());
  if (member == "firstChild") {
    return node.children().empty() ? Value(Null{}) : objectOrNull(node.children().front());
  }
  if (member == "children") {
    return objectOrNull(ElementCollection::over(node.shared_from_this(), CollectionScope::Children));
  }
  if (member == "all") {
    return objectOrNull(
        ElementCollection::over(node.shared_from_this(), CollectionScope::Descendants));
  }
  if (member == "innerHTML") return serializeChildren(node);
  if (member == "outerHTML") return serializeNode(node);
  if (member == "innerText") return innerTextOf(node);
  if (member == "attributes") return objectOrNull(makeAttributesCollection(node.shared_from_this()));
  if (member == "style") return objectOrNull(styleOf(node));
  if (member == "runtimeStyle") return objectOrNull(runtimeStyleOf(node));
  if (member == "offsetTop") return layout::offsetTop(node);
  if (member == "offsetHeight") return layout::offsetHeight(node);
  if (member == "offsetParent") {
    Node* p = layout::offsetParent(node);
    return p ? objectOrNull(p->shared_from_this()) : Value(Null{});
  }
  if (member == "scrollTop") return node.scrollTop;
  if (member == "scrollHeight") return layout::scrollHeight(node);
  if (member == "clientHeight") return layout::clientHeight(node);
  if (member == "uniqueID") {
    const auto document = node.document();
    if (!document) throw Error(ErrorCode::HostError, "The element belongs to no document");
    return document->uniqueIdOf(node);
  }
  if (member == "src") return attribute("src");
  if (member == "Value" || member == "value") return attribute("value");
  if (member == "document") return objectOrNull(node.document());
  return std::nullopt;
}

// Members that script may not assign.
bool isReadOnlyMember(std::string_view member) {
  static constexpr std::array<std::string_view, 21> kReadOnly = {
      "tagName",  "nodeName",     "nodeType",   "parentElement", "parentNode",   "nextSibling",
      "previousSibling", "firstChild", "children", "all",     "attributes",   "style",
      "runtimeStyle", "offsetTop", "offsetHeight", "offsetParent", "scrollHeight", "clientHeight",
      "uniqueID", "document", "data"};
  return std::find(kReadOnly.begin(), kReadOnly.end(), member) != kReadOnly.end();
}

std::shared_ptr<Node> nodeArg(std::span<const Value> args, std::size_t i) {
  auto node = std::dynamic_pointer_cast<Node>(arg(args, i).toObject());
  if (!node) throw Error(ErrorCode::TypeMismatch, "An element of this page was expected");
  return node;
}

void replaceWithFragment(Node& node, std::string_view html) {
  Node* parent = node.parent();
  if (!parent) throw Error(ErrorCode::HostError, "The element has no parent to hold its markup");
  for (NodePtr& n : parseFragment(html, parent->tag())) parent->insertBefore(std::move(n), &node);
  node.detach();
}

void insertAdjacent(Node& node, std::string_view where, NodePtr element) {
  const std::string w = upperAscii(std::string(where));
  if (w == "BEFOREEND") {
    node.appendChild(std::move(element));
  } else if (w == "AFTERBEGIN") {
    node.insertChild(0, std::move(element));
  } else if ((w == "BEFOREBEGIN" || w == "AFTEREND") && node.parent()) {
    const NodePtr next = node.nextSibling();
    node.parent()->insertBefore(std::move(element), w == "BEFOREBEGIN" ? &node : next.get());
  } else {
    throw Error(ErrorCode::InvalidArgument, "Invalid procedure call: insertAdjacentElement " + w);
  }
}

}  // namespace

Value Node::get(std::string_view member) {
  if (!isElement()) {
    if (auto v = textNodeMember(*this, member)) return *v;
    throw memberNotFound(member);
  }
  if (auto v = elementMember(*this, member)) return *v;
  if (const std::string* value = findAttribute(member)) return *value;
  throw memberNotFound(member);
}

void Node::put(std::string_view member, const Value& value) {
  if (!isElement()) {
    if (member != "nodeValue" && member != "data") throw memberNotFound(member);
    setData(value.toText());
  } else if (member == "className") {
    setAttribute("class", value.toText());
  } else if (member == "innerHTML") {
    replaceChildren(parseFragment(value.toText(), tag()));
  } else if (member == "outerHTML") {
    replaceWithFragment(*this, value.toText());
  } else if (member == "innerText") {
    const std::string text = value.toText();
    replaceChildren({});
    if (!text.empty()) appendChild(Node::makeText(text));
  } else if (member == "scrollTop") {
    // Clamped to the scroll range, as a browser does.
    const int maxScroll = std::max(0, layout::scrollHeight(*this) - layout::clientHeight(*this));
    scrollTop = std::clamp(value.toInt32(), 0, maxScroll);
  } else if (member == "Value") {
    setAttribute("value", value.toText());
  } else if (isReadOnlyMember(member)) {
    throw Error(ErrorCode::HostError, "The member " + std::string(member) + " is read-only");
  } else {
    // id, src and any expando are backed by the attribute of that name.
    setAttribute(member, value.toText());
  }
  noteWrite(*this);
}

Value Node::call(std::string_view method, std::span<const Value> args) {
  if (!isElement()) throw memberNotFound(method);
  if (method == "getAttribute") {
    const std::string name = textArg(args, 0);
    if (const std::string* value = findAttribute(name)) return *value;
    if (auto v = elementMember(*this, name)) return *v;
    return Null{};
  }
  if (method == "contains") return contains(nodeArg(args, 0).get());
  if (method == "cloneNode") {
    NodePtr copy = deepClone();
    if (!arg(args, 0).toBool()) copy->replaceChildren({});
    return std::shared_ptr<Object>(copy);
  }
  if (method == "scrollIntoView") {
    const Value alignToTop = arg(args, 0);
    layout::scrollIntoView(*this, alignToTop.isEmpty() || alignToTop.toBool());
    return {};
  }
  if (method == "setAttribute") {
    setAttribute(textArg(args, 0), textArg(args, 1));
  } else if (method == "removeAttribute") {
    const bool removed = removeAttribute(textArg(args, 0));
    noteWrite(*this);
    return removed;
  } else if (method == "removeAttributeNode") {
    auto attribute = std::dynamic_pointer_cast<AttributeObject>(arg(args, 0).toObject());
    if (!attribute || attribute->owner().get() != this) {
      throw Error(ErrorCode::InvalidArgument, "The attribute does not belong to this element");
    }
    removeAttribute(attribute->name());
    noteWrite(*this);
    return std::shared_ptr<Object>(attribute);
  } else if (method == "removeNode") {
    NodePtr self = shared_from_this();
    if (!arg(args, 0).toBool() && parent()) {
      const std::vector<NodePtr> kids = children();
      for (const NodePtr& child : kids) parent()->insertBefore(child, this);
    }
    noteWrite(*this);  // counted while the node still belongs to the page
    detach();
    return std::shared_ptr<Object>(self);
  } else if (method == "insertAdjacentElement") {
    NodePtr element = nodeArg(args, 1);
    insertAdjacent(*this, textArg(args, 0), element);
    noteWrite(*this);
    return std::shared_ptr<Object>(element);
  } else if (method == "appendChild") {
    NodePtr child = nodeArg(args, 0);
    appendChild(child);
    noteWrite(*this);
    return std::shared_ptr<Object>(child);
  } else {
    throw memberNotFound(method);
  }
  noteWrite(*this);
  return {};
}

std::string Node::typeName() const {
  switch (kind_) {
    case NodeKind::Text:
      return "Text";
    case NodeKind::Comment:
      return "Comment";
    case NodeKind::Element:
      break;
  }
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 14> kTypes = {{
      {"div", "HTMLDivElement"},      {"span", "HTMLSpanElement"},
      {"img", "HTMLImageElement"},    {"a", "HTMLAnchorElement"},
      {"p", "HTMLParagraphElement"},  {"body", "HTMLBodyElement"},
      {"html", "HTMLHtmlElement"},    {"iframe", "HTMLIFrameElement"},
      {"table", "HTMLTableElement"},  {"input", "HTMLInputElement"},
      {"style", "HTMLStyleElement"},  {"br", "HTMLBRElement"},
      {"head", "HTMLHeadElement"},    {"font", "HTMLFontElement"},
  }};
  for (const auto& [t, name] : kTypes) {
    if (t == tag_) return std::string(name);
  }
  return "HTMLElement";
}

}  // namespace reVoziz::pagemodel
