// The tick, through the control's real timer while the script waits on the
// message loop. Runs in script_host after page.js and check.js.

function echo(text) { host.echo(text); }

var c = host.create("reVoziz.tq");
var lesson = Lesson(["0:00", "0:10", "0:12", "0:14"]);
var player = Player(12.5);
function marked(list) {
  for (var i = 0; i < list.children.length; i++) {
    if (list.children.item(i).uniqueID == list.tq_oldSegment) return list.children.item(i).id;
  }
  return list.tq_oldSegment;
}

// A control that was not started does not tick.
host.wait(700);
checkEqual(marked(lesson.toc), "", "no tick before startVelisk");

c.startVelisk(lesson.window, player);
checkEqual(marked(lesson.toc), "", "the first tick comes later");
host.wait(1000);
checkEqual(marked(lesson.toc), "s0:12", "12.5 s marks second 12 in the table of contents");
checkEqual(marked(lesson.trans), "s0:12", "12.5 s marks second 12 in the transcript");
checkEqual(lesson.trans.children.item(2).style.cssText, "color: red", "the current look");

// A call that waits on the message loop inside the page (as a modal dialog
// does) sees no tick in the middle of it.
player.controls.currentPosition = 13.5;
var slow = Element("slow", {});
slow.getAttribute = function () { host.wait(1200); return marked(lesson.trans); };
checkEqual(c.getVal(slow, "x"), "s0:12", "no tick inside a call");
host.wait(1000);
checkEqual(marked(lesson.trans), "s0:14", "13.5 s marks second 14");
checkEqual(lesson.trans.children.item(2).style.cssText, "color: black", "the old segment's look");

// A failing tick is dropped; the next one starts afresh.
var frames = lesson.window.document.frames;
var toc = frames.tq_toc;
delete frames.tq_toc;
player.controls.currentPosition = 10;
host.wait(1000);
checkEqual(marked(lesson.trans), "s0:14", "no marking without the table of contents frame");
frames.tq_toc = toc;
host.wait(1000);
checkEqual(marked(lesson.trans), "s0:10", "marking resumes with the frame back");

echo(checks + " tick checks, " + failures + " failed");
host.finish(failures);
