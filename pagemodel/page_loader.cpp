#include "pagemodel/page_loader.h"

#include <fstream>
#include <sstream>

#include "core/error.h"
#include "pagemodel/document_model.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/window_model.h"

namespace reVoziz::pagemodel {
namespace {

constexpr int kMaxFrameDepth = 16;

std::string readPage(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in || std::filesystem::is_directory(file)) {
    throw Error(ErrorCode::FileNotFound, "Cannot read the page " + file.string());
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void loadInto(const std::shared_ptr<WindowModel>& window, std::string address,
              const std::filesystem::path& file, int depth, const PageReader& read);

void loadFrames(const std::shared_ptr<WindowModel>& window, int depth, const PageReader& read) {
  const auto document = window->document();
  const std::filesystem::path folder = document->file().parent_path();
  document->root()->forEachDescendantElement([&](const NodePtr& e) {
    if (e->tag() != "iframe" && e->tag() != "frame") return true;
    auto frame = std::make_shared<WindowModel>(e->attributeOr("name"), window);
    document->frames().push_back(frame);
    const std::string src = e->attributeOr("src");
    if (src.empty()) {
      frame->setDocument(DocumentModel::create(parseDocument(""), "about:blank", {}, frame));
    } else {
      loadInto(frame, src, folder / src, depth + 1, read);
    }
    return true;
  });
}

void loadInto(const std::shared_ptr<WindowModel>& window, std::string address,
              const std::filesystem::path& file, int depth, const PageReader& read) {
  if (depth > kMaxFrameDepth) {
    throw Error(ErrorCode::HostError, "Frames are nested too deep at " + file.string());
  }
  NodePtr root = parseDocument(read(file));
  window->setDocument(DocumentModel::create(std::move(root), std::move(address), file, window));
  loadFrames(window, depth, read);
}

}  // namespace

std::shared_ptr<WindowModel> loadPage(const std::filesystem::path& file) { return loadPage(file, readPage); }

std::shared_ptr<WindowModel> loadPage(const std::filesystem::path& file, const PageReader& read) {
  auto window = std::make_shared<WindowModel>("", std::weak_ptr<WindowModel>());
  loadInto(window, file.string(), file, 0, read);
  return window;
}

void navigate(WindowModel& window, std::string_view address) {
  int depth = 0;
  for (auto p = window.parent(); p; p = p->parent()) ++depth;
  const auto holder = window.parent() ? window.parent()->document() : window.document();
  const std::filesystem::path folder = holder ? holder->file().parent_path() : std::filesystem::path();
  // What was read from the document it replaces no longer holds.
  if (const auto replaced = window.document()) replaced->noteChange();
  loadInto(window.shared_from_this(), std::string(address), folder / std::string(address), depth, readPage);
}

}  // namespace reVoziz::pagemodel
