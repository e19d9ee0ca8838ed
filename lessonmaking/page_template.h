#pragma once
// A page of the sample lesson, parsed so that the lesson maker can fill it with
// a lesson's own content: whatever it does not fill stays as the sample has it.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pagemodel/node.h"

namespace reVoziz::lessonmaking {

using ElementMatch = std::function<bool(const pagemodel::NodePtr&)>;

class PageTemplate {
 public:
  // `name` is one of lessonPageTemplates(), or a page of lessonAssets().
  explicit PageTemplate(std::string_view name);

  // The <html> element.
  const pagemodel::NodePtr& root() const { return root_; }

  // The first element below `within` that `match` accepts. The sample lesson
  // has it; a template without it fails, naming it by `what`.
  pagemodel::NodePtr element(const pagemodel::NodePtr& within, std::string_view what,
                             const ElementMatch& match) const;
  pagemodel::NodePtr elementById(std::string_view id) const;

  // The page as a file.
  std::string text() const;

 private:
  std::string name_;
  pagemodel::NodePtr root_;
};

ElementMatch byTag(std::string_view tag);
ElementMatch byClass(std::string_view name);
ElementMatch byAttribute(std::string_view name, std::string_view value);

// The element's content becomes `text`, as text.
void setText(const pagemodel::NodePtr& element, std::string text);

// The content of a list becomes `entries`, laid out as the template laid out
// its own: one a line, after the white space that led its first entry, and
// the white space that closed the list last.
void replaceEntries(const pagemodel::NodePtr& list, std::vector<pagemodel::NodePtr> entries);

}  // namespace reVoziz::lessonmaking
