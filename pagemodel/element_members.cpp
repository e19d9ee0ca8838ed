// The members that model nodes offer to the control: standard members first,
// then attributes as named properties.

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>

#include "pagemodel/attribute_objects.h"
#include "pagemodel/browser_member_names.h"
#include "pagemodel/content_editable.h"
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

// The standard members of an element, in one name table.
enum class ElementMember {
  Id, ClassName, TagName, NodeType, ParentElement, ParentNode, NextSibling, PreviousSibling,
  FirstChild, Children, All, InnerHTML, OuterHTML, InnerText, Attributes, Style, RuntimeStyle,
  OffsetTop, OffsetHeight, OffsetParent, ScrollTop, ScrollHeight, ClientHeight, UniqueID, Src,
  FieldValue, Document, ContentEditable, IsContentEditable,
};

std::optional<ElementMember> findElementMember(std::string_view name) {
  using enum ElementMember;
  static const std::unordered_map<std::string_view, ElementMember> kMembers = {
      {"id", Id},
      {"className", ClassName},
      {"tagName", TagName},
      {"nodeName", TagName},
      {"nodeType", NodeType},
      {"parentElement", ParentElement},
      {"parentNode", ParentNode},
      {"nextSibling", NextSibling},
      {"previousSibling", PreviousSibling},
      {"firstChild", FirstChild},
      {"children", Children},
      {"all", All},
      {"innerHTML", InnerHTML},
      {"outerHTML", OuterHTML},
      {"innerText", InnerText},
      {"attributes", Attributes},
      {"style", Style},
      {"runtimeStyle", RuntimeStyle},
      {"offsetTop", OffsetTop},
      {"offsetHeight", OffsetHeight},
      {"offsetParent", OffsetParent},
      {"scrollTop", ScrollTop},
      {"scrollHeight", ScrollHeight},
      {"clientHeight", ClientHeight},
      {"uniqueID", UniqueID},
      {"src", Src},
      {"Value", FieldValue},
      {"value", FieldValue},
      {"document", Document},
      {"contentEditable", ContentEditable},
      {"isContentEditable", IsContentEditable},
  };
  const auto found = kMembers.find(name);
  return found == kMembers.end() ? std::nullopt : std::optional(found->second);
}

Value elementOrNull(Node* node) { return node ? objectOrNull(node->shared_from_this()) : Null{}; }

Value readElementMember(Node& node, ElementMember member) {
  using enum ElementMember;
  switch (member) {
    case Id: return node.attributeOr("id");
    case ClassName: return node.attributeOr("class");
    case TagName: return upperAscii(node.tag());
    case NodeType: return 1;
    case ParentElement: return elementOrNull(node.elementParent());
    case ParentNode: return parentNodeOf(node);
    case NextSibling: return objectOrNull(node.nextSibling());
    case PreviousSibling: return objectOrNull(node.previousSibling());
    case FirstChild:
      return node.children().empty() ? Value(Null{}) : objectOrNull(node.children().front());
    case Children:
      return objectOrNull(ElementCollection::over(node.shared_from_this(), CollectionScope::Children));
    case All:
      return objectOrNull(
          ElementCollection::over(node.shared_from_this(), CollectionScope::Descendants));
    case InnerHTML: return serializeChildren(node);
    case OuterHTML: return serializeNode(node);
    case InnerText: return innerTextOf(node);
    case Attributes: return objectOrNull(makeAttributesCollection(node.shared_from_this()));
    case Style: return objectOrNull(styleOf(node));
    case RuntimeStyle: return objectOrNull(runtimeStyleOf(node));
    case OffsetTop: return layout::offsetTop(node);
    case OffsetHeight: return layout::offsetHeight(node);
    case OffsetParent: return elementOrNull(layout::offsetParent(node));
    case ScrollTop: return node.scrollTop;
    case ScrollHeight: return layout::scrollHeight(node);
    case ClientHeight: return layout::clientHeight(node);
    case UniqueID: {
      const auto document = node.document();
      if (!document) throw Error(ErrorCode::HostError, "The element belongs to no document");
      return document->uniqueIdOf(node);
    }
    case Src: return node.attributeOr("src");
    case FieldValue: return node.attributeOr("value");
    case Document: return objectOrNull(node.document());
    case ContentEditable: {
      const std::string* value = node.findAttribute("contenteditable");
      if (value && (value->empty() || sameHtmlName(*value, "true"))) return "true";
      if (value && sameHtmlName(*value, "false")) return "false";
      return "inherit";
    }
    case IsContentEditable: return isEditable(node);
  }
  return {};
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
  if (const auto standard = findElementMember(member)) return readElementMember(*this, *standard);
  if (const std::string* value = findAttribute(member)) return *value;
  throw memberNotFound(member);
}

