#include "core/css_cleaning.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace reVoziz {
namespace {

// The properties a style text sets, read as a browser reads the text.
TEST(DeclaredProperties, ReadsNamesAsABrowserDoesAndRefusesWhatItCannotRead) {
  using Names = std::optional<std::vector<std::string>>;
  const struct {
    const char* css;
    Names names;
  } cases[] = {
      {"", std::vector<std::string>{}},
      {"background-color: rgb(255, 255, 221)", Names({{"background-color"}})},
      {"COLOR:red;;  font-weight : bold ;", Names({{"color", "font-weight"}})},
      {"/* display: none */ color: red", Names({{"color"}})},
      {"content: \"a; display: none\"; color: red", Names({{"content", "color"}})},
      {"\\64isplay: none", Names({{"display"}})},  // an escaped name is still the name
      {"background: url(a;b)", Names({{"background"}})},
      {"color red", std::nullopt},
      {"color: \"red", std::nullopt},
      {"color: red /* display: none", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(declaredProperties(c.css), c.names) << c.css;
}

}  // namespace
}  // namespace reVoziz
