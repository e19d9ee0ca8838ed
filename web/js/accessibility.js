// What a lesson offers the keyboard and screen readers, beside the control's
// own rules: the lists as a listbox (transcript) or a tree (table of contents)
// with one tab stop each and the arrow keys inside, `aria-current` on the
// segment the control marks, a polite live region for single-segment mode,
// and the toolbar's images, the transcript menu and the notes' controls as
// buttons. Enter or Space on a segment or a button clicks it, so the control
// handles it exactly as a click. Nothing here writes during a tick that
// leaves the marking as it was.

import { markedForFollowing } from "./follow_pause.js";

const SEGMENT = "segment"; // the control takes a segment by its whole class
const isSegment = (e) => e?.nodeType === 1 && e.className === SEGMENT;
const shown = (e) => e.getClientRects().length > 0;

const lists = new WeakMap(); // list container -> its state (see listOf)

function listOf(container) {
  let list = lists.get(container);
  if (!list) lists.set(container, (list = { current: null, tabStop: null, live: null, announced: "" }));
  return list;
}

// ---------------------------------------------------------------- marking

// The control marked `segment` current in `container` (it has just written
// the container's tq_oldSegment). A re-marking of the same segment writes
// nothing; single-segment mode speaks the segment's text.
export function segmentMarked(container, segment) {
  if (!isSegment(segment)) return;
  const list = listOf(container);
  const single = /^single$/i.test(container.getAttribute("tq_mode") ?? "");
  if (list.current !== segment) {
    list.current?.removeAttribute("aria-current");
    segment.setAttribute("aria-current", "true");
    list.current = segment;
    // Tab comes back to the current segment unless the student is in the list.
    if (list.tabStop && !single && !container.contains(container.ownerDocument.activeElement)) moveTabStop(container, segment);
  }
  // In single-segment mode the current segment is the only one shown: the
  // tab stop, and the keyboard if it was on the segment just hidden, go to it.
  if (single && list.tabStop && list.tabStop !== segment) {
    const focused = list.tabStop === container.ownerDocument.activeElement;
    moveTabStop(container, segment);
    if (focused) segment.focus({ preventScroll: true });
  }
  if (list.live && single) {
    const text = segment.textContent.replace(/\s+/g, " ").trim();
    if (text !== list.announced) announce(list, text);
  }
  markedForFollowing(container, segment);
}

function announce(list, text) {
  list.live.textContent = list.announced = text;
}

// ---------------------------------------------------------------- lists

// The one segment of the list that Tab reaches, kept rather than searched
// for: a marking moves it on lists of thousands of segments.
function moveTabStop(container, segment) {
  const list = listOf(container);
  if (list.tabStop === segment) return;
  list.tabStop?.removeAttribute("tabindex");
  segment.setAttribute("tabindex", "0");
  list.tabStop = segment;
}

function focusSegment(container, segment) {
  if (!segment) return;
  moveTabStop(container, segment);
  segment.focus({ preventScroll: true });
  segment.scrollIntoView({ block: "nearest", inline: "nearest" });
}

// A table of contents keeps each branch right after its entry, behind an
// expander image just before the entry.
const expanderOf = (segment) => {
  const before = segment.previousElementSibling;
  return before?.className === "expander" ? before : null;
};
const branchOf = (segment) => {
  const after = segment.nextElementSibling;
  return expanderOf(segment) && after && !isSegment(after) ? after : null;
};
const parentEntryOf = (container, segment) => {
  const group = segment.parentElement.closest("[role=group]");
  return group && container.contains(group) ? group.previousElementSibling : null;
};

function showBranchState(segment) {
  const branch = branchOf(segment);
  if (branch) segment.setAttribute("aria-expanded", String(branch.style.display !== "none" && shown(branch)));
}

function segmentsShown(container) {
  return [...container.getElementsByClassName(SEGMENT)].filter((s) => isSegment(s) && shown(s));
}

