#include "control/tq.h"

#include <algorithm>
#include <optional>

#include "core/page_lookups.h"
#include "core/rounding.h"
#include "core/started_flag.h"
#include "core/time_code.h"

namespace reVoziz {

tq::tq(Platform& platform)
    : Timer1(platform.createTimer()),
      filesDialog(platform.createFileDialog()),
      transcript_(state_, platform),
      tickLists_(platform),
      navigation_(transcript_),
      documents_(state_, *Timer1, *filesDialog, platform.fileSystem()),
      editor_(state_, documents_, transcript_) {
  Timer1->onTick([this] { tick(); });
}

void tq::startVelisk(const Window& w, const Player& mp) {
  // The rest was for the window and player bound so far; a start that fails
  // half-way has already rebound some of them.
  Timer1->restWhile(std::nullopt);
  state_.HostWindow = w;
  state_.HostDocument = w.document();
  tickLists_.forget();
  state_.Player = mp;
  // Set before the player is touched: a player that cannot play still leaves
  // the notes methods enabled.
  setStartedFlag();
  state_.Player.controls().play();
  Timer1->setInterval(500);
  state_.NotesBackup.clear();
  w.setProperty("tqStarted", true);
}

void tq::tick() {
  // A failing step ends this tick only; the next one starts afresh.
  std::optional<QuietTicks> quiet;
  try {
    const std::optional<QuietFrame> toc = markFrame("tq_toc");
    const std::optional<QuietFrame> trans = markFrame("tq_trans");
    if (toc && trans) quiet = quietAfter(*toc, *trans);
  } catch (const Error& e) {
    Timer1->restWhile(std::nullopt);
    if (tickFailure_) tickFailure_(e);
    return;
  }
  Timer1->restWhile(std::move(quiet));
  if (tickSuccess_) tickSuccess_();
}

// The ticks after this one may rest while every document keeps the stamp
// this one relied on, or left after its own writes, and the position stays
// where both lists give the same answer.
std::optional<QuietTicks> tq::quietAfter(const QuietFrame& toc, const QuietFrame& trans) const {
  if (toc.windowStamp != trans.windowStamp) return std::nullopt;
  const std::int32_t from = std::max(toc.seconds.from, trans.seconds.from);
  const std::int32_t to = std::min(toc.seconds.to, trans.seconds.to);
  if (from > to) return std::nullopt;
  return QuietTicks{{{state_.HostDocument.handle(), toc.windowStamp},
                     {toc.document.handle(), toc.stamp},
                     {trans.document.handle(), trans.stamp}},
                    state_.Player.handle(),
                    realsRoundingInto(from, to)};
}

std::optional<tq::QuietFrame> tq::markFrame(std::string_view frameName) {
  // The position is read first, so that nothing reads the page between the
  // stamp of the list's document and the marking that reuses it. A failed
  // read is raised only after the list is found, so that a missing list is
  // still the failure the tick reports first.
  std::optional<Error> positionFailure;
  std::int32_t seconds = 0;
  try {
    seconds = toInt32HalfEven(state_.Player.controls().currentPosition());
  } catch (const Error& e) {
    positionFailure = e;
  }
  const TickLists::List iText = tickLists_.list(state_.HostDocument, frameName);
  if (positionFailure) throw *positionFailure;
  const std::optional<Transcript::Rest> rest =
      transcript_.markCurrentSegment(iText.element, seconds, iText.stamp);
  if (!rest || !iText.stamp || !iText.windowStamp) return std::nullopt;
  // The marking's own writes moved the stamp; they change no lookup.
  tickLists_.restamp(frameName, *iText.stamp, rest->stamp);
  return QuietFrame{iText.document, rest->stamp, *iText.windowStamp, rest->seconds};
}

std::int32_t tq::timeToSeconds(std::string_view time) const { return reVoziz::timeToSeconds(time); }
std::string tq::secondsToTime(std::int32_t t) const { return reVoziz::secondsToTime(t); }
Value tq::getVal(const Element& o, std::string_view p) const { return reVoziz::getVal(o, p); }
bool tq::classContains(std::string_view className, const Element& el) const {
  return reVoziz::classContains(className, el);
}

Element tq::getCurrentSegment(const Element& iText, std::int32_t time) const {
  return transcript_.getCurrentSegment(iText, time);
}
void tq::markCurrentSegment(const Element& iText, std::int32_t time) const {
  transcript_.markCurrentSegment(iText, time);
}
void tq::addStyle(const StyleSheet& sSheet, std::string_view sel, std::string_view s,
                  const Value& v) const {
  transcript_.addStyle(sSheet, sel, s, v);
}
void tq::singleSegments(const Window& w) const { transcript_.singleSegments(w); }
void tq::scrollSegments(const Window& w) const { transcript_.scrollSegments(w); }
void tq::toggleSync(const Document& d, const Element& e) const { transcript_.toggleSync(d, e); }
void tq::showMode(const Element& mode, std::int32_t layout) const {
  transcript_.showMode(mode, layout);
}
void tq::goTo_(std::string_view pos_) const { transcript_.goTo_(pos_); }
void tq::switchText(const Document& d, const Element& e) const { transcript_.switchText(d, e); }

void tq::closeSelects(const Window& w) const { navigation_.closeSelects(w); }
void tq::clickDispatch(const Window& w) const { navigation_.clickDispatch(w); }
void tq::toggleXpand(const Element& ex) const { navigation_.toggleXpand(ex); }
void tq::MouseOverDispatch(const Window& w) const { navigation_.MouseOverDispatch(w); }
void tq::MouseOutDispatch(const Window& w) const { navigation_.MouseOutDispatch(w); }

void tq::notesClickDispatch(const Window& w) const { editor_.notesClickDispatch(w); }
void tq::insertSyncTag(const Window& w) const { editor_.insertSyncTag(w); }
void tq::syncVideo(const Window& w, std::string_view timeText) const {
  editor_.syncVideo(w, timeText);
}
void tq::adjustTimeCode(const Window& w, const Element& tc, std::int32_t secs) const {
  editor_.adjustTimeCode(w, tc, secs);
}
void tq::notesFocusOutDispatch(const Window& w) const { editor_.notesFocusOutDispatch(w); }
void tq::formatTimeCode(const Window& w, const Element& tc) const { editor_.formatTimeCode(w, tc); }
void tq::notesPaste(const Window& w) { editor_.notesPaste(w); }
void tq::notesDragStart() { editor_.notesDragStart(); }
void tq::notesDragEnter(const Window& w) const { editor_.notesDragEnter(w); }
void tq::notesDragEnd() { editor_.notesDragEnd(); }
void tq::notesDrop(const Window& w) const { editor_.notesDrop(w); }
void tq::notesKeyDispatch(const Window& w) const { editor_.notesKeyDispatch(w); }
void tq::editBarDispatch(const Window& w) const { editor_.editBarDispatch(w); }
bool tq::editableSelection(const Window& w) const { return editor_.editableSelection(w); }
Element tq::parentSelection(const Window& w) const { return editor_.parentSelection(w); }

void tq::newNotes(const Window& w) { documents_.newNotes(w); }
void tq::openNotes(const Window& w) { documents_.openNotes(w); }
void tq::saveNotes(const Window& w) { documents_.saveNotes(w); }
bool tq::checkChanges(const Window& w) { return documents_.checkChanges(w); }
std::string tq::composePage(const Window& w) const { return documents_.composePage(w); }
std::string tq::pageExtract(std::string_view page, std::string_view key) const {
  return documents_.pageExtract(page, key);
}
bool tq::checkContent(const Window& w, std::string_view page) const {
  return documents_.checkContent(w, page);
}
bool tq::backupNotes(const Window& w) { return documents_.backupNotes(w); }
void tq::restoreNotes(const Window& w) { documents_.restoreNotes(w); }
bool tq::checkUnsaved(const Window& w) { return documents_.checkUnsaved(w); }
void tq::backupNotes1(const Window& w) { documents_.backupNotes1(w); }
void tq::restoreNotes1(const Window& w) { documents_.restoreNotes1(w); }

}  // namespace reVoziz
