#include "pagemodel/window_model.h"

#include <algorithm>

#include "pagemodel/browser_member_names.h"
#include "pagemodel/document_model.h"
#include "pagemodel/event_model.h"
#include "pagemodel/member_args.h"

namespace reVoziz::pagemodel {
namespace {

// `window.screen`, read from the top window's settings.
class ScreenObject : public Object {
 public:
  explicit ScreenObject(std::shared_ptr<WindowModel> top) : top_(std::move(top)) {}
  Value get(std::string_view member) override {
    if (member == "availWidth") return top_->availWidth;
    if (member == "availHeight") return top_->availHeight;
    throw memberNotFound(member);
  }
  void put(std::string_view member, const Value&) override { throw memberNotFound(member); }
  Value call(std::string_view method, std::span<const Value>) override {
    throw memberNotFound(method);
  }
  std::string typeName() const override { return "HTMLScreen"; }
  bool sameAs(const Object& other) const override {
    const auto* o = dynamic_cast<const ScreenObject*>(&other);
    return o && o->top_ == top_;
  }

 private:
  std::shared_ptr<WindowModel> top_;
};

}  // namespace

std::shared_ptr<WindowModel> WindowModel::top() {
  std::shared_ptr<WindowModel> w = shared_from_this();
  while (auto p = w->parent()) w = p;
  return w;
}

std::shared_ptr<WindowModel> WindowModel::frame(std::string_view name) const {
  if (!document_) return nullptr;
  for (const auto& f : document_->frames()) {
    if (f->name() == name) return f;
  }
  return nullptr;
}

Value WindowModel::get(std::string_view member) {
  if (member == "document") return std::shared_ptr<Object>(document_);
  if (member == "event") return std::shared_ptr<Object>(event);
  if (member == "parent") {
    // The top window is its own parent, as in the browser.
    auto p = parent();
    return std::shared_ptr<Object>(p ? p : shared_from_this());
  }
  if (member == "top") return std::shared_ptr<Object>(top());
  if (member == "name") return name_;
  if (member == "screen") return std::shared_ptr<Object>(std::make_shared<ScreenObject>(top()));
  for (const auto& [name, value] : expandos_) {
    if (name == member) return value;
  }
  throw memberNotFound(member);
}

// As `member in window` answers in a browser, the page's named elements aside.
bool WindowModel::has(std::string_view member) {
  return isBrowserMember(BrowserObject::Window, member) || Object::has(member);
}

void WindowModel::put(std::string_view member, const Value& value) {
  static constexpr std::string_view kReadOnly[] = {"document", "event", "parent", "top", "screen"};
  if (std::find(std::begin(kReadOnly), std::end(kReadOnly), member) != std::end(kReadOnly)) {
    throw Error(ErrorCode::HostError, "The window's " + std::string(member) + " is read-only");
  }
  if (document_) document_->noteWrite();
  for (auto& [name, v] : expandos_) {
    if (name == member) {
      v = value;
      return;
    }
  }
  expandos_.emplace_back(std::string(member), value);
}

Value WindowModel::call(std::string_view method, std::span<const Value> args) {
  if (method == "confirm") {
    confirmMessages.push_back(textArg(args, 0));
    if (confirmAnswers.empty()) {
      throw Error(ErrorCode::HostError, "No answer scripted for confirm: " + confirmMessages.back());
    }
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }
  if (method == "showModalDialog") {
    modalDialogRequests.push_back({textArg(args, 0), arg(args, 1), textArg(args, 2)});
    if (modalDialogAnswers.empty()) {
      throw Error(ErrorCode::HostError, "No answer scripted for the dialog " + textArg(args, 0));
    }
    Value answer = modalDialogAnswers.front();
    modalDialogAnswers.pop_front();
    return answer;
  }
  if (method == "resizeTo") {
    resizes.emplace_back(arg(args, 0).toInt32(), arg(args, 1).toInt32());
    return {};
  }
  throw memberNotFound(method);
}

}  // namespace reVoziz::pagemodel