function onListKey(container, tree, event) {
  const segment = event.target;
  if (!isSegment(segment) || event.altKey || event.ctrlKey || event.metaKey) return;
  const visible = () => segmentsShown(container);
  const step = (by) => {
    const all = visible();
    const at = all.indexOf(segment);
    return all[Math.min(all.length - 1, Math.max(0, at + by))];
  };
  let handled = true;
  switch (event.key) {
    case "ArrowDown":
      focusSegment(container, step(1));
      break;
    case "ArrowUp":
      focusSegment(container, step(-1));
      break;
    case "Home":
      focusSegment(container, visible()[0]);
      break;
    case "End":
      focusSegment(container, visible().at(-1));
      break;
    case "Enter":
    case " ":
      segment.click();
      break;
    case "ArrowRight":
    case "ArrowLeft": {
      if (!tree) return;
      const open = segment.getAttribute("aria-expanded");
      if (event.key === "ArrowRight") {
        if (open === "false") expanderOf(segment).click();
        else if (open === "true") focusSegment(container, segmentsShown(branchOf(segment))[0]);
      } else if (open === "true") {
        expanderOf(segment).click();
      } else {
        focusSegment(container, parentEntryOf(container, segment));
      }
      break;
    }
    default:
      handled = false;
  }
  if (handled) event.preventDefault();
}

let nextBranch = 1;

// Gives the list of `document` (its element iText, if any) the roles and the
// keys of a listbox, or of a tree when it has branches. Answers null for a
// page without a list, else what other parts of the layer may ask of it:
// `announce(text)` through its live region, `focus(segment)`.
export function describeList(document) {
  const container = document.getElementById("iText");
  if (!container) return null;
  const segments = [...container.getElementsByClassName(SEGMENT)].filter(isSegment);
  const tree = segments.some(expanderOf);
  container.setAttribute("role", tree ? "tree" : "listbox");
  if (!container.hasAttribute("aria-label") && !container.hasAttribute("aria-labelledby")) {
    container.setAttribute("aria-label", document.title);
  }
  for (const segment of segments) {
    segment.setAttribute("role", tree ? "treeitem" : "option");
    const expander = expanderOf(segment);
    if (!expander) continue;
    // The expander is the mouse's way; the entry's expanded state says it.
    expander.setAttribute("aria-hidden", "true");
    const branch = branchOf(segment);
    if (!branch) continue;
    branch.setAttribute("role", "group");
    if (!branch.id) branch.id = `tq_branch${nextBranch++}`;
    segment.setAttribute("aria-owns", branch.id);
    showBranchState(segment);
  }
  const list = listOf(container);
  list.current = container.querySelector(".segment[aria-current]");
  const first = list.current ?? segments[0];
  if (first) moveTabStop(container, first);
  container.addEventListener("keydown", (event) => onListKey(container, tree, event));
  // After the control's own handler has opened or closed a branch. A branch
  // folded over the tab stop hands it to the branch's entry.
  document.addEventListener("click", (event) => {
    const expander = event.target;
    const entry = expander?.nextElementSibling;
    if (expander?.className !== "expander" || !isSegment(entry)) return;
    showBranchState(entry);
    if (list.tabStop && !shown(list.tabStop) && branchOf(entry)?.contains(list.tabStop)) moveTabStop(container, entry);
  });
  const live = document.createElement("div");
  live.setAttribute("aria-live", "polite");
  live.className = "tq_live";
  live.style.cssText =
    "position:absolute;width:1px;height:1px;margin:-1px;padding:0;overflow:hidden;clip:rect(0 0 0 0);white-space:nowrap;border:0";
  document.body.append(live);
  list.live = live;
  return {
    announce: (text) => announce(list, text),
    focus: (segment) => focusSegment(container, segment),
  };
}

// ---------------------------------------------------------------- buttons

// Enter or Space on an element that stands for a button clicks it.
export function pressButtonsByKey(document) {
  document.addEventListener(
    "keydown",
    (event) => {
      const target = event.target;
      if (target?.getAttribute?.("role") !== "button" || (event.key !== "Enter" && event.key !== " ")) return;
      event.preventDefault();
      event.stopPropagation();
      target.click();
    },
    true,
  );
}

