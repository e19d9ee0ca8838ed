#pragma once
// CSS declaration lists ("display: none; color: red") as style objects and
// style rules hold them.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace reVoziz::pagemodel {

class CssDeclarations {
 public:
  static CssDeclarations parse(std::string_view css);
  std::string serialize() const;

  // The value of a property (dashed, lower-case name); empty when unset.
  std::string get(std::string_view property) const;
  // An empty value removes the property.
  void set(std::string_view property, std::string_view value);

 private:
  std::vector<std::pair<std::string, std::string>> declarations_;
};

// HTML and CSS white space: space, tab, line feed, carriage return, form feed.
inline constexpr std::string_view kHtmlWhitespace = " \t\r\n\f";

// `s` without HTML white space at either end.
std::string_view trimHtmlWhitespace(std::string_view s);

// A script's property name ("backgroundColor") as a CSS name ("background-color").
std::string cssPropertyName(std::string_view scriptName);

}  // namespace reVoziz::pagemodel
