// Change stamps for the control: per document, a number that moves whenever
// something changes that the tick's reading of a segment list could depend on
// (change_judging.js tells which changes can).
// While it stays put, the control reuses what it read from that document, and
// the tick timer may skip a tick altogether (tick_timer.js), so a stamp has to
// be cheap to take: nothing here reads the page's layout. Every input is
// counted as it changes instead:
//  - the document's tree, texts and attributes: one MutationObserver for every
//    watched document, whose pending records are taken and judged at each
//    reading, so a change made a moment ago counts;
//  - style sheets changed through the object model, which no mutation record
//    reports: the writers of sheets, rules, media lists and declarations of
//    the document's window are wrapped to count their calls, and a rule's
//    `style` hands out a declaration that counts its properties set by name
//    (rule.style.display = ...), which reach no method that could be wrapped;
//  - what the page's layout takes from outside: the window's size and zoom
//    (its resize event), and loads of images, media and fonts;
//  - while the page is hidden, the browser fires no resize events, so each
//    reading then compares the size of the document's viewport itself (the
//    frame's, for a frame's document); showing the page moves the stamp.
// A frame's document also takes a new stamp whenever the document holding the
// frame does, since the frame's size and display come from there.
// Stamps count up across all documents, so no two documents share one.

import { changeMatters, touchesSheets } from "./change_judging.js";
import { layoutSelectorsOf } from "./layout_selectors.js";

let lastStamp = 0;
const watched = new WeakMap(); // document -> its state (see watch)
const counting = new WeakSet(); // windows whose style writers count
const countingDeclarations = new WeakMap(); // declaration -> its counting proxy

// A change of the document itself; its stamp follows when next read.
const moved = (state) => {
  if (state) state.own = ++lastStamp;
};
// A change that may reach the sheets: what they select on is read again
// when next needed.
const sheetsMoved = (state) => {
  if (!state) return;
  moved(state);
  state.selectors = null;
};
const stateOf = (document) => watched.get(document);

// One observer for all documents; its records name the node they changed.
let observer = null;
function recordChanges(records) {
  for (const record of records) {
    const node = record.target;
    const state = stateOf(node.nodeType === 9 ? node : node.ownerDocument);
    if (!state) continue;
    if (touchesSheets(record)) sheetsMoved(state);
    // Once the stamp is to move anyway, the rest need no judging.
    else if (state.own === state.seen?.own && changeMatters(record, state.lists, () => (state.selectors ??= layoutSelectorsOf(state.document)))) moved(state);
  }
}
function takePendingChanges() {
  const records = observer.takeRecords();
  if (records.length > 0) recordChanges(records);
}

// An element's own declaration: its writes reach the style attribute, whose
// mutation records judge them.
const isInlineDeclaration = (target) =>
  typeof target?.getPropertyValue === "function" && target.parentRule === null;

// Wraps the style writers of one window, once: every call moves the stamp of
// the window's document at that moment, but for an element's own style.
function countStyleWrites(view) {
  if (counting.has(view)) return;
  counting.add(view);
  const counted = (target) => {
    if (!isInlineDeclaration(target)) sheetsMoved(stateOf(view.document));
  };
  const wrapMethod = (proto, name) => {
    const original = proto?.[name];
    if (typeof original !== "function") return;
    proto[name] = function (...args) {
      counted(this);
      return original.apply(this, args);
    };
  };
  const wrapSetter = (proto, name) => {
    const property = proto && Object.getOwnPropertyDescriptor(proto, name);
    if (!property?.set || !property.configurable) return;
    Object.defineProperty(proto, name, {
      ...property,
      set(value) {
        counted(this);
        property.set.call(this, value);
      },
    });
  };
  const writers = {
    CSSStyleSheet: ["insertRule", "deleteRule", "addRule", "removeRule", "replace", "replaceSync", "disabled"],
    CSSGroupingRule: ["insertRule", "deleteRule"],
    CSSKeyframesRule: ["appendRule", "deleteRule", "name"],
    CSSStyleRule: ["selectorText"],
    MediaList: ["appendMedium", "deleteMedium", "mediaText"],
    StylePropertyMap: ["set", "append", "delete", "clear"],
    CSSStyleDeclaration: ["setProperty", "removeProperty"],
    Document: ["adoptedStyleSheets"],
    ShadowRoot: ["adoptedStyleSheets"],
  };
  for (const [type, names] of Object.entries(writers)) {
    const proto = view[type]?.prototype;
    for (const name of names) {
      if (typeof Object.getOwnPropertyDescriptor(proto ?? {}, name)?.value === "function") wrapMethod(proto, name);
      else wrapSetter(proto, name);
    }
  }
  // cssText, and the properties by name where a browser defines them on the
  // prototype rather than on each declaration.
  for (const type of ["CSSStyleDeclaration", "CSSStyleProperties", "CSS2Properties"]) {
    const proto = view[type]?.prototype;
    if (proto) for (const name of Object.getOwnPropertyNames(proto)) wrapSetter(proto, name);
  }
  // Rules hand out their declarations through a proxy that counts its writes.
  for (const name of Object.getOwnPropertyNames(view)) {
    if (!/^CSS\w*Rule$/.test(name)) continue;
    const proto = view[name]?.prototype;
    const style = proto && Object.getOwnPropertyDescriptor(proto, "style");
    if (!style?.get || !style.configurable) continue;
    Object.defineProperty(proto, "style", {
      ...style,
      get() {
        return countingDeclaration(style.get.call(this), counted);
      },
    });
  }
}

