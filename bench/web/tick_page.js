// A lesson page with two lists of many segments, the control started on it
// with a player whose position the page sets, and the tick in the page's
// hands: the control's 500 ms timer is caught instead of left to run, so
// that `lessonBench.tick()` runs exactly one tick. Beside it, the two ways the
// common web players find the current segment, for comparison, and changes
// that a page makes between two ticks.

import createRevoziz from "/revoziz/revoziz.mjs";
import { controlClass, host } from "/revoziz/host.js";
import { changeStamp } from "/revoziz/change_stamp.js";

const SECONDS_PER_SEGMENT = 10;
const segments = Number(new URLSearchParams(location.search).get("segments") ?? 10000);

const twoDigits = (n) => String(n).padStart(2, "0");
const timeCode = (s) => `${twoDigits(Math.floor(s / 3600))}:${twoDigits(Math.floor(s / 60) % 60)}:${twoDigits(s % 60)}`;
const seconds = (code) => code.split(":").reduce((sum, part) => sum * 60 + Number(part), 0);

function listPage(count) {
  const rows = [];
  for (let i = 0; i < count; i++) {
    rows.push(
      `<div class="segment" id="s${i}" tq_start="${timeCode(i * SECONDS_PER_SEGMENT)}">` +
        `<span class="sync">${i}</span> Segment text number ${i}</div>`,
    );
  }
  return (
    `<!DOCTYPE html><html><head><style id="tq_style">.segment { display: block } .sync { display: inline }</style>` +
    `</head><body><div id="iText" tq_insync="1" tq_mode="scroll" tq_refresh="0" tq_oldSegment=""` +
    ` tq_current="background-color: rgb(255, 255, 221)" tq_nonCurrent="">${rows.join("")}</div></body></html>`
  );
}

function loadFrame(frame, html) {
  return new Promise((resolve) => {
    frame.addEventListener("load", resolve, { once: true });
    frame.srcdoc = html;
  });
}

// The control's timer, caught: the module asks for a 500 ms interval once started.
const caughtTicks = [];
const pageSetInterval = window.setInterval;
window.setInterval = (handler, ms, ...rest) => {
  if (ms !== 500) return pageSetInterval(handler, ms, ...rest);
  caughtTicks.push(handler);
  return 0;
};

const frames = [...document.querySelectorAll("iframe")];
const page = listPage(segments);
await Promise.all(frames.map((frame) => loadFrame(frame, page)));
const documents = frames.map((frame) => frame.contentDocument);

const player = { controls: { currentPosition: 0, play() {} }, width: "320", height: "240" };
const module = await createRevoziz({ revozizHost: host, revozizChangeStamp: changeStamp });
const tq = new (controlClass(module))();
tq.startVelisk(window, player);
window.setInterval = pageSetInterval;

// The common players' two ways, per list, each keeping the segment it found
// last and restyling only on a change.
function linearScan(doc) {
  const list = [...doc.querySelectorAll("#iText div.segment")];
  let last = null;
  return (time) => {
    let current = null;
    for (const segment of list) {
      if (segment.offsetHeight <= 0) continue;
      if (seconds(segment.getAttribute("tq_start")) <= time) current = segment;
      else {
        current ??= segment;
        break;
      }
    }
    if (current !== last) {
      if (last) last.style.cssText = "";
      current.style.cssText = "background-color: rgb(255, 255, 221)";
      last = current;
    }
    return current;
  };
}

// The index of the last of the ascending `starts` at or before `time`, or 0.
function lastStartingBy(starts, time) {
  let low = 0;
  let high = starts.length;
  while (low < high) {
    const middle = (low + high) >> 1;
    if (starts[middle] <= time) low = middle + 1;
    else high = middle;
  }
  return Math.max(0, low - 1);
}

function binarySearch(doc) {
  const list = [...doc.querySelectorAll("#iText div.segment")];
  const starts = list.map((segment) => seconds(segment.getAttribute("tq_start")));
  let last = null;
  return (time) => {
    const current = list[lastStartingBy(starts, time)];
    if (current !== last) {
      if (last) last.style.cssText = "";
      current.style.cssText = "background-color: rgb(255, 255, 221)";
      last = current;
    }
    return current;
  };
}

