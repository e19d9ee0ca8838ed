// Change stamps for the control: per document, a number that moves whenever
// something changes that the tick's reading of a segment list could depend on.
// While it stays put, the control reuses what it read from that document.
//
// What moves it:
//  - the document's tree, texts and attributes: a MutationObserver, whose
//    pending records are taken at once, so a change made a moment ago counts;
//  - style sheets changed through the object model, which no mutation record
//    reports: the sheet and declaration methods of the document's window are
//    wrapped to count their calls (insertRule, setProperty, cssText, ...),
//    and the rules of the "tq_style" sheet are compared as text, since a
//    rule's properties set by name (rule.style.display = ...) reach no method
//    that could be wrapped. Such a write to another sheet goes unseen;
//  - the size of the document's window and of the frame element that holds
//    it, which media rules and the frame's own display (or a hidden panel
//    around it) depend on.
// Stamps count up across all documents, so no two documents share one.

let lastStamp = 0;
const watched = new WeakMap(); // document -> what its stamp was taken from
const sheetWrites = new WeakMap(); // window -> how many sheet writes it made

// Wraps the writers of one window's style sheets and declarations, once.
function countSheetWrites(view) {
  if (sheetWrites.has(view)) return;
  sheetWrites.set(view, 0);
  const counted = () => sheetWrites.set(view, sheetWrites.get(view) + 1);
  const wrapMethod = (proto, name) => {
    const original = proto?.[name];
    if (typeof original !== "function") return;
    proto[name] = function (...args) {
      counted();
      return original.apply(this, args);
    };
  };
  const wrapSetter = (proto, name) => {
    const property = Object.getOwnPropertyDescriptor(proto, name);
    if (!property?.set || !property.configurable) return;
    Object.defineProperty(proto, name, {
      ...property,
      set(value) {
        counted();
        property.set.call(this, value);
      },
    });
  };
  const sheet = view.CSSStyleSheet?.prototype;
  for (const name of ["insertRule", "deleteRule", "addRule", "removeRule", "replace", "replaceSync"]) {
    wrapMethod(sheet, name);
  }
  wrapSetter(sheet, "disabled");
  wrapSetter(view.CSSStyleRule?.prototype, "selectorText");
  const declaration = view.CSSStyleDeclaration?.prototype;
  wrapMethod(declaration, "setProperty");
  wrapMethod(declaration, "removeProperty");
  // cssText, and the properties by name where a browser defines them on the
  // prototype rather than on each declaration.
  for (const type of ["CSSStyleDeclaration", "CSSStyleProperties", "CSS2Properties"]) {
    const proto = view[type]?.prototype;
    if (proto) for (const name of Object.getOwnPropertyNames(proto)) wrapSetter(proto, name);
  }
}

// The rules of the document's "tq_style" sheet, as text.
function styleRulesText(document) {
  const rules = document.getElementById("tq_style")?.sheet?.cssRules;
  if (!rules) return "";
  let text = "";
  for (const rule of rules) text += rule.cssText;
  return text;
}

// What no mutation record of the document reports, kept in `inputs` and
// updated in place. The frame element is read first: that
// brings the holding page's layout up to date. Answers whether any moved.
function readInputs(document, inputs) {
  const view = document.defaultView;
  const frame = view.frameElement;
  let moved = false;
  const take = (key, value) => {
    if (inputs[key] !== value) {
      inputs[key] = value;
      moved = true;
    }
  };
  take("frameWidth", frame?.clientWidth);
  take("frameHeight", frame?.clientHeight);
  take("width", view.innerWidth);
  take("height", view.innerHeight);
  take("sheets", sheetWrites.get(view));
  take("rules", styleRulesText(document));
  return moved;
}

function watch(document) {
  const view = document.defaultView;
  countSheetWrites(view);
  const state = { stamp: ++lastStamp, inputs: {} };
  readInputs(document, state.inputs);
  state.observer = new view.MutationObserver(() => {
    state.stamp = ++lastStamp;
  });
  state.observer.observe(document, { subtree: true, childList: true, attributes: true, characterData: true });
  return state;
}

// The stamp of the document that holds `node` (or of `node`, a document);
// 0 for anything else, or for a document that is no longer its window's
// (a navigation replaced it).
export function changeStamp(node) {
  const document = node?.nodeType === 9 ? node : node?.ownerDocument;
  const view = document?.defaultView;
  if (!view || view.document !== document) return 0;
  let state = watched.get(document);
  if (!state) watched.set(document, (state = watch(document)));
  const recorded = state.observer.takeRecords().length > 0;
  if (readInputs(document, state.inputs) || recorded) state.stamp = ++lastStamp;
  return state.stamp;
}
