// Reading away from the video, for a list whose container asks for it with
// tq_follow="pause": once the student scrolls the list by hand and the
// current segment leaves the view, the control goes on marking but the list
// no longer scrolls, and a "Volver al vídeo" bar shows at the top of the
// list. The bar, a click on a segment, or scrolling back by hand until the
// current segment shows again, resumes following. Without the attribute the
// control's scrolling is left exactly as it is.

// The page gives the bar, with its words, as a hidden .tq_followBack button;
// a page made before it had one gets this one.
const FALLBACK_LABEL = "Volver al vídeo";

const pausing = new WeakMap(); // document -> state of its pausing list
let scrollInFrame = null; // the control's own scrolling of a segment

const asksToPause = (container) => /^pause$/i.test(container?.getAttribute("tq_follow") ?? "");

function scrollerOf(target, document) {
  return target === document ? document.scrollingElement : target;
}

// Whether some of the segment shows in its frame and in every box that
// scrolls it.
function inView(segment) {
  const document = segment.ownerDocument;
  const r = segment.getBoundingClientRect();
  if (r.bottom <= 0 || r.top >= document.documentElement.clientHeight) return false;
  for (let box = segment.parentElement; box && box !== document.body; box = box.parentElement) {
    if (box.scrollHeight > box.clientHeight) {
      const b = box.getBoundingClientRect();
      if (r.bottom <= b.top || r.top >= b.bottom) return false;
    }
  }
  return true;
}

// Where our own scrolling left each box, so that its scroll event is not
// taken for the student's.
function rememberOwnScroll(state) {
  state.own = new Map();
  const document = state.container.ownerDocument;
  state.own.set(document.scrollingElement, document.scrollingElement.scrollTop);
  for (let box = state.container; box && box !== document.body; box = box.parentElement) {
    state.own.set(box, box.scrollTop);
  }
}

function showReturn(state, show) {
  if (state.button.hidden === !show) return;
  state.button.hidden = !show;
  if (show) state.list.announce(state.button.textContent.trim());
}

function resume(state) {
  state.paused = false;
  showReturn(state, false);
}

// Back to the current segment, and the keyboard with it: the bar that had
// the focus goes away.
function returnToVideo(state) {
  const segment = state.current;
  resume(state);
  if (!segment?.isConnected) return;
  if (scrollInFrame) scrollInFrame(segment, true);
  state.list.focus(segment);
  rememberOwnScroll(state);
}

function onScroll(state, event) {
  const document = state.container.ownerDocument;
  const scroller = scrollerOf(event.target, document);
  if (!scroller || !(scroller === document.scrollingElement || scroller.contains(state.container))) return;
  if (state.own.get(scroller) === scroller.scrollTop) return;
  state.own.delete(scroller);
  const current = state.current?.isConnected ? state.current : null;
  const away = current !== null && !inView(current);
  if (away) {
    state.paused = true;
    showReturn(state, true);
  } else if (state.paused) {
    resume(state);
  }
}

// The page's bar, or else one made here. It sits in the flow just before the
// list and sticks to the top of the frame, so that it takes room of its own
// instead of standing over the text.
function returnBar(document, container) {
  let button = document.querySelector("button.tq_followBack");
  if (!button) {
    button = document.createElement("button");
    button.type = "button";
    button.className = "tq_followBack";
    button.textContent = FALLBACK_LABEL;
  }
  button.hidden = true;
  button.style.position = "sticky";
  button.style.top = "0";
  button.style.zIndex = "1";
  if (button.nextElementSibling !== container) container.before(button);
  return button;
}

// Sets up pausing for the list of `document` when its container asks for it.
// `list` announces a text through the list's live region and moves the
// keyboard to a segment (see describeList).
export function followOrPause(document, list) {
  const container = document.getElementById("iText");
  if (!asksToPause(container)) return;
  const button = returnBar(document, container);
  const state = { container, button, list, paused: false, current: container.querySelector(".segment[aria-current]"), own: new Map() };
  pausing.set(document, state);
  button.addEventListener("click", (event) => {
    event.stopPropagation();
    returnToVideo(state);
  });
  // Scroll events of boxes do not bubble; capturing at the document sees them.
  document.addEventListener("scroll", (event) => onScroll(state, event), { capture: true, passive: true });
  container.addEventListener("click", (event) => {
    if (event.target?.closest?.(".segment")) resume(state);
  });
}

// The control marked `segment`: while paused, the button shows whether it
// is out of view.
export function markedForFollowing(container, segment) {
  const state = pausing.get(container.ownerDocument);
  if (!state || state.container !== container) return;
  state.current = segment;
  if (state.paused) showReturn(state, !inView(segment));
}

// The control scrolls `element` into view with `scroll(element, alignToTop)`,
// unless its list is paused.
export function followScroll(element, alignToTop, scroll) {
  scrollInFrame ??= scroll;
  const state = pausing.get(element.ownerDocument);
  if (!state || !state.container.contains(element)) return scroll(element, alignToTop);
  if (state.paused) return undefined;
  const done = scroll(element, alignToTop);
  rememberOwnScroll(state);
  return done;
}
