#include "support/lesson.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "pagemodel/page_loader.h"

namespace reVoziz::testing {

std::string lessonIndex(std::string_view name) {
  const std::filesystem::path folder(name);
  return ((folder.is_absolute() ? folder : REVOZIZ_TEST_LESSONS / folder) / "index.html").string();
}

ErrorCode failureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& e) {
    return e.code();
  }
  ADD_FAILURE() << "the call did not fail";
  return ErrorCode{};
}

Lesson::Lesson(std::string_view name) : top(pagemodel::loadPage(lessonIndex(name))) {}

std::shared_ptr<WindowModel> Lesson::window(std::string_view frame) const {
  if (frame.empty()) return top;
  auto w = top->frame(frame);
  if (!w) throw std::runtime_error("fixture has no frame " + std::string(frame));
  return w;
}

std::shared_ptr<pagemodel::DocumentModel> Lesson::document(std::string_view frame) const {
  return window(frame)->document();
}

NodePtr Lesson::node(std::string_view frame, std::string_view id) const {
  NodePtr n = document(frame)->elementById(id);
  if (!n) throw std::runtime_error("fixture has no element #" + std::string(id));
  return n;
}

Window Lesson::windowRef(std::string_view frame) const { return Window(std::shared_ptr<Object>(window(frame))); }

Document Lesson::documentRef(std::string_view frame) const {
  return Document(std::shared_ptr<Object>(document(frame)));
}

Element Lesson::element(std::string_view frame, std::string_view id) const {
  return Element(std::shared_ptr<Object>(node(frame, id)));
}

std::string Lesson::attribute(std::string_view frame, std::string_view id,
                              std::string_view name) const {
  return node(frame, id)->attributeOr(name);
}

LessonControl::LessonControl(std::string_view name)
    : Lesson(name), player(std::make_shared<pagemodel::PlayerModel>(clock)) {}

void LessonControl::start() { control.startVelisk(windowRef(), Player(player)); }

Dispatched LessonControl::dispatch(std::string_view frame, NodePtr source,
                                  const std::function<void(const Window&)>& handler,
                                  pagemodel::EventInit init) {
  Dispatched result;
  const Window ref = windowRef(frame);
  result.event = pagemodel::fireEvent(*window(frame), std::move(source), std::move(init), [&] {
    try {
      handler(ref);
    } catch (const Error& e) {
      result.failure = e.code();
    }
  });
  return result;
}

}  // namespace reVoziz::testing
