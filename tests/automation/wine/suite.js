// The control as a lesson page's script sees it: created by ProgID, called by
// name, failures arriving as exceptions. Runs in cscript after page.js and check.js.

function echo(text) { WScript.Echo(text); }

var kTypeMismatch = 0x800A000D, kOverflow = 0x800A0006, kObjectRequired = 0x800A01A8,
    kMemberNotFound = 0x800A01B6;

var c = new ActiveXObject("reVoziz.tq");

// Pure methods, names without case, arguments coerced.
checkEqual(c.min(3, 2), 2, "min");
checkEqual(c.MAX(3, "12"), 12, "MAX with a numeric string");
checkEqual(c.min(2.5, 9), 2, "min rounds half to even");
checkEqual(c.secondsToTime(3725), "01:02:05", "secondsToTime");
checkEqual(c.timeToSeconds("1:01"), 61, "timeToSeconds");
checkEqual(statusOf(function () { c.min("abc", 1); }), kTypeMismatch, "text for an integer");
checkEqual(c.max("&H10", 3), 16, "hexadecimal text for an integer");
checkEqual(c.max(" (1,000) ", -2000), -1000, "thousands and a negative in parentheses");
checkEqual(statusOf(function () { c.min(4294967296, 1); }), kOverflow, "integer overflow");
checkEqual(statusOf(function () { c.nosuchMethod(); }), kMemberNotFound, "unknown method");

var wrapper = Element("wrap", { "class": "wrapper" }, [Element("inner", { tq_start: "0:10" })]);
var inner = wrapper.children.item(0);
checkEqual(c.getVal(inner, "tq_start"), "0:10", "getVal of an attribute");
checkEqual(c.getVal(inner, "tq_absent"), "", "getVal of a missing attribute");
checkEqual(c.classContains("WRAPPER", inner), true, "classContains of an ancestor");
checkEqual(c.classContains("wrapper", wrapper), false, "classContains skips the element itself");

var list = SegmentList(["0:00", "0:10", "0:20"]);
check(c.getCurrentSegment(list, 15) === list.children.item(1), "getCurrentSegment gives the page's own element");
c.markCurrentSegment(list, "25");
checkEqual(list.children.item(2).style.cssText, "color: red", "markCurrentSegment styles the segment");
checkEqual(list.tq_oldSegment, list.children.item(2).uniqueID, "markCurrentSegment keeps the segment");

// A failure inside the page keeps its code. (Wine's JScript hands no
// description out of a script function called from outside.)
var broken = Element("broken", {});
broken.getAttribute = function () { throw new Error(0x800A0005 | 0, "page says no"); };
var pageError;
try { c.getVal(broken, "x"); } catch (e) { pageError = e; }
check(pageError && (pageError.number >>> 0) == 0x800A0005, "page error code");
check(pageError && pageError.description != "", "page error message");

// Before startVelisk: player methods fail, notes methods return their empty results at once.
var lesson = Lesson(["0:00", "0:10"]);
var w = lesson.window;
checkEqual(statusOf(function () { c.goTo_("0:10"); }), kObjectRequired, "goTo_ before start");
// The window has no event and no notes: an ungated call would fail.
checkEqual(c.checkChanges(w), false, "gated checkChanges");
checkEqual(c.checkUnsaved(w), false, "gated checkUnsaved");
checkEqual(c.composePage(w), "", "gated composePage");
checkEqual(c.pageExtract("<p id=k>v</p>", "k"), "", "gated pageExtract");
checkEqual(c.editableSelection(w), false, "gated editableSelection");
checkEqual(c.notesKeyDispatch(w), undefined, "gated notesKeyDispatch");
checkEqual(c.newNotes(w), undefined, "gated newNotes");
checkEqual(c.notesDragStart(), undefined, "gated notesDragStart");
check(!("tqStarted" in w), "no tqStarted before start");

var player = Player(12.5);
checkEqual(c.startVelisk(w, player), undefined, "startVelisk result");
checkEqual(player.controls.plays, 1, "startVelisk plays");
checkEqual(w.tqStarted, true, "tqStarted on the window");
c.goTo_("0:10");
checkEqual(player.controls.currentPosition, 10, "goTo_ seeks");

// A member spelt otherwise than the control spells it is written where it is;
// a member the object lacks becomes an expando.
var otherPlayer = { controls: { CurrentPosition: 0, play: function () {} } };
var otherWindow = Window({});
c.startVelisk(otherWindow, otherPlayer);
c.goTo_("0:20");
checkEqual(otherPlayer.controls.CurrentPosition, 20, "the position written to the player's own member");
check(!("currentPosition" in otherPlayer.controls), "no second position member beside it");
checkEqual(otherWindow.tqStarted, true, "a missing member becomes an expando");
c.startVelisk(w, player);

// The notes through the Win32 files: a backup in the temporary folder, read back.
var notes = { innerHTML: "caf\u00e9 \u00f1 \u65e5\u672c <b>bold</b>" };
// The frame's address as a Windows host gives it; the src as written.
var notesTemplate = Window({ URL: "file://C:\\lesson\\notes_template.html", documentElement: {
    outerHTML: "<html><head><title><!--title--><!--title--></title></head><body><!--notes--><!--notes--></body></html>" } });
var notesWindow = Window({ all: Collection([]), frames: { notesTemplate: notesTemplate },
                          implementation: InertDocuments() });
notesWindow.document.all.notesTemplate = {
  getAttribute: function (name) { return name == "src" ? "notes_template.html" : null; } };
notesWindow.document.all.notes = notes;
notesWindow.document.all.notesFile = { innerHTML: "" };
notesWindow.parent = Window({ title: "Lecci\u00f3n" });
c.backupNotes1(notesWindow);
notes.innerHTML = "changed";
c.restoreNotes1(notesWindow);
checkEqual(notes.innerHTML, "caf\u00e9 \u00f1 \u65e5\u672c <b>bold</b>", "notes back from the temporary file");
// One document holds the notes while they are cleaned; a blank one tells
// which names a document has as members.
checkEqual(notesWindow.document.implementation.made, 2, "restored notes pass through a document of their own");
// A link aimed at the frame loaded another page: nothing is composed from it.
notesTemplate.document.URL = "file://C:\\lesson\\index.html";
checkEqual(statusOf(function () { c.backupNotes1(notesWindow); }), 0x800A0005,
           "a template frame that shows another page fails with 5");

echo(checks + " checks, " + failures + " failed");
WScript.Quit(failures ? 1 : 0);
