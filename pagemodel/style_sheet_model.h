#pragma once
// Style sheets of a document, read from its <style> elements, and the objects
// the page sees for them: styleSheets, a sheet, its rules, a rule.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/object.h"

namespace reVoziz::pagemodel {

class Node;

class StyleRuleModel {
 public:
  StyleRuleModel(std::string selectorText, std::string cssText)
      : selectorText_(std::move(selectorText)), cssText_(std::move(cssText)) {}

  const std::string& selectorText() const { return selectorText_; }
  const std::string& cssText() const { return cssText_; }
  void setCssText(std::string css);
  // The rule's display value, parsed once per change: layout asks for it for
  // every element it places.
  const std::string& display() const;

 private:
  std::string selectorText_;
  std::string cssText_;
  mutable std::optional<std::string> display_;
};

struct StyleSheetModel {
  std::string id;
  std::vector<std::shared_ptr<StyleRuleModel>> rules;

  static std::shared_ptr<StyleSheetModel> parse(std::string id, std::string_view css);
};

// Whether a selector group ("div.segment, #x") matches the element. Only
// simple selectors (tag, #id, .class and their compounds) take part in the
// model's layout; any other selector matches nothing.
bool selectorMatches(std::string_view selectorText, const Node& element);

std::shared_ptr<Object> makeStyleSheetObject(std::shared_ptr<StyleSheetModel> sheet,
                                             std::weak_ptr<class DocumentModel> document);
std::shared_ptr<Object> makeStyleSheetsCollection(std::shared_ptr<class DocumentModel> document);

}  // namespace reVoziz::pagemodel
