#include "web/web_platform.h"

#include <emscripten/eventloop.h>
#include <emscripten/val.h>

#include <utility>

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

std::string WebFileSystem::freshTemporaryName() { return hostLayer().call<std::string>("freshName"); }

std::optional<std::uint64_t> WebPlatform::changeStamp(const Object& node) {
  static const val stamps = val::module_property("revozizChangeStamp");
  static const bool given = stamps.typeOf().as<std::string>() == "function";
  const auto* object = dynamic_cast<const WebObject*>(&node);
  if (!object || !given) return std::nullopt;
  // One crossing: the page answers 0 when it has no stamp.
  const double stamp = stamps(object->handle()).as<double>();
  if (stamp <= 0) return std::nullopt;
  return static_cast<std::uint64_t>(stamp);
}

}  // namespace reVoziz::web
