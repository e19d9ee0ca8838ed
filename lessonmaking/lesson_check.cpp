#include "lessonmaking/lesson_check.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "lessonmaking/lesson_files.h"
#include "lessonmaking/page_addresses.h"
#include "lessonmaking/video_facts.h"
#include "lessonmaking/page_search.h"
#include "lessonmaking/play_through.h"
#include "core/error.h"
#include "core/time_code.h"
#include "pagemodel/document_model.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/page_loader.h"
#include "pagemodel/window_model.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;
using pagemodel::NodePtr;
using pagemodel::WindowModel;

constexpr std::string_view kListFrames[] = {"tq_toc", "tq_trans"};
constexpr std::string_view kRequiredContainerAttributes[] = {"tq_oldSegment", "tq_current",
                                                             "tq_nonCurrent"};
constexpr std::string_view kImageAttributes[] = {"src", "tq_src_on", "tq_src_off", "tq_src_open",
                                                 "tq_src_close"};
constexpr std::string_view kNotesPageIds[] = {"editbar", "notes", "notesFile", "syncTemplate"};
constexpr std::string_view kSyncTagButtons[] = {"tq_sync", "tq_decrement", "tq_increment"};
constexpr double kPlayPastLastSegment = 5;
constexpr std::string_view kTranscriptFrame = "tq_trans";

// The frame a menu option loads its page into: the tq_selFrame of the menu
// that holds it; empty for an element outside any menu.
std::string menuFrameOf(const NodePtr& option) {
  for (const pagemodel::Node* at = option->parent(); at; at = at->parent()) {
    if (const std::string* frame = at->isElement() ? at->findAttribute("tq_selFrame") : nullptr) return *frame;
  }
  return {};
}

// Whether a file starts as WebVTT does, the only captions format browsers
// read for a track: "WEBVTT" alone or before white space, after any BOM.
bool isWebVtt(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (!text.starts_with("WEBVTT")) return false;
  text.remove_prefix(6);
  return text.empty() || text[0] == ' ' || text[0] == '\t' || text[0] == '\n' || text[0] == '\r';
}

NodePtr bodyOf(const NodePtr& root) {
  return findElement(root, [](const NodePtr& e) { return e->tag() == "body"; });
}

// One to three fields of digits separated by ":", as segments' starts are written.
bool isTimeCode(std::string_view text) {
  text = text.substr(std::min(text.find_first_not_of(' '), text.size()));
  while (text.ends_with(' ')) text.remove_suffix(1);
  int fields = 1;
  bool digit = false;
  for (const char c : text) {
    if (c == ':') {
      if (!digit || ++fields > 3) return false;
      digit = false;
    } else if (c >= '0' && c <= '9') {
      digit = true;
    } else {
      return false;
    }
  }
  return digit;
}

class LessonChecker {
 public:
  LessonChecker(LessonFiles& files, fs::path dir) : files_(files), dir_(std::move(dir)) {}

  LessonCheck run() {
    const fs::path index = dir_ / "index.html";
    const auto text = readText(index);
    if (!text) {
      report(index, 1, "the lesson page cannot be read");
      return {std::move(problems_), std::move(warnings_), std::move(lists_)};
    }
    if (!framesReadable(index, pagemodel::parseDocument(*text))) return {std::move(problems_), std::move(warnings_), std::move(lists_)};
    std::shared_ptr<WindowModel> top;
    try {
      top = pagemodel::loadPage(index, [&](const fs::path& page) { return files_.read(page); });
    } catch (const Error& e) {
      report(index, 1, std::string("the lesson cannot be loaded: ") + e.what());
      return {std::move(problems_), std::move(warnings_), std::move(lists_)};
    }
    checkWindow(*top);
    probeVideo(*top);  // its length, for the lists' checks
    checkListFrames(*top);
    checkVideo(*top);
    checkLinkedPages();
    inPageOrder();
    reportTickFailures(top);
    return {std::move(problems_), std::move(warnings_), std::move(lists_)};
  }

