#include "captions/captions_file.h"

#include <gtest/gtest.h>

#include "captions/cue_markup.h"
#include "support/file_bytes.h"

namespace reVoziz::captions {
namespace {

const std::filesystem::path kFiles = REVOZIZ_TEST_CAPTIONS;

struct FileCase {
  const char* file;
  CueDialect dialect;
  std::vector<std::string> html;  // each cue's rendered text, in order
  std::vector<int> warningLines;
  const char* warning;  // what each warning says, in part
};

// Files shaped like those of subtitle editors, speech-to-text tools and
// video platforms, each read whole.
TEST(CaptionsFile, RealWorldFiles) {
  const std::vector<FileCase> cases = {
      {"spanish_windows_1252.srt", CueDialect::Srt,
       {"¿Qué tal? Bienvenidos al año nuevo.", "La señora dijo: “mañana…”", "¡Adiós, niños!"},
       {3}, "not UTF-8: the file is read as Windows-1252"},
      {"utf16le_bom.srt", CueDialect::Srt, {"Grüße aus Köln – ¿qué tal?", "日本語も 🎬"}, {}, ""},
      {"utf16be_bom.vtt", CueDialect::WebVtt, {"Grüße aus Köln – ¿qué tal?", "日本語も 🎬"}, {}, ""},
      {"arrow_in_text.srt", CueDialect::Srt,
       {"Click Next --&gt; then Save", "The arrow -&gt; points right<br>--&gt;", "Done."}, {}, ""},
      {"broken_timing_first_cue.srt", CueDialect::Srt, {"Today: exposure.", "Let's begin."}, {2},
       "not a cue timing"},
      {"broken_timing_second_cue.srt", CueDialect::Srt, {"Hello, everyone.", "Let's begin."}, {6},
       "not a cue timing"},
      {"editor_markup.srt", CueDialect::Srt,
       {"Café &amp; crème", "One line<br>two lines<br>three…", "© 2026 Escuela ∉ &amp;NotAReference;"}, {}, ""},
      {"editor_markup.vtt", CueDialect::WebVtt, {"Café <b>crème</b>", "One line<br>two lines…"}, {}, ""},
  };
  for (const FileCase& c : cases) {
    const Captions read = readCaptions(testing::fileBytes(kFiles / c.file), c.file);
    EXPECT_EQ(read.dialect, c.dialect) << c.file;
    std::vector<std::string> html;
    for (const Cue& cue : read.cues) html.push_back(renderCueText(cue.text, read.dialect).html);
    EXPECT_EQ(html, c.html) << c.file;
    std::vector<int> lines;
    for (const CaptionWarning& warning : read.warnings) {
      lines.push_back(warning.line);
      EXPECT_NE(warning.message.find(c.warning), std::string::npos) << c.file << ": " << warning.message;
    }
    EXPECT_EQ(lines, c.warningLines) << c.file;
  }
}

}  // namespace
}  // namespace reVoziz::captions
