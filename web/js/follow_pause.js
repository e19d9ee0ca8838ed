// Reading away from the video, for a list whose container asks for it with
// tq_follow="pause": once the student scrolls the list by hand and the
// current segment leaves the view, the control goes on marking but the list
// no longer scrolls, and a "Volver al vídeo" button stands over the list.
// The button, a click on a segment, or scrolling back by hand until the
// current segment shows again, resumes following. Without the attribute the
// control's scrolling is left exactly as it is.

const RETURN_LABEL = "Volver al vídeo";

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
}

function resume(state) {
  state.paused = false;
  showReturn(state, false);
}

function returnToVideo(state) {
  const segment = state.current;
  if (segment?.isConnected && scrollInFrame) {
    scrollInFrame(segment, true);
    rememberOwnScroll(state);
  }
  resume(state);
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

// Sets up pausing for the list of `document` when its container asks for it.
export function followOrPause(document) {
  const container = document.getElementById("iText");
  if (!asksToPause(container)) return;
  const button = document.createElement("button");
  button.type = "button";
  button.className = "tq_followBack";
  button.textContent = RETURN_LABEL;
  button.hidden = true;
  button.style.cssText = "position:fixed;right:12px;bottom:12px;z-index:1";
  document.body.append(button);
  const state = { container, button, paused: false, current: container.querySelector(".segment[aria-current]"), own: new Map() };
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