 private:
  bool isFile(const fs::path& path) { return files_.kind(path) == PathKind::File; }

  // The text of a file; none when no file stands there.
  std::optional<std::string> readText(const fs::path& file) {
    if (!isFile(file)) return std::nullopt;
    return files_.read(file);
  }

  void report(const fs::path& file, int line, std::string message) {
    problems_.push_back({file.lexically_normal().string(), line, std::move(message)});
  }
  void report(const fs::path& file, const NodePtr& at, std::string message) {
    report(file, at && at->sourceLine > 0 ? at->sourceLine : 1, std::move(message));
  }
  void warn(const fs::path& file, const NodePtr& at, std::string message) {
    warnings_.push_back(
        {file.lexically_normal().string(), at && at->sourceLine > 0 ? at->sourceLine : 1, std::move(message)});
  }

  // Each page's problems by line, the pages in the order first reported.
  void inPageOrder() {
    std::map<std::string, std::size_t> pageOrder;
    for (const Problem& p : problems_) pageOrder.try_emplace(p.file, pageOrder.size());
    std::stable_sort(problems_.begin(), problems_.end(), [&](const Problem& a, const Problem& b) {
      const std::size_t pa = pageOrder[a.file];
      const std::size_t pb = pageOrder[b.file];
      return pa != pb ? pa < pb : a.line < b.line;
    });
  }

  // The frames of a page and of its frames, before loading: a frame whose
  // page is missing stops the loading.
  bool framesReadable(const fs::path& page, const NodePtr& root) {
    bool readable = true;
    root->forEachDescendantElement([&](const NodePtr& e) {
      if (e->tag() != "iframe" && e->tag() != "frame") return true;
      const std::string src = e->attributeOr("src");
      if (src.empty()) return true;
      const fs::path file = fileOfAddress(page, src);
      const auto text = readText(file);
      if (!text) {
        report(page, e, "the frame \"" + e->attributeOr("name") + "\" shows " + src +
                            ", which does not exist");
        readable = false;
      } else if (checkedPages_.insert(file.lexically_normal()).second) {
        readable = framesReadable(file, pagemodel::parseDocument(*text)) && readable;
      }
      return true;
    });
    return readable;
  }

  void checkWindow(WindowModel& window) {
    const auto& document = window.document();
    checkPage(document->file(), document->root());
    for (const auto& frame : document->frames()) checkWindow(*frame);
  }

  // What every page must hold true: unique ids, files that its images and
  // menus name, menus whose attributes name something.
  void checkPage(const fs::path& file, const NodePtr& root) {
    std::map<std::string, int> ids;
    root->forEachDescendantElement([&](const NodePtr& e) {
      if (const std::string* id = e->findAttribute("id"); id && !id->empty()) {
        const auto [first, fresh] = ids.emplace(*id, e->sourceLine);
        if (!fresh) {
          report(file, e, "duplicate id \"" + *id + "\" (first on line " +
                              std::to_string(first->second) + ")");
        }
      }
      checkImages(file, e);
      if (const std::string* href = e->findAttribute("tq_href")) checkLinkedPage(file, e, *href, menuFrameOf(e));
      return true;
    });
    root->forEachDescendantElement([&](const NodePtr& e) {
      if (const std::string* ops = e->findAttribute("tq_selOps"); ops && !ids.contains(*ops)) {
        report(file, e, "the menu's tq_selOps names \"" + *ops + "\", which no element of the page has as id");
      }
      if (const std::string* label = e->findAttribute("tq_selId"); label && !ids.contains(*label)) {
        report(file, e, "the menu's tq_selId names \"" + *label + "\", which no element of the page has as id");
      }
      if (const std::string* frame = e->findAttribute("tq_selFrame")) {
        const NodePtr target = findElement(root, [&](const NodePtr& f) {
          return (f->tag() == "iframe" || f->tag() == "frame") && f->attributeOr("name") == *frame;
        });
        if (!target) report(file, e, "the menu's tq_selFrame names \"" + *frame + "\", which is no frame of the page");
      }
      return true;
    });
  }

