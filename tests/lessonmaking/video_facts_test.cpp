#include "lessonmaking/video_facts.h"

#include <gtest/gtest.h>

namespace reVoziz::lessonmaking {
namespace {

// ffprobe's flat output for one video stream and one sound stream.
std::string probed(const std::string& container, const std::string& picture, const std::string& sound) {
  return "streams.stream.0.codec_name=\"" + picture + "\"\nstreams.stream.0.codec_type=\"video\"\n" +
         "streams.stream.1.codec_name=\"" + sound + "\"\nstreams.stream.1.codec_type=\"audio\"\n" +
         "format.format_name=\"" + container + "\"\nformat.duration=\"61.500000\"\n";
}

TEST(VideoFacts, BothBrowsersPlayWebMAndMp4WithTheirOwnCodecsOnly) {
  const std::string webm = "matroska,webm";
  const std::string mp4 = "mov,mp4,m4a,3gp,3g2,mj2";
  const struct {
    std::string file, flat;
    std::vector<std::string> reasons;
  } cases[] = {
      {"a.webm", probed(webm, "vp9", "opus"), {}},
      {"a.WEBM", probed(webm, "vp8", "vorbis"), {}},
      {"a.webm", probed(webm, "av1", "opus"), {}},
      {"a.mp4", probed(mp4, "h264", "aac"), {}},
      {"a.m4v", probed(mp4, "av1", "mp3"), {}},
      {"a.mkv", probed(webm, "mpeg4", "mp3"), {"its container (matroska,webm, .mkv) is neither WebM (.webm) nor MP4 (.mp4)"}},
      {"a.avi", probed("avi", "mpeg4", "mp3"), {"its container (avi, .avi) is neither WebM (.webm) nor MP4 (.mp4)"}},
      {"a.mov", probed(mp4, "h264", "aac"), {"its container (mov,mp4,m4a,3gp,3g2,mj2, .mov) is neither WebM (.webm) nor MP4 (.mp4)"}},
      {"a.webm", probed(webm, "h264", "aac"),
       {"its picture is h264, where WebM needs vp8, vp9 or av1", "its sound is aac, where WebM needs opus or vorbis"}},
      {"a.mp4", probed(mp4, "hevc", "opus"),
       {"its picture is hevc, where MP4 needs h264 or av1", "its sound is opus, where MP4 needs aac or mp3"}},
      {"a.webm", "format.format_name=\"matroska,webm\"\n", {"it holds no picture"}},
      {"notes.txt", "", {"not a video that the media tools can read"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(unplayableReasons(videoFactsFromProbe(c.flat), c.file), c.reasons) << c.file << "\n" << c.flat;
  }
  const VideoFacts facts = videoFactsFromProbe(probed(webm, "vp9", "opus"));
  EXPECT_EQ(facts.seconds, 61.5);
  EXPECT_EQ(facts.videoCodecs, std::vector<std::string>{"vp9"});
  EXPECT_EQ(facts.audioCodecs, std::vector<std::string>{"opus"});
  EXPECT_FALSE(videoFactsFromProbe("format.duration=\"N/A\"\n").seconds);
}

}  // namespace
}  // namespace reVoziz::lessonmaking
