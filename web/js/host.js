// The host layer between the control and a modern browser. The control asks
// for members by name, as on the older object model it was written for; this
// module answers those names, supplying the members that browsers dropped
// (`all`, `frames(name)`, `uniqueID`, `runtimeStyle`, `removeNode`,
// `window.event`, `fireEvent`, `rules`/`addRule`/`removeRule`, `screen` and
// `resizeTo` over the lesson area) from one table. Nothing here touches the
// page's globals: state lives in WeakMaps keyed by the page's objects.
// Selections and text ranges live in selection.js, the paste road in paste.js.

import { followScroll } from "./follow_pause.js";
import { framesLoading } from "./frames_loading.js";
import { segmentMarked } from "./accessibility.js";
import { bringHome, pasteCommand } from "./paste.js";
import { ControlRange, SelectionObject, TextRange } from "./selection.js";

import { styleChanged } from "./change_stamp.js";
import { elementsNamed, elementWithUniqueId, rememberUniqueId } from "./named_lookup.js";
import { attributeOf, canInvoke, canRead, invoke, isWindowMember, nodeTypeOf, read, write } from "./node_members.js";
import { restTicks, startTicks, stopTicks } from "./tick_timer.js";

const FILE_NOT_FOUND = 53;
const FILE_ALREADY_EXISTS = 58;
const PERMISSION_DENIED = 70;
const PATH_NOT_FOUND = 76;
const MEMBER_NOT_FOUND = 438;
const HOST_ERROR = 440;
const CANCELLED = 32755;

// What a failed operation hands back to the module instead of throwing, so
// that the control can raise its own Error with the page's message.
export class HostFailure {
  constructor(code, message) {
    this.code = code;
    this.message = message;
  }
}

// What a member hands back when its answer takes a while (a dialog page): the
// module waits for the promise, and the page stays responsive meanwhile. The
// promise never rejects; a failure arrives as a HostFailure.
export class Waiting {
  constructor(promise) {
    this.promise = promise.catch((error) => new HostFailure(HOST_ERROR, String(error?.message ?? error)));
  }
}

const memberNotFound = (name) =>
  new HostFailure(MEMBER_NOT_FOUND, `Object doesn't support this property or method: ${name}`);

// ---------------------------------------------------------------- helpers

const tagOf = (o) => Object.prototype.toString.call(o).slice(8, -1);
const isWindow = (o) => o !== null && typeof o === "object" && o.window === o;
const isElement = (o) => nodeTypeOf(o) === 1;
const isDocument = (o) => nodeTypeOf(o) === 9;

// Wrappers are made once per object and key, so that identity holds.
const wrappers = new WeakMap();
function cached(owner, key, make) {
  let byKey = wrappers.get(owner);
  if (!byKey) wrappers.set(owner, (byKey = new Map()));
  if (!byKey.has(key)) byKey.set(key, make());
  return byKey.get(key);
}

const windowOf = (node) => (isDocument(node) ? node : node.ownerDocument).defaultView;

// ---------------------------------------------------------------- uniqueID

const UNIQUE_ID = Symbol("uniqueID");
let nextUniqueId = 1;

function uniqueIdOf(element) {
  if (!element[UNIQUE_ID]) {
    element[UNIQUE_ID] = `ms__id${nextUniqueId++}`;
    rememberUniqueId(element[UNIQUE_ID], element);
  }
  return element[UNIQUE_ID];
}

// ---------------------------------------------------------------- collections

// An element collection with the older members: `item(index or name)`,
// `tags(name)`, and members named like an element id or name. Several
// elements of one name answer as a collection of their own.
class ElementList {
  constructor(source, root = null) {
    this.source = source; // () => array-like of elements, read live
    this.root = root;
  }
  get length() {
    return this.source().length;
  }
  item(key) {
    if (typeof key === "number") return this.source()[key] ?? null;
    return this.named(String(key));
  }
  tags(tag) {
    const wanted = String(tag).toUpperCase();
    if (this.root) {
      return cached(this.root, `tags:${wanted}`, () => {
        const live = invoke(this.root, "getElementsByTagName", wanted);
        return new ElementList(() => live);
      });
    }
    return new ElementList(() => [...this.source()].filter((e) => read(e, "tagName") === wanted));
  }
  named(name) {
    const indexed = this.root && elementsNamed(this.root, name);
    const all = indexed ? null : [...this.source()];
    const matches = indexed ?? all.filter((e) => read(e, "id") === name || invoke(e, "getAttribute", "name") === name);
    if (matches.length === 1) return matches[0];
    if (matches.length > 1) return new ElementList(() => matches);
    if (indexed) return elementWithUniqueId(this.root, name);
    return all.find((e) => e[UNIQUE_ID] === name) ?? null;
  }
}

const descendantsOf = (root) =>
  cached(root, "all", () => {
    const live = invoke(root, "getElementsByTagName", "*");
    return new ElementList(() => live, root);
  });

const childrenOf = (element) => cached(element, "children", () => new ElementList(() => read(element, "children")));

// A list read afresh on each use: `entries()` gives its members, `isNamed`
// tells whether one answers to a name.
class IndexedList {
  constructor(entries, isNamed) {
    this.entries = entries;
    this.isNamed = isNamed;
  }
  get length() {
    return this.entries().length;
  }
  item(key) {
    if (typeof key === "number") return this.entries()[key] ?? null;
    return this.named(String(key));
  }
  named(name) {
    return [...this.entries()].find((entry) => this.isNamed(entry, name)) ?? null;
  }
}

