#include "captions/caption_text.h"

#include <gtest/gtest.h>

namespace reVoziz::captions {
namespace {

using namespace std::string_literals;

struct Case {
  std::string bytes;
  TextEncoding encoding;
  std::string text;
  std::vector<int> warningLines;  // one warning on each, in order
  const char* warning;            // what each warning says, in part
};

TEST(CaptionText, EncodingsLineEndsAndReplacements) {
  const std::vector<Case> cases = {
      {"\xEF\xBB\xBFhola\r\nse\xC3\xB1or\rfin\n", TextEncoding::Detect, "hola\nseñor\nfin\n", {}, ""},
      {"caf\xC3\xA9 \xEF\xBF\xBD as written", TextEncoding::Detect, "café \xEF\xBF\xBD as written", {}, ""},
      // Windows-1252, guessed: the warning stands on the first byte that is not UTF-8.
      {"1\r\n\x93Ma\xF1" "ana\x85\x94\r\n\xBFS\xED?", TextEncoding::Detect, "1\n“Mañana…”\n¿Sí?", {2},
       "read as Windows-1252"},
      {"\x81\x80", TextEncoding::Windows1252, "\xC2\x81€", {}, ""},
      {"s\xC3\xAD", TextEncoding::Windows1252, "sÃ­", {}, ""},
      {"ok\n\xFF" "a\xC3\n\xE2\x82", TextEncoding::Utf8, "ok\n\xEF\xBF\xBD" "a\xEF\xBF\xBD\n\xEF\xBF\xBD\xEF\xBF\xBD",
       {2, 3}, "not UTF-8 replaced by U+FFFD"},
      // A UTF-8 byte-order mark says UTF-8, so bad bytes behind it are replaced, not guessed at.
      {"\xEF\xBB\xBFx\xFF", TextEncoding::Detect, "x\xEF\xBF\xBD", {1}, "replaced by U+FFFD"},
      {"\xFF\xFEh\0\xED\0\r\0\n\0<\xD8\xAC\xDF"s, TextEncoding::Detect, "hí\n🎬", {}, ""},
      {"\xFE\xFF\0h\0\xED\0\n\xD8<\xDF\xAC"s, TextEncoding::Detect, "hí\n🎬", {}, ""},
      {"h\0i\0"s, TextEncoding::Utf16Le, "hi", {}, ""},
      {"\xFF\xFE" "a\0\n\0\x00\xD8" "b\0"s, TextEncoding::Detect, "a\n\xEF\xBF\xBD" "b", {2}, "lone UTF-16 surrogate"},
      {"\xFE\xFF\0a\0"s, TextEncoding::Detect, "a\xEF\xBF\xBD", {1}, "half a UTF-16 character"},
      {"a\nb\0c\0\nd\0"s, TextEncoding::Detect, "a\nb\xEF\xBF\xBD" "c\xEF\xBF\xBD\nd\xEF\xBF\xBD", {2, 3},
       "NUL character replaced by U+FFFD"},
  };
  for (const Case& c : cases) {
    const CaptionText decoded = decodeCaptionText(c.bytes, c.encoding);
    EXPECT_EQ(decoded.text, c.text) << c.bytes;
    ASSERT_EQ(decoded.warnings.size(), c.warningLines.size()) << c.bytes;
    for (std::size_t i = 0; i < c.warningLines.size(); ++i) {
      EXPECT_EQ(decoded.warnings[i].line, c.warningLines[i]) << c.bytes;
      EXPECT_NE(decoded.warnings[i].message.find(c.warning), std::string::npos) << decoded.warnings[i].message;
    }
  }
}

TEST(CaptionText, EncodingNames) {
  EXPECT_EQ(textEncodingNamed("utf-8"), TextEncoding::Utf8);
  EXPECT_EQ(textEncodingNamed("UTF-16LE"), TextEncoding::Utf16Le);
  EXPECT_EQ(textEncodingNamed("utf-16be"), TextEncoding::Utf16Be);
  EXPECT_EQ(textEncodingNamed("Windows-1252"), TextEncoding::Windows1252);
  for (const char* name : {"", "utf8", "latin1", "utf-16", "detect"}) {
    EXPECT_EQ(textEncodingNamed(name), std::nullopt) << name;
  }
}

}  // namespace
}  // namespace reVoziz::captions
