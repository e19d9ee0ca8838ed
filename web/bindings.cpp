// The control as the page's script sees it: `new Module.tq()`, then one
// method per method of the automation interface. Arguments arrive as page
// values; a failing call throws a JS Error carrying the automation code and
// status, so the page's script sees an exception as it would on any host.
// The methods that may wait on the browser answer through the host layer,
// which turns them into promises (waitingMethods in host.js).

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <type_traits>

#include "control/tq.h"
#include "web/web_object.h"
#include "web/web_platform.h"

namespace reVoziz::web {
namespace {

using emscripten::val;

class WebControl {
 public:
  WebControl() : control_(platform_) {
    control_.onTickFailure([](const Error& e) {
      val::global("console").call<void>("error", "reVoziz: a tick failed: " + describe(e));
    });
  }
  tq& control() { return control_; }
  static std::string describe(const Error& e) {
    return std::string(e.what()) + " (" + std::to_string(static_cast<int>(e.code())) + ")";
  }

 private:
  WebPlatform platform_;
  tq control_;
};

// Page value to the parameter type of a control method.
template <typename T>
auto fromJs(const val& v) {
  using Plain = std::remove_cvref_t<T>;
  if constexpr (std::is_same_v<Plain, std::string_view>) {
    return toValue(v).toText();
  } else if constexpr (std::is_same_v<Plain, std::int32_t>) {
    return toValue(v).toInt32();
  } else if constexpr (std::is_same_v<Plain, Value>) {
    return toValue(v);
  } else {
    return Plain(toValue(v));  // a facade type over a page object
  }
}

template <typename R>
val resultToJs(const R& r) {
  if constexpr (std::is_base_of_v<HostRef, R>) {
    return toJs(r.asValue());
  } else if constexpr (std::is_same_v<R, Value>) {
    return toJs(r);
  } else {
    return val(r);
  }
}

template <typename>
using PageValue = val;

// Runs one control method: its result, or, with `failed` set, a JS Error
// carrying the automation code and status, made once the C++ frames that hold
// resources are gone.
template <typename F>
val attempt(F&& run, bool& failed) {
  std::string message;
  int code = 0;
  {
    const CallScope scope;
    try {
      failed = false;
      return run();
    } catch (const Error& e) {
      message = e.what();
      code = static_cast<int>(e.code());
    }
  }
  failed = true;
  val error = val::global("Error").new_(message);
  error.set("code", code);
  error.set("status", static_cast<double>(0x800A0000u | static_cast<unsigned>(code)));
  return error;
}

template <auto Method, typename C, typename R, typename... A>
struct Thunk {
  static val call(WebControl& self, PageValue<A>... args, bool& failed) {
    return attempt(
        [&]() -> val {
          if constexpr (std::is_void_v<R>) {
            (self.control().*Method)(fromJs<A>(args)...);
            return val::undefined();
          } else {
            return resultToJs((self.control().*Method)(fromJs<A>(args)...));
          }
        },
        failed);
  }
  // A failing call throws to the page's script.
  static val run(WebControl& self, PageValue<A>... args) {
    bool failed = false;
    val outcome = call(self, args..., failed);
    if (failed) outcome.throw_();
    return outcome;
  }
  // A call that may wait on the browser returns to the page's script before
  // it ends, so it hands its outcome to the host layer instead, which settles
  // the promise the script holds (see waitingMethods in host.js).
  static val runWaiting(WebControl& self, PageValue<A>... args) {
    bool failed = false;
    const val outcome = call(self, args..., failed);
    hostLayer().call<void>("callEnded", outcome, failed);
    return val::undefined();
  }
};

template <auto Method>
struct ThunkOf;
template <typename C, typename R, typename... A, R (C::*Method)(A...) const>
struct ThunkOf<Method> : Thunk<Method, C, R, A...> {};
template <typename C, typename R, typename... A, R (C::*Method)(A...)>
struct ThunkOf<Method> : Thunk<Method, C, R, A...> {};

}  // namespace

EMSCRIPTEN_BINDINGS(revoziz) {
  emscripten::class_<WebControl>("tq")
      .constructor<>()
#define REVOZIZ_METHOD(name) .function(#name, &ThunkOf<&tq::name>::run)
      REVOZIZ_METHOD(showMode)
      REVOZIZ_METHOD(min)
      REVOZIZ_METHOD(max)
      REVOZIZ_METHOD(goTo_)
      REVOZIZ_METHOD(timeToSeconds)
      REVOZIZ_METHOD(secondsToTime)
      REVOZIZ_METHOD(getVal)
      REVOZIZ_METHOD(getCurrentSegment)
      REVOZIZ_METHOD(markCurrentSegment)
      REVOZIZ_METHOD(addStyle)
      REVOZIZ_METHOD(singleSegments)
      REVOZIZ_METHOD(scrollSegments)
      REVOZIZ_METHOD(toggleSync)
      REVOZIZ_METHOD(switchText)
      REVOZIZ_METHOD(closeSelects)
      REVOZIZ_METHOD(clickDispatch)
      REVOZIZ_METHOD(toggleXpand)
      REVOZIZ_METHOD(MouseOverDispatch)
      REVOZIZ_METHOD(MouseOutDispatch)
      REVOZIZ_METHOD(startVelisk)
      REVOZIZ_METHOD(classContains)
      REVOZIZ_METHOD(composePage)
      REVOZIZ_METHOD(pageExtract)
      REVOZIZ_METHOD(checkContent)
      REVOZIZ_METHOD(backupNotes)
      REVOZIZ_METHOD(restoreNotes)
      REVOZIZ_METHOD(checkUnsaved)
#define REVOZIZ_WAITING_METHOD(name) .function(#name, &ThunkOf<&tq::name>::runWaiting)
      REVOZIZ_WAITING_METHOD(newNotes)
      REVOZIZ_WAITING_METHOD(openNotes)
      REVOZIZ_WAITING_METHOD(saveNotes)
      REVOZIZ_WAITING_METHOD(checkChanges)
      REVOZIZ_WAITING_METHOD(backupNotes1)
      REVOZIZ_WAITING_METHOD(restoreNotes1)
#undef REVOZIZ_WAITING_METHOD
#undef REVOZIZ_METHOD
      ;
}

}  // namespace reVoziz::web
