#include "web/web_platform.h"

#include <emscripten/eventloop.h>
#include <emscripten/val.h>

#include "control/error.h"
#include "web/web_object.h"

namespace reVoziz::web {

WebTimer::~WebTimer() {
  if (id_) emscripten_clear_interval(id_);
}

void WebTimer::setInterval(std::int32_t ms) {
  if (id_) emscripten_clear_interval(id_);
  id_ = 0;
  interval_ = ms;
  if (ms > 0) id_ = emscripten_set_interval(&WebTimer::fire, ms, this);
}

void WebTimer::fire(void* timer) {
  if (CallScope::active()) return;
  auto* self = static_cast<WebTimer*>(timer);
  if (!self->tick_) return;
  const CallScope scope;
  self->tick_();
}

void WebFileDialog::show(const char* picker) {
#ifdef REVOZIZ_WEB_CAN_WAIT
  // The picker answers with a promise; the control waits for it here, and the
  // page stays responsive meanwhile.
  const emscripten::val answer =
      hostLayer().call<emscripten::val>(picker, fileName_, filter_).await();
  fileName_ = toValue(answer).toText();
#else
  throw Error(ErrorCode::HostError,
              std::string("This build cannot wait for the browser's ") + picker);
#endif
}

namespace {

[[noreturn]] void filesUnavailable() {
  throw Error(ErrorCode::HostError, "Notes files are not available in the browser host yet");
}

}  // namespace

std::unique_ptr<ReadableFile> UnavailableFileSystem::openForReading(std::string_view) {
  filesUnavailable();
}
std::unique_ptr<WritableFile> UnavailableFileSystem::createExclusive(std::string_view) {
  filesUnavailable();
}
void UnavailableFileSystem::rename(std::string_view, std::string_view) { filesUnavailable(); }
void UnavailableFileSystem::remove(std::string_view) { filesUnavailable(); }
std::string UnavailableFileSystem::temporaryFolder() { filesUnavailable(); }
std::string UnavailableFileSystem::freshTemporaryName() { filesUnavailable(); }

}  // namespace reVoziz::web
