#include "tools/lesson_command.h"

#include <unistd.h>

#include <iostream>
#include <optional>
#include <stdexcept>

#include "captions/captions_file.h"
#include "captions/cues_json.h"
#include "lessonmaking/lesson_check.h"
#include "lessonmaking/lesson_publish.h"
#include "lessonmaking/lesson_summary.h"
#include "lessonmaking/lesson_writer.h"
#include "lessonmaking/system_lesson_files.h"
#include "core/error.h"
#include "pagemodel/posix_file_system.h"
#include "tools/progress_bar.h"

namespace reVoziz::tools {
namespace {

namespace fs = std::filesystem;

using Args = std::span<const std::string>;

// The value after option `args[i]`, moving `i` onto it.
const std::string& optionValue(Args args, std::size_t& i) {
  if (i + 1 >= args.size()) throw std::invalid_argument(args[i] + " needs a value");
  return args[++i];
}

lessonmaking::CaptionsSource captionsSource(const std::string& value) {
  const auto equals = value.find('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == value.size()) {
    throw std::invalid_argument("--captions wants LANG=FILE, not " + value);
  }
  return {value.substr(0, equals), value.substr(equals + 1)};
}

captions::TextEncoding encodingNamed(const std::string& name) {
  const auto encoding = captions::textEncodingNamed(name);
  if (!encoding) {
    throw std::invalid_argument("--encoding wants utf-8, utf-16le, utf-16be or windows-1252, not " + name);
  }
  return *encoding;
}

lessonmaking::NewLessonOptions parseNew(Args args) {
  lessonmaking::NewLessonOptions options;
  bool outGiven = false;
  bool videoGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--video") {
      options.video = optionValue(args, i);
      videoGiven = true;
    } else if (a == "--captions") {
      options.captions.push_back(captionsSource(optionValue(args, i)));
    } else if (a == "--chapters") {
      options.chapters = optionValue(args, i);
    } else if (a == "--title") {
      options.title = optionValue(args, i);
    } else if (a == "--lang") {
      options.interfaceLanguage = optionValue(args, i);
    } else if (a == "--link-video") {
      options.linkVideo = true;
    } else if (a == "--transcode") {
      options.transcode = true;
    } else if (a == "--force") {
      options.force = true;
    } else if (a == "--encoding") {
      options.encoding = encodingNamed(optionValue(args, i));
    } else if (a.starts_with("--") || outGiven) {
      throw std::invalid_argument("unexpected argument " + a);
    } else {
      options.outDir = a;
      outGiven = true;
    }
  }
  if (!outGiven) throw std::invalid_argument("lesson new needs OUT_DIR");
  if (!videoGiven) throw std::invalid_argument("lesson new needs --video FILE");
  if (options.captions.empty()) throw std::invalid_argument("lesson new needs --captions LANG=FILE");
  if (options.transcode && options.linkVideo) throw std::invalid_argument("--transcode makes a video; it cannot link one");
  return options;
}

lessonmaking::PublishOptions parsePublish(Args args, const fs::path& moduleDir) {
  lessonmaking::PublishOptions options;
  options.moduleDir = moduleDir;
  std::vector<std::string> folders;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--module") {
      options.moduleDir = optionValue(args, i);
    } else if (args[i] == "--force") {
      options.force = true;
    } else if (args[i].starts_with("--")) {
      throw std::invalid_argument("unexpected argument " + args[i]);
    } else {
      folders.push_back(args[i]);
    }
  }
  if (folders.size() != 2) throw std::invalid_argument("lesson publish needs LESSON_DIR OUT_DIR");
  options.lessonDir = folders[0];
  options.outDir = folders[1];
  return options;
}

void printWarnings(const captions::CaptionWarnings& warnings, const std::string& file, std::ostream& err) {
  for (const captions::CaptionWarning& warning : warnings) err << captions::describeWarning(file, warning) << '\n';
}

std::string onlyArgument(Args args, const char* command) {
  if (args.size() != 1 || args[0].starts_with("--")) {
    throw std::invalid_argument(std::string("lesson ") + command + " needs one argument");
  }
  return args[0];
}