// The frames of a document by index or by name; each answers as its window.
// The name is read from the frame's element: a frame of another site may not
// be asked for its own.
class FrameList extends IndexedList {
  constructor(document) {
    super(
      () => [...document.querySelectorAll("iframe, frame")].filter((f) => f.contentWindow),
      (frame, name) => frame.getAttribute("name") === name,
    );
  }
  item(key) {
    return typeof key === "number" ? (this.entries()[key]?.contentWindow ?? null) : this.named(String(key));
  }
  named(name) {
    return super.named(name)?.contentWindow ?? null;
  }
}

// A document's style sheets, by index or by the id or title of their element.
class SheetList extends IndexedList {
  constructor(document) {
    super(
      () => document.styleSheets,
      (sheet, name) => sheet.ownerNode?.id === name || sheet.title === name,
    );
  }
}

// A sheet's style rules, by index: @media and the other rules that carry no
// selector are left out, as the older model's list left them out.
const STYLE_RULE = 1;
const styleRulesOf = (sheet) => [...sheet.cssRules].filter((rule) => rule.type === STYLE_RULE);

class RuleList extends IndexedList {
  constructor(sheet) {
    super(
      () => styleRulesOf(sheet),
      () => false,
    );
  }
}

// The position in the whole sheet of the style rule at `index`.
function sheetIndexOf(sheet, index) {
  const rule = styleRulesOf(sheet)[index];
  return rule ? [...sheet.cssRules].indexOf(rule) : sheet.cssRules.length;
}

const isList = (o) => o instanceof ElementList || o instanceof IndexedList;

// ---------------------------------------------------------------- runtimeStyle

// A style layer above the element's own style and the sheets, as
// `runtimeStyle` was, that leaves no trace in the markup (copied text, saved
// notes and clones stay clean): an animation that holds the declarations
// from its first moment. Animations sit above every normal declaration.
const keyframeName = (property) =>
  property.startsWith("--") ? property : property === "float" ? "cssFloat" : property.replace(/-([a-z])/g, (_, c) => c.toUpperCase());

class RuntimeStyle {
  constructor(element) {
    this.element = element;
    this.text = "";
    this.animation = null;
  }
  get cssText() {
    return this.text;
  }
  set cssText(value) {
    const element = this.element;
    const scratch = element.ownerDocument.createElement("div").style;
    scratch.cssText = String(value ?? "");
    this.text = scratch.cssText;
    this.animation?.cancel();
    this.animation = null;
    if (this.text) {
      const frame = {};
      for (const property of scratch) frame[keyframeName(property)] = scratch.getPropertyValue(property);
      this.animation = element.animate([frame, frame], { duration: 0, fill: "forwards" });
    }
    // No mutation reports the change, and the list's layout may depend on it.
    styleChanged(element.ownerDocument);
  }
}

// ---------------------------------------------------------------- events

// `window.event` while a forwarded event is dispatched: the older event
// object, over the browser's own.
class EventObject {
  constructor(event) {
    this.event = event;
    this.bubbleCancelled = false;
    this.returned = undefined;
  }
  get srcElement() {
    return this.event.target ?? null;
  }
  get type() {
    return this.event.type;
  }
  get keyCode() {
    return this.event.keyCode ?? 0;
  }
  get ctrlKey() {
    return Boolean(this.event.ctrlKey);
  }
  get shiftKey() {
    return Boolean(this.event.shiftKey);
  }
  get altKey() {
    return Boolean(this.event.altKey);
  }
  get cancelBubble() {
    return this.bubbleCancelled;
  }
  set cancelBubble(cancel) {
    this.bubbleCancelled = Boolean(cancel);
    if (this.bubbleCancelled) this.event.stopPropagation();
  }
  get returnValue() {
    return this.returned;
  }
  set returnValue(value) {
    this.returned = value;
    if (value === false) this.event.preventDefault();
    // Before unload, a text set here makes the browser ask before leaving.
    if (this.event.type === "beforeunload" && typeof value === "string") {
      this.event.preventDefault();
      this.event.returnValue = value;
    }
  }
}

const currentEvents = new WeakMap(); // window -> EventObject

// One event object per browser event, so that what one handler sets on it
// the next one reads.
const eventObjectOf = (event) => cached(event, "eventObject", () => new EventObject(event));

// The event being dispatched in `win`: the one a forwarded handler runs
// with, or else the browser's own, as an inline handler attribute sees it.
function currentEventOf(win) {
  const own = currentEvents.get(win);
  if (own) return own;
  const event = win.event;
  return event ? eventObjectOf(event) : null;
}

// Runs `handler` with `event` as the window's `event`, as the browser did
// while it dispatched an event to a page's handler.
export function dispatch(win, event, handler) {
  const previous = currentEvents.get(win);
  currentEvents.set(win, eventObjectOf(event));
  try {
    return handler();
  } finally {
    if (previous) currentEvents.set(win, previous);
    else currentEvents.delete(win);
  }
}

// ---------------------------------------------------------------- screen and layout

// A tab cannot move or resize its browser window, so the lesson area stands
// in for it: the screen is the tab's viewport and resizeTo sizes the body.
class LessonScreen {
  constructor(win) {
    this.win = win;
  }
  get availWidth() {
    return this.win.top.innerWidth;
  }
  get availHeight() {
    return this.win.top.innerHeight;
  }
  get width() {
    return this.availWidth;
  }
  get height() {
    return this.availHeight;
  }
}

function resizeLessonArea(win, width, height) {
  const body = win.document.body;
  body.style.boxSizing = "border-box";
  body.style.width = `${Number(width)}px`;
  body.style.height = `${Number(height)}px`;
  body.style.overflow = "auto";
}

// ---------------------------------------------------------------- modal dialog pages

