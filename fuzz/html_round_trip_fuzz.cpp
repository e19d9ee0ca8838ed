// The page model's HTML parsing and serialising, as loading a page and
// innerHTML use them: any bytes parse without a crash, and serialising,
// parsing and serialising again settles on a fixed point within a few rounds.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/html_serializer.h"

namespace {

using namespace reVoziz::pagemodel;
using reVoziz::fuzz::require;

std::string documentRound(std::string_view html) { return serializeNode(*parseDocument(html)); }

std::string fragmentRound(std::string_view html) {
  std::string out;
  for (const NodePtr& node : parseFragment(html, "div")) out += serializeNode(*node);
  return out;
}

// The markup reached after `round` settles, which must happen within a few
// rounds: misnested markup may need a second pass to be tidied.
void requireFixedPoint(std::string (*round)(std::string_view), std::string_view input,
                       std::string_view what) {
  std::string current = round(input);
  for (int i = 0; i < 4; ++i) {
    std::string next = round(current);
    if (next == current) return;
    current = std::move(next);
  }
  reVoziz::fuzz::fail(std::string(what) + " reaches no fixed point; last: " + current, input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  requireFixedPoint(documentRound, input, "a document");
  requireFixedPoint(fragmentRound, input, "a fragment");
  return 0;
}
