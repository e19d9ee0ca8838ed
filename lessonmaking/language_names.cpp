#include "lessonmaking/language_names.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace reVoziz::lessonmaking {
namespace {

// Lower-case tags and their names. A language alone names the language; a
// language with a region names the region as that language says it. Add rows
// here for more.
struct NamedTag {
  std::string_view tag;
  std::string_view name;
};

constexpr NamedTag kNames[] = {
    {"ca", "Català"},
    {"de", "Deutsch"},
    {"de-at", "Österreich"},
    {"de-ch", "Schweiz"},
    {"de-de", "Deutschland"},
    {"en", "English"},
    {"en-au", "Australia"},
    {"en-ca", "Canada"},
    {"en-gb", "United Kingdom"},
    {"en-ie", "Ireland"},
    {"en-in", "India"},
    {"en-us", "United States"},
    {"es", "Español"},
    {"es-419", "Latinoamérica"},
    {"es-ar", "Argentina"},
    {"es-cl", "Chile"},
    {"es-co", "Colombia"},
    {"es-es", "España"},
    {"es-mx", "México"},
    {"es-pe", "Perú"},
    {"es-us", "Estados Unidos"},
    {"eu", "Euskara"},
    {"fr", "Français"},
    {"fr-be", "Belgique"},
    {"fr-ca", "Canada"},
    {"fr-ch", "Suisse"},
    {"fr-fr", "France"},
    {"gl", "Galego"},
    {"it", "Italiano"},
    {"it-it", "Italia"},
    {"nl", "Nederlands"},
    {"nl-be", "België"},
    {"nl-nl", "Nederland"},
    {"pt", "Português"},
    {"pt-br", "Brasil"},
    {"pt-pt", "Portugal"},
};

std::string_view nameOf(std::string_view tag) {
  for (const NamedTag& named : kNames) {
    if (named.tag == tag) return named.name;
  }
  return {};
}

std::vector<std::string_view> subtags(std::string_view tag) {
  std::vector<std::string_view> parts;
  for (std::size_t at = 0; at <= tag.size();) {
    const std::size_t dash = std::min(tag.find('-', at), tag.size());
    parts.push_back(tag.substr(at, dash - at));
    at = dash + 1;
  }
  return parts;
}

// A region subtag: two letters or three digits.
bool isRegion(std::string_view part) {
  const auto all = [&](auto test) { return std::all_of(part.begin(), part.end(), test); };
  return (part.size() == 2 && all([](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; })) ||
         (part.size() == 3 && all([](char c) { return c >= '0' && c <= '9'; }));
}

std::string upperCase(std::string_view part) {
  std::string upper(part);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return upper;
}

}  // namespace

std::string lowerCaseTag(std::string_view tag) {
  std::string lower(tag);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return lower;
}

std::string languageLabel(std::string_view tag) {
  const std::string lower = lowerCaseTag(tag);
  const std::vector<std::string_view> parts = subtags(lower);
  const std::string_view language = nameOf(parts[0]);
  if (language.empty()) return std::string(tag);
  std::string label(language);
  std::string rest;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string part;
    if (isRegion(parts[i])) {
      const std::string_view region = nameOf(std::string(parts[0]) + '-' + std::string(parts[i]));
      part = region.empty() ? upperCase(parts[i]) : std::string(region);
    } else {
      part = std::string(tag.substr(static_cast<std::size_t>(parts[i].data() - lower.data()), parts[i].size()));
    }
    rest += rest.empty() ? part : ", " + part;
  }
  return rest.empty() ? label : label + " (" + rest + ")";
}

}  // namespace reVoziz::lessonmaking