// "dialogHeight:115px;dialogWidth:290px;scroll:off" as CSS sizes and a scroll switch.
function dialogFeatures(features) {
  const found = {};
  for (const part of String(features ?? "").split(";")) {
    const at = part.indexOf(":");
    if (at > 0) found[part.slice(0, at).trim().toLowerCase()] = part.slice(at + 1).trim();
  }
  const size = (value, fallback) => (/^\d+(\.\d+)?$/.test(value ?? "") ? `${value}px` : value || fallback);
  return {
    width: size(found.dialogwidth, "400px"),
    height: size(found.dialogheight, "300px"),
    scroll: !/^(off|no|0)$/i.test(found.scroll ?? ""),
  };
}

// The element the keyboard is on, looking into the lesson's frames: the
// notes page's "Nuevo" rather than the frame that holds it.
function deepFocus(document) {
  let element = document.activeElement;
  while (element?.contentDocument?.activeElement) element = element.contentDocument.activeElement;
  return element;
}

// The dialog page's own title names the dialog and its frame, and the
// keyboard starts on its first button.
function presentDialogPage(dialog, frame) {
  const page = frame.contentDocument;
  const title = page?.title ?? "";
  if (title) {
    frame.title = title;
    dialog.setAttribute("aria-label", title);
  }
  const first = page?.querySelector("[autofocus], button, input[type=button], input[type=submit], [role=button]");
  if (first) first.focus();
  else frame.contentWindow.focus();
}

// A dialog page shown modally over the whole lesson: a <dialog> holding the
// page in an iframe of the features' size. The page answers as such pages
// do, with `window.returnValue` and `window.close()`; Escape answers nothing.
// Whichever way it closes, the keyboard goes back where it was.
function showModalDialog(w, url, argument, features) {
  const document = w.top.document;
  const opener = deepFocus(document);
  const { width, height, scroll } = dialogFeatures(features);
  const dialog = document.createElement("dialog");
  dialog.style.padding = "0";
  dialog.style.border = "1px solid #888";
  const frame = document.createElement("iframe");
  Object.assign(frame.style, { display: "block", border: "0", width, height });
  if (!scroll) frame.setAttribute("scrolling", "no");
  frame.src = new URL(String(url), w.document.URL).href;
  dialog.append(frame);
  return new Waiting(
    new Promise((resolve) => {
      const answer = (value) => {
        if (!dialog.open) return;
        dialog.close();
        dialog.remove();
        // Removing the frame that held the focus leaves it on the lesson's body.
        if (opener?.isConnected && opener !== opener.ownerDocument.body) opener.focus();
        resolve(value ?? null);
      };
      frame.addEventListener("load", () => {
        const inner = frame.contentWindow;
        inner.dialogArguments = argument;
        inner.close = () => answer(inner.returnValue);
        // Keys go to the page inside, out of the <dialog>'s own reach.
        inner.addEventListener("keydown", (event) => {
          if (event.key !== "Escape") return;
          event.preventDefault();
          answer(null);
        });
        presentDialogPage(dialog, frame);
      });
      dialog.addEventListener("cancel", (event) => {
        event.preventDefault();
        answer(null);
      });
      document.body.append(dialog);
      dialog.showModal();
    }),
  );
}

// ---------------------------------------------------------------- scrolling

// The page's scroll position lives on the body, as the control reads it; in
// a standards-mode document it belongs to the scrolling element.
// That element (the body in quirks mode, else the root) also gives the
// viewport's height in both modes, which the root does not in quirks mode.
const isPageScroller = (element) =>
  element === element.ownerDocument.body || element === element.ownerDocument.documentElement;
const pageScrollerOf = (document) => document.scrollingElement ?? document.documentElement;

function scrollIntoViewWithinFrame(element, alignToTop) {
  // The element's offset parent scrolls, as the list's band does, never the
  // lesson around the frame.
  const parent = element.offsetParent;
  if (!parent) return;
  const scroller = isPageScroller(parent) ? pageScrollerOf(element.ownerDocument) : parent;
  const top = element.offsetTop;
  scroller.scrollTop = alignToTop ? top : top + element.offsetHeight - scroller.clientHeight;
}

// ---------------------------------------------------------------- the table of names

const cssName = (name) => String(name).replace(/[A-Z]/g, (c) => `-${c.toLowerCase()}`);

// getAttribute as the older model answered it: the attribute, else the
// element's property of that name, else null.
function olderGetAttribute(element, name) {
  name = String(name);
  backExpando(element, name);
  if (invoke(element, "hasAttribute", name)) return invoke(element, "getAttribute", name);
  if (name in element) return element[name] ?? null;
  return null;
}

// A member the page's own script sets as a property (iText.tq_refresh = "1")
// was one with the attribute of that name in the older model, as it is in
// the page model. Once the control reads or writes such a member, the element
// answers it as a property backed by the attribute, so that what the script
// sets is a change of the page that the control sees (and that ends a rest of
// the ticks); a property the script set before becomes the attribute.
const backedMembers = new WeakMap(); // element -> names backed by attributes

// Whether the member is (now) a property backed by the attribute. A member
// of the element's prototypes never is, so those are told first and cheaply.
function backExpando(element, name) {
  const backed = backedMembers.get(element);
  if (backed?.has(name)) return true;
  if (name in Object.getPrototypeOf(element)) return false;
  const own = Object.getOwnPropertyDescriptor(element, name);
  if (own ? !["string", "number", "boolean"].includes(typeof own.value) : !invoke(element, "hasAttribute", name)) return false;
  if (own) invoke(element, "setAttribute", name, String(own.value));
  Object.defineProperty(element, name, {
    configurable: true,
    enumerable: true,
    get: () => invoke(element, "getAttribute", name),
    set: (value) => invoke(element, "setAttribute", name, String(value)),
  });
  if (backed) backed.add(name);
  else backedMembers.set(element, new Set([name]));
  return true;
}

