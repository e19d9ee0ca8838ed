#include "lessonmaking/lesson_pages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "lessonmaking/lesson_assets.h"
#include "lessonmaking/page_search.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/html_serializer.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;
using pagemodel::NodePtr;

const fs::path kSample = REVOZIZ_SAMPLE_LESSON;

std::string sampleText(const char* name) {
  std::ifstream in(kSample / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

NodePtr byName(const NodePtr& root, const char* name) {
  return findElement(root, [&](const NodePtr& e) { return e->attributeOr("name") == name; });
}

NodePtr firstTag(const NodePtr& root, const char* tag) {
  return findElement(root, [&](const NodePtr& e) { return e->tag() == tag; });
}

// The text of an element, with that of its descendants.
std::string textOf(const NodePtr& node) {
  if (!node->isElement()) return node->data();
  std::string text;
  for (const NodePtr& child : node->children()) text += textOf(child);
  return text;
}

std::vector<NodePtr> childElements(const NodePtr& element) {
  std::vector<NodePtr> elements;
  for (const NodePtr& child : element->children()) {
    if (child->isElement()) elements.push_back(child);
  }
  return elements;
}

// A page with what the lesson maker fills left out: what remains must be
// the sample's, markup for markup.
std::string outsideFilledParts(const std::string& page) {
  const NodePtr root = pagemodel::parseDocument(page);
  for (const NodePtr& filled : {firstTag(root, "title"), firstTag(root, "h1"), findById(root, "tq_selLabel1"),
                                findById(root, "tq_selOps1"), findById(root, "iText")}) {
    if (filled) filled->replaceChildren({});
  }
  if (const NodePtr video = findById(root, "mp")) video->removeAttribute("src");
  if (const NodePtr frame = byName(root, "tq_trans")) frame->removeAttribute("src");
  return pagemodel::serializeNode(*root);
}

LessonPlan twoLanguagePlan() {
  LessonPlan plan;
  plan.title = "Luz y sombra";
  plan.videoAddress = "luz.webm";
  plan.transcripts = {{"es", {{0, "Hola"}, {65, "Adiós"}}}, {"en", {{0, "Hello"}}}};
  plan.toc = {{0, "Inicio"}, {65, "Final"}};
  return plan;
}

TEST(LessonPages, MadePagesAreTheSamplesPagesOutsideWhatIsFilled) {
  const LessonPlan plan = twoLanguagePlan();
  const struct {
    const char* sample;
    std::string made;
  } cases[] = {
      {"index.html", lessonPage(plan)},
      {"toc.html", tocPage(plan)},
      {"trans_es.html", transcriptPage(plan.transcripts[0])},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sample);
    EXPECT_TRUE(c.made.starts_with("<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n"));
    EXPECT_TRUE(c.made.ends_with(">\n</body>\n</html>\n"));
    const std::string expected = outsideFilledParts(sampleText(c.sample));
    // The sample's styles, its list's settings and its page script are there.
    for (const char* part : {"<style", "tq_insync", "<script"}) {
      if (sampleText(c.sample).find(part) != std::string::npos) {
        EXPECT_NE(expected.find(part), std::string::npos) << part;
      }
    }
    EXPECT_EQ(outsideFilledParts(c.made), expected);
  }
}

// The lesson page of the sample's own title, video and languages is the
// sample's lesson page.
TEST(LessonPages, TheSamplesOwnContentMakesTheSamplesLessonPage) {
  LessonPlan plan;
  plan.title = "Introducción a la fotografía digital";
  plan.videoAddress = "fotografia_digital.webm";
  plan.transcripts = {{"es", {}}, {"en", {}}};
  EXPECT_EQ(pagemodel::serializeNode(*pagemodel::parseDocument(lessonPage(plan))),
            pagemodel::serializeNode(*pagemodel::parseDocument(sampleText("index.html"))));
}

TEST(LessonPages, TitlesAndAddressesGoInAsText) {
  LessonPlan plan = twoLanguagePlan();
  plan.title = "</title><script>x</script> Tom & \"Jerry\" 'n' <b>";
  plan.videoAddress = "a%20b\"<c>&.webm";
  plan.toc = {{61, "Tom & \"Jerry\" <i>x</i>"}};
  const std::string page = lessonPage(plan);
  EXPECT_NE(page.find("<title>&lt;/title&gt;&lt;script&gt;x&lt;/script&gt; Tom &amp; \"Jerry\" 'n' &lt;b&gt;</title>"),
            std::string::npos);
  const NodePtr root = pagemodel::parseDocument(page);
  for (const char* tag : {"title", "h1"}) {
    const NodePtr element = firstTag(root, tag);
    EXPECT_EQ(textOf(element), plan.title) << tag;
    EXPECT_TRUE(childElements(element).empty()) << tag;
  }
  int scripts = 0;
  root->forEachDescendantElement([&](const NodePtr& e) {
    if (e->tag() == "script") ++scripts;
    return true;
  });
  EXPECT_EQ(scripts, 1);  // the page's own
  EXPECT_EQ(findById(root, "mp")->attributeOr("src"), plan.videoAddress);

  const NodePtr entry = findById(pagemodel::parseDocument(tocPage(plan)), "c1");
  EXPECT_EQ(textOf(entry), plan.toc[0].title);
  EXPECT_TRUE(childElements(entry).empty());
  EXPECT_NE(tocPage(plan).find("tq_start=\"00:01:01\">Tom &amp; \"Jerry\" &lt;i&gt;x&lt;/i&gt;</div>"),
            std::string::npos);
}

TEST(LessonPages, TheMenuOffersEachFurtherLanguageAndTheNotes) {
  const struct {
    std::vector<std::string> languages;
    const char* label;
    const char* shown;  // the transcript frame's page
    std::vector<std::pair<std::string, std::string>> options;  // address, label
  } cases[] = {
      {{"es"}, "Español", "trans_es.html", {{"notes.html", "Notas"}}},
      {{"en", "es", "pt-BR", "xx"},
       "English",
       "trans_en.html",
       {{"trans_es.html", "Español"},
        {"trans_pt-br.html", "Português (Brasil)"},
        {"trans_xx.html", "xx"},
        {"notes.html", "Notas"}}},
      {{"es-MX", "EN-us"},
       "Español (México)",
       "trans_es-mx.html",
       {{"trans_en-us.html", "English (United States)"}, {"notes.html", "Notas"}}},
  };
  const NodePtr sampleOption =
      findElement(pagemodel::parseDocument(sampleText("index.html")),
                  [](const NodePtr& e) { return e->attributeOr("class") == "tq_option"; });
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    LessonPlan plan = twoLanguagePlan();
    plan.transcripts.clear();
    for (const std::string& language : c.languages) plan.transcripts.push_back({language, {{0, "x"}}});
    const NodePtr root = pagemodel::parseDocument(lessonPage(plan));
    EXPECT_EQ(root->attributeOr("lang"), "es");
    EXPECT_EQ(textOf(findById(root, "tq_selLabel1")), c.label);
    EXPECT_EQ(byName(root, "tq_trans")->attributeOr("src"), c.shown);
    const std::vector<NodePtr> options = childElements(findById(root, "tq_selOps1"));
    ASSERT_EQ(options.size(), c.options.size());
    for (std::size_t i = 0; i < options.size(); ++i) {
      EXPECT_EQ(options[i]->attributeOr("tq_href"), c.options[i].first);
      EXPECT_EQ(textOf(options[i]), c.options[i].second);
      // Made like the sample's options: the same attributes, in the same order.
      ASSERT_EQ(options[i]->attributes().size(), sampleOption->attributes().size());
      for (std::size_t a = 0; a < options[i]->attributes().size(); ++a) {
        EXPECT_EQ(options[i]->attributes()[a].name, sampleOption->attributes()[a].name);
      }
      EXPECT_EQ(options[i]->attributeOr("class"), "tq_option");
    }
  }
}

