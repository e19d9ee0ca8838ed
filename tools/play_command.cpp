#include "tools/play_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>

#include "core/error.h"
#include "core/rounding.h"
#include "core/time_code.h"
#include "control/tq.h"
#include "pagemodel/document_model.h"
#include "pagemodel/event_model.h"
#include "pagemodel/model_platform.h"
#include "pagemodel/player_model.h"
#include "pagemodel/window_model.h"
#include "tools/lesson_loader.h"

namespace reVoziz::tools {
namespace {

using pagemodel::NodePtr;
using pagemodel::WindowModel;

constexpr std::string_view kFrames[] = {"tq_toc", "tq_trans"};
constexpr std::size_t kLabelLength = 40;

double parseNumber(std::string_view text, std::string_view what) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    throw std::invalid_argument(std::string(what) + " is not a number: " + std::string(text));
  }
  return value;
}

ScheduledClick parseClick(std::string_view argument) {
  const auto equals = argument.find('=');
  const auto hash = argument.find('#', equals == std::string_view::npos ? 0 : equals);
  if (equals == std::string_view::npos || hash == std::string_view::npos || hash == equals + 1 ||
      hash + 1 == argument.size()) {
    throw std::invalid_argument("--click wants SECONDS=FRAME#id, not " + std::string(argument));
  }
  const double seconds = parseNumber(argument.substr(0, equals), "--click time");
  if (seconds < 0) throw std::invalid_argument("--click time must not be negative");
  return {seconds, std::string(argument.substr(equals + 1, hash - equals - 1)),
          std::string(argument.substr(hash + 1))};
}

// The frame's segment container, when the frame and container exist.
NodePtr containerOf(WindowModel& top, std::string_view frame) {
  const auto window = top.frame(frame);
  return window ? window->document()->elementById("iText") : nullptr;
}

std::string oldSegmentOf(WindowModel& top, std::string_view frame) {
  const NodePtr iText = containerOf(top, frame);
  return iText ? iText->attributeOr("tq_oldSegment") : std::string();
}

// Runs of white space become one space; the result is trimmed and cut to
// `length` characters.
std::string shortLabel(std::string_view text, std::size_t length) {
  std::string out;
  std::size_t characters = 0;
  bool pendingSpace = false;
  for (std::size_t i = 0; i < text.size() && characters < length; ++i) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) {
      out += ' ';
      ++characters;
      pendingSpace = false;
      if (characters == length) break;
    }
    out += c;
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    // Keep the continuation bytes of the last character.
    while (characters == length && i + 1 < text.size() &&
           (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      out += text[++i];
    }
  }
  return out;
}

std::string segmentLabel(WindowModel& top, std::string_view frame, const std::string& uniqueId) {
  const auto window = top.frame(frame);
  const NodePtr segment = window ? window->document()->elementByUniqueId(uniqueId) : nullptr;
  if (!segment) return uniqueId;
  const std::string id = segment->attributeOr("id");
  return id.empty() ? shortLabel(Element(segment).innerText(), kLabelLength) : id;
}

// 5 s past the largest segment start in either list.
double defaultUntil(WindowModel& top) {
  std::int32_t last = 0;
  for (std::string_view frame : kFrames) {
    const NodePtr iText = containerOf(top, frame);
    if (!iText) continue;
    iText->forEachDescendantElement([&](const NodePtr& e) {
      if (e->tag() == "div" && e->attributeOr("class") == "segment") {
        try {
          last = std::max(last, timeToSeconds(e->attributeOr("tq_start")));
        } catch (const Error&) {
          // An unreadable start does not extend the run.
        }
      }
      return true;
    });
  }
  return last + 5.0;
}

class PlayRun {
 public:
  PlayRun(const PlayOptions& options, std::shared_ptr<WindowModel> top, std::ostream& out,
          std::ostream& err)
      : options_(options),
        top_(std::move(top)),
        out_(out),
        err_(err),
        platform_(clock_),
        player_(std::make_shared<pagemodel::PlayerModel>(clock_, options.rate)),
        control_(platform_) {
    control_.onTickFailure([this](const Error& e) { report(e); });
  }

