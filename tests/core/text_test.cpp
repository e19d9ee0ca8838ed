#include "core/text.h"

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
      // Beyond the basic blocks: Greek with tonos, Latin Extended-B, Armenian,
      // Latin Extended Additional, full-width forms, Georgian, Deseret (four bytes).
      {"ΆΈ", "άέ"},              {"Ǎ", "ǎ"},               {"ԱԲ", "աբ"},
      {"ḀẞẀ", "ḁßẁ"},            {"ＡＺ", "ａｚ"},          {"Ⴀ", "ⴀ"},
      {"𐐀", "𐐨"},
      // Mappings that change the length of the encoding.
      {"İ", "i"},                {"Ⱥ", "ⱥ"},               {"K", "k"},
      // Not capitals: unchanged.
      {"×ß÷", "×ß÷"},            {"€UR", "€ur"},           {"tq_syncTag", "tq_synctag"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(lowerCase(in), out) << in;
}

TEST(LowerCase, PassesMalformedBytesThroughUnchanged) {
  // An overlong encoding is not a letter: it must not turn into one ("\xC1\x81" is no "A").
  const TextCase cases[] = {
      {"\xC1\x81", "\xC1\x81"}, {"\xC0\x80x", "\xC0\x80x"}, {"A\xC3", "a\xC3"}, {"\xC3X", "\xC3x"},
      // Overlong three- and four-byte forms of "Ā" and "Ａ", a surrogate, a value
      // beyond U+10FFFF and sequences cut short.
      {"\xE0\x84\x80", "\xE0\x84\x80"}, {"\xF0\x8F\xBC\xA1", "\xF0\x8F\xBC\xA1"},
      {"\xED\xA0\x80" "A", "\xED\xA0\x80" "a"}, {"\xF4\x90\x80\x80", "\xF4\x90\x80\x80"},
      {"\xEF\xBC" "A", "\xEF\xBC" "a"}, {"\xF0\x90\x90", "\xF0\x90\x90"}};
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
