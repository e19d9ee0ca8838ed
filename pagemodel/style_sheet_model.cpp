#include "pagemodel/style_sheet_model.h"

#include "core/text.h"
#include "pagemodel/css.h"
#include "pagemodel/document_model.h"
#include "pagemodel/indexed_collection.h"
#include "pagemodel/layout_generation.h"
#include "pagemodel/member_args.h"
#include "pagemodel/node.h"
#include "pagemodel/style_object.h"

namespace reVoziz::pagemodel {
namespace {

std::string withoutComments(std::string_view css) {
  std::string out;
  for (std::size_t i = 0; i < css.size();) {
    if (css.compare(i, 2, "/*") == 0) {
      const auto end = css.find("*/", i + 2);
      i = end == std::string_view::npos ? css.size() : end + 2;
    } else {
      out += css[i++];
    }
  }
  return out;
}

bool hasClass(const Node& element, std::string_view cls) {
  const std::string* classes = element.findAttribute("class");
  if (!classes) return false;
  std::string_view rest = *classes;
  while (!rest.empty()) {
    const auto start = rest.find_first_not_of(kHtmlWhitespace);
    if (start == std::string_view::npos) break;
    rest.remove_prefix(start);
    const auto end = std::min(rest.find_first_of(kHtmlWhitespace), rest.size());
    if (rest.substr(0, end) == cls) return true;
    rest.remove_prefix(end);
  }
  return false;
}

bool compoundMatches(std::string_view compound, const Node& element) {
  if (compound.empty()) return false;
  std::size_t i = 0;
  auto readName = [&] {
    const std::size_t start = i;
    while (i < compound.size() && compound[i] != '.' && compound[i] != '#') ++i;
    return compound.substr(start, i - start);
  };
  if (compound[0] != '.' && compound[0] != '#') {
    const std::string_view tag = readName();
    if (tag != "*" && !sameHtmlName(tag, element.tag())) return false;
  }
  while (i < compound.size()) {
    const char kind = compound[i++];
    const std::string_view name = readName();
    if (name.empty()) return false;
    if (kind == '.' && !hasClass(element, name)) return false;
    if (kind == '#' && element.attributeOr("id") != name) return false;
  }
  return true;
}

class RuleObject : public Object {
 public:
  explicit RuleObject(std::shared_ptr<StyleRuleModel> rule, std::weak_ptr<DocumentModel> document)
      : rule_(std::move(rule)), document_(std::move(document)) {}
  Value get(std::string_view member) override {
    if (member == "selectorText") return rule_->selectorText();
    if (member == "style") {
      auto rule = rule_;
      auto document = document_;
      return std::shared_ptr<Object>(std::make_shared<StyleObject>(
          rule.get(), [rule] { return rule->cssText(); },
          [rule, document](std::string css) {
            rule->setCssText(std::move(css));
            if (auto d = document.lock()) {
              d->noteChange();
              d->noteWrite();
            }
          }));
    }
    throw memberNotFound(member);
  }
  void put(std::string_view member, const Value&) override { throw memberNotFound(member); }
  Value call(std::string_view method, std::span<const Value>) override {
    throw memberNotFound(method);
  }
  std::string typeName() const override { return "CSSStyleRule"; }
  bool sameAs(const Object& other) const override {
    const auto* o = dynamic_cast<const RuleObject*>(&other);
    return o && o->rule_ == rule_;
  }

 private:
  std::shared_ptr<StyleRuleModel> rule_;
  std::weak_ptr<DocumentModel> document_;
};

class RuleCollection : public IndexedCollection {
 public:
  RuleCollection(std::shared_ptr<StyleSheetModel> sheet, std::weak_ptr<DocumentModel> document)
      : sheet_(std::move(sheet)), document_(std::move(document)) {}
  std::size_t size() override { return sheet_->rules.size(); }
  Value at(std::size_t i) override {
    return std::shared_ptr<Object>(std::make_shared<RuleObject>(sheet_->rules[i], document_));
  }
  Value named(std::string_view) override { return Null{}; }
  std::string typeName() const override { return "CSSRuleList"; }

