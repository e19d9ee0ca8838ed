#include "core/error.h"
#include "core/markup_cleaning.h"
#include "core/started_flag.h"
#include "core/text.h"
#include "documents/notes_documents.h"
#include "documents/notes_page_ids.h"
#include "documents/template_address.h"

namespace reVoziz {
namespace {

constexpr std::string_view kTitleQuestion =
    "El título en las notas no corresponde al del contenido, desea continuar?";

// Every `slot` in `text` becomes `key`, `content`, `key`. The scan runs over
// `text` only: inserted content is not searched again.
std::string fillSlots(std::string_view text, std::string_view key, std::string_view content) {
  const std::string slot = std::string(key) + std::string(key);
  const std::string filled = std::string(key) + std::string(content) + std::string(key);
  std::string out;
  std::size_t from = 0;
  for (auto at = text.find(slot); at != std::string_view::npos; at = text.find(slot, from)) {
    out.append(text, from, at - from);
    out += filled;
    from = at + slot.size();
  }
  out.append(text, from);
  return out;
}

// The content title: that of the page that shows the lesson content.
std::string contentTitle(const Window& w) { return w.parent().document().title(); }

constexpr std::string_view kTemplateFrame = "notesTemplate";

Error notTheTemplate(std::string_view why) {
  return Error(ErrorCode::InvalidArgument,
               "Nothing was written: the hidden frame " + std::string(kTemplateFrame) + " " + std::string(why));
}

// The markup of the notes template page. A link aimed at the frame may have
// loaded another page into it; composing from that would store a page
// without the notes, so that fails instead.
std::string templateText(const Window& w) {
  const Value src = w.document().element(kTemplateFrame).getAttribute("src");
  const std::string declared = src.isNull() ? std::string() : src.toText();
  const Document shown = w.document().frame(kTemplateFrame).document();
  const std::string address = shown.URL();
  if (!showsDeclaredPage(declared, address)) {
    throw notTheTemplate("shows " + address + " instead of its template page " + declared);
  }
  std::string text = shown.documentElement().outerHTML();
  const std::string slot = std::string(kNotesKey) + std::string(kNotesKey);
  if (text.find(slot) == std::string::npos) {
    throw notTheTemplate("shows " + address + ", which has no place for the notes (" + slot + ")");
  }
  return text;
}

}  // namespace

std::string NotesDocuments::composePage(const Window& w) const {
  return whenStarted([&] { return composeWith(w, w.document().element("notes").innerHTML()); });
}

std::string NotesDocuments::composeWith(const Window& w, std::string_view notes) const {
  const std::string page = fillSlots(templateText(w), kNotesKey, notes);
  return fillSlots(page, kTitleKey, contentTitle(w));
}

std::string NotesDocuments::storedNotes(const Window& w, std::string_view page) const {
  return cleanedMarkup(w.document(), pageExtract(page, kNotesKey), kNotesPageReservedIds);
}

// Positions count UTF-16 code units. On valid UTF-8 a byte search finds the
// same occurrences, since a match can only start at a character boundary, so
// the text between them is the same.
std::string NotesDocuments::pageExtract(std::string_view page, std::string_view key) const {
  return whenStarted([&] {
    const auto first = key.empty() ? std::string_view::npos : page.find(key);
    if (first == std::string_view::npos) return std::string();
    const std::size_t start = first + key.size();
    const std::size_t last = page.rfind(key);
    if (last < start) {
      throw Error(ErrorCode::InvalidArgument,
                  "Invalid procedure call or argument: the key " + std::string(key) +
                      " occurs only once");
    }
    return std::string(page.substr(start, last - start));
  });
}

bool NotesDocuments::checkContent(const Window& w, std::string_view page) const {
  return whenStarted([&] {
    const std::string current = lowerCase(contentTitle(w));
    const std::string stored = lowerCase(pageExtract(page, kTitleKey));
    return stored == current || w.confirm(kTitleQuestion);
  });
}

}  // namespace reVoziz