// The text of the page's first title element, as it stands in the markup: the
// browser's own title trims and joins spaces, so a notes file saved on another
// host would not match it.
const titleOf = (document) => document.querySelector("title")?.textContent ?? "";

// A percent-encoded character that the URL parser encodes again wherever it
// stands in an address: a space, ", <, > and every character beyond ASCII.
// Only those are decoded, so that the address reads back as it was, and a
// malformed sequence stays as it is.
const REENCODED_ASCII = new Set([0x20, 0x22, 0x3c, 0x3e]);
const strictUtf8 = new TextDecoder("utf-8", { fatal: true });

function unencodedURL(url) {
  return url.replace(/(?:%[0-9A-Fa-f]{2})+/g, (run) => {
    const bytes = run.match(/%../g).map((escape) => parseInt(escape.slice(1), 16));
    let out = "";
    for (let i = 0; i < bytes.length; ) {
      const length = bytes[i] >= 0xf0 ? 4 : bytes[i] >= 0xe0 ? 3 : bytes[i] >= 0xc0 ? 2 : 1;
      const decoded = decodedAt(bytes, i, length);
      out += decoded ?? run.slice(i * 3, i * 3 + 3);
      i += decoded === null ? 1 : length;
    }
    return out;
  });
}

// The character of `length` bytes at `i`, or null when it stays encoded.
function decodedAt(bytes, i, length) {
  if (length === 1) return REENCODED_ASCII.has(bytes[i]) ? String.fromCharCode(bytes[i]) : null;
  try {
    return strictUtf8.decode(new Uint8Array(bytes.slice(i, i + length)));
  } catch {
    return null;
  }
}

// The element's text as the page model gives it: its text nodes as they
// stand, a line break for each <br>, no scripts or style sheets. The browser's
// own depends on the layout, and leaves out what is hidden.
function innerTextOf(element) {
  let text = "";
  for (const child of read(element, "childNodes")) {
    const type = nodeTypeOf(child);
    const name = type === 1 ? read(child, "localName") : "";
    if (type === 3) text += child.data;
    else if (name === "br") text += "\n";
    else if (type === 1 && name !== "script" && name !== "style") text += innerTextOf(child);
  }
  return text;
}

function removeNode(node, deep) {
  if (bringHome(node, deep)) return node;
  const parent = read(node, "parentNode");
  if (!parent) return node;
  if (!deep && nodeTypeOf(node) === 1) invoke(node, "replaceWith", ...read(node, "childNodes"));
  else invoke(parent, "removeChild", node);
  return node;
}

function fireEvent(element, name) {
  const type = String(name).replace(/^on/i, "");
  const EventType = windowOf(element).Event;
  return element.dispatchEvent(new EventType(type, { bubbles: true, cancelable: true }));
}

// The browser carries out the editing commands itself (Undo, Redo, Cut,
// Copy, Bold, Italic); it runs no paste for a page's script (see paste.js).
function executeCommand(document, command, showUI, value) {
  const name = String(command).toLowerCase();
  if (name === "print") {
    document.defaultView.print();
    return true;
  }
  if (name === "paste") {
    const event = currentEventOf(document.defaultView)?.event;
    return pasteCommand(document, event, (start) => (canWait() ? new Waiting(start()) : null));
  }
  return document.execCommand(command, Boolean(showUI), value);
}

// Per kind of page object: the members it answers differently from the
// browser, or that the browser lacks. Anything else goes to the object itself.
const TABLE = {
  window: {
    get: {
      event: (w) => currentEventOf(w),
      screen: (w) => cached(w, "screen", () => new LessonScreen(w)),
    },
    call: {
      showModalDialog: (w, url, argument, features) => showModalDialog(w, url, argument, features),
      resizeTo: (w, width, height) => resizeLessonArea(w, width, height),
      moveTo: () => undefined,
    },
  },
  document: {
    get: {
      all: (d) => descendantsOf(d),
      frames: (d) => cached(d, "frames", () => new FrameList(d)),
      styleSheets: (d) => cached(d, "styleSheets", () => new SheetList(d)),
      URLUnencoded: (d) => unencodedURL(d.URL),
      title: (d) => titleOf(d),
      selection: (d) => cached(d, "selection", () => new SelectionObject(d)),
      parentWindow: (d) => read(d, "defaultView"),
    },
    put: {
      URL: (d, url) => {
        d.defaultView.location.href = new URL(String(url), d.URL).href;
      },
    },
    call: {
      execCommand: (d, command, showUI, value) => executeCommand(d, command, showUI, value),
    },
  },
  element: {
    get: {
      all: (e) => descendantsOf(e),
      children: (e) => childrenOf(e),
      uniqueID: (e) => uniqueIdOf(e),
      runtimeStyle: (e) => cached(e, "runtimeStyle", () => new RuntimeStyle(e)),
      Value: (e) => e.value,
      innerText: (e) => innerTextOf(e),
      // An SVG element's className is an object; the attribute's text is what
      // the control compares.
      className: (e) => attributeOf(e, "class") ?? "",
      scrollTop: (e) => (isPageScroller(e) ? pageScrollerOf(e.ownerDocument) : e).scrollTop,
      clientHeight: (e) => (isPageScroller(e) ? pageScrollerOf(e.ownerDocument) : e).clientHeight,
    },
    put: {
      Value: (e, v) => {
        e.value = v;
      },
      innerText: (e, v) => write(e, "textContent", String(v)),
      className: (e, v) => invoke(e, "setAttribute", "class", String(v)),
      // The control has just marked a segment of this list.
      tq_oldSegment: (e, v) => {
        invoke(e, "setAttribute", "tq_oldSegment", String(v));
        // The control names the segment by its unique id, whose table answers at once.
        segmentMarked(e, elementWithUniqueId(e, String(v)) ?? descendantsOf(e).item(String(v)));
      },
      scrollTop: (e, v) => {
        (isPageScroller(e) ? pageScrollerOf(e.ownerDocument) : e).scrollTop = Number(v);
      },
    },
    call: {
      getAttribute: (e, name) => olderGetAttribute(e, name),
      setAttribute: (e, name, value) => {
        backExpando(e, String(name));
        invoke(e, "setAttribute", String(name), String(value));
      },
      scrollIntoView: (e, alignToTop) => followScroll(e, alignToTop !== false, scrollIntoViewWithinFrame),
      removeNode: (e, deep) => removeNode(e, Boolean(deep)),
      fireEvent: (e, name) => fireEvent(e, name),
    },
  },
  node: {
    call: {
      removeNode: (n, deep) => removeNode(n, Boolean(deep)),
    },
  },
  styleSheet: {
    get: {
      rules: (s) => cached(s, "rules", () => new RuleList(s)),
    },
    call: {
      addRule: (s, selector, style, index) =>
        s.insertRule(`${selector} { ${style ?? ""} }`, index === undefined || index < 0 ? s.cssRules.length : sheetIndexOf(s, index)),
      removeRule: (s, index) => s.deleteRule(sheetIndexOf(s, index ?? 0)),
    },
  },
  style: {
    call: {
      setAttribute: (st, name, value) => st.setProperty(cssName(name), String(value)),
      getAttribute: (st, name) => st.getPropertyValue(cssName(name)),
      removeAttribute: (st, name) => st.removeProperty(cssName(name)) !== "",
    },
  },
  list: {},
  plain: {},
};

