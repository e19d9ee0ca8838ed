#pragma once
// The page facade: thin typed wrappers over host objects. Each method is one
// host get, put or call; control code reads the page only through these.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/host_ref.h"

namespace reVoziz {

class Collection;
class Document;
class Element;
class Style;

class Style : public HostRef {
 public:
  using HostRef::HostRef;
  std::string cssText() const;
  void setCssText(std::string_view css) const;
  std::string display() const;
  void setDisplay(std::string_view display) const;
  std::string visibility() const;
  void setVisibility(std::string_view visibility) const;
  // Sets the style property `name` to `value`.
  void setAttribute(std::string_view name, const Value& value) const;
};

class StyleRule : public HostRef {
 public:
  using HostRef::HostRef;
  std::string selectorText() const;
  Style style() const;
};

class StyleSheet : public HostRef {
 public:
  using HostRef::HostRef;
  Collection rules() const;
};

class Attribute : public HostRef {
 public:
  using HostRef::HostRef;
  std::string nodeName() const;
  Value nodeValue() const;
  void setNodeValue(const Value& value) const;
};

// Any node of the page. Text nodes answer only the node members; asking them
// for element members fails, as in the browser.
class Element : public HostRef {
 public:
  using HostRef::HostRef;

  std::string id() const;
  void setId(std::string_view id) const;
  std::string tagName() const;
  std::string className() const;
  void setClassName(std::string_view name) const;

  // Null when the element has no such attribute.
  Value getAttribute(std::string_view name) const;
  void setAttribute(std::string_view name, const Value& value) const;
  void removeAttributeNode(const Attribute& attribute) const;
  Collection attributes() const;
  // A custom attribute or expando read as a named member; missing ones fail.
  Value property(std::string_view name) const;
  std::string propertyText(std::string_view name) const { return property(name).toText(); }
  void setProperty(std::string_view name, const Value& value) const;

  Element parentElement() const;
  Element parentNode() const;
  Element nextSibling() const;
  Element firstChild() const;
  // 1 for an element, 3 for text, 8 for a comment.
  std::int32_t nodeType() const;
  Collection children() const;
  Collection all() const;
  bool contains(const Element& other) const;

  std::string innerHTML() const;
  void setInnerHTML(std::string_view html) const;
  std::string outerHTML() const;
  void setOuterHTML(std::string_view html) const;
  std::string innerText() const;
  void setInnerText(std::string_view text) const;
  Element cloneNode(bool deep) const;
  Element removeNode(bool deep) const;
  Element insertAdjacentElement(std::string_view where, const Element& element) const;

  Style style() const;
  Style runtimeStyle() const;

  std::int32_t offsetTop() const;
  std::int32_t offsetHeight() const;
  Element offsetParent() const;
  std::int32_t scrollTop() const;
  void setScrollTop(std::int32_t top) const;
  std::int32_t clientHeight() const;
  void scrollIntoView(bool alignToTop) const;

  std::string uniqueID() const;
  std::string src() const;
  void setSrc(std::string_view src) const;
  // The `Value` member of form fields.
  Value fieldValue() const;
  void setFieldValue(const Value& value) const;
};

class Collection : public HostRef {
 public:
  using HostRef::HostRef;
  std::int32_t length() const;
  // Null when there is no such item.
  Value item(std::int32_t index) const;
  Value item(std::string_view nameOrId) const;
  Element element(std::int32_t index) const { return Element(item(index)); }
  // A member named like an element id or frame name; missing ones fail. Several
  // elements of one name answer as a collection.
  Value member(std::string_view name) const;
  Collection tags(std::string_view tagName) const;
};

class Event : public HostRef {
 public:
  using HostRef::HostRef;
  Element srcElement() const;
  std::int32_t keyCode() const;
  bool ctrlKey() const;
  Value returnValue() const;
  void setReturnValue(const Value& value) const;
  bool cancelBubble() const;
  void setCancelBubble(bool cancel) const;
};

class TextRange : public HostRef {
 public:
  using HostRef::HostRef;
  Element parentElement() const;
  void pasteHTML(std::string_view html) const;
  void collapse(bool toStart) const;
  void moveToElementText(const Element& element) const;
  bool findText(std::string_view text) const;
  void select() const;
  // For a control range: the selected object.
  Element item(std::int32_t index) const;
};

class Selection : public HostRef {
 public:
  using HostRef::HostRef;
  std::string type() const;
  TextRange createRange() const;
};

class Window;

class Document : public HostRef {
 public:
  using HostRef::HostRef;
  Collection all() const;
  // The member of `all` named like an element id or name; a missing one fails.
  Element element(std::string_view name) const;
  Element body() const;
  Element documentElement() const;
  Collection frames() const;
  // The frame's window, by name; a missing frame fails.
  Window frame(std::string_view name) const;
  Collection styleSheets() const;
  StyleSheet styleSheet(std::string_view id) const;
  Selection selection() const;
  std::string title() const;
  std::string URL() const;
  void setURL(std::string_view url) const;
  std::string URLUnencoded() const;
  Value execCommand(std::string_view command, bool showUI = false, const Value& value = {}) const;
  // A new empty document of the same host, in no window: what is parsed into
  // it loads nothing and runs nothing.
  Document createInertDocument() const;
  // The window that shows the document.
  Window parentWindow() const;
};

class Screen : public HostRef {
 public:
  using HostRef::HostRef;
  std::int32_t availWidth() const;
  std::int32_t availHeight() const;
};

class Window : public HostRef {
 public:
  using HostRef::HostRef;
  Document document() const;
  // Unset while no event is being dispatched.
  Event event() const;
  Window parent() const;
  Screen screen() const;
  bool confirm(std::string_view message) const;
  Value showModalDialog(std::string_view url, const Value& arguments,
                        std::string_view features) const;
  void resizeTo(std::int32_t width, std::int32_t height) const;
  Value property(std::string_view name) const;
  void setProperty(std::string_view name, const Value& value) const;
};

}  // namespace reVoziz
