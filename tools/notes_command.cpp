#include "tools/notes_command.h"

#include <iterator>
#include <memory>
#include <stdexcept>

#include "core/error.h"
#include "control/tq.h"
#include "documents/notes_documents.h"
#include "documents/stored_form.h"
#include "automation/page_model_binding.h"
#include "pagemodel/document_model.h"
#include "pagemodel/event_dispatch.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/model_platform.h"
#include "pagemodel/page_loader.h"
#include "pagemodel/player_model.h"
#include "pagemodel/window_model.h"
#include "tools/lesson_loader.h"

namespace reVoziz::tools {
namespace {

using pagemodel::WindowModel;

constexpr std::string_view kNotesPage = "notes.html";

// A control started on `top` with a player that stands still.
struct StartedControl {
  explicit StartedControl(const std::shared_ptr<WindowModel>& top) {
    control.startVelisk(Window(std::shared_ptr<Object>(top)), Player(player));
  }
  pagemodel::ScriptedFileDialog& dialog() { return *platform.dialogs().front(); }
  FileSystem& files() { return platform.fileSystem(); }

  pagemodel::ManualClock clock;
  std::shared_ptr<pagemodel::PlayerModel> player = std::make_shared<pagemodel::PlayerModel>(clock);
  pagemodel::ModelPlatform platform{clock};
  tq control{platform};
};

std::shared_ptr<WindowModel> blankPage() {
  auto window = std::make_shared<WindowModel>("", std::weak_ptr<WindowModel>());
  window->setDocument(
      pagemodel::DocumentModel::create(pagemodel::parseDocument(""), "about:blank", {}, window));
  return window;
}

int reportFailure(const Error& e, std::ostream& err) {
  err << "error " << static_cast<int>(e.code()) << ' ' << e.what() << '\n';
  return 1;
}

int show(const std::string& file, bool title, std::ostream& out, std::ostream& err) {
  StartedControl started(blankPage());
  try {
    const std::string page = readStoredPage(started.files(), file);
    out << started.control.pageExtract(page, title ? kTitleKey : kNotesKey) << '\n';
    return 0;
  } catch (const Error& e) {
    return reportFailure(e, err);
  }
}

// The lesson's notes page, loaded into its transcript frame; null after
// telling `err` why it cannot be.
std::shared_ptr<WindowModel> loadNotesPage(const std::shared_ptr<WindowModel>& top, std::ostream& err) {
  if (!top) return nullptr;
  const std::shared_ptr<WindowModel> transcript = top->frame("tq_trans");
  if (!transcript) {
    err << "revoziz: the lesson has no frame tq_trans\n";
    return nullptr;
  }
  try {
    pagemodel::navigate(*transcript, kNotesPage);
  } catch (const Error& e) {
    err << "revoziz: cannot load the notes page: " << e.what() << '\n';
    return nullptr;
  }
  return transcript;
}

int save(const std::string& lesson, const std::string& file, std::istream& in, std::ostream& err) {
  const std::shared_ptr<WindowModel> top = loadLesson(lesson, err);
  const std::shared_ptr<WindowModel> transcript = loadNotesPage(top, err);
  if (!transcript) return 2;
  StartedControl started(top);
  const std::string markup{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  try {
    const Window notesWindow{std::shared_ptr<Object>(transcript)};
    notesWindow.document().element("notes").setInnerHTML(markup);
    started.dialog().answers.push_back(file);
    started.control.saveNotes(notesWindow);
    return 0;
  } catch (const Error& e) {
    return reportFailure(e, err);
  }
}

// Opens FILE in the notes page, pastes standard input at the end of the
// notes through the edit bar's paste button, as a user would, and saves FILE.
int paste(const std::string& lesson, const std::string& file, std::istream& in, std::ostream& err) {
  const std::shared_ptr<WindowModel> top = loadLesson(lesson, err);
  const std::shared_ptr<WindowModel> notesPage = loadNotesPage(top, err);
  if (!notesPage) return 2;
  StartedControl started(top);
  automation::bindControl(*top, started.control);
  top->clipboard.html =
      std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  try {
    const Window notesWindow{std::shared_ptr<Object>(notesPage)};
    started.dialog().answers.push_back(file);
    started.control.openNotes(notesWindow);
    pagemodel::DocumentModel& document = *notesPage->document();
    const pagemodel::NodePtr notes = document.elementById("notes");
    document.selection().placeCaret({notes, notes->children().size()});
    pagemodel::NodePtr button = document.elementById("paste");
    if (!button) throw Error(ErrorCode::MemberNotFound, "The notes page has no paste button");
    pagemodel::raiseEvent(*notesPage, button, {"click"});
    // The paste road runs in the page's handlers, which report their failures there.
    if (!notesPage->scriptErrors.empty()) return reportFailure(notesPage->scriptErrors.front(), err);
    started.dialog().answers.push_back(file);
    started.control.saveNotes(notesWindow);
    return 0;
  } catch (const Error& e) {
    return reportFailure(e, err);
  }
}

}  // namespace

int runNotes(std::span<const std::string> args, std::istream& in, std::ostream& out,
             std::ostream& err) {
  if (!args.empty() && args[0] == "show") {
    const bool title = args.size() == 3 && args[2] == "--title";
    if (args.size() != 2 && !title) throw std::invalid_argument("notes show wants FILE [--title]");
    return show(args[1], title, out, err);
  }
  if (!args.empty() && args[0] == "save") {
    if (args.size() != 3) throw std::invalid_argument("notes save wants LESSON_DIR FILE");
    return save(args[1], args[2], in, err);
  }
  if (!args.empty() && args[0] == "paste") {
    if (args.size() != 3) throw std::invalid_argument("notes paste wants LESSON_DIR FILE");
    return paste(args[1], args[2], in, err);
  }
  throw std::invalid_argument("notes wants show, save or paste");
}

}  // namespace reVoziz::tools
