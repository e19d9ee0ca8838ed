#include "lessonmaking/lesson_pages.h"

#include <string_view>

#include "core/time_code.h"
#include "lessonmaking/captions_track.h"
#include "lessonmaking/language_names.h"
#include "lessonmaking/page_template.h"
#include "lessonmaking/page_translation.h"
#include "pagemodel/html_parser.h"

namespace reVoziz::lessonmaking {
namespace {

using pagemodel::Node;
using pagemodel::NodePtr;

// The sample's pages the made ones are filled from.
constexpr std::string_view kLessonTemplate = "index.html";
constexpr std::string_view kTocTemplate = "toc.html";
constexpr std::string_view kTranscriptTemplate = "trans_es.html";

constexpr std::string_view kNotesAddress = "notes.html";

// "MM:SS", or "H:MM:SS" from the first hour on, as the sample's sync labels.
std::string syncLabel(std::int32_t seconds) {
  const std::string full = secondsToTime(seconds);
  return seconds < 3600 ? full.substr(3) : full;
}

// "c1", "s12": the id of the entry numbered `number` from 1.
std::string numberedId(char prefix, std::size_t number) {
  std::string id(1, prefix);
  id += std::to_string(number);
  return id;
}

// The transcript menu: one option a further language, made like the sample's
// first option, then the sample's notes option.
void fillLanguageOptions(const PageTemplate& page, const std::vector<Transcript>& transcripts) {
  const NodePtr menu = page.elementById("tq_selOps1");
  const NodePtr model = page.element(menu, "option", byClass("tq_option"));
  const NodePtr notes = page.element(menu, "notes option", byAttribute("tq_href", kNotesAddress));
  std::vector<NodePtr> options;
  for (std::size_t i = 1; i < transcripts.size(); ++i) {
    NodePtr option = model->shallowClone();
    option->setAttribute("tq_href", transcriptFile(transcripts[i].language));
    setText(option, languageLabel(transcripts[i].language));
    options.push_back(std::move(option));
  }
  options.push_back(notes);
  replaceEntries(menu, std::move(options));
}

// The video's captions tracks: one a language, made like the sample's first,
// the first language's shown unless the student picks another.
void fillCaptionsTracks(const PageTemplate& page, const NodePtr& video, const std::vector<Transcript>& transcripts) {
  const NodePtr model = page.element(video, "captions track", byTag("track"));
  std::vector<NodePtr> tracks;
  for (const Transcript& transcript : transcripts) {
    NodePtr track = model->shallowClone();
    track->setAttribute("srclang", transcript.language);
    track->setAttribute("label", languageLabel(transcript.language));
    track->setAttribute("src", captionsTrackFile(transcript.language));
    if (tracks.empty()) {
      track->setAttribute("default", "");
    } else {
      track->removeAttribute("default");
    }
    tracks.push_back(std::move(track));
  }
  replaceEntries(video, std::move(tracks));
}

// A menu option that offers a transcript, named by its language.
ElementMatch languageOption() {
  return [](const NodePtr& e) {
    return byClass("tq_option")(e) && e->attributeOr("tq_href") != kNotesAddress;
  };
}

ElementMatch anyOf(std::vector<ElementMatch> matches) {
  return [matches = std::move(matches)](const NodePtr& e) {
    for (const ElementMatch& match : matches) {
      if (match(e)) return true;
    }
    return false;
  };
}

// The sample's page `name` with its <html lang> set to `pageLanguage` and
// its interface texts in `interfaceLanguage`.
PageTemplate translatedTemplate(std::string_view name, const std::string& pageLanguage,
                                const std::string& interfaceLanguage) {
  PageTemplate page(name);
  page.root()->setAttribute("lang", pageLanguage);
  translatePage(page.root(), lessonContent(name), InterfaceTexts::builtIn(), interfaceLanguage);
  return page;
}

}  // namespace

ElementMatch lessonContent(std::string_view name) {
  if (name == kLessonTemplate) {
    return anyOf({byTag("title"), byTag("h1"), byAttribute("id", "tq_selLabel1"), byAttribute("id", "mp"),
                  languageOption()});
  }
  if (name == kTocTemplate || name == kTranscriptTemplate) return byAttribute("id", "iText");
  return [](const NodePtr&) { return false; };
}

std::string transcriptFile(const std::string& language) { return "trans_" + lowerCaseTag(language) + ".html"; }

std::string lessonPage(const LessonPlan& plan) {
  const PageTemplate page = translatedTemplate(kLessonTemplate, plan.interfaceLanguage, plan.interfaceLanguage);
  const NodePtr& root = page.root();
  const std::string& first = plan.transcripts.front().language;
  setText(page.element(root, "title", byTag("title")), plan.title);
  setText(page.element(root, "h1", byTag("h1")), plan.title);
  const NodePtr video = page.elementById("mp");
  video->setAttribute("src", plan.videoAddress);
  fillCaptionsTracks(page, video, plan.transcripts);
  setText(page.elementById("tq_selLabel1"), languageLabel(first));
  fillLanguageOptions(page, plan.transcripts);
  page.element(root, "transcript frame", byAttribute("name", "tq_trans"))->setAttribute("src", transcriptFile(first));
  return page.text();
}

std::string tocPage(const LessonPlan& plan) {
  // The entries are the first captions language's words.
  const PageTemplate page =
      translatedTemplate(kTocTemplate, plan.transcripts.front().language, plan.interfaceLanguage);
  const NodePtr list = page.elementById("iText");
  const NodePtr model = page.element(list, "entry", byClass("segment"));
  std::vector<NodePtr> entries;
  for (std::size_t i = 0; i < plan.toc.size(); ++i) {
    NodePtr entry = model->shallowClone();
    entry->setAttribute("id", numberedId('c', i + 1));
    entry->setAttribute("tq_start", secondsToTime(plan.toc[i].start));
    setText(entry, plan.toc[i].title);
    entries.push_back(std::move(entry));
  }
  replaceEntries(list, std::move(entries));
  return page.text();
}

std::string transcriptPage(const Transcript& transcript, const std::string& interfaceLanguage) {
  const PageTemplate page = translatedTemplate(kTranscriptTemplate, transcript.language, interfaceLanguage);
  const NodePtr list = page.elementById("iText");
  const NodePtr model = page.element(list, "segment", byClass("segment"));
  const NodePtr label = page.element(model, "sync label", byClass("sync"));
  std::vector<NodePtr> segments;
  for (std::size_t i = 0; i < transcript.segments.size(); ++i) {
    const Segment& source = transcript.segments[i];
    NodePtr segment = model->shallowClone();
    segment->setAttribute("tq_start", secondsToTime(source.start));
    segment->setAttribute("id", numberedId('s', i + 1));
    NodePtr sync = label->shallowClone();
    setText(sync, syncLabel(source.start));
    segment->appendChild(std::move(sync));
    segment->appendChild(Node::makeText(" "));
    for (NodePtr& node : pagemodel::parseFragment(source.html, segment->tag())) segment->appendChild(std::move(node));
    segments.push_back(std::move(segment));
  }
  replaceEntries(list, std::move(segments));
  return page.text();
}

std::string fixedPage(std::string_view name, const std::string& interfaceLanguage) {
  return translatedTemplate(name, interfaceLanguage, interfaceLanguage).text();
}

}  // namespace reVoziz::lessonmaking
