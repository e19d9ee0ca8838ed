#pragma once
// The control. A lesson page creates one, starts it with startVelisk and
// forwards its events to it. One C++ method per method of the automation
// interface, named as there; each forwards to the subsystem that owns it.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/control_state.h"
#include "core/dom.h"
#include "core/error.h"
#include "core/platform.h"
#include "core/tick_lists.h"
#include "core/player.h"
#include "documents/notes_documents.h"
#include "editor/notes_editor.h"
#include "navigation/navigation.h"
#include "transcript/transcript.h"

namespace reVoziz {

class tq {
 public:
  explicit tq(Platform& platform);
  tq(const tq&) = delete;
  tq& operator=(const tq&) = delete;

  // Control core.
  void startVelisk(const Window& w, const Player& mp);
  std::int32_t min(std::int32_t a, std::int32_t b) const { return a < b ? a : b; }
  std::int32_t max(std::int32_t a, std::int32_t b) const { return b < a ? a : b; }
  std::int32_t timeToSeconds(std::string_view time) const;
  std::string secondsToTime(std::int32_t t) const;
  Value getVal(const Element& o, std::string_view p) const;
  bool classContains(std::string_view className, const Element& el) const;

  // Transcript synchronisation.
  Element getCurrentSegment(const Element& iText, std::int32_t time) const;
  void markCurrentSegment(const Element& iText, std::int32_t time) const;
  void addStyle(const StyleSheet& sSheet, std::string_view sel, std::string_view s,
                const Value& v) const;
  void singleSegments(const Window& w) const;
  void scrollSegments(const Window& w) const;
  void toggleSync(const Document& d, const Element& e) const;
  void showMode(const Element& mode, std::int32_t layout) const;
  void goTo_(std::string_view pos_) const;
  void switchText(const Document& d, const Element& e) const;

  // Page navigation.
  void closeSelects(const Window& w) const;
  void clickDispatch(const Window& w) const;
  void toggleXpand(const Element& ex) const;
  void MouseOverDispatch(const Window& w) const;
  void MouseOutDispatch(const Window& w) const;

  // Notes editor.
  void notesClickDispatch(const Window& w) const;
  void insertSyncTag(const Window& w) const;
  void syncVideo(const Window& w, std::string_view timeText) const;
  void adjustTimeCode(const Window& w, const Element& tc, std::int32_t secs) const;
  void notesFocusOutDispatch(const Window& w) const;
  void formatTimeCode(const Window& w, const Element& tc) const;
  void notesPaste(const Window& w);
  void notesDragStart();
  void notesDragEnter(const Window& w) const;
  void notesDragEnd();
  void notesDrop(const Window& w) const;
  void notesKeyDispatch(const Window& w) const;
  void editBarDispatch(const Window& w) const;
  bool editableSelection(const Window& w) const;
  Element parentSelection(const Window& w) const;

  // Notes documents.
  void newNotes(const Window& w);
  void openNotes(const Window& w);
  void saveNotes(const Window& w);
  bool checkChanges(const Window& w);
  std::string composePage(const Window& w) const;
  std::string pageExtract(std::string_view page, std::string_view key) const;
  bool checkContent(const Window& w, std::string_view page) const;
  bool backupNotes(const Window& w);
  void restoreNotes(const Window& w);
  bool checkUnsaved(const Window& w);
  void backupNotes1(const Window& w);
  void restoreNotes1(const Window& w);

  // Not part of the automation interface.
  const ControlState& state() const { return state_; }
  const Timer& timer() const { return *Timer1; }
  const NotesEditor& editor() const { return editor_; }
  // Called with the error of each failed tick; a failed tick is otherwise dropped.
  void onTickFailure(std::function<void(const Error&)> report) { tickFailure_ = std::move(report); }
  // Called after each tick that ended without an error.
  void onTickSuccess(std::function<void()> report) { tickSuccess_ = std::move(report); }

 private:
  // What a frame's marking relied on or left, and the positions at which it
  // would read nothing new and write nothing.
  struct QuietFrame {
    Document document;
    std::uint64_t stamp;
    std::uint64_t windowStamp;
    SecondsSpan seconds;
  };
  void tick();
  std::optional<QuietFrame> markFrame(std::string_view frameName);
  std::optional<QuietTicks> quietAfter(const QuietFrame& toc, const QuietFrame& trans) const;

  ControlState state_;
  std::unique_ptr<Timer> Timer1;
  std::unique_ptr<FileDialog> filesDialog;
  Transcript transcript_;
  TickLists tickLists_;
  Navigation navigation_;
  NotesDocuments documents_;
  NotesEditor editor_;
  std::function<void(const Error&)> tickFailure_;
  std::function<void()> tickSuccess_;
};

}  // namespace reVoziz
