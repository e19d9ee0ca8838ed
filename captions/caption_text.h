#pragma once
// The bytes of a captions file as UTF-8 text with LF line ends, whatever
// encoding and line ends the file was saved with.

#include <optional>
#include <string>
#include <string_view>

#include "captions/caption_warning.h"

namespace reVoziz::captions {

// Detect: a byte-order mark says UTF-8, UTF-16 LE or UTF-16 BE; without one,
// text that is valid UTF-8 is UTF-8 and anything else Windows-1252.
enum class TextEncoding { Detect, Utf8, Utf16Le, Utf16Be, Windows1252 };

// "utf-8", "utf-16le", "utf-16be" or "windows-1252", in any case.
std::optional<TextEncoding> textEncodingNamed(std::string_view name);

struct CaptionText {
  std::string text;  // valid UTF-8, no byte-order mark, lines ended by LF
  CaptionWarnings warnings;
};

// The text of `bytes`. CRLF and lone CR become LF. Where a character has to
// be replaced by U+FFFD (NUL, bytes that are not of the encoding), a warning
// names the line; so does reading a file as Windows-1252 when it was not
// told to.
CaptionText decodeCaptionText(std::string_view bytes, TextEncoding encoding = TextEncoding::Detect);

}  // namespace reVoziz::captions
