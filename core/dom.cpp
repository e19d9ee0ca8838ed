#include "core/dom.h"

namespace reVoziz {

std::string Style::cssText() const { return text("cssText"); }
void Style::setCssText(std::string_view css) const { put("cssText", css); }
std::string Style::display() const { return text("display"); }
void Style::setDisplay(std::string_view display) const { put("display", display); }
std::string Style::visibility() const { return text("visibility"); }
void Style::setVisibility(std::string_view visibility) const { put("visibility", visibility); }
void Style::setAttribute(std::string_view name, const Value& value) const {
  call("setAttribute", {name, value});
}

std::string StyleRule::selectorText() const { return text("selectorText"); }
Style StyleRule::style() const { return Style(get("style")); }

Collection StyleSheet::rules() const { return Collection(get("rules")); }

std::string Attribute::nodeName() const { return text("nodeName"); }
Value Attribute::nodeValue() const { return get("nodeValue"); }
void Attribute::setNodeValue(const Value& value) const { put("nodeValue", value); }

std::string Element::id() const { return text("id"); }
void Element::setId(std::string_view id) const { put("id", id); }
std::string Element::tagName() const { return text("tagName"); }
std::string Element::className() const { return text("className"); }
void Element::setClassName(std::string_view name) const { put("className", name); }

Value Element::getAttribute(std::string_view name) const { return call("getAttribute", {name}); }
void Element::setAttribute(std::string_view name, const Value& value) const {
  call("setAttribute", {name, value});
}
void Element::removeAttributeNode(const Attribute& attribute) const {
  call("removeAttributeNode", {attribute.asValue()});
}
Collection Element::attributes() const { return Collection(get("attributes")); }
Value Element::property(std::string_view name) const { return get(name); }
void Element::setProperty(std::string_view name, const Value& value) const { put(name, value); }

Element Element::parentElement() const { return Element(get("parentElement")); }
Element Element::parentNode() const { return Element(get("parentNode")); }
Element Element::nextSibling() const { return Element(get("nextSibling")); }
Element Element::firstChild() const { return Element(get("firstChild")); }
std::int32_t Element::nodeType() const { return integer("nodeType"); }
Collection Element::children() const { return Collection(get("children")); }
Collection Element::all() const { return Collection(get("all")); }
bool Element::contains(const Element& other) const {
  return call("contains", {other.asValue()}).toBool();
}

std::string Element::innerHTML() const { return text("innerHTML"); }
void Element::setInnerHTML(std::string_view html) const { put("innerHTML", html); }
std::string Element::outerHTML() const { return text("outerHTML"); }
void Element::setOuterHTML(std::string_view html) const { put("outerHTML", html); }
std::string Element::innerText() const { return text("innerText"); }
void Element::setInnerText(std::string_view text) const { put("innerText", text); }
Element Element::cloneNode(bool deep) const { return Element(call("cloneNode", {deep})); }
Element Element::removeNode(bool deep) const { return Element(call("removeNode", {deep})); }
Element Element::insertAdjacentElement(std::string_view where, const Element& element) const {
  return Element(call("insertAdjacentElement", {where, element.asValue()}));
}

Style Element::style() const { return Style(get("style")); }
Style Element::runtimeStyle() const { return Style(get("runtimeStyle")); }

std::int32_t Element::offsetTop() const { return integer("offsetTop"); }
std::int32_t Element::offsetHeight() const { return integer("offsetHeight"); }
Element Element::offsetParent() const { return Element(get("offsetParent")); }
std::int32_t Element::scrollTop() const { return integer("scrollTop"); }
void Element::setScrollTop(std::int32_t top) const { put("scrollTop", top); }
std::int32_t Element::clientHeight() const { return integer("clientHeight"); }
void Element::scrollIntoView(bool alignToTop) const { call("scrollIntoView", {alignToTop}); }

std::string Element::uniqueID() const { return text("uniqueID"); }
std::string Element::src() const { return text("src"); }
void Element::setSrc(std::string_view src) const { put("src", src); }
Value Element::fieldValue() const { return get("Value"); }
void Element::setFieldValue(const Value& value) const { put("Value", value); }

std::int32_t Collection::length() const { return integer("length"); }
Value Collection::item(std::int32_t index) const { return call("item", {index}); }
Value Collection::item(std::string_view nameOrId) const { return call("item", {nameOrId}); }
Value Collection::member(std::string_view name) const { return get(name); }
Collection Collection::tags(std::string_view tagName) const {
  return Collection(call("tags", {tagName}));
}

Element Event::srcElement() const { return Element(get("srcElement")); }
std::int32_t Event::keyCode() const { return integer("keyCode"); }
bool Event::ctrlKey() const { return get("ctrlKey").toBool(); }
Value Event::returnValue() const { return get("returnValue"); }
void Event::setReturnValue(const Value& value) const { put("returnValue", value); }
bool Event::cancelBubble() const { return get("cancelBubble").toBool(); }
void Event::setCancelBubble(bool cancel) const { put("cancelBubble", cancel); }

Element TextRange::parentElement() const { return Element(call("parentElement")); }
void TextRange::pasteHTML(std::string_view html) const { call("pasteHTML", {html}); }
void TextRange::collapse(bool toStart) const { call("collapse", {toStart}); }
void TextRange::moveToElementText(const Element& element) const {
  call("moveToElementText", {element.asValue()});
}
bool TextRange::findText(std::string_view text) const {
  return call("findText", {text}).toBool();
}
void TextRange::select() const { call("select"); }
Element TextRange::item(std::int32_t index) const { return Element(call("item", {index})); }

std::string Selection::type() const { return text("type"); }
TextRange Selection::createRange() const { return TextRange(call("createRange")); }

Collection Document::all() const { return Collection(get("all")); }
Element Document::element(std::string_view name) const { return Element(all().member(name)); }
Element Document::body() const { return Element(get("body")); }
Element Document::documentElement() const { return Element(get("documentElement")); }
Collection Document::frames() const { return Collection(get("frames")); }
Window Document::frame(std::string_view name) const { return Window(frames().member(name)); }
Collection Document::styleSheets() const { return Collection(get("styleSheets")); }
StyleSheet Document::styleSheet(std::string_view id) const {
  return StyleSheet(styleSheets().member(id));
}
Selection Document::selection() const { return Selection(get("selection")); }
std::string Document::title() const { return text("title"); }
std::string Document::URL() const { return text("URL"); }
void Document::setURL(std::string_view url) const { put("URL", url); }
std::string Document::URLUnencoded() const { return text("URLUnencoded"); }
Value Document::execCommand(std::string_view command, bool showUI, const Value& value) const {
  return call("execCommand", {command, showUI, value});
}

namespace {

class DomImplementation : public HostRef {
 public:
  using HostRef::HostRef;
  Document createHTMLDocument() const { return Document(call("createHTMLDocument", {std::string_view()})); }
};

}  // namespace

Document Document::createInertDocument() const {
  return DomImplementation(get("implementation")).createHTMLDocument();
}

Window Document::parentWindow() const { return Window(get("parentWindow")); }

std::int32_t Screen::availWidth() const { return integer("availWidth"); }
std::int32_t Screen::availHeight() const { return integer("availHeight"); }

Document Window::document() const { return Document(get("document")); }
Event Window::event() const { return Event(get("event")); }
Window Window::parent() const { return Window(get("parent")); }
Screen Window::screen() const { return Screen(get("screen")); }
bool Window::confirm(std::string_view message) const {
  return call("confirm", {message}).toBool();
}
Value Window::showModalDialog(std::string_view url, const Value& arguments,
                              std::string_view features) const {
  return call("showModalDialog", {url, arguments, features});
}
void Window::resizeTo(std::int32_t width, std::int32_t height) const {
  call("resizeTo", {width, height});
}
Value Window::property(std::string_view name) const { return get(name); }
void Window::setProperty(std::string_view name, const Value& value) const { put(name, value); }

}  // namespace reVoziz