const asButton = (element) => {
  element.setAttribute("role", "button");
  if (!element.hasAttribute("tabindex")) element.setAttribute("tabindex", "0");
};

// The toolbar's images as buttons. An image with an "off" image is pressed
// while it shows another; the sync button while the transcript follows.
export function describeToolbar(document, ids) {
  const buttons = ids.map((id) => document.getElementById(id)).filter(Boolean);
  const insync = () => {
    const frame = document.querySelector('iframe[name="tq_trans"]')?.contentDocument;
    return frame?.getElementById("iText")?.getAttribute("tq_insync") !== "0";
  };
  const showPressed = () => {
    for (const button of buttons) {
      let pressed = null;
      if (button.id === "tq_sync") pressed = insync();
      else if (button.hasAttribute("tq_src_off")) pressed = button.getAttribute("src") !== button.getAttribute("tq_src_off");
      if (pressed !== null && button.getAttribute("aria-pressed") !== String(pressed)) {
        button.setAttribute("aria-pressed", String(pressed));
      }
    }
  };
  for (const button of buttons) asButton(button);
  showPressed();
  new document.defaultView.MutationObserver(showPressed).observe(document.getElementById("toolbar") ?? document.body, {
    subtree: true,
    attributes: true,
    attributeFilter: ["src"],
  });
  return showPressed;
}

// The transcript menus (tq_sel): the arrow opens the options, the arrow keys
// move among them, Enter chooses, Escape closes and gives the focus back.
export function describeMenus(document, closeMenus) {
  for (const menu of document.querySelectorAll("[tq_selOps]")) {
    const opener = menu.querySelector(".tq_select");
    const options = document.getElementById(menu.getAttribute("tq_selOps"));
    if (!opener || !options) continue;
    asButton(opener);
    opener.setAttribute("aria-haspopup", "menu");
    const label = menu.getAttribute("tq_selId");
    if (label && !opener.hasAttribute("aria-label") && !opener.hasAttribute("aria-labelledby")) opener.setAttribute("aria-labelledby", label);
    options.setAttribute("role", "menu");
    const items = () => [...options.querySelectorAll(".tq_option")];
    for (const item of items()) {
      item.setAttribute("role", "menuitem");
      item.setAttribute("tabindex", "-1");
    }
    const isOpen = () => options.style.visibility === "visible";
    const showOpen = () => opener.setAttribute("aria-expanded", String(isOpen()));
    showOpen();
    new document.defaultView.MutationObserver(showOpen).observe(options, { attributes: true, attributeFilter: ["style"] });
    opener.addEventListener("keydown", (event) => {
      if (event.key !== "ArrowDown") return;
      event.preventDefault();
      opener.click();
    });
    // Opened from the keyboard, the focus goes to the first option; this
    // runs after the control's own handler has shown them.
    document.addEventListener("click", (event) => {
      if (event.target === opener && isOpen() && document.activeElement === opener) items()[0]?.focus();
    });
    options.addEventListener("keydown", (event) => {
      const all = items();
      const at = all.indexOf(event.target);
      if (event.key === "ArrowDown" || event.key === "ArrowUp") {
        all[(at + (event.key === "ArrowDown" ? 1 : all.length - 1)) % all.length]?.focus();
      } else if (event.key === "Enter" || event.key === " ") {
        event.target.click();
        opener.focus();
      } else if (event.key === "Escape" || event.key === "Tab") {
        closeMenus();
        if (event.key === "Tab") return;
        opener.focus();
      } else {
        return;
      }
      event.preventDefault();
    });
  }
}

// The notes page's edit bar and the buttons of its sync tags.
export function describeNotes(document) {
  const bar = document.getElementById("editbar");
  if (bar) {
    bar.setAttribute("role", "toolbar");
    for (const button of bar.querySelectorAll("[id]")) asButton(button);
  }
}
