// The keys of common video players, on the lesson page and on every page of
// its frames: Space or K plays and pauses, J and L go back and forward 10 s,
// the left and right arrows 5 s, M mutes, < and > change the speed, C turns
// the captions on and off, F the full screen, and ? opens the list of keys.
// A key keeps its own meaning where the student types (the notes, a field),
// inside a dialog, and with Ctrl, Alt or Meta held; Space on a button,
// segment or option, and the arrows in a list, a menu or on the video do too.

import { playVideo } from "./player.js";

const RATES = [0.25, 0.5, 0.75, 1, 1.25, 1.5, 1.75, 2];

const OWNS_EVERY_KEY = "input, textarea, select, dialog"; // besides the notes (contenteditable)
const OWNS_SPACE =
  "button, a[href], summary, video, audio, .segment, [role=button], [role=option], [role=treeitem], [role=menuitem], " +
  "[role=checkbox], [role=radio], [role=switch], [role=tab]";
const OWNS_ARROWS =
  "video, audio, [role=listbox], [role=tree], [role=menu], [role=menubar], [role=tablist], [role=slider], [role=radiogroup]";

function seekBy(video, seconds) {
  const end = Number.isFinite(video.duration) ? video.duration : Infinity;
  video.currentTime = Math.min(end, Math.max(0, video.currentTime + seconds));
}

// The next speed of RATES up (`by` 1) or down (-1) from the current one.
function stepRate(video, by) {
  const rate = video.playbackRate;
  const next = by > 0 ? RATES.find((r) => r > rate + 1e-9) : RATES.findLast((r) => r < rate - 1e-9);
  if (next !== undefined) video.playbackRate = next;
}

// A change of full screen takes a while; a press meanwhile acts once it is
// done, on the screen as it is then. A refusal leaves the page as it was.
let fullscreenChange = Promise.resolve();
function toggleFullscreen(video) {
  const document = video.ownerDocument;
  fullscreenChange = fullscreenChange
    .then(() => (document.fullscreenElement ? document.exitFullscreen() : video.requestFullscreen?.()))
    .catch(() => {});
}

// The list of keys, a <dialog> of the lesson page; closed, it gives the focus
// back to where the key was pressed.
function showKeys(dialog, from) {
  if (!dialog || dialog.open) return;
  dialog.showModal();
  dialog.querySelector("[autofocus], button")?.focus();
  dialog.addEventListener("close", () => from?.isConnected && from.focus(), { once: true });
}

function actionFor(key, target, { video, captions, keysDialog }) {
  const owned = (selector) => Boolean(target.closest?.(selector));
  switch (key) {
    case " ":
      if (owned(OWNS_SPACE)) return null;
    // falls through
    case "k":
      return () => (video.paused ? playVideo(video) : video.pause());
    case "j":
      return () => seekBy(video, -10);
    case "l":
      return () => seekBy(video, 10);
    case "ArrowLeft":
    case "ArrowRight":
      if (owned(OWNS_ARROWS)) return null;
      return () => seekBy(video, key === "ArrowLeft" ? -5 : 5);
    case "m":
      return () => (video.muted = !video.muted);
    case "<":
    case ">":
      return () => stepRate(video, key === ">" ? 1 : -1);
    case "c":
      return captions && (() => captions.toggle());
    case "f":
      return () => toggleFullscreen(video);
    case "?":
      return keysDialog && (() => showKeys(keysDialog, target));
    default:
      return null;
  }
}

// Listens to the keys of `document` (the lesson page or a frame's page) for
// `video`; `captions` from videoCaptions, `keysDialog` the list of keys.
export function playerKeys(document, aids) {
  document.addEventListener("keydown", (event) => {
    if (event.defaultPrevented || event.ctrlKey || event.altKey || event.metaKey || event.isComposing) return;
    const target = event.target?.nodeType === 1 ? event.target : document.body;
    if (!target || target.isContentEditable || target.closest(OWNS_EVERY_KEY)) return;
    const key = event.key.length === 1 ? event.key.toLowerCase() : event.key;
    const action = actionFor(key, target, aids);
    if (!action) return;
    event.preventDefault();
    action();
  });
}