// The layout members that the control reads of every segment of a list, each
// by an access of its own: the browser answers these far faster than a read
// by a computed name, and they read the same member.
const LAYOUT_READS = new Map([
  ["offsetHeight", (e) => e.offsetHeight],
  ["offsetTop", (e) => e.offsetTop],
]);

// The kinds of objects other than elements, told once: a marking writes to
// the same style declarations tick after tick.
const kinds = new WeakMap();

function kindOfObject(o) {
  // Elements first, as most reads are theirs: no list has a node type.
  const type = nodeTypeOf(o);
  if (type === 1 && !isWindow(o)) return "element";
  if (o === null || typeof o !== "object") return tellKind(o);
  let kind = kinds.get(o);
  if (!kind) kinds.set(o, (kind = tellKind(o)));
  return kind;
}

// Only nodes have the prototypes' members that node_members.js captured: the
// player and the style declarations a marking writes to skip looking there.
const isNodeKind = (kind) => kind === "element" || kind === "document" || kind === "node";

function tellKind(o) {
  if (isList(o)) return "list";
  if (isWindow(o)) return "window";
  if (isElement(o)) return "element";
  if (isDocument(o)) return "document";
  if (nodeTypeOf(o) !== undefined) return "node";
  if (tagOf(o) === "CSSStyleSheet") return "styleSheet";
  if (isStyleDeclaration(o)) return "style";
  return "plain";
}

// A style declaration by what it does, whatever its browser calls its type
// (CSSStyleDeclaration, CSS2Properties, CSSStyleProperties) and from whichever
// frame it comes.
const isStyleDeclaration = (o) =>
  typeof o?.getPropertyValue === "function" &&
  typeof o.setProperty === "function" &&
  typeof o.removeProperty === "function" &&
  "cssText" in o; // without reading it, which writes the whole declaration out

// Automation-style type names: collections say "Collection", page objects
// say "HTML", as scripts written for the older model test them.
const TYPE_NAMES = {
  Window: "HTMLWindow2",
  HTMLDocument: "HTMLDocument",
  Document: "HTMLDocument",
  Text: "HTMLDOMTextNode",
  Comment: "HTMLCommentElement",
  CSSStyleSheet: "HTMLStyleSheet",
  CSSStyleRule: "HTMLStyleSheetRule",
  NamedNodeMap: "HTMLAttributeCollection",
  Attr: "HTMLDOMAttribute",
  Selection: "HTMLSelection",
};
const LIST_TYPE_NAMES = new Map([
  [ElementList, "HTMLElementCollection"],
  [FrameList, "HTMLFramesCollection"],
  [SheetList, "HTMLStyleSheetsCollection"],
  [RuleList, "HTMLStyleSheetRulesCollection"],
]);
const OWN_TYPE_NAMES = new Map([
  [RuntimeStyle, "HTMLRuntimeStyle"],
  [EventObject, "HTMLEventObj"],
  [LessonScreen, "HTMLScreen"],
  [SelectionObject, "HTMLSelection"],
  [TextRange, "HTMLTextRange"],
  [ControlRange, "HTMLControlRange"],
]);

// ---------------------------------------------------------------- the module's side

// What the page throws becomes a failure that names the member it came from.
// A JavaScript exception must never unwind through the module: it would skip
// the module's own clean-up and leave its call open for good.
const failureNaming = (member, error) =>
  error instanceof HostFailure ? error : new HostFailure(HOST_ERROR, `${member}: ${String(error?.message ?? error)}`);

function guard(member, operation) {
  try {
    const answer = operation();
    return answer instanceof Promise ? answer.catch((error) => failureNaming(member, error)) : answer;
  } catch (error) {
    return failureNaming(member, error);
  }
}