  void checkImages(const fs::path& file, const NodePtr& e) {
    for (std::string_view attribute : kImageAttributes) {
      if (attribute == "src" && e->tag() != "img") continue;
      const std::string* address = e->findAttribute(attribute);
      if (!address || !isLocalAddress(*address)) continue;
      const fs::path image = fileOfAddress(file, *address);
      if (image.empty() || !isFile(image)) {
        report(file, e, "the image " + *address + " (" + std::string(attribute) + ") does not exist");
      }
    }
  }

  void checkLinkedPage(const fs::path& file, const NodePtr& e, const std::string& href, const std::string& frame) {
    if (!isLocalAddress(href)) return;
    const fs::path page = fileOfAddress(file, href);
    if (page.empty() || !isFile(page)) {
      report(file, e, "tq_href names " + href + ", which does not exist");
      return;
    }
    linkedPages_.push_back(page.lexically_normal());
    if (frame == kTranscriptFrame) transcriptFramePages_.insert(page.lexically_normal());
  }

  // The full layout sizes the window by the tq_maxWidth of whatever page the
  // transcript frame shows, the notes page included.
  void checkTranscriptFrameWidth(const fs::path& file, const NodePtr& root) {
    if (!transcriptFramePages_.contains(file.lexically_normal())) return;
    const NodePtr body = bodyOf(root);
    if (!body || !body->findAttribute("tq_maxWidth")) {
      report(file, body, "the body has no tq_maxWidth, which the full layout reads from every page the "
                         "transcript frame shows");
    }
  }

  void checkListFrames(WindowModel& top) {
    const fs::path index = top.document()->file();
    for (std::string_view name : kListFrames) {
      const auto frame = top.frame(name);
      if (!frame) {
        report(index, top.document()->body(), "no frame named \"" + std::string(name) + "\"");
        continue;
      }
      const fs::path file = frame->document()->file();
      if (name == kTranscriptFrame) transcriptFramePages_.insert(file.lexically_normal());
      checkTranscriptFrameWidth(file, frame->document()->root());
      checkListOrNotes(file, frame->document()->root(), name == "tq_toc");
    }
  }

  // A list frame or a menu may show the notes page instead of a list.
  void checkListOrNotes(const fs::path& file, const NodePtr& root, bool contents = false) {
    const bool notes = file.filename() == "notes.html" ||
                       std::any_of(std::begin(kNotesPageIds), std::end(kNotesPageIds),
                                   [&](std::string_view id) { return findById(root, id) != nullptr; });
    if (notes) {
      checkNotesPage(file, root);
    } else {
      checkContainer(file, root, contents);
    }
  }

  void checkContainer(const fs::path& file, const NodePtr& root, bool contents) {
    const NodePtr iText = findById(root, "iText");
    if (!iText) {
      report(file, 1, "no list container: no element has the id \"iText\"");
      return;
    }
    for (std::string_view attribute : kRequiredContainerAttributes) {
      if (!iText->findAttribute(attribute)) {
        report(file, iText, "the list container has no " + std::string(attribute) + " attribute");
      }
    }
    std::int32_t previous = -1;
    int previousLine = 0;
    std::size_t pastEnd = 0;  // segments that start after the video ends
    NodePtr firstPastEnd;
    std::size_t segments = 0;
    iText->forEachDescendantElement([&](const NodePtr& e) {
      if (e->tag() != "div" || e->attributeOr("class") != "segment") return true;
      ++segments;
      const std::string* start = e->findAttribute("tq_start");
      if (!start) {
        report(file, e, "a segment without tq_start");
        return true;
      }
      if (!isTimeCode(*start)) {
        report(file, e, "the segment's tq_start \"" + *start + "\" is not a time code");
        return true;
      }
      std::int32_t seconds = 0;
      try {
        seconds = timeToSeconds(*start);
      } catch (const Error&) {
        report(file, e, "the segment's tq_start \"" + *start + "\" is too large");
        return true;
      }
      if (seconds < previous) {
        report(file, e, "the segment's tq_start " + *start + " goes back before the segment on line " +
                            std::to_string(previousLine));
      }
      if (videoSeconds_ && seconds > *videoSeconds_ && pastEnd++ == 0) firstPastEnd = e;
      previous = seconds;
      previousLine = e->sourceLine;
      lastStart_ = std::max(lastStart_, seconds);
      return true;
    });
    // An empty list shows nothing and marks nothing: a lesson made from captions without cues.
    if (segments == 0) report(file, iText, "the list container holds no segment");
    if (pastEnd > 0) {
      warn(file, firstPastEnd,
           std::to_string(pastEnd) + (pastEnd == 1 ? " segment starts" : " segments start") + " after the video ends (" +
               secondsToTime(static_cast<std::int32_t>(*videoSeconds_)) + ")");
    }
    lists_.push_back({file.lexically_normal().string(), contents, segments});
  }

