#pragma once
// A window of the page model: the top page or a frame, with its document,
// its current event, the screen and the dialogs a test scripts.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/object.h"

namespace reVoziz::pagemodel {

class DocumentModel;
class EventModel;
class WindowModel;

// The system clipboard, kept by the top window.
struct ClipboardModel {
  std::optional<std::string> html;  // unset: the clipboard is empty
  bool scriptAccess = true;         // false: paste commands from script are refused
};

// An object the page's handlers call by name, such as the control: it gets
// the method's name and the window whose handler called it.
using ScriptObject = std::function<void(std::string_view method, WindowModel& window)>;

struct ModalDialogRequest {
  std::string url;
  Value arguments;
  std::string features;
};

class WindowModel : public Object, public std::enable_shared_from_this<WindowModel> {
 public:
  WindowModel(std::string name, std::weak_ptr<WindowModel> parent)
      : name_(std::move(name)), parent_(std::move(parent)) {}

  const std::string& name() const { return name_; }
  // Null for the top window.
  std::shared_ptr<WindowModel> parent() const { return parent_.lock(); }
  std::shared_ptr<WindowModel> top();
  const std::shared_ptr<DocumentModel>& document() const { return document_; }
  void setDocument(std::shared_ptr<DocumentModel> document) { document_ = std::move(document); }
  // A child frame of this window's document, by name; null when absent.
  std::shared_ptr<WindowModel> frame(std::string_view name) const;

  // The event being dispatched; null between events.
  std::shared_ptr<EventModel> event;

  // Screen and viewport; the screen is read from the top window.
  int availWidth = 1024;
  int availHeight = 768;
  int viewportHeight = 400;

  // Dialog answers a test scripts, and what the control asked.
  std::deque<bool> confirmAnswers;
  std::vector<std::string> confirmMessages;
  std::deque<Value> modalDialogAnswers;
  std::vector<ModalDialogRequest> modalDialogRequests;
  std::vector<std::pair<int, int>> resizes;

  // Kept by the top window: the clipboard and the objects handlers call.
  ClipboardModel clipboard;
  std::map<std::string, ScriptObject, std::less<>> scriptObjects;
  // Errors that handlers of this window's events raised; they do not stop the event.
  std::vector<Error> scriptErrors;

  Value get(std::string_view member) override;
  void put(std::string_view member, const Value& value) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  bool has(std::string_view member) override;
  std::string typeName() const override { return "HTMLWindow2"; }
  bool sameAs(const Object& other) const override { return this == &other; }

 private:
  std::string name_;
  std::weak_ptr<WindowModel> parent_;
  std::shared_ptr<DocumentModel> document_;
  std::vector<std::pair<std::string, Value>> expandos_;
};

}  // namespace reVoziz::pagemodel