// The declaration, as a proxy that counts every property set on it; its
// methods run on the declaration itself.
function countingDeclaration(declaration, counted) {
  if (!declaration) return declaration;
  let proxy = countingDeclarations.get(declaration);
  if (proxy) return proxy;
  const methods = new Map();
  proxy = new Proxy(declaration, {
    get(target, name) {
      const value = Reflect.get(target, name, target);
      if (typeof value !== "function") return value;
      if (!methods.has(name)) methods.set(name, value.bind(target));
      return methods.get(name);
    },
    set(target, name, value) {
      counted();
      return Reflect.set(target, name, value, target);
    },
  });
  countingDeclarations.set(declaration, proxy);
  return proxy;
}

// What the layout of the document takes from outside it.
function watchSurroundings(document, state) {
  const view = document.defaultView;
  const changed = () => sheetsMoved(state);
  // Loads do not bubble; capturing at the window sees them all, and a
  // video's resize too.
  for (const type of ["resize", "load", "loadedmetadata"]) view.addEventListener(type, changed, true);
  document.fonts?.addEventListener?.("loadingdone", changed);
  view.addEventListener("pagehide", () => {
    state.gone = true;
  });
  document.addEventListener("visibilitychange", () => {
    state.hidden = document.hidden;
    state.size = "";
    changed();
  });
  state.hidden = document.hidden;
}

function watch(document) {
  const view = document.defaultView;
  countStyleWrites(view);
  observer ??= new MutationObserver(recordChanges);
  observer.observe(document, {
    subtree: true,
    childList: true,
    attributes: true,
    characterData: true,
    characterDataOldValue: true,
  });
  const state = {
    document,
    own: ++lastStamp,
    gone: false,
    hidden: false,
    size: "",
    holder: null,
    seen: null,
    stamp: 0,
    lists: new Set(), // the elements whose surroundings count (change_judging.js)
    selectors: null,
  };
  watchSurroundings(document, state);
  // A frame's document is laid out in the frame its holder lays out.
  const frame = view.frameElement;
  if (frame) {
    state.holder = currentState(frame.ownerDocument);
    state.holder?.lists.add(frame);
  }
  return state;
}

// The document's state, once it is the current document of its window.
function currentState(document) {
  const view = document?.defaultView;
  if (!view || view.document !== document) return null;
  let state = stateOf(document);
  if (!state) watched.set(document, (state = watch(document)));
  return state.gone ? null : state;
}

// Moves the stamp of a hidden page's document when its viewport has a new
// size. The frame element is read first: that brings the holding page's
// layout up to date.
function compareSize(state) {
  const view = state.document.defaultView;
  const frame = view?.frameElement;
  const size = frame ? `${frame.clientWidth}x${frame.clientHeight}` : `${view?.innerWidth}x${view?.innerHeight}`;
  if (size !== state.size) {
    state.size = size;
    moved(state);
  }
}

// The document's own count, and its holder's stamp: a new stamp whenever
// either moved. 0 once it or a holder is gone.
function stampOf(state) {
  if (state.gone) return 0;
  if (state.hidden) compareSize(state);
  const holder = state.holder ? stampOf(state.holder) : -1;
  if (holder === 0) return 0;
  if (state.seen?.own !== state.own || state.seen.holder !== holder) {
    state.seen = { own: state.own, holder };
    state.stamp = ++lastStamp;
  }
  return state.stamp;
}

// The stamp of the document that holds `node` (or of `node`, a document);
// 0 for anything else, or for a document that is no longer its window's
// (a navigation replaced it), or one this page may not read (another site's):
// the module calls this directly, so it must never throw.
export function changeStamp(node) {
  try {
    const state = currentState(node?.nodeType === 9 ? node : node?.ownerDocument);
    if (!state) return 0;
    // An element asked about is a list: changes beside it count for less.
    if (node.nodeType === 1 && !state.lists.has(node)) {
      takePendingChanges();
      state.lists.add(node);
    }
    takePendingChanges();
    return stampOf(state);
  } catch {
    return 0;
  }
}

// A change of the document's styles that no mutation reports.
export function styleChanged(document) {
  moved(stateOf(document));
}

// What stampsHold compares, for documents whose stamps were taken: their
// states, looked up once; null when one has none.
export function watchedStates(documents) {
  const states = documents.map(stateOf);
  return states.every(Boolean) ? states : null;
}

// Whether each document's stamp is still the one listed beside it. A document
// that a navigation replaced is gone by its pagehide; one that replaced the
// first empty document of a frame moved the stamp of the frame's holder by
// its load.
export function stampsHold(states, stamps) {
  takePendingChanges();
  for (let i = 0; i < states.length; i++) if (stampOf(states[i]) !== stamps[i]) return false;
  return true;
}
