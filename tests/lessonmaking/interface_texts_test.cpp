#include "lessonmaking/interface_texts.h"

#include <gtest/gtest.h>

#include <set>

#include "core/error.h"
#include "lessonmaking/lesson_assets.h"
#include "lessonmaking/lesson_pages.h"
#include "lessonmaking/page_translation.h"

namespace reVoziz::lessonmaking {
namespace {

// Every page the maker writes from the sample: the filled ones and the fixed ones.
std::vector<std::string> samplePages() {
  std::vector<std::string> pages;
  for (const auto list : {lessonPageTemplates(), lessonAssets()}) {
    for (const LessonAsset& asset : list) {
      if (asset.name.ends_with(".html")) pages.emplace_back(asset.name);
    }
  }
  return pages;
}

// Pages' texts are added in Spanish first: this lists each one that a
// language of the table lacks, so that a translator knows what to add.
TEST(InterfaceTexts, EveryTextOfTheSamplesPagesIsInEveryLanguage) {
  const InterfaceTexts& texts = InterfaceTexts::builtIn();
  std::set<std::string> missing;
  std::size_t found = 0;
  for (const std::string& name : samplePages()) {
    const PageTemplate page(name);
    forEachInterfaceText(page.root(), lessonContent(name), [&](const std::string& text, const InterfaceTextPlace&) {
      ++found;
      for (const std::string& language : texts.languages()) {
        if (!texts.find(text, language)) missing.insert(language + "\t\"" + interfaceKey(text) + "\"  (" + name + ")");
      }
      return std::optional<std::string>();
    });
  }
  EXPECT_GT(found, 40u);
  std::string list;
  for (const std::string& line : missing) list += "\n  " + line;
  EXPECT_TRUE(missing.empty()) << "interface_texts.tsv lacks these texts:" << list;
}

TEST(InterfaceTexts, ATableIsReadByColumnAndWhiteSpaceIsNotPartOfAText) {
  const InterfaceTexts texts("# a comment\r\nes\tEN\tpt-BR\r\n\nSí\tYes\tSim\nVista  completa\t Full view \nSolo\t\tSó\n",
                             "t.tsv");
  EXPECT_EQ(texts.languages(), (std::vector<std::string>{"es", "en", "pt-br"}));
  const struct {
    const char* spanish;
    const char* language;
    std::optional<std::string> found;
  } cases[] = {
      {"Sí", "en", "Yes"},
      {"Sí", "PT-br", "Sim"},
      {"\n  Vista\n completa ", "en", "Full view"},
      {"Vista completa", "pt-br", std::nullopt},  // a row shorter than the languages
      {"Solo", "en", std::nullopt},               // an empty cell
      {"Solo", "pt-br", "Só"},
      {"No hay", "en", std::nullopt},
      {"No  hay", "es", "No hay"},  // Spanish is the key itself
      {"Sí", "fr", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(texts.find(c.spanish, c.language), c.found) << c.spanish << " in " << c.language;
  }
}

TEST(InterfaceTexts, AMalformedTableNamesItsLine) {
  const struct {
    const char* table;
    const char* message;
  } cases[] = {
      {"", "t.tsv: no languages"},
      {"# only\n", "t.tsv: no languages"},
      {"en\tes\n", "t.tsv:1: the first column must be es"},
      {"es\ten\tEN\n", "t.tsv:1: the first line names each language once, the source language first"},
      {"es\t\ten\n", "t.tsv:1: the first line names each language once, the source language first"},
      {"es\ten\nSí\tYes\tOui\n", "t.tsv:2: more texts than languages"},
      {"es\ten\n\n\tYes\n", "t.tsv:3: a row without its Spanish text"},
  };
  for (const auto& c : cases) {
    try {
      InterfaceTexts texts(c.table, "t.tsv");
      ADD_FAILURE() << "read: " << c.table;
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::InvalidArgument);
      EXPECT_EQ(std::string(e.what()), c.message) << c.table;
    }
  }
}

TEST(InterfaceTexts, TheInterfaceLanguageIsTheAskedOneElseTheFirstCaptionsOnesElseSpanish) {
  const InterfaceTexts texts("es\ten\tpt-br\n", "t.tsv");
  const struct {
    std::optional<std::string> asked;
    const char* captions;
    const char* chosen;  // or the error's message
  } cases[] = {
      {std::nullopt, "en", "en"},
      {std::nullopt, "EN-us", "en"},
      {std::nullopt, "es-MX", "es"},
      {std::nullopt, "fr", "es"},
      {std::nullopt, "pt-BR", "es"},  // the primary subtag decides
      {"en", "fr", "en"},
      {"En-GB", "es", "en"},
      {"pt-BR", "en", "pt-br"},
      {"es", "en", "es"},
      {"fr", "en", "--lang: the lesson maker has no interface texts in \"fr\"; it knows es, en, pt-br"},
      {"", "en", "--lang: the lesson maker has no interface texts in \"\"; it knows es, en, pt-br"},
  };
  for (const auto& c : cases) {
    std::string chosen;
    try {
      chosen = interfaceLanguageFor(c.asked, c.captions, texts);
    } catch (const Error& e) {
      chosen = e.what();
    }
    EXPECT_EQ(chosen, c.chosen) << c.asked.value_or("(none)") << " " << c.captions;
  }
}

}  // namespace
}  // namespace reVoziz::lessonmaking
