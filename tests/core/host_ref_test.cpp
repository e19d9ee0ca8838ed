#include "core/host_ref.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <span>
#include <stdexcept>
#include <string>

#include "core/dom.h"
#include "core/error.h"

namespace reVoziz {
namespace {

// A host object whose every operation throws what it is given.
template <class Thrown>
class ThrowingObject : public Object {
 public:
  explicit ThrowingObject(Thrown thrown) : thrown_(std::move(thrown)) {}
  Value get(std::string_view) override { throw thrown_; }
  void put(std::string_view, const Value&) override { throw thrown_; }
  Value call(std::string_view, std::span<const Value>) override { throw thrown_; }
  std::string typeName() const override { throw thrown_; }
  bool sameAs(const Object&) const override { throw thrown_; }

 private:
  Thrown thrown_;
};

template <class Thrown>
Element throwingElement(Thrown thrown) {
  return Element(std::shared_ptr<Object>(std::make_shared<ThrowingObject<Thrown>>(std::move(thrown))));
}

// The Error that `step` ends with; fails the test when it ends otherwise.
Error errorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const Error& e) {
    return e;
  } catch (...) {
    ADD_FAILURE() << "a foreign exception crossed the host boundary";
    return Error(ErrorCode::InvalidArgument, "foreign");
  }
  ADD_FAILURE() << "no failure";
  return Error(ErrorCode::InvalidArgument, "none");
}

TEST(HostBoundary, ForeignExceptionsBecomeHostErrorsWithTheHostsMessage) {
  const Element el = throwingElement(std::out_of_range("index 7 out of range"));
  const std::function<void()> steps[] = {
      [&] { el.className(); },                 // get
      [&] { el.setClassName("x"); },           // put
      [&] { el.getAttribute("tq_start"); },    // call
      [&] { el.typeName(); },
      [&] { el.sameAs(throwingElement(0)); },  // the same object needs no host
  };
  for (const auto& step : steps) {
    const Error e = errorOf(step);
    EXPECT_EQ(e.code(), ErrorCode::HostError);
    EXPECT_STREQ(e.what(), "index 7 out of range");
  }
  EXPECT_TRUE(el.sameAs(Element(el.handle())));  // one object: the host is not asked
  EXPECT_EQ(errorOf([] { throwingElement(std::bad_alloc()).id(); }).code(), ErrorCode::HostError);
  EXPECT_EQ(errorOf([] { throwingElement(42).id(); }).code(), ErrorCode::HostError);
}

TEST(HostBoundary, ErrorsOfTheHostPassUnchanged) {
  const Element el = throwingElement(Error(ErrorCode::MemberNotFound, "no member tq_start"));
  const Error e = errorOf([&] { el.property("tq_start"); });
  EXPECT_EQ(e.code(), ErrorCode::MemberNotFound);
  EXPECT_STREQ(e.what(), "no member tq_start");
  EXPECT_EQ(errorOf([] { Element().id(); }).code(), ErrorCode::ObjectRequired);
}

}  // namespace
}  // namespace reVoziz
