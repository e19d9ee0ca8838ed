#include "lessonmaking/interface_texts.h"

#include <algorithm>

#include "core/error.h"
#include "lessonmaking/language_names.h"
#include "lessonmaking/lesson_assets.h"

namespace reVoziz::lessonmaking {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::vector<std::string> fields(std::string_view line) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at <= line.size();) {
    const std::size_t tab = std::min(line.find('\t', at), line.size());
    out.push_back(interfaceKey(line.substr(at, tab - at)));
    at = tab + 1;
  }
  return out;
}

std::string primarySubtag(std::string_view tag) { return lowerCaseTag(tag.substr(0, tag.find('-'))); }

}  // namespace

std::string interfaceKey(std::string_view text) {
  std::string key;
  bool space = false;
  for (const char c : text) {
    if (isSpace(c)) {
      space = !key.empty();
      continue;
    }
    if (space) key += ' ';
    space = false;
    key += c;
  }
  return key;
}

bool isInterfaceText(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

InterfaceTexts::InterfaceTexts(std::string_view table, std::string_view file) {
  int number = 0;
  for (std::size_t at = 0; at < table.size();) {
    const std::size_t end = std::min(table.find('\n', at), table.size());
    std::string_view line = table.substr(at, end - at);
    at = end + 1;
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with('#') || interfaceKey(line).empty()) continue;
    const auto fail = [&](const std::string& why) {
      throw Error(ErrorCode::InvalidArgument, std::string(file) + ':' + std::to_string(number) + ": " + why);
    };
    std::vector<std::string> row = fields(line);
    if (languages_.empty()) {
      for (std::string& language : row) {
        language = lowerCaseTag(language);
        if (language.empty() || std::count(row.begin(), row.end(), language) > 1) {
          fail("the first line names each language once, the source language first");
        }
      }
      if (row.front() != kSourceLanguage) fail("the first column must be " + std::string(kSourceLanguage));
      languages_ = std::move(row);
      continue;
    }
    if (row.size() > languages_.size()) fail("more texts than languages");
    if (row.front().empty()) fail("a row without its Spanish text");
    row.resize(languages_.size());
    rows_.push_back(std::move(row));
  }
  if (languages_.empty()) throw Error(ErrorCode::InvalidArgument, std::string(file) + ": no languages");
}

const InterfaceTexts& InterfaceTexts::builtIn() {
  static const InterfaceTexts texts(interfaceTextTable(), "interface_texts.tsv");
  return texts;
}

bool InterfaceTexts::has(std::string_view language) const {
  return std::find(languages_.begin(), languages_.end(), lowerCaseTag(language)) != languages_.end();
}

std::optional<std::string> InterfaceTexts::find(std::string_view spanish, std::string_view language) const {
  const auto column = std::find(languages_.begin(), languages_.end(), lowerCaseTag(language));
  if (column == languages_.end()) return std::nullopt;
  const std::string key = interfaceKey(spanish);
  if (column == languages_.begin()) return key;
  const auto row = std::find_if(rows_.begin(), rows_.end(), [&](const auto& r) { return r.front() == key; });
  const std::string& text = row == rows_.end() ? std::string() : (*row)[column - languages_.begin()];
  if (text.empty()) return std::nullopt;
  return text;
}

std::string interfaceLanguageFor(const std::optional<std::string>& asked, std::string_view firstCaptions,
                                 const InterfaceTexts& texts) {
  if (asked) {
    for (const std::string& tag : {lowerCaseTag(*asked), primarySubtag(*asked)}) {
      if (texts.has(tag)) return tag;
    }
    std::string known;
    for (const std::string& language : texts.languages()) known += (known.empty() ? "" : ", ") + language;
    throw Error(ErrorCode::InvalidArgument,
                "--lang: the lesson maker has no interface texts in \"" + *asked + "\"; it knows " + known);
  }
  const std::string captions = primarySubtag(firstCaptions);
  return texts.has(captions) ? captions : std::string(kSourceLanguage);
}

}  // namespace reVoziz::lessonmaking
