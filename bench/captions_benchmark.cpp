// What making a lesson from a long captions file costs: reading 10,000 cues
// of WebVTT or SRT, and the whole of `revoziz lesson new` on them (reading,
// planning, writing the pages and copying a small video).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "captions/captions_file.h"
#include "lessonmaking/lesson_writer.h"
#include "lessonmaking/system_lesson_files.h"
#include "pagemodel/posix_file_system.h"

namespace {

using namespace reVoziz;
namespace fs = std::filesystem;

constexpr int kCues = 10'000;

std::string timestamp(int millis, char separator) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d%c%03d", millis / 3'600'000, millis / 60'000 % 60,
                millis / 1000 % 60, separator, millis % 1000);
  return text;
}

// Cues of 2.5 s with a pause of 3 s every 20 cues, some markup and two lines.
std::string captionsText(bool srt) {
  std::string text = srt ? "" : "WEBVTT\n\n";
  int at = 0;
  for (int i = 1; i <= kCues; ++i) {
    const char separator = srt ? ',' : '.';
    text += std::to_string(i) + '\n' + timestamp(at, separator) + " --> " +
            timestamp(at + 2500, separator) + '\n';
    text += "<i>Cue " + std::to_string(i) + "</i> says something about light & exposure\n";
    text += "and goes on for a second line.\n\n";
    at += i % 20 == 0 ? 5500 : 2500;
  }
  return text;
}

fs::path benchFolder() {
  const fs::path folder = fs::temp_directory_path() / "revoziz_captions_benchmark";
  fs::create_directories(folder);
  return folder;
}

void writeFile(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

void readCues(benchmark::State& state, bool srt) {
  const std::string text = captionsText(srt);
  for (auto _ : state) {
    benchmark::DoNotOptimize(captions::readCaptions(text).cues.size());
  }
  state.counters["cues"] = kCues;
}

void BM_ReadWebVtt(benchmark::State& state) { readCues(state, false); }
void BM_ReadSrt(benchmark::State& state) { readCues(state, true); }

void BM_MakeLesson(benchmark::State& state) {
  const fs::path folder = benchFolder();
  writeFile(folder / "captions.vtt", captionsText(false));
  writeFile(folder / "video.webm", std::string(64 * 1024, 'v'));
  lessonmaking::NewLessonOptions options;
  options.outDir = folder / "lesson";
  options.video = folder / "video.webm";
  options.captions = {{"en", folder / "captions.vtt"}};
  options.force = true;
  pagemodel::PosixFileSystem host;
  lessonmaking::SystemLessonFiles files(host);
  for (auto _ : state) lessonmaking::writeNewLesson(files, options);
  state.counters["cues"] = kCues;
  fs::remove_all(folder);
}

BENCHMARK(BM_ReadWebVtt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSrt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeLesson)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