  void run() {
    const double until = options_.until ? *options_.until : defaultUntil(*top_);
    std::vector<ScheduledClick> clicks = options_.clicks;
    std::stable_sort(clicks.begin(), clicks.end(),
                     [](const auto& a, const auto& b) { return a.seconds < b.seconds; });
    for (std::string_view frame : kFrames) marked_[std::string(frame)] = oldSegmentOf(*top_, frame);

    control_.startVelisk(Window(std::shared_ptr<Object>(top_)), Player(player_));
    std::size_t nextClick = 0;
    while (true) {
      const std::int64_t clickAt =
          nextClick < clicks.size() ? std::llround(clicks[nextClick].seconds * 1000)
                                    : std::numeric_limits<std::int64_t>::max();
      // A click due with a tick comes right after it.
      if (clock_.fireNextTickBy(clickAt)) {
        printMarkings();
        if (player_->position() >= until) return;
        continue;
      }
      if (nextClick >= clicks.size()) return;  // the timer stopped
      clock_.advanceTo(clickAt);
      click(clicks[nextClick++]);
    }
  }

 private:
  std::string clockText() const {
    return secondsToTime(toInt32HalfEven(player_->position()));
  }

  void report(const Error& e) {
    err_ << clockText() << " error " << static_cast<int>(e.code()) << ' ' << e.what() << '\n';
  }

  void printMarkings() {
    for (std::string_view frame : kFrames) {
      const std::string now = oldSegmentOf(*top_, frame);
      std::string& before = marked_[std::string(frame)];
      if (now == before) continue;
      before = now;
      out_ << clockText() << ' ' << frame << ' ' << segmentLabel(*top_, frame, now) << '\n';
    }
  }

  void click(const ScheduledClick& c) {
    const auto window = top_->frame(c.frame);
    const NodePtr target = window ? window->document()->elementById(c.id) : nullptr;
    if (!target) {
      err_ << clockText() << " error no element " << c.frame << '#' << c.id << '\n';
      return;
    }
    try {
      pagemodel::fireEvent(*window, target, {}, [&] {
        control_.clickDispatch(Window(std::shared_ptr<Object>(window)));
      });
    } catch (const Error& e) {
      report(e);
    }
  }

  const PlayOptions& options_;
  std::shared_ptr<WindowModel> top_;
  std::ostream& out_;
  std::ostream& err_;
  pagemodel::ManualClock clock_;
  pagemodel::ModelPlatform platform_;
  std::shared_ptr<pagemodel::PlayerModel> player_;
  tq control_;
  std::map<std::string, std::string> marked_;
};

}  // namespace

PlayOptions parsePlayArguments(std::span<const std::string> args,
                               const std::filesystem::path& defaultLesson) {
  PlayOptions options;
  options.lesson = defaultLesson;
  bool lessonGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw std::invalid_argument(a + " needs a value");
      return args[++i];
    };
    if (a == "--until") {
      options.until = parseNumber(value(), "--until");
    } else if (a == "--rate") {
      options.rate = parseNumber(value(), "--rate");
      if (options.rate <= 0) throw std::invalid_argument("--rate must be greater than 0");
    } else if (a == "--click") {
      options.clicks.push_back(parseClick(value()));
    } else if (a.starts_with("--") || lessonGiven) {
      throw std::invalid_argument("unexpected argument " + a);
    } else {
      options.lesson = a;
      lessonGiven = true;
    }
  }
  return options;
}

int runPlay(const PlayOptions& options, std::ostream& out, std::ostream& err) {
  std::shared_ptr<WindowModel> top = loadLesson(options.lesson, err);
  if (!top) return 2;
  PlayRun(options, std::move(top), out, err).run();
  return 0;
}

}  // namespace reVoziz::tools
