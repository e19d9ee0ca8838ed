// Change stamps for the control: per document, a number that moves whenever
// something changes that the tick's reading of a segment list could depend on.
// While it stays put, the control reuses what it read from that document.
//
// What moves it:
//  - the document's tree, texts and attributes: a MutationObserver, whose
//    pending records are taken at once, so a change made a moment ago counts;
//  - style sheets changed through the object model (rules added or removed,
//    rule styles set), which no mutation record reports: the sheet and style
//    declaration writers of the document's window are wrapped to count them;
//  - the size of the document's window, which media rules and the frame's
//    own display depend on.
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
  if (!declaration) return;
  wrapMethod(declaration, "setProperty");
  wrapMethod(declaration, "removeProperty");
  // cssText and every property by name (style.display = ...).
  for (const name of Object.getOwnPropertyNames(declaration)) wrapSetter(declaration, name);
}

function watch(document) {
  const view = document.defaultView;
  countSheetWrites(view);
  const state = { stamp: ++lastStamp, sheets: sheetWrites.get(view), width: view.innerWidth, height: view.innerHeight };
  state.observer = new view.MutationObserver(() => {
    state.stamp = ++lastStamp;
  });
  state.observer.observe(document, { subtree: true, childList: true, attributes: true, characterData: true });
  return state;
}

// The stamp of the document that holds `node` (or of `node`, a document);
// null for anything else, or for a document without a window.
export function changeStamp(node) {
  const document = node?.nodeType === 9 ? node : node?.ownerDocument;
  const view = document?.defaultView;
  if (!view) return null;
  let state = watched.get(document);
  if (!state) watched.set(document, (state = watch(document)));
  let moved = state.observer.takeRecords().length > 0;
  const sheets = sheetWrites.get(view);
  if (sheets !== state.sheets || view.innerWidth !== state.width || view.innerHeight !== state.height) {
    Object.assign(state, { sheets, width: view.innerWidth, height: view.innerHeight });
    moved = true;
  }
  if (moved) state.stamp = ++lastStamp;
  return state.stamp;
}
