#include "control/text.h"

#include <gtest/gtest.h>

#include <utility>

namespace reVoziz {
namespace {

using TextCase = std::pair<const char*, const char*>;

TEST(LowerCase, MapsAccentedAndNonLatinCapitals) {
  const TextCase cases[] = {
      {"ÍNDICE", "índice"},      {"Single", "single"},     {"ÀÉÎÕÜÇÑ", "àéîõüçñ"},
      {"ŁÓDŹ", "łódź"},          {"ĀĒĪŌŪ", "āēīōū"},       {"ΑΒΓΣ", "αβγσ"},
      {"ЁЖЯ", "ёжя"},            {"Ÿ", "ÿ"},
      // Not capitals: unchanged.
      {"×ß÷", "×ß÷"},            {"€UR", "€ur"},           {"tq_syncTag", "tq_synctag"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(lowerCase(in), out) << in;
}

TEST(LowerCase, PassesMalformedBytesThroughUnchanged) {
  // An overlong encoding is not a letter: it must not turn into one ("\xC1\x81" is no "A").
  const TextCase cases[] = {
      {"\xC1\x81", "\xC1\x81"}, {"\xC0\x80x", "\xC0\x80x"}, {"A\xC3", "a\xC3"}, {"\xC3X", "\xC3x"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(lowerCase(in), out);
}

TEST(TrimSpaces, RemovesOnlySpacesAtBothEnds) {
  const TextCase cases[] = {
      {"  a b  ", "a b"},       {"", ""},           {"   ", ""},
      {"\ta\t", "\ta\t"},       {" \n x \n ", "\n x \n"},
      {"\r\nx", "\r\nx"},       {"\xC2\xA0x ", "\xC2\xA0x"},  // no-break space stays
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(trimSpaces(in), out) << '"' << in << '"';
}

}  // namespace
}  // namespace reVoziz
