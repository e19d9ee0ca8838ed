#pragma once
// A page of the sample put into the interface language: its texts and the
// attributes a student reads or hears, outside the lesson's own content.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "lessonmaking/interface_texts.h"
#include "lessonmaking/page_template.h"

namespace reVoziz::lessonmaking {

// The attributes that carry interface texts.
inline constexpr std::string_view kInterfaceAttributes[] = {"title", "alt", "aria-label", "label", "placeholder"};

// Calls `visit` with each interface text of the page below `root` (text and
// interface attributes, neither in script nor style nor in an element that
// `isContent` accepts) and puts back what it returns, when it returns a text.
// `visit` is also told the element that holds the text, and whether the text
// is that element's only content.
struct InterfaceTextPlace {
  const pagemodel::NodePtr& element;
  bool wholeContent = false;  // a text node that is all the element holds
};
void forEachInterfaceText(const pagemodel::NodePtr& root, const ElementMatch& isContent,
                          const std::function<std::optional<std::string>(const std::string& text,
                                                                         const InterfaceTextPlace& place)>& visit);

// Each interface text becomes its text in `language`, white space around it
// kept; one the table lacks stays as it is. Where the page's own language is
// another (a transcript), an element that holds nothing but such a text says
// which language it is in.
void translatePage(const pagemodel::NodePtr& root, const ElementMatch& isContent, const InterfaceTexts& texts,
                   std::string_view language);

}  // namespace reVoziz::lessonmaking