// `lesson cues FILE [--encoding ENCODING]`: the cues as JSON, warnings apart.
int cues(lessonmaking::LessonFiles& files, Args args, std::ostream& out, std::ostream& err) {
  std::optional<std::string> file;
  captions::TextEncoding encoding = captions::TextEncoding::Detect;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--encoding") {
      encoding = encodingNamed(optionValue(args, i));
    } else if (args[i].starts_with("--") || file) {
      throw std::invalid_argument("lesson cues needs one FILE and at most --encoding ENCODING");
    } else {
      file = args[i];
    }
  }
  if (!file) throw std::invalid_argument("lesson cues needs one FILE and at most --encoding ENCODING");
  const captions::Captions read = captions::readCaptions(files.read(*file), *file, encoding);
  printWarnings(read.warnings, *file, err);
  // The warnings above tell why, when there are any.
  if (read.cues.empty()) throw Error(ErrorCode::InvalidArgument, *file + ": no cues");
  out << captions::cuesToJson(read.cues);
  return 0;
}

int check(lessonmaking::LessonFiles& files, const fs::path& lesson, std::ostream& out) {
  const lessonmaking::LessonCheck checked = lessonmaking::inspectLesson(files, lesson);
  for (const auto& warning : checked.warnings) {
    out << warning.file << ':' << warning.line << ": warning: " << warning.message << '\n';
  }
  for (const auto& problem : checked.problems) {
    out << problem.file << ':' << problem.line << ": " << problem.message << '\n';
  }
  out << lessonmaking::checkSummary(checked, lesson);
  return checked.problems.empty() ? 0 : 1;
}

// `lesson new`: warnings on standard error, the summary on standard output.
int makeNew(lessonmaking::LessonFiles& files, Args args, std::ostream& out, std::ostream& err) {
  lessonmaking::NewLessonOptions options = parseNew(args);
  options.transcodeProgress = progressBar(err, "transcoding " + options.video.filename().string(), &err == &std::cerr && isatty(STDERR_FILENO));
  lessonmaking::NewLessonReport report;
  const auto printWarnings = [&] {
    for (const std::string& warning : report.warnings) err << warning << '\n';
  };
  try {
    lessonmaking::writeNewLesson(files, options, report);
  } catch (const Error&) {
    printWarnings();  // they tell why a file gave no cues
    throw;
  }
  printWarnings();
  out << lessonmaking::newLessonSummary(report, options.outDir);
  return 0;
}

// What was written, what was left out, and how the site must be served.
int publish(lessonmaking::LessonFiles& files, const lessonmaking::PublishOptions& options, std::ostream& out,
            std::ostream& err) {
  const lessonmaking::PublishReport report = lessonmaking::publishLesson(files, options);
  for (const std::string& warning : report.warnings) err << "warning: " << warning << '\n';
  for (const fs::path& file : report.written) out << "wrote " << (options.outDir / file).string() << '\n';
  out << "published: " << report.written.size() << " files\n"
      << "serve it with a server that answers byte ranges (HTTP Range), or the video cannot seek;"
         " python3 -m http.server does not\n";
  return 0;
}

}  // namespace

int runLesson(Args args, const fs::path& moduleDir, std::ostream& out, std::ostream& err) {
  pagemodel::PosixFileSystem host;
  lessonmaking::SystemLessonFiles files(host);
  return runLesson(args, moduleDir, files, out, err);
}

int runLesson(Args args, const fs::path& moduleDir, lessonmaking::LessonFiles& files, std::ostream& out,
              std::ostream& err) {
  if (args.empty()) throw std::invalid_argument("lesson needs cues, new, check or publish");
  const std::string& command = args[0];
  const Args rest = args.subspan(1);
  try {
    if (command == "cues") return cues(files, rest, out, err);
    if (command == "new") return makeNew(files, rest, out, err);
    if (command == "check") return check(files, onlyArgument(rest, "check"), out);
    if (command == "publish") return publish(files, parsePublish(rest, moduleDir), out, err);
  } catch (const Error& e) {
    err << "error " << static_cast<int>(e.code()) << ' ' << e.what() << '\n';
    return 1;
  }
  throw std::invalid_argument("unknown lesson command " + command);
}

}  // namespace reVoziz::tools
