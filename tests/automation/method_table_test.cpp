#include "automation/method_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/started_flag.h"
#include "documents/notes_documents.h"
#include "documents/notes_fixture.h"
#include "support/lesson.h"
#include "support/notes_page.h"

namespace reVoziz::automation {
namespace {

using testing::LessonControl;

constexpr std::uint32_t statusOf(ErrorCode code) { return 0x800A0000u | static_cast<std::uint32_t>(code); }

Value object(const HostRef& ref) { return ref.asValue(); }

// The interface's methods in slot order, with their parameter counts.
const std::vector<std::pair<std::string, std::size_t>> kSlots = {
    {"showMode", 2}, {"min", 2}, {"max", 2}, {"goTo_", 1}, {"timeToSeconds", 1},
    {"secondsToTime", 1}, {"getVal", 2}, {"getCurrentSegment", 2}, {"markCurrentSegment", 2},
    {"addStyle", 4}, {"singleSegments", 1}, {"scrollSegments", 1}, {"toggleSync", 2},
    {"switchText", 2}, {"closeSelects", 1}, {"clickDispatch", 1}, {"toggleXpand", 1},
    {"MouseOverDispatch", 1}, {"MouseOutDispatch", 1}, {"startVelisk", 2},
    {"notesClickDispatch", 1}, {"insertSyncTag", 1}, {"syncVideo", 2}, {"adjustTimeCode", 3},
    {"notesFocusOutDispatch", 1}, {"formatTimeCode", 2}, {"notesPaste", 1},
    {"notesDragStart", 0}, {"notesDragEnter", 1}, {"notesDragEnd", 0}, {"notesDrop", 1},
    {"notesKeyDispatch", 1}, {"editBarDispatch", 1}, {"editableSelection", 1},
    {"parentSelection", 1}, {"classContains", 2}, {"newNotes", 1}, {"openNotes", 1},
    {"saveNotes", 1}, {"checkChanges", 1}, {"composePage", 1}, {"pageExtract", 2},
    {"checkContent", 2}, {"backupNotes", 1}, {"restoreNotes", 1}, {"checkUnsaved", 1},
    {"backupNotes1", 1}, {"restoreNotes1", 1}};

TEST(MethodTable, HoldsTheInterfaceInSlotOrderWithStableDispIds) {
  const auto table = methods();
  ASSERT_EQ(table.size(), kSlots.size());
  for (std::size_t slot = 0; slot < table.size(); ++slot) {
    SCOPED_TRACE(kSlots[slot].first);
    EXPECT_EQ(table[slot].name, kSlots[slot].first);
    EXPECT_EQ(table[slot].parameters().size(), kSlots[slot].second);
    EXPECT_NE(table[slot].invoker, nullptr) << "no invoker";
    EXPECT_EQ(dispIdOf(kSlots[slot].first), static_cast<DispId>(slot + 1));
    EXPECT_EQ(methodOf(static_cast<DispId>(slot + 1)), &table[slot]);
  }
  EXPECT_EQ(methodOf(0), nullptr);
  EXPECT_EQ(methodOf(49), nullptr);
}

TEST(MethodTable, NamesAreFoundWithoutCase) {
  EXPECT_EQ(dispIdOf("MIN"), dispIdOf("min"));
  EXPECT_EQ(dispIdOf("mouseoverdispatch"), dispIdOf("MouseOverDispatch"));
  EXPECT_EQ(dispIdOf("GOTO_"), 4);
  EXPECT_EQ(dispIdOf("goTo"), std::nullopt);
  EXPECT_EQ(dispIdOf("findClassAncestor"), std::nullopt);  // private, not on the interface
}

TEST(MethodTable, ParametersCarryTheirKindsAndTypes) {
  const Method& adjust = *methodOf(*dispIdOf("adjustTimeCode"));
  EXPECT_EQ(adjust.params[0].type, Type::Window);
  EXPECT_EQ(adjust.params[1].type, Type::Object);
  EXPECT_EQ(adjust.params[2].type, Type::Integer);
  for (const Parameter& p : adjust.parameters()) EXPECT_TRUE(p.byRef) << p.name;

  const Method& addStyle = *methodOf(*dispIdOf("addStyle"));
  EXPECT_TRUE(addStyle.params[1].byRef);
  EXPECT_FALSE(addStyle.params[2].byRef);
  EXPECT_EQ(addStyle.params[3].type, Type::Variant);
  EXPECT_EQ(addStyle.result, Type::None);

  EXPECT_FALSE(methodOf(*dispIdOf("timeToSeconds"))->params[0].byRef);
  EXPECT_EQ(methodOf(*dispIdOf("startVelisk"))->params[1].type, Type::Player);
  EXPECT_EQ(methodOf(*dispIdOf("toggleSync"))->params[0].type, Type::Document);
  EXPECT_EQ(methodOf(*dispIdOf("composePage"))->result, Type::String);
  EXPECT_EQ(methodOf(*dispIdOf("parentSelection"))->result, Type::Object);
  EXPECT_EQ(methodOf(*dispIdOf("checkUnsaved"))->result, Type::Boolean);
}

// Arguments coerce to the declared types by the automation rules.
TEST(Invoke, CoercesArgumentsToTheDeclaredTypes) {
  LessonControl l("spine_segments");
  struct Case {
    Value a;
    std::uint32_t status;
    std::int32_t min;  // min(a, 100)
  } cases[] = {
      {Value("12"), kOk, 12},
      {Value(" 12 "), kOk, 12},
      {Value(2.5), kOk, 2},
      {Value(3.5), kOk, 4},
      {Value(-2.5), kOk, -2},
      {Value(true), kOk, -1},
      {Value(), kOk, 0},
      {Value("abc"), statusOf(ErrorCode::TypeMismatch), 0},
      {Value(""), statusOf(ErrorCode::TypeMismatch), 0},
      {Value(Null{}), statusOf(ErrorCode::TypeMismatch), 0},
      {Value(2147483648.0), statusOf(ErrorCode::Overflow), 0},
      {Value("-2147483649"), statusOf(ErrorCode::Overflow), 0},
      {object(l.element("", "b0")), statusOf(ErrorCode::TypeMismatch), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a.isObject() ? "object" : c.a.isNull() ? "null" : c.a.toText());
    const Value args[] = {c.a, Value(100)};
    const Outcome o = invoke(l.control, "min", args);
    EXPECT_EQ(o.status, c.status);
    if (c.status == kOk) {
      EXPECT_EQ(o.result, Value(c.min));
    }
  }

  const Value number[] = {Value(75.0)};
  EXPECT_EQ(invoke(l.control, "timeToSeconds", number).result, Value(75));
  const Value text[] = {Value("90")};
  EXPECT_EQ(invoke(l.control, "secondsToTime", text).result, Value("00:01:30"));
  // Text is no object.
  const Value notAnObject[] = {Value("b0"), Value("id")};
  EXPECT_EQ(invoke(l.control, "getVal", notAnObject).status, statusOf(ErrorCode::TypeMismatch));
}

TEST(Invoke, StatusesForUnknownNamesCountsAndFailingMethods) {
  LessonControl l("spine_segments");
  const Value one[] = {Value(1)};
  EXPECT_EQ(invoke(l.control, "nosuch", one).status, kUnknownName);
  EXPECT_EQ(invoke(l.control, 0, one).status, kMemberNotFound);
  EXPECT_EQ(invoke(l.control, "min", one).status, kBadParamCount);

  // Before startVelisk the player is not set.
  const Value pos[] = {Value("00:00:10")};
  const Outcome unset = invoke(l.control, "goTo_", pos);
  EXPECT_EQ(unset.status, statusOf(ErrorCode::ObjectRequired));
  EXPECT_FALSE(unset.message.empty());
  EXPECT_TRUE(unset.result.isEmpty());

  // A member the page lacks.
  const Value missing[] = {object(l.element("", "b0")), Value("tq_nosuch")};
  const Outcome absent = invoke(l.control, "getVal", missing);
  EXPECT_EQ(absent.status, kOk);
  EXPECT_EQ(absent.result, Value(""));
}

TEST(Invoke, ResultsAreTheDeclaredTypesOrTheirEmptyValues) {
  LessonControl l("spine_segments");
  const Value atTen[] = {object(l.element("", "basic")), Value("10")};
  const Outcome found = invoke(l.control, "getCurrentSegment", atTen);
  ASSERT_TRUE(found.ok()) << found.message;
  EXPECT_TRUE(Element(found.result).sameAs(l.element("", "b10")));

  const Outcome marked = invoke(l.control, "markCurrentSegment", atTen);
  ASSERT_TRUE(marked.ok()) << marked.message;
  EXPECT_TRUE(marked.result.isEmpty());
  EXPECT_EQ(l.attribute("", "b10", "style"), "color: red");

  const Value cls[] = {Value("WRAPPER"), object(l.element("", "e10a"))};
  EXPECT_EQ(invoke(l.control, "classContains", cls).result, Value(true));
  const Value noCls[] = {Value("wrapper"), object(l.element("", "e5"))};
  EXPECT_EQ(invoke(l.control, "classContains", noCls).result, Value(false));
}

// One road by name through the control core and the navigation subsystem.
TEST(Invoke, StartThenClickByNameSeeksThePlayer) {
  LessonControl l("nav_lesson");
  const Value start[] = {object(l.windowRef()), Value(std::shared_ptr<Object>(l.player))};
  ASSERT_TRUE(invoke(l.control, "STARTVELISK", start).ok());
  EXPECT_EQ(l.windowRef().property("tqStarted"), Value(true));
  EXPECT_TRUE(startedFlag());
  EXPECT_EQ(l.control.timer().interval(), 500);

  const Value w[] = {object(l.windowRef("tq_trans"))};
  Outcome click;
  pagemodel::fireEvent(*l.window("tq_trans"), l.node("tq_trans", "w40"), {},
                       [&] { click = invoke(l.control, "clickDispatch", w); });
  ASSERT_TRUE(click.ok()) << click.message;
  EXPECT_EQ(l.player->seeks, std::vector<double>{40});
}


// One road by name through the notes documents: a page composed and read
// back, a copy in memory put back.
TEST(Invoke, NotesDocumentsByName) {
  testing::NotesLesson l;
  const Value w[] = {l.notesWindow().asValue()};
  l.setNotes("<b>kept</b>");
  const Outcome page = invoke(l.control, "composePage", w);
  ASSERT_TRUE(page.ok()) << page.message;
  const Value extract[] = {page.result, Value(kNotesKey)};
  EXPECT_EQ(invoke(l.control, "pageExtract", extract).result, Value("<b>kept</b>"));

  EXPECT_TRUE(invoke(l.control, "backupNotes", w).ok());
  l.setNotes("changed");
  ASSERT_TRUE(invoke(l.control, "restoreNotes", w).ok());
  EXPECT_EQ(l.notes(), "<b>kept</b>");
}

// One road by name through the notes editor: Ctrl+T puts a sync tag stamped
// with the player's position into the notes.
TEST(Invoke, NotesEditorByName) {
  testing::NotesPage l;
  l.playerAt(75);
  Outcome key;
  pagemodel::fireEvent(*l.top, l.notes(), {"keydown", 84, true}, [&] {
    const Value w[] = {l.windowRef().asValue()};
    key = invoke(l.control, "notesKeyDispatch", w);
  });
  ASSERT_TRUE(key.ok()) << key.message;
  EXPECT_NE(l.notesHtml().find("00:01:15"), std::string::npos) << l.notesHtml();
}

}  // namespace
}  // namespace reVoziz::automation
