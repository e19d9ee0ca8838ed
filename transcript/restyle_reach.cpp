#include "transcript/restyle_reach.h"

#include <algorithm>
#include <array>

#include "core/css_cleaning.h"

namespace reVoziz {
namespace {

bool onlyPaints(std::string_view property) {
  static constexpr auto kNames = std::to_array<std::string_view>(
      {"color", "opacity", "visibility", "cursor", "caret-color", "accent-color", "box-shadow", "text-shadow",
       "background", "outline", "text-decoration", "border-color"});
  static constexpr auto kFamilies = std::to_array<std::string_view>(
      {"background-", "outline-", "text-decoration-", "scroll-padding", "scroll-margin"});
  const auto startsWith = [&](std::string_view prefix) { return property.starts_with(prefix); };
  return std::find(kNames.begin(), kNames.end(), property) != kNames.end() ||
         std::any_of(kFamilies.begin(), kFamilies.end(), startsWith) ||
         (property.starts_with("border-") && property.ends_with("-color"));
}

RestyleReach reachOfProperty(std::string_view property) {
  if (onlyPaints(property)) return RestyleReach::Paint;
  if (property == "font-weight" || property == "font-style") return RestyleReach::Heights;
  return RestyleReach::Anything;
}

}  // namespace

RestyleReach restyleReachOf(std::string_view look) {
  const auto properties = declaredProperties(look);
  if (!properties) return RestyleReach::Anything;
  RestyleReach reach = RestyleReach::Paint;
  for (const std::string& property : *properties) reach = std::max(reach, reachOfProperty(property));
  return reach;
}

}  // namespace reVoziz