  // The video element and its address: its src, or its first source's.
  std::pair<NodePtr, std::string> videoOf(WindowModel& top) {
    const NodePtr video = findById(top.document()->root(), "mp");
    if (!video) return {nullptr, ""};
    std::string address = video->attributeOr("src");
    if (address.empty()) {
      if (const NodePtr source = findElement(video, [](const NodePtr& e) { return e->tag() == "source"; })) {
        address = source->attributeOr("src");
      }
    }
    return {video, address};
  }

  void checkVideo(WindowModel& top) {
    const fs::path index = top.document()->file();
    const auto [video, address] = videoOf(top);
    if (!video) {
      report(index, top.document()->body(), "no video: no element has the id \"mp\"");
    } else if (address.empty() && video->tag() == "video") {
      report(index, video, "the video has no src");
    } else if (isLocalAddress(address) && !isFile(fileOfAddress(index, address))) {
      report(index, video, "the video " + address + " does not exist");
    }
    if (video) checkTracks(index, video);
  }

  // A track the browser cannot read shows no captions, and says nothing.
  void checkTracks(const fs::path& index, const NodePtr& video) {
    video->forEachDescendantElement([&](const NodePtr& track) {
      if (track->tag() != "track") return true;
      const std::string address = track->attributeOr("src");
      if (address.empty()) {
        report(index, track, "a captions track without src");
        return true;
      }
      if (!isLocalAddress(address)) return true;
      const fs::path file = fileOfAddress(index, address);
      if (file.empty() || !isFile(file)) {
        report(index, track, "the captions track " + address + " does not exist");
        return true;
      }
      try {
        if (!isWebVtt(files_.read(file))) report(index, track, "the captions track " + address + " is not a WebVTT file");
      } catch (const Error& e) {
        report(index, track, "the captions track " + address + " cannot be read: " + e.what());
      }
      return true;
    });
  }

  void probeVideo(WindowModel& top) {
    const fs::path index = top.document()->file();
    const auto [video, address] = videoOf(top);
    if (!video || !isLocalAddress(address) || !isFile(fileOfAddress(index, address))) return;
    const std::optional<VideoFacts> facts = files_.probeVideo(fileOfAddress(index, address));
    if (!facts) {
      warn(index, video, "ffprobe is not installed, so the video's format and length are not checked");
      return;
    }
    for (const std::string& reason : unplayableReasons(*facts, fileOfAddress(index, address))) {
      warn(index, video, "Chromium and Firefox do not both play the video " + address + ": " + reason);
    }
    videoSeconds_ = facts->seconds;
  }

  // Pages that menus load into frames: transcripts get the list checks,
  // notes pages the notes checks.
  void checkLinkedPages() {
    for (std::size_t i = 0; i < linkedPages_.size(); ++i) {
      const fs::path page = linkedPages_[i];
      if (!checkedPages_.insert(page).second) continue;
      const auto text = readText(page);
      if (!text) continue;
      const NodePtr root = pagemodel::parseDocument(*text);
      checkPage(page, root);
      checkTranscriptFrameWidth(page, root);
      checkListOrNotes(page, root);
    }
  }

