#include "tools/call_command.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include "automation/method_table.h"
#include "core/host_ref.h"
#include "core/player.h"
#include "control/tq.h"
#include "pagemodel/document_model.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/model_platform.h"
#include "pagemodel/player_model.h"
#include "tools/lesson_loader.h"

namespace reVoziz::tools {
namespace {

using pagemodel::WindowModel;

// An "@..." argument as a page object; null when the frame or element is missing.
std::shared_ptr<Object> pageObject(WindowModel& top, std::string_view reference) {
  const auto hash = reference.find('#');
  const std::string_view frame = reference.substr(0, hash);
  const std::shared_ptr<WindowModel> window = frame.empty() ? top.shared_from_this() : top.frame(frame);
  if (!window || hash == std::string_view::npos) return window;
  return window->document()->elementById(reference.substr(hash + 1));
}

std::string resultText(const Value& result) {
  if (result.isNull()) return "Nothing";
  if (result.isObject()) return HostRef(result).typeName();
  return result.toText();
}

// A failed method's status carries its error code in the low word; a failed
// dispatch keeps its whole status.
std::string errorCode(std::uint32_t status) {
  if ((status & 0xFFFF0000u) == 0x800A0000u) return std::to_string(status & 0xFFFFu);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(status));
  return hex;
}

}  // namespace

CallOptions parseCallArguments(std::span<const std::string> args,
                               const std::filesystem::path& defaultLesson) {
  CallOptions options;
  options.lesson = defaultLesson;
  std::size_t next = 0;
  std::error_code unreachable;  // a first argument that is no folder is the method
  if (!args.empty() && std::filesystem::is_directory(args[0], unreachable)) options.lesson = args[next++];
  if (next >= args.size()) throw std::invalid_argument("call needs a method name");
  options.method = args[next++];
  options.args.assign(args.begin() + static_cast<std::ptrdiff_t>(next), args.end());
  return options;
}

int runCall(const CallOptions& options, std::ostream& out, std::ostream& err) {
  const std::shared_ptr<WindowModel> top = loadLesson(options.lesson, err);
  if (!top) return 2;
  std::vector<Value> args;
  for (const std::string& a : options.args) {
    if (!a.starts_with('@')) {
      args.emplace_back(a);
      continue;
    }
    std::shared_ptr<Object> object = pageObject(*top, std::string_view(a).substr(1));
    if (!object) {
      err << "revoziz: the lesson has no " << a.substr(1) << '\n';
      return 2;
    }
    args.emplace_back(std::move(object));
  }

  pagemodel::ManualClock clock;
  pagemodel::ModelPlatform platform(clock);
  tq control(platform);
  const auto player = std::make_shared<pagemodel::PlayerModel>(clock);
  const std::array<Value, 2> start = {Value(std::shared_ptr<Object>(top)), Value(std::shared_ptr<Object>(player))};
  automation::Outcome outcome = automation::invoke(control, "startVelisk", start);
  if (outcome.ok()) outcome = automation::invoke(control, options.method, args);
  if (!outcome.ok()) {
    out << "error " << errorCode(outcome.status) << ' ' << outcome.message << '\n';
    return 1;
  }
  out << resultText(outcome.result) << '\n';
  return 0;
}

}  // namespace reVoziz::tools
