#include "pagemodel/css.h"

#include <algorithm>

#include "core/text.h"

namespace reVoziz::pagemodel {
namespace {

// Splits at the semicolons that are outside quotes and parentheses.
std::vector<std::string_view> splitDeclarations(std::string_view css) {
  std::vector<std::string_view> parts;
  char quote = 0;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < css.size(); ++i) {
    const char c = css[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && depth > 0) {
      --depth;
    } else if (c == ';' && depth == 0) {
      parts.push_back(css.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(css.substr(start));
  return parts;
}

}  // namespace

CssDeclarations CssDeclarations::parse(std::string_view css) {
  CssDeclarations result;
  for (std::string_view part : splitDeclarations(css)) {
    const auto colon = part.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string name = lowerCase(trimHtmlWhitespace(part.substr(0, colon)));
    if (name.empty()) continue;
    result.set(name, trimHtmlWhitespace(part.substr(colon + 1)));
  }
  return result;
}

std::string CssDeclarations::serialize() const {
  std::string out;
  for (const auto& [name, value] : declarations_) {
    if (!out.empty()) out += "; ";
    out += name + ": " + value;
  }
  return out;
}

std::string CssDeclarations::get(std::string_view property) const {
  for (const auto& [name, value] : declarations_) {
    if (name == property) return value;
  }
  return {};
}

void CssDeclarations::set(std::string_view property, std::string_view value) {
  const auto it = std::find_if(declarations_.begin(), declarations_.end(),
                               [&](const auto& d) { return d.first == property; });
  if (value.empty()) {
    if (it != declarations_.end()) declarations_.erase(it);
  } else if (it != declarations_.end()) {
    it->second = std::string(value);
  } else {
    declarations_.emplace_back(std::string(property), std::string(value));
  }
}

std::string_view trimHtmlWhitespace(std::string_view s) {
  const auto first = s.find_first_not_of(kHtmlWhitespace);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kHtmlWhitespace) - first + 1);
}

std::string cssPropertyName(std::string_view scriptName) {
  std::string out;
  for (char c : scriptName) {
    if (c >= 'A' && c <= 'Z') {
      out += '-';
      out += static_cast<char>(c + 32);
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace reVoziz::pagemodel
