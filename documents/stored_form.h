#pragma once
// The stored form of notes pages: single-byte Windows-1252 text, as the
// format has always been stored on Windows, so that files from both sides stay
// readable. What Windows-1252 cannot hold is written as a decimal character
// reference, so nothing is lost.

#include <string>
#include <string_view>

#include "core/platform.h"

namespace reVoziz {

// UTF-8 text to stored bytes. A character outside Windows-1252 becomes "&#N;";
// an "&" that would otherwise read back as such a reference becomes "&#38;".
std::string toStoredForm(std::string_view text);

// Stored bytes to UTF-8 text. Only references the writer produces are turned
// back; any other, such as "&#233;", is left as it stands.
std::string fromStoredForm(std::string_view bytes);

// The notes page stored in the file at `path`, read whole.
std::string readStoredPage(FileSystem& files, std::string_view path);

// Replaces the file at `path` with `page` in its stored form; a failure leaves
// the old file as it was.
void writeStoredPage(FileSystem& files, std::string_view path, std::string_view page);

}  // namespace reVoziz