// The player's controls.currentPosition as `get` reads it, for the timer's
// check before a tick: no table names either member, so `get` answers each
// from the object itself. Anything else reads as undefined, and the tick then
// reads it and reports what fails.
function playerPosition(player) {
  try {
    const controls = "controls" in player ? player.controls : undefined;
    return "currentPosition" in controls ? controls.currentPosition : undefined;
  } catch {
    return undefined;
  }
}
if (Object.values(TABLE).some((kind) => kind.get?.controls || kind.get?.currentPosition)) {
  throw new Error("playerPosition must read the player's members through the table");
}

export const host = {
  // Undefined, null, Boolean, 32-bit integer, real, text, object, failure.
  kindOf(v) {
    if (v === undefined) return 0;
    if (v === null) return 1;
    switch (typeof v) {
      case "boolean":
        return 2;
      case "number":
        return Number.isInteger(v) && v >= -2147483648 && v <= 2147483647 && !Object.is(v, -0) ? 3 : 4;
      case "string":
        return 5;
      default:
        if (v instanceof HostFailure) return 7;
        return v instanceof Waiting ? 8 : 6;
    }
  },

  get(o, name) {
    return guard(name, () => {
      const kind = kindOfObject(o);
      const special = TABLE[kind].get?.[name];
      if (special) return special(o);
      // No prototype captured below reads these, nor can they back an
      // attribute: the tick reads them of every segment it marks.
      const layout = kind === "element" ? LAYOUT_READS.get(name) : undefined;
      if (layout) return layout(o);
      // Never a named control or image in place of the node's own member.
      if (isNodeKind(kind) && canRead(o, name)) return read(o, name);
      // Such a member is missing once its attribute is, as in the page model.
      if (kind === "element" && backExpando(o, name)) {
        return attributeOf(o, name) ?? memberNotFound(name);
      }
      if (name in o) return o[name];
      if (kind === "element" && invoke(o, "hasAttribute", name)) return invoke(o, "getAttribute", name);
      if (kind === "list") {
        const found = o.named(name);
        if (found !== null) return found;
      }
      // The rest of the event (clientX, button, ...) is the browser's own.
      if (o instanceof EventObject && name in o.event) return o.event[name];
      return memberNotFound(name);
    });
  },

  put(o, name, value) {
    return guard(name, () => {
      const kind = kindOfObject(o);
      const special = TABLE[kind].put?.[name];
      if (kind === "element") backExpando(o, name);
      if (special) special(o, value);
      else if (isNodeKind(kind) && write(o, name, value)) return undefined;
      // An expando on an element is backed by the attribute of that name.
      else if (kind === "element" && !(name in o)) invoke(o, "setAttribute", name, String(value));
      else o[name] = value;
      return undefined;
    });
  },

  call(o, name, args) {
    return guard(name, () => {
      const special = TABLE[kindOfObject(o)].call?.[name];
      if (special) return special(o, ...args);
      if (canInvoke(o, name)) return invoke(o, name, ...args);
      if (typeof o[name] === "function") return o[name](...args);
      return memberNotFound(name);
    });
  },

  // `name in o`, as the cleaning judges ids and names: for a window, without
  // its named elements and frames.
  has(o, name) {
    return guard(name, () => {
      const kind = kindOfObject(o);
      if (TABLE[kind].get?.[name] || TABLE[kind].call?.[name]) return true;
      return kind === "window" ? isWindowMember(o, String(name)) : String(name) in o;
    });
  },

  typeName(o) {
    for (const [type, name] of LIST_TYPE_NAMES) if (o instanceof type) return name;
    for (const [type, name] of OWN_TYPE_NAMES) if (o instanceof type) return name;
    const tag = tagOf(o);
    // Elements of other namespaces (SVG, MathML) are page elements too: the
    // control tells page elements by "HTML" in the type name.
    if (isElement(o) && !tag.startsWith("HTML")) return `HTML${tag}`;
    if (isStyleDeclaration(o)) return "HTMLStyle";
    return TYPE_NAMES[tag] ?? tag;
  },

  // The file pickers: each answers with the chosen name, or with the failure
  // the control knows as a cancelled dialog.
  pickOpen: (fileName, filter) => pick("open", fileName, filter),
  pickSave: (fileName, filter) => pick("save", fileName, filter),

  // Files, by path (see fileHandle). Each answers once done, never rejecting.
  readFile: (path) =>
    settled(async () => {
      const bytes = new Uint8Array(await (await (await fileHandle(path)).getFile()).arrayBuffer());
      tellPicked(path, "read");
      return bytes;
    }, path),
  createFile: (path) => settled(() => createExclusive(path), path),
  // The bytes are copied at once: the module's memory may change meanwhile.
  writeFile: (path, bytes) => {
    const copy = bytes.slice();
    return settled(async () => {
      await writeWhole(await fileHandle(path), copy);
      tellPicked(path, "written");
    }, path);
  },
  moveFile: (from, to) => settled(() => moveFile(from, to), to),
  removeFile: (path) => settled(() => removeFile(path), path),
  freshName,

  // The control's timer (tick_timer.js), reading the player as `get` does.
  startTicks: (ms, fire, key) => startTicks(ms, fire, key, playerPosition),
  stopTicks,
  restTicks,
  // Whether a failing tick may only have met a lesson still loading.
  framesLoading,

  // The end of a call that may wait (see controlClass).
  callEnded: (outcome, failed) => endWaiting(outcome, failed),
  callReturned(outcome, failed) {
    lastReturn = { outcome, failed };
  },
};

// Every service answers a failure record rather than throwing; kindOf, which
// only classifies, and the members above, which guard each page member by
// name, stay as they are.
for (const [name, member] of Object.entries(host)) {
  if (!["kindOf", "get", "put", "call"].includes(name)) host[name] = (...args) => guard(name, () => member(...args));
}

// ---------------------------------------------------------------- the control's methods