  void checkNotesPage(const fs::path& file, const NodePtr& root) {
    for (std::string_view id : kNotesPageIds) {
      if (!findById(root, id)) report(file, 1, "the notes page has no element with the id \"" + std::string(id) + "\"");
    }
    checkSyncTemplate(file, root);
    const NodePtr body = bodyOf(root);
    const std::string* prefix = body ? body->findAttribute("tq_file") : nullptr;
    if (!prefix) {
      report(file, body, "the notes page's body has no tq_file attribute");
    } else if (!isFile(fileOfAddress(file, *prefix + "checkchanges.html"))) {
      report(file, body, "the save-changes page " + *prefix + "checkchanges.html does not exist");
    }
    const NodePtr frame = findElement(root, [](const NodePtr& e) {
      return (e->tag() == "iframe" || e->tag() == "frame") && e->attributeOr("name") == "notesTemplate";
    });
    if (!frame) {
      report(file, 1, "the notes page has no frame named \"notesTemplate\"");
      return;
    }
    const std::string src = frame->attributeOr("src");
    const auto templateText = readText(fileOfAddress(file, src));
    if (!templateText) {
      report(file, frame, "the notes template " + src + " does not exist");
    } else if (templateText->find("<!--notes--><!--notes-->") == std::string::npos ||
               templateText->find("<!--title--><!--title-->") == std::string::npos) {
      report(file, frame, "the notes template " + src + " lacks the empty <!--notes--> or <!--title--> slot");
    }
  }

  void checkSyncTemplate(const fs::path& file, const NodePtr& root) {
    const NodePtr tag = findById(root, "syncTemplate");
    if (!tag) return;
    if (tag->attributeOr("class") != "tq_syncTag") {
      report(file, tag, "the sync-tag template's class must be \"tq_syncTag\"");
    }
    if (const NodePtr notes = findById(root, "notes"); notes && notes->contains(tag.get())) {
      report(file, tag, "the sync-tag template lies inside the notes");
    }
    const NodePtr field = findById(tag, "timeCode");
    if (!field || field->attributeOr("class") != "tq_syncValue") {
      report(file, tag, "the sync-tag template has no field with the id \"timeCode\" and the class \"tq_syncValue\"");
      return;
    }
    for (std::string_view button : kSyncTagButtons) {
      const NodePtr found = findElement(tag, [&](const NodePtr& e) { return e->attributeOr("class") == button; });
      if (!found || !found->parent() || !found->parent()->contains(field.get())) {
        report(file, tag, "the sync-tag template has no \"" + std::string(button) + "\" button beside its time field");
      }
    }
  }

  // Every tick from the start to a little past the last segment.
  void reportTickFailures(const std::shared_ptr<WindowModel>& top) {
    const fs::path index = top->document()->file();
    for (const TickFailure& failure : playThrough(top, lastStart_ + kPlayPastLastSegment, files_.hostFiles())) {
      if (failure.ticks == 0) {
        report(index, 1, "the control cannot start: error " + failure.error);
        continue;
      }
      report(index, 1, "the tick at " + failure.firstAt + " fails: error " + failure.error +
                           (failure.ticks > 1 ? " (" + std::to_string(failure.ticks) + " ticks)" : std::string()));
    }
  }

  LessonFiles& files_;
  fs::path dir_;
  std::vector<Problem> problems_;
  std::vector<Problem> warnings_;
  std::vector<ListCount> lists_;
  std::optional<double> videoSeconds_;  // the video's length, where the media tools tell it
  std::set<fs::path> checkedPages_;
  std::vector<fs::path> linkedPages_;
  std::set<fs::path> transcriptFramePages_;
  std::int32_t lastStart_ = 0;
};

}  // namespace

LessonCheck inspectLesson(LessonFiles& files, const fs::path& lessonDir) {
  return LessonChecker(files, lessonDir).run();
}

std::vector<Problem> checkLesson(LessonFiles& files, const fs::path& lessonDir) {
  return inspectLesson(files, lessonDir).problems;
}

}  // namespace reVoziz::lessonmaking