// Attributes read as members do not count, as in a browser.
bool Node::has(std::string_view member) {
  if (!isElement()) return Object::has(member);
  const BrowserObject kind = tag() == "form" ? BrowserObject::Form : BrowserObject::Element;
  return findElementMember(member).has_value() || isBrowserMember(kind, member);
}

void Node::put(std::string_view member, const Value& value) {
  if (!isElement()) {
    if (member != "nodeValue" && member != "data") throw memberNotFound(member);
    setData(value.toText());
    noteWrite(*this);
    return;
  }
  const auto standard = findElementMember(member);
  if (!standard) {
    setAttribute(member, value.toText());  // an expando, backed by the attribute of that name
    noteWrite(*this);
    return;
  }
  using enum ElementMember;
  switch (*standard) {
    case Id: setAttribute("id", value.toText()); break;
    case ClassName: setAttribute("class", value.toText()); break;
    case Src: setAttribute("src", value.toText()); break;
    case FieldValue: setAttribute("value", value.toText()); break;
    case ContentEditable: {
      const std::string v = value.toText();
      if (sameHtmlName(v, "inherit")) {
        removeAttribute("contenteditable");
      } else if (sameHtmlName(v, "true") || sameHtmlName(v, "false")) {
        setAttribute("contenteditable", v);
      } else {
        throw Error(ErrorCode::InvalidArgument, "Invalid argument: contentEditable " + v);
      }
      break;
    }
    case InnerHTML: replaceChildren(parseFragment(value.toText(), tag())); break;
    case OuterHTML: replaceWithFragment(*this, value.toText()); break;
    case InnerText: {
      const std::string text = value.toText();
      replaceChildren({});
      if (!text.empty()) appendChild(Node::makeText(text));
      break;
    }
    case ScrollTop: {
      // Clamped to the scroll range, as a browser does.
      const int maxScroll = std::max(0, layout::scrollHeight(*this) - layout::clientHeight(*this));
      scrollTop = std::clamp(value.toInt32(), 0, maxScroll);
      break;
    }
    default:
      throw Error(ErrorCode::HostError, "The member " + std::string(member) + " is read-only");
  }
  noteWrite(*this);
}

Value Node::call(std::string_view method, std::span<const Value> args) {
  // Any node may take itself out, as text and comments do in the browser.
  if (method == "removeNode") {
    NodePtr self = shared_from_this();
    if (!arg(args, 0).toBool() && parent()) {
      const std::vector<NodePtr> kids = children();
      for (const NodePtr& child : kids) parent()->insertBefore(child, this);
    }
    noteWrite(*this);  // counted while the node still belongs to the page
    detach();
    return std::shared_ptr<Object>(self);
  }
  if (!isElement()) throw memberNotFound(method);
  if (method == "getAttribute") {
    const std::string name = textArg(args, 0);
    if (const std::string* value = findAttribute(name)) return *value;
    if (const auto standard = findElementMember(name)) return readElementMember(*this, *standard);
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
  // The methods below change the page; each counts one write once it succeeded.
  if (method == "setAttribute") {
    setAttribute(textArg(args, 0), textArg(args, 1));
    noteWrite(*this);
    return {};
  }
  if (method == "removeAttribute") {
    const bool removed = removeAttribute(textArg(args, 0));
    noteWrite(*this);
    return removed;
  }
  if (method == "removeAttributeNode") {
    auto attribute = std::dynamic_pointer_cast<AttributeObject>(arg(args, 0).toObject());
    if (!attribute || attribute->owner().get() != this) {
      throw Error(ErrorCode::InvalidArgument, "The attribute does not belong to this element");
    }
    removeAttribute(attribute->name());
    noteWrite(*this);
    return std::shared_ptr<Object>(attribute);
  }
  if (method == "insertAdjacentElement") {
    NodePtr element = nodeArg(args, 1);
    insertAdjacent(*this, textArg(args, 0), element);
    noteWrite(*this);
    return std::shared_ptr<Object>(element);
  }
  if (method == "appendChild") {
    NodePtr child = nodeArg(args, 0);
    appendChild(child);
    noteWrite(*this);
    return std::shared_ptr<Object>(child);
  }
  throw memberNotFound(method);
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