// The control's methods by the names of its method table. Those that may wait
// on the browser (a picker, a dialog page, a file, the clipboard) return to
// the script before they end and answer with a promise instead. One runs at a
// time, since the module cannot wait on two things at once: a call made while
// another waits starts when that one has ended, with the event it was made in.
const WAITING_METHODS = new Set([
  "newNotes",
  "openNotes",
  "saveNotes",
  "checkChanges",
  "backupNotes1",
  "restoreNotes1",
  "editBarDispatch",
]);
// A paste or drop that the control failed to judge does not happen: the
// browser would otherwise put the content in as it came.
const REFUSED_WHEN_FAILED = new Set(["notesPaste", "notesDrop"]);
function refuseEventsOf(args) {
  for (const win of args.filter(isWindow)) currentEventOf(win)?.event.preventDefault();
}

let waitingCall = null; // { resolve, reject } of the call under way
const queuedCalls = [];
let callsUnderWay = 0; // calls of the other methods, which cannot wait

// Only the waiting call itself may wait, never a call made inside it.
const canWait = () => waitingCall !== null && callsUnderWay === 0;

// Runs `start` later with the events that `args` (windows) have now.
function withEventsOf(args, start) {
  const events = args.filter(isWindow).map((win) => [win, currentEventOf(win)]);
  return () => {
    const previous = events.map(([win]) => [win, currentEvents.get(win)]);
    for (const [win, event] of events) if (event) currentEvents.set(win, event);
    try {
      start();
    } finally {
      for (const [win, event] of previous) {
        if (event) currentEvents.set(win, event);
        else currentEvents.delete(win);
      }
    }
  };
}

function startWaiting(control, name, args) {
  return new Promise((resolve, reject) => {
    const start = () => {
      waitingCall = { resolve, reject };
      control.invokeWaiting(name, args);
    };
    if (waitingCall) queuedCalls.push(withEventsOf(args, start));
    else start();
  });
}

// The outcome of the latest call that cannot wait, which it hands over
// just before it returns.
let lastReturn = { outcome: undefined, failed: false };

function endWaiting(outcome, failed) {
  const call = waitingCall;
  waitingCall = null;
  // The next call starts once the module has returned from this one.
  if (queuedCalls.length) queueMicrotask(queuedCalls.shift());
  if (!call) return;
  if (failed) call.reject(outcome);
  else call.resolve(outcome);
}

export function controlClass(module) {
  const type = module.tq;
  const proto = type.prototype;
  if (proto.waitingMethods) return type;
  proto.waitingMethods = [...WAITING_METHODS];
  for (const name of type.methodNames()) {
    proto[name] = WAITING_METHODS.has(name)
      ? function (...args) {
          return startWaiting(this, name, args);
        }
      : function (...args) {
          callsUnderWay++;
          try {
            this.invoke(name, args);
          } finally {
            callsUnderWay--;
          }
          const { outcome, failed } = lastReturn;
          if (failed) {
            if (REFUSED_WHEN_FAILED.has(name)) refuseEventsOf(args);
            throw outcome;
          }
          return outcome;
        };
  }
  return type;
}

// ---------------------------------------------------------------- files

// The files the user picked, by the name the picker gave: browsers give no
// full path, so that name is the path the control keeps. Each is a file
// handle, or what stands in for one without File System Access.
const pickedFiles = new Map();
// Downloads stand in for picked files, but the browser may refuse them.
const downloads = new WeakSet();

// Says that a file the student picked, never a download, was read or written
// whole: "read" or "written". The notes' draft listens (notes_draft.js).
export const pickedFileEvents = new EventTarget();
function tellPicked(path, type) {
  const handle = pickedFiles.get(path);
  if (handle && !downloads.has(handle)) pickedFileEvents.dispatchEvent(new Event(type));
}

const failureOf = (error, path) => {
  if (error instanceof HostFailure) return error;
  switch (error?.name) {
    case "NotFoundError":
    case "TypeMismatchError":
      return new HostFailure(FILE_NOT_FOUND, `File not found: ${path}`);
    case "NotAllowedError":
    case "SecurityError":
    case "NoModificationAllowedError":
    case "InvalidModificationError":
      return new HostFailure(PERMISSION_DENIED, `Permission denied: ${path}`);
    default:
      return new HostFailure(HOST_ERROR, `${path}: ${String(error?.message ?? error)}`);
  }
};

async function settled(operation, path) {
  try {
    return await operation();
  } catch (error) {
    return failureOf(error, path);
  }
}

// The temporary folder: the origin-private file system, or, where the browser
// gives none (a page served over plain HTTP from a host other than localhost
// is no secure context), a folder held in memory for the page's life.
let temporaryFolder = null;
function privateFolder() {
  temporaryFolder ??= (async () => {
    try {
      return await navigator.storage.getDirectory();
    } catch {
      return new MemoryFolder();
    }
  })();
  return temporaryFolder;
}

const notFound = (name) => new DOMException(`${name} was not found`, "NotFoundError");

// The few members of a folder handle that the files below use.
class MemoryFolder {
  files = new Map(); // name -> Blob

  async getFileHandle(name, { create = false } = {}) {
    if (!this.files.has(name)) {
      if (!create) throw notFound(name);
      this.files.set(name, new Blob([]));
    }
    const files = this.files;
    return {
      name,
      async getFile() {
        if (!files.has(name)) throw notFound(name);
        return new File([files.get(name)], name);
      },
      // As the browser's own: the content is replaced only when the stream closes.
      async createWritable() {
        let parts = [];
        return {
          write: async (bytes) => void parts.push(bytes),
          abort: async () => void (parts = []),
          close: async () => void files.set(name, new Blob(parts)),
        };
      },
    };
  }

  async removeEntry(name) {
    if (!this.files.delete(name)) throw notFound(name);
  }
}

