#include "lessonmaking/captions_track.h"

#include <gtest/gtest.h>

#include <cmath>

#include "captions/captions_file.h"
#include "support/file_bytes.h"

namespace reVoziz::lessonmaking {
namespace {

const std::filesystem::path kFiles = REVOZIZ_TEST_CAPTIONS;

TEST(CaptionsTrack, EachCueKeepsItsTimesAndLinesWithItsTextEscaped) {
  const struct {
    TimedCue cue;
    const char* written;  // after "WEBVTT\n\n"; "" for a cue left out
  } cases[] = {
      {{0.5, 4, "Hola"}, "00:00:00.500 --> 00:00:04.000\nHola\n"},
      {{59.9996, 3600.25, "a"}, "00:01:00.000 --> 01:00:00.250\na\n"},
      {{362439.001, 362440, "far"}, "100:40:39.001 --> 100:40:40.000\nfar\n"},
      {{5, 3, "ends before it starts"}, "00:00:05.000 --> 00:00:05.000\nends before it starts\n"},
      // Line breaks stay; the spaces around them and blank lines go.
      {{1, 2, " uno <br>dos<br><br> tres "}, "00:00:01.000 --> 00:00:02.000\nuno\ndos\ntres\n"},
      // Text that would read as markup or as a timing stays text.
      {{1, 2, "a --&gt; b &amp; &lt;c&gt; \"d\""}, "00:00:01.000 --> 00:00:02.000\na --&gt; b &amp; &lt;c&gt; \"d\"\n"},
      {{1, 2, "&lt;00:00:01.000&gt; x"}, "00:00:01.000 --> 00:00:02.000\n&lt;00:00:01.000&gt; x\n"},
      // WebVTT's own formatting stays; a speaker label is text.
      {{1, 2, "<span class=\"speaker\">Ana:</span> <b>sí</b> <i>y</i> <u>no</u><ruby>漢<rt>kan</rt></ruby>"},
       "00:00:01.000 --> 00:00:02.000\nAna: <b>sí</b> <i>y</i> <u>no</u><ruby>漢<rt>kan</rt></ruby>\n"},
      {{1, 2, "<br> <br>"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cue.html);
    const std::string written = *c.written ? std::string("\n") + c.written : std::string();
    EXPECT_EQ(captionsTrack({c.cue}), "WEBVTT\n" + written);
  }
  EXPECT_EQ(captionsTrack({}), "WEBVTT\n");
  EXPECT_EQ(captionsTrack({{1, 2, "a"}, {3, 4, "b"}}), "WEBVTT\n\n00:00:01.000 --> 00:00:02.000\na\n\n"
                                                       "00:00:03.000 --> 00:00:04.000\nb\n");
  EXPECT_EQ(captionsTrackFile("es-MX"), "captions_es-mx.vtt");
}

// The track shows what the transcript shows: the same cues, rolled lines
// and empty cues left out alike, each read back as it was written.
TEST(CaptionsTrack, TheTrackHoldsTheTranscriptsCuesAndReadsBack) {
  const struct {
    const char* file;
    std::vector<std::string> texts;  // each cue's text as a reader gives it back
  } cases[] = {
      {"roll_up.vtt", {"GOOD EVENING.\nTHE COUNCIL MET TODAY", "TO VOTE ON THE NEW PARK.", "IT PASSED."}},
      {"editor_markup.vtt", {"Café <b>crème</b>", "One line\ntwo lines…"}},
      {"lesson_en.vtt", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const captions::Captions read = captions::readCaptions(testing::fileBytes(kFiles / c.file));
    const TranscriptPlan plan = planTranscript(read, c.file);
    ASSERT_EQ(plan.cues.size(), plan.segments.size());
    const captions::Captions track = captions::readCaptions(captionsTrack(plan.cues));
    EXPECT_TRUE(track.warnings.empty());
    ASSERT_EQ(track.cues.size(), plan.segments.size());
    for (std::size_t i = 0; i < track.cues.size(); ++i) {
      EXPECT_EQ(static_cast<std::int32_t>(std::floor(track.cues[i].startTime)), plan.segments[i].start);
      if (!c.texts.empty()) {
        EXPECT_EQ(track.cues[i].text, c.texts[i]);
      }
    }
  }
}

}  // namespace
}  // namespace reVoziz::lessonmaking
