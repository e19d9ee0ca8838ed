// What a look can change of the list's boxes, by the properties it declares.

#include <gtest/gtest.h>

#include "transcript/restyle_reach.h"

namespace reVoziz {
namespace {

TEST(RestyleReach, TakesTheWidestReachOfTheDeclaredProperties) {
  struct Case {
    const char* look;
    RestyleReach reach;
  };
  const Case cases[] = {
      {"", RestyleReach::Paint},
      {"background-color: rgb(255, 255, 221)", RestyleReach::Paint},
      {"COLOR: Red; Outline: 2px solid blue; text-decoration-line: underline", RestyleReach::Paint},
      {"border-left-color: red; box-shadow: 0 0 2px black; scroll-margin-top: 3em", RestyleReach::Paint},
      {"font-weight: bold", RestyleReach::Heights},
      {"color: red; font-style: italic", RestyleReach::Heights},
      {"font-size: 2em", RestyleReach::Anything},
      {"color: red; display: none", RestyleReach::Anything},
      {"border: 1px solid red", RestyleReach::Anything},  // a shorthand that sets widths too
      {"border-width: 2px", RestyleReach::Anything},
      {"padding-top: 4px", RestyleReach::Anything},
      {"font-weight: bold; line-height: 3", RestyleReach::Anything},
      {"color: red; }", RestyleReach::Anything},  // unreadable
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.look);
    EXPECT_EQ(restyleReachOf(c.look), c.reach);
  }
}

}  // namespace
}  // namespace reVoziz
