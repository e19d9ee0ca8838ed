#include "lessonmaking/lesson_pages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "pagemodel/html_parser.h"
#include "pagemodel/html_serializer.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;
using pagemodel::NodePtr;

const fs::path kSample = REVOZIZ_SAMPLE_LESSON;

NodePtr sampleRoot(const char* name) {
  std::ifstream in(kSample / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return pagemodel::parseDocument(text.str());
}

// The markup of the first element matching, or "" when there is none.
std::string markupOf(const NodePtr& root, const std::function<bool(const NodePtr&)>& match) {
  std::string found;
  root->forEachDescendantElement([&](const NodePtr& e) {
    if (match(e)) found = pagemodel::serializeNode(*e);
    return found.empty();
  });
  return found;
}

using Match = std::function<bool(const NodePtr&)>;

Match byId(const char* id) {
  return [id](const NodePtr& e) { return e->attributeOr("id") == id; };
}
Match byTag(const char* tag) {
  return [tag](const NodePtr& e) { return e->tag() == tag; };
}

// The parts of the sample's pages that a made lesson shares, so that a
// change to the sample shows here until the lesson maker follows it.
TEST(LessonPages, MadePagesFollowTheSampleLesson) {
  LessonPlan plan;
  plan.title = "Introducción a la fotografía digital";
  plan.videoAddress = "fotografia_digital.webm";
  plan.transcripts = {{"es", {{0, "Hola"}}}, {"en", {{0, "Hello"}}}};
  plan.toc = {{0, "Presentación"}};
  const NodePtr made = pagemodel::parseDocument(lessonPage(plan));
  const NodePtr sample = sampleRoot("index.html");
  for (const Match& part : {byId("toolbar"), byId("video"), byId("toc"), byId("tq_sel"), byTag("style"),
                           byTag("script"), byTag("title"), byTag("h1")}) {
    const std::string expected = markupOf(sample, part);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(markupOf(made, part), expected);
  }
  const NodePtr transcript = pagemodel::parseDocument(transcriptPage(plan.transcripts[1]));
  const NodePtr sampleTranscript = sampleRoot("trans_en.html");
  EXPECT_EQ(markupOf(transcript, byId("tq_style")), markupOf(sampleTranscript, byId("tq_style")));
  const auto container = [](const NodePtr& root) {
    std::string markup = markupOf(root, byId("iText"));
    return markup.substr(0, markup.find('>') + 1);
  };
  EXPECT_EQ(container(transcript), container(sampleTranscript));
  EXPECT_EQ(container(pagemodel::parseDocument(tocPage(plan))), container(sampleRoot("toc.html")));
}

TEST(LessonPages, FileNamesAndTextAreEscaped) {
  LessonPlan plan;
  plan.title = "</title><script>x</script>";
  plan.videoAddress = "a%20b.webm";
  plan.transcripts = {{"en", {{3725, "<b>safe</b>"}}}};
  plan.toc = {{61, "Tom & \"Jerry\""}};
  const std::string page = lessonPage(plan);
  EXPECT_NE(page.find("<title>&lt;/title&gt;&lt;script&gt;x&lt;/script&gt;</title>"), std::string::npos);
  EXPECT_NE(page.find("src=\"a%20b.webm\""), std::string::npos);
  EXPECT_NE(tocPage(plan).find("tq_start=\"00:01:01\">Tom &amp; &quot;Jerry&quot;</div>"), std::string::npos);
  EXPECT_NE(transcriptPage(plan.transcripts[0])
                .find("tq_start=\"01:02:05\" id=\"s1\"><span class=\"sync\">01:02:05</span> <b>safe</b></div>"),
            std::string::npos);
}

}  // namespace
}  // namespace reVoziz::lessonmaking