TEST(LessonPages, TheTableOfContentsListsItsEntriesFlat) {
  const struct {
    std::vector<TocEntry> toc;
    std::vector<std::string> entries;  // as written
  } cases[] = {
      {{}, {}},
      {{{0, "Uno"}, {61, "Dos"}, {3725, "Tres"}},
       {"<div class=\"segment\" id=\"c1\" tq_start=\"00:00:00\">Uno</div>",
        "<div class=\"segment\" id=\"c2\" tq_start=\"00:01:01\">Dos</div>",
        "<div class=\"segment\" id=\"c3\" tq_start=\"01:02:05\">Tres</div>"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entries.size());
    LessonPlan plan = twoLanguagePlan();
    plan.toc = c.toc;
    const NodePtr list = findById(pagemodel::parseDocument(tocPage(plan)), "iText");
    std::vector<std::string> entries;
    for (const NodePtr& entry : childElements(list)) entries.push_back(pagemodel::serializeNode(*entry));
    EXPECT_EQ(entries, c.entries);
    // One entry a line, indented as in the sample.
    std::string layout;
    for (const std::string& entry : c.entries) layout += "\n    " + entry;
    EXPECT_EQ(pagemodel::serializeChildren(*list), layout + "\n  ");
  }
}

TEST(LessonPages, TranscriptsKeepTheSegmentsMarkupAfterTheirSyncLabels) {
  const struct {
    Segment segment;
    const char* written;
  } cases[] = {
      {{0, "Hola"}, "<div class=\"segment\" tq_start=\"00:00:00\" id=\"s1\"><span class=\"sync\">00:00</span> Hola</div>"},
      {{3599, "<b>safe</b> &amp; <span class=\"speaker\">Ana:</span> sí"},
       "<div class=\"segment\" tq_start=\"00:59:59\" id=\"s1\"><span class=\"sync\">59:59</span> "
       "<b>safe</b> &amp; <span class=\"speaker\">Ana:</span> sí</div>"},
      {{3725, "<b>safe</b>"},
       "<div class=\"segment\" tq_start=\"01:02:05\" id=\"s1\"><span class=\"sync\">01:02:05</span> <b>safe</b></div>"},
      {{5, "&lt;script&gt;x&lt;/script&gt;<br>dos<ruby>漢<rt>kan</rt></ruby>"},
       "<div class=\"segment\" tq_start=\"00:00:05\" id=\"s1\"><span class=\"sync\">00:05</span> "
       "&lt;script&gt;x&lt;/script&gt;<br>dos<ruby>漢<rt>kan</rt></ruby></div>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    const std::string page = transcriptPage({"pt-BR", {c.segment}});
    EXPECT_NE(page.find(std::string("\n    ") + c.written + "\n  </div>"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(pagemodel::parseDocument(page)->attributeOr("lang"), "pt-BR");
  }
  const std::string numbered = transcriptPage({"en", {{0, "a"}, {1, "b"}, {2, "c"}}});
  for (const char* id : {"id=\"s1\"", "id=\"s2\"", "id=\"s3\""}) {
    EXPECT_NE(numbered.find(id), std::string::npos) << id;
  }
}

TEST(LessonPages, TheVideoCarriesACaptionsTrackPerLanguageTheFirstShownByDefault) {
  const struct {
    std::vector<std::string> languages;
    std::vector<std::string> tracks;  // as written
  } cases[] = {
      {{"es"}, {"<track kind=\"captions\" srclang=\"es\" label=\"Español\" src=\"captions_es.vtt\" default=\"\">"}},
      {{"EN-us", "pt-BR", "xx"},
       {"<track kind=\"captions\" srclang=\"EN-us\" label=\"English (United States)\" src=\"captions_en-us.vtt\" default=\"\">",
        "<track kind=\"captions\" srclang=\"pt-BR\" label=\"Português (Brasil)\" src=\"captions_pt-br.vtt\">",
        "<track kind=\"captions\" srclang=\"xx\" label=\"xx\" src=\"captions_xx.vtt\">"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.languages.front());
    LessonPlan plan = twoLanguagePlan();
    plan.transcripts.clear();
    for (const std::string& language : c.languages) plan.transcripts.push_back({language, {{0, "x"}}});
    std::vector<std::string> tracks;
    for (const NodePtr& track : childElements(findById(pagemodel::parseDocument(lessonPage(plan)), "mp"))) {
      tracks.push_back(pagemodel::serializeNode(*track));
    }
    EXPECT_EQ(tracks, c.tracks);
  }
}

// The interface speaks the lesson's interface language, the lists and
// transcripts their own; the lesson's own words are never translated, even
// where they read like the interface's.
TEST(LessonPages, EachPageSpeaksItsLanguageAndTheLessonsWordsStayAsTheyAre) {
  LessonPlan plan;
  plan.title = "Notas";
  plan.videoAddress = "v.webm";
  plan.transcripts = {{"pt-BR", {{0, "Índice"}}}, {"es", {{0, "Sí"}}}};
  plan.toc = {{0, "Transcripción"}};
  plan.interfaceLanguage = "en";
  const struct {
    std::string name;
    std::string page;
    const char* lang;
    std::vector<const char*> parts;  // in the page as written
  } cases[] = {
      {"index.html", lessonPage(plan), "en",
       {"<title>Notas</title>", "<h1>Notas</h1>", "alt=\"Full view\" title=\"Video, contents and transcript\"",
        "Transcript:\n", "tq_href=\"notes.html\">Notes</div>", "tq_href=\"trans_es.html\">Español</div>",
        "label=\"Português (Brasil)\""}},
      {"toc.html", tocPage(plan), "pt-BR", {"<title lang=\"en\">Contents</title>", "Transcripción</div>"}},
      {"trans_pt-br.html", transcriptPage(plan.transcripts[0], "en"), "pt-BR",
       {"<title lang=\"en\">Transcript</title>", "</span> Índice</div>"}},
      {"trans_es.html", transcriptPage(plan.transcripts[1], "en"), "es", {"<title lang=\"en\">Transcript</title>", "</span> Sí</div>"}},
      {"notes.html", fixedPage("notes.html", "en"), "en", {"<title>Notes</title>", "title=\"Bold\" aria-label=\"Bold\"", ">B</span>"}},
      {"checkchanges.html", fixedPage("checkchanges.html", "en"), "en", {">Yes</button>", ">Cancel</button>"}},
      {"toc_head.html", fixedPage("toc_head.html", "en"), "en", {"<h1>Contents</h1>"}},
      {"notes_template.html", fixedPage("notes_template.html", "en"), "en",
       {"<title>Lesson notes</title>", "<!--title--><!--title-->", "<!--notes--><!--notes-->"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(pagemodel::parseDocument(c.page)->attributeOr("lang"), c.lang);
    for (const char* part : c.parts) EXPECT_NE(c.page.find(part), std::string::npos) << part;
  }
}

// In Spanish, the fixed pages are the sample's, markup for markup.
TEST(LessonPages, SpanishFixedPagesAreTheSamples) {
  for (const LessonAsset& asset : lessonAssets()) {
    const std::string name(asset.name);
    if (!name.ends_with(".html")) continue;
    EXPECT_EQ(pagemodel::serializeNode(*pagemodel::parseDocument(fixedPage(name, "es"))),
              pagemodel::serializeNode(*pagemodel::parseDocument(sampleText(name.c_str()))))
        << name;
  }
}

}  // namespace
}  // namespace reVoziz::lessonmaking
