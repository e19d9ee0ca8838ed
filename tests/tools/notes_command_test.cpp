#include "tools/notes_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace reVoziz::tools {
namespace {

const std::filesystem::path kLessons = REVOZIZ_TEST_LESSONS;
const std::filesystem::path kSample = REVOZIZ_SAMPLE_LESSON;

struct NotesOutput {
  int status;
  std::string out;
  std::string err;
};

NotesOutput notes(std::vector<std::string> args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = runNotes(args, in, out, err);
  return {status, out.str(), err.str()};
}

class NotesCommand : public ::testing::Test {
 protected:
  testing::ScratchFolder folder;
};

TEST_F(NotesCommand, ShowReadsWhatTheSampleLessonSaved) {
  const std::string file = folder.file("sample.notes");
  const std::string markup = "<p>Exposición: f/2,8 — 日本 😀</p>";
  const NotesOutput saved = notes({"save", kSample.string(), file}, markup);
  EXPECT_EQ(saved.status, 0) << saved.err;
  EXPECT_EQ(saved.err, "");
  EXPECT_NE(folder.read("sample.notes").find("Exposici\xF3n: f/2,8 \x97 &#26085;&#26412; &#128512;"),
            std::string::npos);

  const NotesOutput shown = notes({"show", file});
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(shown.out, markup + "\n");
  EXPECT_EQ(notes({"show", file, "--title"}).out, "Introducción a la fotografía digital\n");
}

TEST_F(NotesCommand, ShowReadsAWindows1252FileFromAnotherProgram) {
  const std::string file = (kLessons / "notes_lesson/other_program.notes").string();
  EXPECT_EQ(notes({"show", file}).out,
            "Notas de otro programa: café, 5 €, año, “comillas” y &#233; escrito a mano.\n");
  EXPECT_EQ(notes({"show", file, "--title"}).out, "Lección ñ\n");
}

TEST_F(NotesCommand, FailuresOfTheControlAreReportedWithTheirCode) {
  const NotesOutput missing = notes({"show", folder.file("missing.notes")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err.rfind("error 53 ", 0), 0u) << missing.err;

  const NotesOutput once = notes({"show", folder.write("once.notes", "<!--notes-->x")});
  EXPECT_EQ(once.status, 1);
  EXPECT_EQ(once.err.rfind("error 5 ", 0), 0u) << once.err;

  const NotesOutput unwritable =
      notes({"save", (kLessons / "notes_lesson").string(), folder.file("no/such.notes")}, "x");
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err.rfind("error 76 ", 0), 0u) << unwritable.err;

  const std::string readOnly = folder.write("read-only.notes", "old");
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
  const NotesOutput refused = notes({"save", (kLessons / "notes_lesson").string(), readOnly}, "x");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "error 70 Permission denied: the file is read-only: " + readOnly + "\n");
  EXPECT_EQ(folder.read("read-only.notes"), "old");
}

TEST_F(NotesCommand, AFailedSaveLeavesTheFileAsItWas) {
  const std::string file = folder.write("kept.notes", "old notes");
  const NotesOutput run =
      notes({"save", (kLessons / "notes_no_template").string(), file}, "<p>new</p>");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("error 438 ", 0), 0u) << run.err;
  EXPECT_EQ(folder.read("kept.notes"), "old notes");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"kept.notes"});
}

TEST_F(NotesCommand, LessonsThatCannotBeLoadedExitWithTwo) {
  const std::string file = folder.file("x.notes");
  EXPECT_EQ(notes({"save", folder.file("nowhere"), file}).status, 2);
  // A lesson without a notes page.
  const NotesOutput run = notes({"save", (kLessons / "tool_lesson").string(), file});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("notes page"), std::string::npos) << run.err;
  EXPECT_TRUE(folder.names().empty());
}

TEST_F(NotesCommand, PasteBringsAFragmentIntoTheFileCleanedAndAtTheEnd) {
  const std::string file = folder.file("clase.notes");
  ASSERT_EQ(notes({"save", kSample.string(), file}, "<p>Mías</p>").status, 0);
  const NotesOutput pasted = notes(
      {"paste", kSample.string(), file},
      "<b onclick=\"steal()\">hola</b><script>alert(1)</script><a href=\" JavaScript:x()\">enlace</a>");
  EXPECT_EQ(pasted.status, 0) << pasted.err;
  EXPECT_EQ(pasted.err, "");
  EXPECT_EQ(notes({"show", file}).out, "<p>Mías</p><b>hola</b><a>enlace</a>\n");
  EXPECT_EQ(notes({"show", file, "--title"}).out, "Introducción a la fotografía digital\n");
}

TEST_F(NotesCommand, PasteIntoAHostileFileSavesNoneOfItsHostileNotes) {
  // `save` writes standard input as it is, so the file holds what a hostile
  // sender would put there; `paste` opens it through the control's road.
  const std::string file = folder.file("shared.notes");
  ASSERT_EQ(notes({"save", kSample.string(), file},
                  "<p id=\"pastePoint\">Mías</p><img src=x onerror=\"steal()\"><script>alert(1)</script>"
                  "<noscript><p title=\"</noscript><img src=x onerror=alert(1)>\"></p></noscript>"
                  "<!-- note --><a href=\"0;javascript:x()\" style=\"width:ex\\70ression(x())\">a</a>")
                .status,
            0);
  ASSERT_NE(folder.read("shared.notes").find("onerror"), std::string::npos);
  const NotesOutput pasted = notes({"paste", kSample.string(), file}, "<i>más</i>");
  EXPECT_EQ(pasted.status, 0) << pasted.err;
  // The image that would load from the lesson's folder shows its address.
  EXPECT_EQ(notes({"show", file}).out, "<p>Mías</p>x<a>a</a><i>más</i>\n");
}

TEST_F(NotesCommand, PasteReportsWhatStopsItAndLeavesTheFileAlone) {
  const NotesOutput missing = notes({"paste", kSample.string(), folder.file("missing.notes")}, "<b>x</b>");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err.rfind("error 53 ", 0), 0u) << missing.err;
  EXPECT_TRUE(folder.names().empty());
  // A file the open step cannot read: its notes key occurs once.
  const std::string stored =
      "<!--title-->Introducci\xF3" "n a la fotograf\xED" "a digital<!--title--><!--notes--><p>a</p>";
  const std::string file = folder.write("once.notes", stored);
  const NotesOutput failed = notes({"paste", kSample.string(), file}, "<b>x</b>");
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err.rfind("error 5 ", 0), 0u) << failed.err;
  EXPECT_EQ(folder.read("once.notes"), stored);
  EXPECT_EQ(notes({"paste", (kLessons / "tool_lesson").string(), file}, "x").status, 2);
}

TEST_F(NotesCommand, RejectsMalformedArguments) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"list"}, {"show"}, {"show", "f", "--bogus"}, {"save", "lesson"}, {"paste", "lesson"}}) {
    EXPECT_THROW(notes(args), std::invalid_argument);
  }
}

}  // namespace
}  // namespace reVoziz::tools
