// Loads the control into a lesson page, starts it with the page's window and
// its <video>, and forwards the events of the page and of every frame to it,
// as lesson pages do.
//
//   <script type="module">
//     import { startLesson } from "/revoziz/lesson_host.js";
//     startLesson(window);
//   </script>

import createRevoziz from "./revoziz.mjs";
import { changeStamp } from "./change_stamp.js";
import { followOrPause } from "./follow_pause.js";
import { readableDocument } from "./frames_loading.js";
import { controlClass, dispatch, host, pickedFileEvents } from "./host.js";
import { notesDrafts } from "./notes_draft.js";
import { describeList, describeMenus, describeNotes, describeToolbar, pressButtonsByKey } from "./accessibility.js";
import { lessonPanels } from "./narrow_layout.js";
import { videoPlayer } from "./player.js";
import { playerKeys } from "./player_keys.js";
import { videoCaptions } from "./video_captions.js";

const MODE_BUTTONS = ["modefull", "modetoc", "modetrans", "modevideo"];
const TOOLBAR_BUTTONS = [...MODE_BUTTONS, "tq_scroll", "tq_single", "tq_sync", "tq_print"];

function loaded(win) {
  if (win.document.readyState === "complete") return Promise.resolve();
  return new Promise((resolve) => win.addEventListener("load", resolve, { once: true }));
}

// Calls a control method for an event of `win`, with that event as the
// window's `event`. A failing call is reported, as a page's script error is,
// also when it fails after waiting on the browser.
function forward(win, event, call) {
  dispatch(win, event, () => attempt(win, call));
}

function attempt(win, call) {
  const report = (error) => win.console.error(`reVoziz: ${error.message}`);
  try {
    call()?.catch?.(report);
  } catch (error) {
    report(error);
  }
}

// The notes page forwards its own events, the edit bar's included, with its
// handler attributes (parent.tq). While the notes page is away from its frame
// (the frame shows a transcript), the control keeps a copy of the notes, which
// the leaving guard compares and which comes back with the notes page. The
// browser keeps a draft of the notes too, which outlasts the lesson page.
function forwardNotesPage(tq, win, drafts) {
  const document = win.document;
  if (!document.getElementById("notes")) return;
  // A press on the edit bar leaves the selection and the focus where they
  // are, as a toolbar's buttons do, so that its commands act on them.
  document.getElementById("editbar")?.addEventListener("mousedown", (event) => event.preventDefault());
  attempt(win, () => tq.restoreNotes(win));
  drafts.attach(win);
  win.addEventListener("pagehide", (event) => forward(win, event, () => tq.backupNotes(win)));
}

// Clicks and hovers of one window (the top page or a frame).
function forwardWindowEvents(tq, win) {
  const document = win.document;
  document.addEventListener("click", (event) =>
    forward(win, event, () => {
      tq.closeSelects(win);
      tq.clickDispatch(win);
    }),
  );
  document.addEventListener("mouseover", (event) => forward(win, event, () => tq.MouseOverDispatch(win)));
  document.addEventListener("mouseout", (event) => forward(win, event, () => tq.MouseOutDispatch(win)));
}

// The keys and the screen reader's view of a frame's page: its list, or the
// notes' buttons; the video's keys, and its captions in the transcript's
// language. A page without a list is said once, quietly: its ticks fail.
function describeFrame(win, name, aids) {
  const document = win.document;
  pressButtonsByKey(document);
  describeNotes(document);
  aids?.listen(document);
  const list = describeList(document);
  if (list) followOrPause(document, list);
  else if (name === "tq_toc" || name === "tq_trans") {
    win.top.console.debug(`reVoziz: the page in ${name} (${document.URL}) has no list to mark`);
  }
  if (name === "tq_trans") aids?.captions.transcriptPage(document, Boolean(list));
}

// The video's keys and captions, for the lesson page and each frame's page.
function videoAids(win, video) {
  const document = win.document;
  const captions = videoCaptions(video, document.querySelector('iframe[name="tq_trans"]'));
  const aids = { video, captions, keysDialog: document.getElementById("tq_keys") };
  return { captions, listen: (page) => playerKeys(page, aids) };
}

// Each frame's document, now and after every navigation (a menu choice loads
// another transcript into its frame).
function forwardFrameEvents(tq, win, aids, drafts) {
  const seen = new WeakSet();
  const attach = (frame) => {
    const inner = frame.contentWindow;
    // A frame of another site (an embedded player) is not the lesson's to watch.
    const document = readableDocument(inner);
    if (!document || seen.has(document) || document.readyState === "loading") return;
    seen.add(document);
    forwardWindowEvents(tq, inner);
    forwardNotesPage(tq, inner, drafts);
    describeFrame(inner, frame.name, aids);
  };
  for (const frame of win.document.querySelectorAll("iframe, frame")) {
    frame.addEventListener("load", () => attach(frame));
    attach(frame);
  }
}

// The toolbar's buttons: display modes, sync, layouts. Which layout button
// shows its "on" image, and which panels the smaller layouts hide, is the
// page's business; the control handles the full layout, which on a narrow
// screen sizes nothing: there the buttons choose panels.
function forwardButtons(tq, win, layout) {
  const document = win.document;
  const on = (id, handler) =>
    document.getElementById(id)?.addEventListener("click", (event) => forward(win, event, () => handler(event)));
  on("tq_scroll", () => tq.scrollSegments(win));
  on("tq_single", () => tq.singleSegments(win));
  on("tq_sync", (event) => {
    for (const frame of ["tq_toc", "tq_trans"]) {
      const framed = document.querySelector(`iframe[name="${frame}"]`)?.contentDocument;
      if (framed) tq.toggleSync(framed, event.currentTarget);
    }
  });
  const panels = lessonPanels(win);
  for (const id of MODE_BUTTONS) {
    on(id, (event) => {
      const button = event.currentTarget;
      tq.showMode(button, panels.narrow ? 0 : layout);
      button.src = button.getAttribute("tq_src_off").replace(/\.gif$/, "_on.gif");
      panels.showLayout(id);
    });
  }
}

export async function startLesson(win = window, { video = "mp", layout = 1 } = {}) {
  // The change stamps let the tick reuse what it read while a list is unchanged.
  const module = await createRevoziz({ revozizHost: host, revozizChangeStamp: changeStamp });
  const tq = new (controlClass(module))();
  await loaded(win);
  const videoElement = win.document.getElementById(video);
  const aids = videoElement && videoAids(win, videoElement);
  forwardWindowEvents(tq, win);
  forwardFrameEvents(tq, win, aids, notesDrafts(win, pickedFileEvents));
  forwardButtons(tq, win, layout);
  pressButtonsByKey(win.document);
  aids?.listen(win.document);
  describeToolbar(win.document, TOOLBAR_BUTTONS);
  describeMenus(win.document, () => attempt(win, () => tq.closeSelects(win)));
  // Leaving with unsaved notes makes the browser ask; with nothing unsaved,
  // the control stops its timer.
  win.addEventListener("beforeunload", (event) => forward(win, event, () => tq.checkUnsaved(win)));
  // A student who asked for less motion starts the video themselves.
  const startsByItself = !win.matchMedia?.("(prefers-reduced-motion: reduce)").matches;
  tq.startVelisk(win, videoPlayer(videoElement, { startsByItself }));
  return tq;
}
