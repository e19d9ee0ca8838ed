#pragma once
// The lists the tick marks, each found through its frame: the window's
// document, the frame's window by name, its document, and the list by id.
// What was found is kept while the host's change stamps of both documents
// stay put, so an unchanged tick does not look it up again.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dom.h"
#include "core/platform.h"

namespace reVoziz {

class TickLists {
 public:
  explicit TickLists(Platform& platform) : platform_(platform) {}

  struct List {
    Element element;
    // The stamp of its document, taken after everything else was read.
    std::optional<std::uint64_t> stamp;
    // That document, and the stamp of the window's document the lookup relied on.
    Document document;
    std::optional<std::uint64_t> windowStamp;
  };
  // The element "iText" in the document of the frame `frameName`.
  List list(const Document& windowDocument, std::string_view frameName);
  // The frame document's stamp moved from `before` to `after` by writes that
  // change no lookup: the list found stays found.
  void restamp(std::string_view frameName, std::uint64_t before, std::uint64_t after);
  // After the control was started on another window.
  void forget() { found_.clear(); }

 private:
  struct Found {
    std::string frameName;
    Document frameDocument;
    Element list;
    std::uint64_t windowStamp;
    std::uint64_t frameStamp;
  };

  Platform& platform_;
  std::vector<Found> found_;
};

}  // namespace reVoziz
