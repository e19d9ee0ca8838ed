#include "documents/stored_form.h"

#include <gtest/gtest.h>

#include <string>

namespace reVoziz {
namespace {

struct StoredCase {
  std::string text;    // UTF-8
  std::string stored;  // Windows-1252 bytes
};

class StoredFormCases : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredFormCases, WritesAndReadsBack) {
  EXPECT_EQ(toStoredForm(GetParam().text), GetParam().stored);
  EXPECT_EQ(fromStoredForm(GetParam().stored), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, StoredFormCases,
    ::testing::Values(
        StoredCase{"", ""}, StoredCase{"<p>plain</p>", "<p>plain</p>"},
        StoredCase{"ñ", "\xF1"}, StoredCase{"€", "\x80"}, StoredCase{"é ÿ \u00A0", "\xE9 \xFF \xA0"},
        StoredCase{"‚ƒ„…†‡ˆ‰Š‹ŒŽ", "\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"},
        StoredCase{"‘’“”•–—˜™š›œžŸ", "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"},
        // The five bytes Windows-1252 leaves undefined are the C1 controls of that number.
        StoredCase{"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
        // Characters it cannot hold, including the other C1 controls, become references.
        StoredCase{"日本", "&#26085;&#26412;"}, StoredCase{"😀", "&#128512;"},
        StoredCase{"\u0080\u009F", "&#128;&#159;"}, StoredCase{"Ā", "&#256;"},
        StoredCase{std::string("a\0b", 3), std::string("a\0b", 3)},
        // An "&" that would read back as a reference is written as one itself.
        StoredCase{"&#26085;", "&#38;#26085;"}, StoredCase{"&#38;", "&#38;#38;"},
        StoredCase{"&amp; &#233; &#x65E5; &#026085; &#", "&amp; &#233; &#x65E5; &#026085; &#"}));

TEST(StoredForm, ReadsOnlyReferencesTheWriterProduces) {
  // Characters Windows-1252 holds are never written as references, so another
  // program's "&#233;" stays markup; so do hexadecimal, zero-padded, unfinished,
  // surrogate and out-of-range references.
  EXPECT_EQ(fromStoredForm("&#233;&#x65E5;&#026085;&#26085&#55357;&#1114112;&#99999999;"),
            "&#233;&#x65E5;&#026085;&#26085&#55357;&#1114112;&#99999999;");
  EXPECT_EQ(fromStoredForm("&#1114111;&#65;&#38;"), "\U0010FFFF&#65;&");
}

TEST(StoredForm, EveryByteReadsBackToTheSameByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(toStoredForm(fromStoredForm(all)), all);
}

TEST(StoredForm, MalformedUtf8IsStoredAsTheReplacementCharacter) {
  EXPECT_EQ(toStoredForm("a\xC3"), "a&#65533;");
  EXPECT_EQ(toStoredForm("\xC0\xAF"), "&#65533;&#65533;");  // overlong "/"
  EXPECT_EQ(toStoredForm("\xED\xA0\x80"), "&#65533;&#65533;&#65533;");  // a surrogate
}

TEST(StoredForm, MixedTextRoundTrips) {
  const std::string text = "<p>Año ñandú: 5 € — 日本 😀 &amp; &#26085;</p>";
  EXPECT_EQ(fromStoredForm(toStoredForm(text)), text);
}

}  // namespace
}  // namespace reVoziz