// The changing tick's peer: a binary search that marks as the control does
// on a change, writing the list's own tq_nonCurrent and tq_current style texts
// and scrolling by the same rule within the frame (the page's scroller, where
// the host layer puts it), and nothing else.
function referenceMarking(doc) {
  const iText = doc.getElementById("iText");
  const list = [...iText.querySelectorAll("div.segment")];
  const starts = list.map((segment) => seconds(segment.getAttribute("tq_start")));
  const current = iText.getAttribute("tq_current") ?? "";
  const nonCurrent = iText.getAttribute("tq_nonCurrent") ?? "";
  let last = null;
  return (time) => {
    const segment = list[lastStartingBy(starts, time)];
    if (segment === last) return segment;
    if (last) last.style.cssText = nonCurrent;
    segment.style.cssText = current;
    last = segment;
    const scroller = doc.scrollingElement;
    const viewport = doc.documentElement.clientHeight;
    const top = segment.offsetTop;
    if (top < scroller.scrollTop) {
      scroller.scrollTop = segment.getBoundingClientRect().top + scroller.scrollTop;
    } else if (top + segment.offsetHeight > scroller.scrollTop + viewport) {
      scroller.scrollTop = segment.getBoundingClientRect().top + scroller.scrollTop + segment.offsetHeight - viewport;
    }
    return segment;
  };
}

// One tick of each kind over both lists, reading the player's position as the
// control does.
const position = () => {
  const t = player.controls.currentPosition;
  const rounded = Math.round(t);
  return Math.abs(t % 1) === 0.5 && rounded % 2 ? rounded - 1 : rounded;
};
const scans = documents.map(linearScan);
const searches = documents.map(binarySearch);
const markings = documents.map(referenceMarking);

// Changes the page makes between ticks, each in both lists' documents: what
// the control's change stamps see and what each costs the tick after it.
let changes = 0;
const bodies = () => documents.map((doc) => doc.body);
// Nothing the lists' reading depends on: a new data- attribute value.
function unrelatedChange() {
  changes++;
  for (const body of bodies()) body.dataset.bench = String(changes);
}
// The keyboard layer's roving tab stop, moved by turns to the next segment
// and back, so that it stays where the position is.
let tabStopForward = false;
function moveTabStop() {
  tabStopForward = !tabStopForward;
  for (const doc of documents) {
    const from = doc.querySelector('#iText [tabindex="0"]');
    const to = (tabStopForward ? from?.nextElementSibling : from?.previousElementSibling) ?? doc.querySelector("#iText div.segment");
    from?.removeAttribute("tabindex");
    to.setAttribute("tabindex", "0");
  }
}
// A body class, which rules may use to hide segments.
function bodyClassChange() {
  changes++;
  for (const body of bodies()) body.className = `bench${changes % 2}`;
}

window.lessonBench = {
  segments,
  secondsPerSegment: SECONDS_PER_SEGMENT,
  documents,
  tq,
  setPosition(t) {
    player.controls.currentPosition = t;
  },
  tick() {
    caughtTicks.at(-1)();
  },
  // The DOM mutations that `count` ticks make to the lists, from a position
  // inside `segment`, after one tick there has marked it.
  mutationsOverTicks(segment, count) {
    this.setPosition(segment * SECONDS_PER_SEGMENT + 1);
    this.tick();
    const observers = documents.map((doc) => {
      const observer = new MutationObserver(() => {});
      observer.observe(doc, { subtree: true, childList: true, attributes: true, characterData: true });
      return observer;
    });
    for (let i = 0; i < count; i++) this.tick();
    return observers.reduce((sum, observer) => sum + observer.takeRecords().length, 0);
  },
  // Each answers the segments found, so that no work can be left out.
  linearScanTick() {
    const t = position();
    return scans.map((scan) => scan(t));
  },
  binarySearchTick() {
    const t = position();
    return searches.map((search) => search(t));
  },
  referenceMarkingTick() {
    const t = position();
    return markings.map((mark) => mark(t));
  },
  unrelatedChange,
  moveTabStop,
  bodyClassChange,
};
window.dispatchEvent(new Event("lessonbenchready"));