// A fresh name in the temporary folder, with 64 random bits.
function freshName() {
  const bits = crypto.getRandomValues(new Uint8Array(8));
  return `tq${[...bits].map((b) => b.toString(16).padStart(2, "0")).join("")}.tmp`;
}

// The name of a path in the origin-private folder: "/name" or a bare name.
function privateName(path) {
  const name = String(path).replace(/^\//, "");
  if (!name || name.includes("/")) throw new HostFailure(PATH_NOT_FOUND, `Path not found: ${path}`);
  return name;
}

// A picked file, or else the entry of that name in the origin-private folder.
async function fileHandle(path, { create = false } = {}) {
  try {
    return pickedFiles.get(path) ?? (await (await privateFolder()).getFileHandle(privateName(path), { create }));
  } catch (error) {
    throw failureOf(error, path);
  }
}

async function createExclusive(path) {
  if (pickedFiles.has(path)) throw new HostFailure(FILE_ALREADY_EXISTS, `File already exists: ${path}`);
  const folder = await privateFolder();
  const name = privateName(path);
  const existing = await folder.getFileHandle(name).catch((error) => (error?.name === "NotFoundError" ? null : Promise.reject(error)));
  if (existing) throw new HostFailure(FILE_ALREADY_EXISTS, `File already exists: ${path}`);
  await folder.getFileHandle(name, { create: true });
}

// Writes `bytes` as the whole file. The browser writes to a file of its own
// and replaces the old content only when the stream closes, so a failure on
// the way leaves the old file whole.
async function writeWhole(handle, bytes) {
  const stream = await handle.createWritable({ keepExistingData: false });
  try {
    await stream.write(bytes);
  } catch (error) {
    await stream.abort().catch(() => undefined);
    throw error;
  }
  await stream.close();
}

// A browser cannot rename a file the user picked, so the written file's bytes
// replace the target's in one closing write, and then the written file goes.
async function moveFile(from, to) {
  try {
    const source = await fileHandle(from);
    const bytes = new Uint8Array(await (await source.getFile()).arrayBuffer());
    await writeWhole(await fileHandle(to, { create: !pickedFiles.has(to) }), bytes);
    tellPicked(to, "written");
    await removeFile(from);
  } catch (error) {
    throw failureOf(error, to);
  }
}

async function removeFile(path) {
  if (pickedFiles.has(path)) throw new HostFailure(PERMISSION_DENIED, `Permission denied: ${path}`);
  try {
    await (await privateFolder()).removeEntry(privateName(path));
  } catch (error) {
    throw failureOf(error, path);
  }
}

// "reVoziz Files (*.notes)|*.notes|HTM Files (*.html)|*.html" as picker types.
function pickerTypes(filter) {
  const parts = String(filter ?? "").split("|");
  const types = [];
  for (let i = 0; i + 1 < parts.length; i += 2) {
    const extensions = parts[i + 1]
      .split(";")
      .map((pattern) => pattern.trim().replace(/^\*/, ""))
      .filter((extension) => /^\.[\w.]+$/.test(extension));
    // A notes file is an HTML page, whatever its extension.
    if (extensions.length) types.push({ description: parts[i], accept: { "text/html": extensions } });
  }
  return types;
}

// Without File System Access: a file input to open, and a download to save.
// Both stand in for a picked file's handle: the chosen file reads back, and
// the download is the write that closes.
function chooseFile(types) {
  return new Promise((resolve) => {
    const input = document.createElement("input");
    input.type = "file";
    input.accept = types.flatMap((type) => Object.values(type.accept).flat()).join(",");
    input.addEventListener("change", () => resolve(input.files[0] ?? null));
    input.addEventListener("cancel", () => resolve(null));
    input.click();
  });
}

function downloadTarget(name) {
  const target = {
    name,
    async getFile() {
      throw new DOMException(`${name} went to the browser's downloads`, "NotFoundError");
    },
    async createWritable() {
      let parts = [];
      return {
        write: async (bytes) => void parts.push(bytes),
        abort: async () => void (parts = []),
        close: async () => {
          const url = URL.createObjectURL(new Blob(parts, { type: "text/html" }));
          const link = document.createElement("a");
          link.href = url;
          link.download = name;
          link.click();
          setTimeout(() => URL.revokeObjectURL(url), 60000);
        },
      };
    },
  };
  downloads.add(target);
  return target;
}

async function pickWithoutAccess(kind, fileName, types) {
  if (kind === "save") {
    const extension = types[0] ? Object.values(types[0].accept)[0][0] : "";
    return downloadTarget(fileName && !/[*?]/.test(fileName) ? fileName : `notas${extension}`);
  }
  const file = await chooseFile(types);
  if (!file) throw new DOMException("The user aborted a request.", "AbortError");
  return { name: file.name, getFile: async () => file };
}

async function pick(kind, fileName, filter) {
  try {
    const picker = kind === "open" ? globalThis.showOpenFilePicker : globalThis.showSaveFilePicker;
    const types = pickerTypes(filter);
    const options = { types, excludeAcceptAllOption: types.length > 0 };
    // A pattern such as "*.notes" is no name to suggest; the types say it.
    if (kind === "save" && fileName && !/[*?]/.test(fileName)) options.suggestedName = fileName;
    const answer = picker ? await picker.call(globalThis, options) : await pickWithoutAccess(kind, fileName, types);
    const handle = Array.isArray(answer) ? answer[0] : answer;
    pickedFiles.set(handle.name, handle);
    return handle.name;
  } catch (error) {
    if (error?.name === "AbortError") return new HostFailure(CANCELLED, "Cancel was selected.");
    return new HostFailure(HOST_ERROR, String(error?.message ?? error));
  }
}
