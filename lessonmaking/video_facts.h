#pragma once
// What the lesson maker knows of a video: its container, codecs and length,
// and whether the browsers that lessons are made for all play it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reVoziz::lessonmaking {

struct VideoFacts {
  std::string container;                // as the media tools name it: "matroska,webm", "avi", …
  std::vector<std::string> videoCodecs;  // "vp9", "h264", …
  std::vector<std::string> audioCodecs;  // "opus", "aac", …
  std::optional<double> seconds;         // the length, where known
};

// Reads the "flat" output of `ffprobe -show_entries
// stream=codec_type,codec_name:format=format_name,duration -of flat`.
VideoFacts videoFactsFromProbe(std::string_view flat);

// Why Chromium and Firefox would not both play `video`: none when they do.
// They both play WebM with VP8, VP9 or AV1 and Opus or Vorbis, and MP4 with
// H.264 or AV1 and AAC or MP3.
std::vector<std::string> unplayableReasons(const VideoFacts& facts, const std::filesystem::path& video);

}  // namespace reVoziz::lessonmaking
