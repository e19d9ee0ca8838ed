// The control as the page's script sees it: `new Module.tq()`, whose methods
// the host layer names from the method table (controlClass in host.js), so
// the browser calls the control the way every other binding does. Arguments
// arrive as page values; outcomes go back through the host layer, where a
// failing call throws a JS Error carrying the automation code and status, so
// the page's script sees an exception as it would on any host. The methods
// that may wait on the browser answer with promises.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "automation/method_table.h"
#include "control/tq.h"
#include "web/web_object.h"
#include "web/web_platform.h"

namespace reVoziz::web {
namespace {

using emscripten::val;

class WebControl {
 public:
  WebControl() : control_(platform_) {
    control_.onTickFailure([this](const Error& e) { reportTickFailure(e); });
    control_.onTickSuccess([this] {
      lastFailure_.clear();
      lastFailureWhileLoading_.clear();
    });
  }
  tq& control() { return control_; }
  static std::string describe(const Error& e) {
    return std::string(e.what()) + " (" + std::to_string(static_cast<int>(e.code())) + ")";
  }

 private:
  // Ticks come twice a second: the same failure again says nothing new. While
  // a frame of the lesson still loads, a list may simply not be there yet, so
  // such a failure is only worth a debug line; it is an error once all loaded.
  void reportTickFailure(const Error& e) {
    std::string message = describe(e);
    const bool loading =
        hostLayer().call<val>("framesLoading", toJs(control_.state().HostWindow.asValue())).isTrue();
    std::string& last = loading ? lastFailureWhileLoading_ : lastFailure_;
    if (message == last) return;
    const std::string what = loading ? "reVoziz: a tick failed while the lesson loads: " : "reVoziz: a tick failed: ";
    val::global("console").call<void>(loading ? "debug" : "error", what + message);
    last = std::move(message);
  }

  WebPlatform platform_;
  tq control_;
  // Of the latest ticks, while they fail, as reported at each level.
  std::string lastFailure_;
  std::string lastFailureWhileLoading_;
};

// Runs one method by name: its result, or, with `failed` set, a JS Error
// carrying the automation code and status, made once the C++ frames that hold
// resources are gone.
val attempt(WebControl& self, const std::string& name, const val& args, bool& failed) {
  automation::Outcome outcome;
  {
    const CallScope scope;
    try {
      std::vector<Value> values;
      const auto count = args["length"].as<unsigned>();
      for (unsigned i = 0; i < count; ++i) values.push_back(toValue(args[i]));
      outcome = automation::invoke(self.control(), name, values);
      if (outcome.ok()) {
        failed = false;
        return toJs(outcome.result);
      }
    } catch (const Error& e) {
      // An argument the page could not hand over.
      outcome = {e.status(), {}, e.what()};
    }
  }
  failed = true;
  const Error error = automation::errorOf(outcome);
  val thrown = val::global("Error").new_(std::string(error.what()));
  thrown.set("code", static_cast<int>(error.code()));
  thrown.set("status", static_cast<double>(outcome.status));
  return thrown;
}

// A call that cannot wait. Its outcome goes to the host layer rather than
// back as the call's result: while another call waits, the binding's own
// result of a call is a promise of that other call's end.
void invoke(WebControl& self, const std::string& name, const val& args) {
  bool failed = false;
  const val outcome = attempt(self, name, args, failed);
  hostLayer().call<void>("callReturned", outcome, failed);
}

// A call that may wait on the browser returns to the page's script before it
// ends, so it hands its outcome to the host layer instead, which settles the
// promise the script holds (see controlClass in host.js).
void invokeWaiting(WebControl& self, const std::string& name, const val& args) {
  bool failed = false;
  const val outcome = attempt(self, name, args, failed);
  hostLayer().call<void>("callEnded", outcome, failed);
}

val methodNames() {
  val names = val::array();
  for (const automation::Method& method : automation::methods()) {
    names.call<void>("push", std::string(method.name));
  }
  return names;
}

}  // namespace

EMSCRIPTEN_BINDINGS(revoziz) {
  emscripten::class_<WebControl>("tq")
      .constructor<>()
      .function("invoke", &invoke)
      .function("invokeWaiting", &invokeWaiting)
      .class_function("methodNames", &methodNames);
}

}  // namespace reVoziz::web