 private:
  std::shared_ptr<StyleSheetModel> sheet_;
  std::weak_ptr<DocumentModel> document_;
};

class StyleSheetObject : public Object {
 public:
  StyleSheetObject(std::shared_ptr<StyleSheetModel> sheet, std::weak_ptr<DocumentModel> document)
      : sheet_(std::move(sheet)), document_(std::move(document)) {}
  Value get(std::string_view member) override {
    if (member == "id") return sheet_->id;
    if (member == "rules" || member == "cssRules") {
      return std::shared_ptr<Object>(std::make_shared<RuleCollection>(sheet_, document_));
    }
    throw memberNotFound(member);
  }
  void put(std::string_view member, const Value&) override { throw memberNotFound(member); }
  Value call(std::string_view method, std::span<const Value>) override {
    throw memberNotFound(method);
  }
  std::string typeName() const override { return "CSSStyleSheet"; }
  bool sameAs(const Object& other) const override {
    const auto* o = dynamic_cast<const StyleSheetObject*>(&other);
    return o && o->sheet_ == sheet_;
  }

 private:
  std::shared_ptr<StyleSheetModel> sheet_;
  std::weak_ptr<DocumentModel> document_;
};

class StyleSheetsCollection : public IndexedCollection {
 public:
  explicit StyleSheetsCollection(std::shared_ptr<DocumentModel> document)
      : document_(std::move(document)) {}
  std::size_t size() override { return document_->styleSheets().size(); }
  Value at(std::size_t i) override {
    return makeStyleSheetObject(document_->styleSheets()[i], document_);
  }
  Value named(std::string_view id) override {
    for (const auto& sheet : document_->styleSheets()) {
      if (!id.empty() && sheet->id == id) return makeStyleSheetObject(sheet, document_);
    }
    return Null{};
  }
  std::string typeName() const override { return "StyleSheetList"; }

 private:
  std::shared_ptr<DocumentModel> document_;
};

}  // namespace

void StyleRuleModel::setCssText(std::string css) {
  invalidateLayout();
  cssText_ = std::move(css);
  display_.reset();
}

const std::string& StyleRuleModel::display() const {
  if (!display_) display_ = CssDeclarations::parse(cssText_).get("display");
  return *display_;
}

std::shared_ptr<StyleSheetModel> StyleSheetModel::parse(std::string id, std::string_view css) {
  auto sheet = std::make_shared<StyleSheetModel>();
  sheet->id = std::move(id);
  const std::string text = withoutComments(css);
  std::size_t i = 0;
  while (i < text.size()) {
    const auto open = text.find('{', i);
    if (open == std::string::npos) break;
    const auto close = text.find('}', open);
    const std::string_view selector = trimHtmlWhitespace(std::string_view(text).substr(i, open - i));
    const std::string_view body = std::string_view(text).substr(
        open + 1, (close == std::string::npos ? text.size() : close) - open - 1);
    if (!selector.empty() && selector[0] != '@') {
      sheet->rules.push_back(
          std::make_shared<StyleRuleModel>(std::string(selector), std::string(trimHtmlWhitespace(body))));
    }
    if (close == std::string::npos) break;
    i = close + 1;
  }
  return sheet;
}

bool selectorMatches(std::string_view selectorText, const Node& element) {
  std::string_view rest = selectorText;
  while (true) {
    const auto comma = rest.find(',');
    if (compoundMatches(trimHtmlWhitespace(rest.substr(0, comma)), element)) return true;
    if (comma == std::string_view::npos) return false;
    rest.remove_prefix(comma + 1);
  }
}

std::shared_ptr<Object> makeStyleSheetObject(std::shared_ptr<StyleSheetModel> sheet,
                                             std::weak_ptr<DocumentModel> document) {
  return std::make_shared<StyleSheetObject>(std::move(sheet), std::move(document));
}

std::shared_ptr<Object> makeStyleSheetsCollection(std::shared_ptr<DocumentModel> document) {
  return std::make_shared<StyleSheetsCollection>(std::move(document));
}

}  // namespace reVoziz::pagemodel
