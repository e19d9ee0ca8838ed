#include "lessonmaking/lesson_writer.h"

#include <algorithm>
#include <map>

#include "lessonmaking/captions_track.h"
#include "lessonmaking/interface_texts.h"
#include "lessonmaking/lesson_assets.h"
#include "lessonmaking/language_names.h"
#include "lessonmaking/lesson_files.h"
#include "lessonmaking/lesson_pages.h"
#include "core/error.h"
#include "core/time_code.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;

bool isLanguageCode(const std::string& language) {
  if (language.empty() || language.size() > 35) return false;
  for (const char c : language) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    if (!ok) return false;
  }
  return true;
}

void addWarnings(const captions::CaptionWarnings& found, const fs::path& file, std::vector<std::string>& warnings) {
  for (const captions::CaptionWarning& warning : found) {
    warnings.push_back(captions::describeWarning(file.string(), warning));
  }
}

// The captions of `file`, their warnings added to `warnings`.
Captions readCaptionsFile(LessonFiles& files, const fs::path& file, captions::TextEncoding encoding,
                          std::vector<std::string>& warnings) {
  Captions read = captions::readCaptions(files.read(file), file.string(), encoding);
  addWarnings(read.warnings, file, warnings);
  return read;
}

// The video's name in the lesson: a transcoded one is a WebM of the same stem.
fs::path lessonVideoName(const NewLessonOptions& options) {
  return options.transcode ? fs::path(options.video.stem().string() + ".webm") : options.video.filename();
}

// Whether the video's name is that of a file the lesson writes beside it, which
// the copy of the video would replace: "index.html", "captions_en.vtt". Case
// is ignored, as some disks ignore it.
bool takesALessonFileName(const NewLessonOptions& options) {
  const std::string video = lowerCaseTag(lessonVideoName(options).string());
  std::vector<std::string> names = {"index.html", "toc.html"};
  for (const CaptionsSource& source : options.captions) {
    names.push_back(transcriptFile(source.language));
    names.push_back(captionsTrackFile(source.language));
  }
  for (const LessonAsset& asset : lessonAssets()) names.push_back(lowerCaseTag(asset.name));
  return std::find(names.begin(), names.end(), video) != names.end();
}

void checkOptions(LessonFiles& files, const NewLessonOptions& options) {
  if (options.captions.empty()) {
    throw Error(ErrorCode::InvalidArgument, "a lesson needs at least one --captions LANG=FILE");
  }
  std::map<std::string, std::string> languages;  // lower case → as given
  for (const CaptionsSource& source : options.captions) {
    if (!isLanguageCode(source.language)) {
      throw Error(ErrorCode::InvalidArgument,
                  "--captions: the language must be letters, digits and \"-\", not \"" +
                      source.language + "\"");
    }
    // Transcript files are named in lower case: "en" and "EN" would share one.
    const auto [given, fresh] = languages.emplace(lowerCaseTag(source.language), source.language);
    if (!fresh && given->second == source.language) {
      throw Error(ErrorCode::InvalidArgument, "--captions: the language " + source.language +
                                                  " is given twice");
    }
    if (!fresh) {
      throw Error(ErrorCode::InvalidArgument, "--captions: the languages " + given->second + " and " +
                                                  source.language + " differ only in case");
    }
  }
  // An interface language the maker cannot give fails before any file is read.
  interfaceLanguageFor(options.interfaceLanguage, options.captions.front().language, InterfaceTexts::builtIn());
  if (takesALessonFileName(options)) {
    throw Error(ErrorCode::InvalidArgument, options.video.string() +
                                                ": the video has the name of a file of the lesson; rename it");
  }
  if (files.kind(options.video) != PathKind::File) {
    throw Error(ErrorCode::FileNotFound, options.video.string() + ": no such video file");
  }
  if (files.kind(options.outDir) != PathKind::None && !options.force) {
    throw Error(ErrorCode::FileAlreadyExists,
                options.outDir.string() + ": the folder exists; pass --force to write into it");
  }
}

// The plan of the pages, and in `tracks` each transcript's captions track.
LessonPlan planLesson(LessonFiles& files, const NewLessonOptions& options, NewLessonReport& report,
                      std::vector<std::string>& tracks) {
  LessonPlan plan;
  plan.interfaceLanguage =
      interfaceLanguageFor(options.interfaceLanguage, options.captions.front().language, InterfaceTexts::builtIn());
  report.interfaceLanguage = plan.interfaceLanguage;
  plan.title = options.title ? *options.title : options.video.stem().string();
  plan.videoAddress = addressOfFileName(lessonVideoName(options).string());
  std::optional<Captions> firstCaptions;
  for (const CaptionsSource& source : options.captions) {
    Captions captions = readCaptionsFile(files, source.file, options.encoding, report.warnings);
    TranscriptPlan transcript = planTranscript(captions, source.file.string());
    addWarnings(transcript.warnings, source.file, report.warnings);
    report.transcripts.push_back(
        {source.language, source.file, transcript.cuesRead, transcript.cuesDropped, transcript.segments.size()});
    plan.transcripts.push_back({source.language, std::move(transcript.segments)});
    tracks.push_back(captionsTrack(transcript.cues));
    if (!firstCaptions) firstCaptions = std::move(captions);
  }
  if (options.chapters) {
    plan.toc = chapterEntries(readCaptionsFile(files, *options.chapters, options.encoding, report.warnings),
                              options.chapters->string());
  } else {
    plan.toc = tocEntries(*firstCaptions);
  }
  report.chapters = plan.toc.size();
  return plan;
}

