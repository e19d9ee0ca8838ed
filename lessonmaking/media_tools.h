#pragma once
// The media tools (ffprobe and ffmpeg, from Debian's ffmpeg) run as programs:
// what a video holds, and a copy of it that every browser plays.

#include <filesystem>
#include <functional>
#include <optional>

#include "lessonmaking/video_facts.h"

namespace reVoziz::lessonmaking {

// None when ffprobe is not installed. A file that is no video gives facts
// with an empty container.
std::optional<VideoFacts> probeWithFfprobe(const std::filesystem::path& video);

// `from` as WebM with VP9 and Opus, in the fresh file `to`, telling
// `progress` the share done (0 to 1) as ffmpeg goes. Throws Error naming the
// file when ffmpeg is missing or fails; a failure leaves no `to` behind.
void transcodeWithFfmpeg(const std::filesystem::path& from, const std::filesystem::path& to,
                         const std::function<void(double)>& progress);

}  // namespace reVoziz::lessonmaking
