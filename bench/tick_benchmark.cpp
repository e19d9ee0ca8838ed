// What one 500 ms tick costs on transcripts of 100 to 100,000 segments in the
// page model, with the current segment near the start and near the end of the
// list: unchanged ticks entering the control, the same ticks resting on the
// clock, and changing ticks. Arguments: the number of segments, then the
// current segment.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "core/time_code.h"
#include "control/tq.h"
#include "pagemodel/document_model.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/model_platform.h"
#include "pagemodel/page_loader.h"
#include "pagemodel/player_model.h"
#include "pagemodel/window_model.h"

namespace {

using namespace reVoziz;

constexpr int kSecondsPerSegment = 10;

void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path) << text;
}

std::string listPage(int segments) {
  std::string html =
      "<html><head><style id='tq_style'>.segment { display: inline }</style></head><body>"
      "<div id='iText' tq_insync='1' tq_mode='scroll' tq_refresh='0' tq_oldSegment=''"
      " tq_current='background-color:#ffd' tq_nonCurrent=''>\n";
  for (int i = 0; i < segments; ++i) {
    html += "<div class='segment' id='s" + std::to_string(i) + "' tq_start='" +
            secondsToTime(i * kSecondsPerSegment) + "'><span class='sync'>" +
            std::to_string(i) + "</span> Segment text number " + std::to_string(i) + "</div>\n";
  }
  return html + "</div></body></html>";
}

// A lesson whose table of contents and transcript both hold `segments` entries.
std::filesystem::path writeLesson(int segments) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("revoziz-bench-" + std::to_string(segments));
  std::filesystem::create_directories(folder);
  writeFile(folder / "index.html",
            "<html><body id='tq_player'><iframe name='tq_toc' src='toc.html'></iframe>"
            "<iframe name='tq_trans' src='trans.html'></iframe></body></html>");
  writeFile(folder / "toc.html", listPage(segments));
  writeFile(folder / "trans.html", listPage(segments));
  return folder / "index.html";
}

// Each size is written once per run.
const std::filesystem::path& lessonOf(int segments) {
  static std::map<int, std::filesystem::path> lessons;
  auto [at, added] = lessons.try_emplace(segments);
  if (added) at->second = writeLesson(segments);
  return at->second;
}

// The page model's platform; its timers may tick regardless of any rest the
// control leaves, so that every tick enters the control.
class TickingPlatform : public pagemodel::ModelPlatform {
 public:
  TickingPlatform(pagemodel::ManualClock& clock, bool rests) : ModelPlatform(clock), clock_(clock), rests_(rests) {}
  std::unique_ptr<Timer> createTimer() override {
    return rests_ ? ModelPlatform::createTimer() : clock_.createTimer();
  }

 private:
  pagemodel::ManualClock& clock_;
  bool rests_;
};

// A control started on the lesson, with the player paused.
struct PausedLesson {
  pagemodel::ManualClock clock;
  TickingPlatform platform;
  std::shared_ptr<pagemodel::WindowModel> window;
  std::shared_ptr<pagemodel::PlayerModel> player = std::make_shared<pagemodel::PlayerModel>(clock);
  tq control{platform};

  PausedLesson(benchmark::State& state, int segments, bool rests = false) : platform(clock, rests) {
    window = pagemodel::loadPage(lessonOf(segments));
    control.onTickFailure([&state](const Error& e) { state.SkipWithError(e.what()); });
    control.startVelisk(Window(std::shared_ptr<Object>(window)), Player(player));
    player->pause();
  }

  void seekInto(int segment) { player->seek(segment * kSecondsPerSegment + 1); }
};

// Sizes, each with a current segment near the start and one near the end.
void listsAndPlaces(benchmark::internal::Benchmark* b) {
  for (const int segments : {100, 1000, 10000, 100000}) {
    b->Args({segments, 10});
    b->Args({segments, segments - 10});
  }
}

std::string placeLabel(int segments, int current) {
  return "segment " + std::to_string(current) + " of " + std::to_string(segments);
}

// Ticks with the player paused inside one segment: after the first tick marks
// it, every tick finds the same segment and writes nothing. Each enters the
// control, as when the timer cannot rest.
void BM_SteadyTick(benchmark::State& state) {
  const int segments = static_cast<int>(state.range(0));
  const int current = static_cast<int>(state.range(1));
  PausedLesson lesson(state, segments);
  lesson.seekInto(current);
  lesson.clock.advance(500);
  const auto writes = lesson.window->document()->frames()[0]->document()->writes();
  for (auto _ : state) lesson.clock.advance(500);
  if (lesson.window->document()->frames()[0]->document()->writes() != writes) {
    state.SkipWithError("an unchanged tick wrote to the page");
  }
  state.SetLabel(placeLabel(segments, current));
}
BENCHMARK(BM_SteadyTick)->Apply(listsAndPlaces)->Unit(benchmark::kMicrosecond);

// The same ticks as the clock delivers them: after the second, which leaves
// a rest, each only checks the documents' stamps and the position.
void BM_RestingTick(benchmark::State& state) {
  const int segments = static_cast<int>(state.range(0));
  const int current = static_cast<int>(state.range(1));
  PausedLesson lesson(state, segments, true);
  lesson.seekInto(current);
  lesson.clock.advance(1000);
  const auto rested = lesson.clock.restedTicks();
  std::uint64_t ticks = 0;
  for (auto _ : state) {
    lesson.clock.advance(500);
    ++ticks;
  }
  if (lesson.clock.restedTicks() - rested != ticks) state.SkipWithError("a tick entered the control");
  state.SetLabel(placeLabel(segments, current));
}
BENCHMARK(BM_RestingTick)->Apply(listsAndPlaces)->Unit(benchmark::kMicrosecond);

// Ticks that each move to the neighbouring segment, so that every tick marks,
// styles and perhaps scrolls both lists.
void BM_MarkingTick(benchmark::State& state) {
  const int segments = static_cast<int>(state.range(0));
  const int current = static_cast<int>(state.range(1));
  PausedLesson lesson(state, segments);
  // The first tick lays the lists out and reads them; it is not what is timed.
  lesson.seekInto(current + 1);
  lesson.clock.advance(500);
  int step = 0;
  for (auto _ : state) {
    lesson.seekInto(current + (step++ % 2));
    lesson.clock.advance(500);
  }
  state.SetLabel(placeLabel(segments, current) + " and the next");
}
BENCHMARK(BM_MarkingTick)->Apply(listsAndPlaces)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
