#include "web/web_platform.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <unordered_map>
#include <utility>
#include <vector>

#include "core/error.h"
#include "web/web_object.h"

// The page's change stamp of the document holding `node`, in one crossing
// that makes no value to release; 0 when the page gives none. The page's
// function never throws.
// clang-format off
EM_JS(double, revoziz_change_stamp, (emscripten::EM_VAL node), {
  const stamps = Module["revozizChangeStamp"];
  return typeof stamps === "function" ? stamps(Emval.toValue(node)) : 0;
});

// The timer's rest condition (restTicks of tick_timer.js) in one crossing, as
// every changing tick leaves a new one. The host layer answers a failure
// record rather than throwing; answers whether it took the rest.
EM_JS(int, revoziz_rest_ticks, (double id, const emscripten::EM_VAL* documents, const double* stamps, int count,
                                emscripten::EM_VAL player, double low, int lowIncluded, double high, int highIncluded), {
  const host = Module["revozizHost"];
  const condition = { documents: [], stamps: [], player: Emval.toValue(player), low, lowIncluded: lowIncluded !== 0,
                      high, highIncluded: highIncluded !== 0 };
  for (let i = 0; i < count; i++) {
    condition.documents.push(Emval.toValue(HEAPU32[(documents >> 2) + i]));
    condition.stamps.push(HEAPF64[(stamps >> 3) + i]);
  }
  return host.kindOf(host.restTicks(id, condition)) === 7 ? 0 : 1;
});
// clang-format on

namespace reVoziz::web {

namespace {

// Timers by key: the host layer holds keys, never pointers, so that a tick
// that falls due after its timer is gone finds nothing.
std::unordered_map<int, WebTimer*>& timersByKey() {
  static std::unordered_map<int, WebTimer*> timers;
  return timers;
}

}  // namespace

WebTimer::WebTimer() {
  static int lastKey = 0;
  key_ = ++lastKey;
  timersByKey().emplace(key_, this);
}

WebTimer::~WebTimer() {
  stop();
  timersByKey().erase(key_);
}

void WebTimer::stop() {
  // Clearing an interval cannot fail, and a destructor must not throw.
  if (id_) hostLayer().call<emscripten::val>("stopTicks", id_);
  id_ = 0;
  resting_ = false;
}

void WebTimer::setInterval(std::int32_t ms) {
  stop();
  interval_ = ms;
  if (ms > 0) {
    // Called straight, without embind's invoker: an entry twice a second.
    static const emscripten::val fireByKey = emscripten::val::module_property("_revoziz_fire_timer");
    id_ = callHost("startTicks", ms, fireByKey, key_).as<double>();
  }
}

void WebTimer::restWhile(std::optional<QuietTicks> quiet) {
  if (!id_) return;
  if (!quiet) {
    // The host layer drops a rest itself before each tick it lets through.
    if (resting_) callHost("restTicks", id_, emscripten::val::null());
    resting_ = false;
    return;
  }
  std::vector<emscripten::EM_VAL> documents;
  std::vector<double> stamps;
  for (const QuietTicks::Stamped& d : quiet->documents) {
    const auto* document = dynamic_cast<const WebObject*>(d.document.get());
    if (!document) return restWhile(std::nullopt);
    documents.push_back(document->handle().as_handle());
    stamps.push_back(static_cast<double>(d.stamp));
  }
  const auto* player = dynamic_cast<const WebObject*>(quiet->player.get());
  if (!player) return restWhile(std::nullopt);
  const RealSpan& p = quiet->positions;
  resting_ = revoziz_rest_ticks(id_, documents.data(), stamps.data(), static_cast<int>(documents.size()),
                                player->handle().as_handle(), p.low, p.lowIncluded, p.high, p.highIncluded) != 0;
}

void WebTimer::fire(int key) {
  const auto found = timersByKey().find(key);
  if (found == timersByKey().end()) return;
  found->second->resting_ = false;  // the host layer dropped the rest to get here
  if (CallScope::active() || !found->second->tick_) return;
  const CallScope scope;
  // A copy runs, so that a tick may end its own timer.
  const auto tick = found->second->tick_;
  tick();
}

extern "C" EMSCRIPTEN_KEEPALIVE void revoziz_fire_timer(int key) { WebTimer::fire(key); }

std::string WebFileDialog::pick(Purpose purpose) {
  const char* picker = purpose == Purpose::Save ? "pickSave" : "pickOpen";
  return toValue(awaitHost(hostLayer().call<emscripten::val>(picker, fileName(), filter()))).toText();
}

namespace {

using emscripten::val;

// The bytes as a view the host layer copies before it waits.
val bytesView(std::string_view bytes) {
  return val(emscripten::typed_memory_view(bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data())));
}

// The stored bytes, as they are: decoding the stored form is the documents'.
class WebReadableFile : public ReadableFile {
 public:
  explicit WebReadableFile(std::string bytes) : bytes_(std::move(bytes)) {}
  std::string readAll() override { return std::exchange(bytes_, {}); }

 private:
  std::string bytes_;
};

// Collects what is appended; flush hands it all to the file, whose content the
// browser replaces only once the write has closed.
class WebWritableFile : public WritableFile {
 public:
  explicit WebWritableFile(std::string path) : path_(std::move(path)) {}
  void append(std::string_view bytes) override {
    bytes_ += bytes;
    flushed_ = false;
  }
  void flush() override {
    awaitHost(hostLayer().call<val>("writeFile", path_, bytesView(bytes_)));
    flushed_ = true;
  }
  void close() override {
    if (!flushed_) flush();
  }

 private:
  std::string path_;
  std::string bytes_;
  bool flushed_ = true;
};

}  // namespace

std::unique_ptr<ReadableFile> WebFileSystem::openForReading(std::string_view path) {
  const val stored = awaitHost(hostLayer().call<val>("readFile", std::string(path)));
  std::string bytes(stored["length"].as<std::size_t>(), '\0');
  bytesView(bytes).call<void>("set", stored);
  return std::make_unique<WebReadableFile>(std::move(bytes));
}

std::unique_ptr<WritableFile> WebFileSystem::createExclusive(std::string_view path) {
  awaitHost(hostLayer().call<val>("createFile", std::string(path)));
  return std::make_unique<WebWritableFile>(std::string(path));
}

void WebFileSystem::rename(std::string_view from, std::string_view to) {
  awaitHost(hostLayer().call<val>("moveFile", std::string(from), std::string(to)));
}

void WebFileSystem::remove(std::string_view path) {
  awaitHost(hostLayer().call<val>("removeFile", std::string(path)));
}

std::string WebFileSystem::freshTemporaryName() { return callHost("freshName").as<std::string>(); }

std::optional<std::uint64_t> WebPlatform::changeStamp(const Object& node) {
  const auto* object = dynamic_cast<const WebObject*>(&node);
  if (!object) return std::nullopt;
  const double stamp = revoziz_change_stamp(object->handle().as_handle());
  if (stamp <= 0) return std::nullopt;
  return static_cast<std::uint64_t>(stamp);
}

}  // namespace reVoziz::web
