#pragma once
// The texts of a lesson's interface in every language the lesson maker knows:
// the table lessonmaking/interface_texts.tsv, built in. Each row holds one
// text as the sample lesson's pages say it in Spanish, then the same text in
// each further language; the first line names the languages.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reVoziz::lessonmaking {

// The language of the sample's pages, which keys the table.
inline constexpr std::string_view kSourceLanguage = "es";

// A text as the table keys it: white space runs made one space, none around.
std::string interfaceKey(std::string_view text);

// Whether a page's text is one a translator must give: it holds a letter
// (symbols such as "▾" or "+" read the same in every language).
bool isInterfaceText(std::string_view text);

class InterfaceTexts {
 public:
  // `table` as interface_texts.tsv holds it: lines of fields separated by
  // tabs, lines starting with "#" and blank lines aside. A line with more
  // fields than languages, or a language named twice, throws Error naming
  // `file` and the line.
  InterfaceTexts(std::string_view table, std::string_view file);

  // The built-in table.
  static const InterfaceTexts& builtIn();

  // The languages in lower case, the source language first.
  const std::vector<std::string>& languages() const { return languages_; }
  bool has(std::string_view language) const;

  // The text in `language`, keyed by its Spanish text; none where the table
  // lacks the row or leaves the cell empty. Spanish gives the key itself.
  std::optional<std::string> find(std::string_view spanish, std::string_view language) const;

 private:
  std::vector<std::string> languages_;
  std::vector<std::vector<std::string>> rows_;  // each as long as languages_
};

// The language of a new lesson's interface: `asked` where the table has it
// (its primary subtag will do: "en-GB" asks for "en"), else the primary subtag
// of the first captions language where the table has it, else Spanish. An
// `asked` the table lacks throws Error(InvalidArgument) listing the known ones.
std::string interfaceLanguageFor(const std::optional<std::string>& asked, std::string_view firstCaptions,
                                 const InterfaceTexts& texts);

}  // namespace reVoziz::lessonmaking
