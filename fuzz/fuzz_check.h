#pragma once
// A fuzz target reports a broken property by aborting: libFuzzer keeps the
// input as a crash, and the corpus replay fails its test.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace reVoziz::fuzz {

[[noreturn]] inline void fail(std::string_view what, std::string_view input) {
  std::fprintf(stderr, "property broken: %.*s\ninput (%zu bytes): \"", static_cast<int>(what.size()),
               what.data(), input.size());
  for (unsigned char c : input.substr(0, 300)) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      std::fputc(c, stderr);
    } else {
      std::fprintf(stderr, "\\x%02X", c);
    }
  }
  std::fputs(input.size() > 300 ? "\"...\n" : "\"\n", stderr);
  std::abort();
}

inline void require(bool holds, std::string_view what, std::string_view input) {
  if (!holds) fail(what, input);
}

}  // namespace reVoziz::fuzz