// What stands in the way of every student seeing the whole lesson: a video
// the browsers do not all play, and captions or chapters past its end.
void warnAboutVideo(LessonFiles& files, const NewLessonOptions& options, const LessonPlan& plan,
                    std::vector<std::string>& warnings) {
  const std::optional<VideoFacts> facts = files.probeVideo(options.video);
  const std::string video = options.video.string();
  if (!facts) {
    warnings.push_back(video + ": warning: ffprobe is not installed, so the video's format and length are not checked");
    return;
  }
  if (!options.transcode) {
    for (const std::string& reason : unplayableReasons(*facts, options.video)) {
      warnings.push_back(video + ": warning: Chromium and Firefox do not both play it: " + reason +
                         "; --transcode makes a WebM that they do");
    }
  }
  if (!facts->seconds) return;
  const auto pastEnd = [&](const fs::path& file, std::size_t count, const char* one, const char* many) {
    if (count == 0) return;
    warnings.push_back(file.string() + ": warning: " + std::to_string(count) + " " + (count == 1 ? one : many) +
                       " after the video ends (" + secondsToTime(static_cast<std::int32_t>(*facts->seconds)) + ")");
  };
  for (std::size_t i = 0; i < plan.transcripts.size(); ++i) {
    const auto& segments = plan.transcripts[i].segments;
    pastEnd(options.captions[i].file,
            std::count_if(segments.begin(), segments.end(), [&](const Segment& s) { return s.start > *facts->seconds; }),
            "cue starts", "cues start");
  }
  if (options.chapters) {
    pastEnd(*options.chapters,
            std::count_if(plan.toc.begin(), plan.toc.end(), [&](const TocEntry& e) { return e.start > *facts->seconds; }),
            "chapter starts", "chapters start");
  }
}

// The video beside the pages, unless it is already there. Copied or linked
// into place in one step, so a failure leaves any old video as it was.
void placeVideo(LessonFiles& files, const NewLessonOptions& options) {
  const fs::path target = options.outDir / lessonVideoName(options);
  const fs::path video = files.resolved(options.video);
  if (files.kind(target) != PathKind::None && files.resolved(target) == video) {
    if (!options.transcode) return;
    throw Error(ErrorCode::InvalidArgument,
                target.string() + ": --transcode would write over the video it reads; give a video from elsewhere");
  }
  if (options.transcode) {
    files.transcodeVideo(options.video, target, options.transcodeProgress);
  } else if (options.linkVideo) {
    files.link(video, target);
  } else {
    files.copy(options.video, target);
  }
}

}  // namespace

std::string addressOfFileName(const std::string& name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

NewLessonReport writeNewLesson(LessonFiles& files, const NewLessonOptions& options) {
  NewLessonReport report;
  writeNewLesson(files, options, report);
  return report;
}

void writeNewLesson(LessonFiles& files, const NewLessonOptions& options, NewLessonReport& report) {
  checkOptions(files, options);
  std::vector<std::string> tracks;
  const LessonPlan plan = planLesson(files, options, report, tracks);
  warnAboutVideo(files, options, plan, report.warnings);
  files.makeFolders(options.outDir);
  files.write(options.outDir / "index.html", lessonPage(plan));
  files.write(options.outDir / "toc.html", tocPage(plan));
  for (std::size_t i = 0; i < plan.transcripts.size(); ++i) {
    const std::string& language = plan.transcripts[i].language;
    files.write(options.outDir / transcriptFile(language), transcriptPage(plan.transcripts[i], plan.interfaceLanguage));
    files.write(options.outDir / captionsTrackFile(language), tracks[i]);
  }
  for (const LessonAsset& asset : lessonAssets()) {
    const fs::path file = options.outDir / std::string(asset.name);
    if (file.extension() == ".html") {
      files.write(file, fixedPage(asset.name, plan.interfaceLanguage));
    } else {
      files.write(file, std::string_view(reinterpret_cast<const char*>(asset.bytes.data()), asset.bytes.size()));
    }
  }
  placeVideo(files, options);
}

}  // namespace reVoziz::lessonmaking
