#include "lessonmaking/video_facts.h"

#include <algorithm>
#include <cstdlib>

namespace reVoziz::lessonmaking {
namespace {

struct Container {
  std::string_view name;              // as the warnings say it
  std::string_view probedAs;          // one of the media tools' names for its family
  std::vector<std::string_view> extensions;
  std::vector<std::string_view> video;
  std::vector<std::string_view> audio;
};

const std::vector<Container>& playableContainers() {
  static const std::vector<Container> kContainers = {
      {"WebM", "webm", {".webm"}, {"vp8", "vp9", "av1"}, {"opus", "vorbis"}},
      {"MP4", "mp4", {".mp4", ".m4v"}, {"h264", "av1"}, {"aac", "mp3"}},
  };
  return kContainers;
}

bool contains(const std::vector<std::string_view>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The media tools name a family of formats by a comma-separated list.
bool inFamily(std::string_view probed, std::string_view name) {
  while (!probed.empty()) {
    const std::size_t comma = std::min(probed.find(','), probed.size());
    if (probed.substr(0, comma) == name) return true;
    probed.remove_prefix(std::min(comma + 1, probed.size()));
  }
  return false;
}

std::string lowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string joined(const std::vector<std::string_view>& names) {
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += i + 1 == names.size() ? " or " : ", ";
    out += names[i];
  }
  return out;
}

// The value of a flat line `key="value"`.
std::string_view unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

VideoFacts videoFactsFromProbe(std::string_view flat) {
  VideoFacts facts;
  std::vector<std::pair<std::string, std::string>> streams;  // stream number → (type, codec)
  while (!flat.empty()) {
    const std::size_t end = std::min(flat.find('\n'), flat.size());
    const std::string_view line = flat.substr(0, end);
    flat.remove_prefix(std::min(end + 1, flat.size()));
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, equals);
    const std::string value(unquoted(line.substr(equals + 1)));
    if (key == "format.format_name") {
      facts.container = value;
    } else if (key == "format.duration") {
      char* rest = nullptr;
      const double seconds = std::strtod(value.c_str(), &rest);
      if (rest != value.c_str() && seconds >= 0) facts.seconds = seconds;
    } else if (key.starts_with("streams.stream.")) {
      const std::string_view field = key.substr(key.rfind('.') + 1);
      const std::size_t number = std::strtoul(std::string(key.substr(15)).c_str(), nullptr, 10);
      if (streams.size() <= number) streams.resize(number + 1);
      (field == "codec_type" ? streams[number].first : streams[number].second) = value;
    }
  }
  for (const auto& [type, codec] : streams) {
    if (type == "video") facts.videoCodecs.push_back(codec);
    if (type == "audio") facts.audioCodecs.push_back(codec);
  }
  return facts;
}

std::vector<std::string> unplayableReasons(const VideoFacts& facts, const std::filesystem::path& video) {
  const std::string extension = lowerCase(video.extension().string());
  const auto& containers = playableContainers();
  const auto container = std::find_if(containers.begin(), containers.end(), [&](const Container& c) {
    return inFamily(facts.container, c.probedAs) && contains(c.extensions, extension);
  });
  if (container == containers.end()) {
    if (facts.container.empty()) return {"not a video that the media tools can read"};
    return {"its container (" + facts.container + ", " + (extension.empty() ? "no extension" : extension) +
            ") is neither WebM (.webm) nor MP4 (.mp4)"};
  }
  std::vector<std::string> reasons;
  if (facts.videoCodecs.empty()) reasons.push_back("it holds no picture");
  for (const std::string& codec : facts.videoCodecs) {
    if (!contains(container->video, codec)) {
      reasons.push_back("its picture is " + codec + ", where " + std::string(container->name) + " needs " +
                        joined(container->video));
    }
  }
  for (const std::string& codec : facts.audioCodecs) {
    if (!contains(container->audio, codec)) {
      reasons.push_back("its sound is " + codec + ", where " + std::string(container->name) + " needs " +
                        joined(container->audio));
    }
  }
  return reasons;
}

}  // namespace reVoziz::lessonmaking
