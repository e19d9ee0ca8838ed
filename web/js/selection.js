// `document.selection` and its ranges, as the control knows them, over the
// browser's Selection and Range: a text range (`parentElement`, `collapse`,
// `pasteHTML`, `moveToElementText`, `findText`, `select`) and, when exactly
// one image or form field is selected as an object, a control range with
// `item(i)`.

// What the user can select whole, as an object: an image or a form field.
const OBJECT_TAGS = new Set(["IMG", "INPUT", "TEXTAREA", "SELECT", "BUTTON"]);
const TEXT_FIELD_TYPES = new Set(["", "text", "search", "url", "tel", "email", "password", "number"]);

export const elementOf = (node) => (node?.nodeType === 1 ? node : (node?.parentElement ?? null));

// The text field that holds the caret: the browser reports a caret inside a
// field at the field's place in its parent, while the control asks for the
// element that holds it, which is the field itself.
function focusedTextField(document) {
  const active = document.activeElement;
  if (active?.tagName === "TEXTAREA") return active;
  if (active?.tagName === "INPUT" && TEXT_FIELD_TYPES.has(active.type)) return active;
  return null;
}

// The single object that the selection holds whole, if any.
function selectedObject(selection) {
  if (!selection || selection.rangeCount === 0) return null;
  const range = selection.getRangeAt(0);
  if (range.startContainer !== range.endContainer || range.endOffset - range.startOffset !== 1) return null;
  const node = range.startContainer.childNodes?.[range.startOffset];
  return node?.nodeType === 1 && OBJECT_TAGS.has(node.tagName) ? node : null;
}

function currentRange(document) {
  const selection = document.getSelection();
  if (selection?.rangeCount) return selection.getRangeAt(0).cloneRange();
  const range = document.createRange();
  range.setStart(document.body ?? document.documentElement, 0);
  return range;
}

function makeSelection(document, range) {
  const selection = document.getSelection();
  selection.removeAllRanges();
  selection.addRange(range);
  return selection;
}

// The outermost editable element around `element`.
function editingHostOf(element) {
  let host = element;
  while (host.parentElement?.isContentEditable) host = host.parentElement;
  return host;
}

// The browser's editor leaves out what it does not render, such as the
// hidden paste marker and the hidden parts of a sync tag. While it inserts,
// an inline "display: none" inside the editing host is shown; the rule goes
// before anything is painted.
const INSERTING = "data-tq-inserting";
const insertingSheets = new WeakSet();
function withHiddenShown(host, insert) {
  const document = host.ownerDocument;
  if (!insertingSheets.has(document)) {
    const sheet = new document.defaultView.CSSStyleSheet();
    sheet.replaceSync(
      `[${INSERTING}] [style*="display:none" i], [${INSERTING}] [style*="display: none" i] { display: inline !important }`,
    );
    document.adoptedStyleSheets = [...document.adoptedStyleSheets, sheet];
    insertingSheets.add(document);
  }
  host.setAttribute(INSERTING, "");
  try {
    return insert();
  } finally {
    host.removeAttribute(INSERTING);
  }
}

// Markup parsed into an inert document: nothing in it loads or runs, and
// its scripts stay unexecutable wherever they go.
export function inertDocument(document, html) {
  return new document.defaultView.DOMParser().parseFromString(String(html), "text/html");
}

// Where in `text` the first `wanted` starts, ignoring case, or -1.
function findIgnoringCase(text, wanted) {
  const exact = text.indexOf(wanted);
  if (exact >= 0) return exact;
  const lower = text.toLowerCase();
  return lower.length === text.length ? lower.indexOf(wanted.toLowerCase()) : -1;
}

// The node that follows the end of `range` and its parent (the node is null
// at the end of the parent); nothing when the range ends inside a text.
function nodeAfter(range) {
  const { endContainer: container, endOffset: offset } = range;
  if (container.nodeType === 3) {
    if (offset < container.data.length) return null;
    return { node: container.nextSibling, parent: container.parentNode };
  }
  return { node: container.childNodes[offset] ?? null, parent: container };
}

export class TextRange {
  constructor(document, range, field = null) {
    this.document = document;
    this.range = range;
    this.field = field;
  }

  get text() {
    return this.field ? this.field.value.slice(this.field.selectionStart, this.field.selectionEnd) : this.range.toString();
  }

  // The innermost element that holds the whole range.
  parentElement() {
    return this.field ?? elementOf(this.range.commonAncestorContainer);
  }

  collapse(toStart = true) {
    this.range.collapse(toStart !== false);
  }

  moveToElementText(element) {
    this.field = null;
    this.range.selectNodeContents(element);
  }

  // Narrows the range to the first occurrence of `text` within it.
  findText(text) {
    const wanted = String(text);
    if (!wanted) return false;
    const root = this.range.commonAncestorContainer;
    const walker = this.document.createTreeWalker(root, 4 /* NodeFilter.SHOW_TEXT */);
    const pieces = [];
    let joined = "";
    for (let node = root.nodeType === 3 ? root : walker.nextNode(); node; node = walker.nextNode()) {
      if (!this.range.intersectsNode(node)) continue;
      const from = node === this.range.startContainer ? this.range.startOffset : 0;
      const to = node === this.range.endContainer ? this.range.endOffset : node.data.length;
      pieces.push({ node, from, at: joined.length });
      joined += node.data.slice(from, to);
      if (root.nodeType === 3) break;
    }
    const start = findIgnoringCase(joined, wanted);
    if (start < 0) return false;
    const place = (offset) => {
      const piece = pieces.findLast((p) => p.at <= offset);
      return [piece.node, piece.from + offset - piece.at];
    };
    const [lastNode, lastOffset] = place(start + wanted.length - 1);
    this.range.setStart(...place(start));
    this.range.setEnd(lastNode, lastOffset + 1);
    return true;
  }

  // Markup never goes inside a text field, nor inside the element around it
  // that cannot be edited (a sync tag): it goes after them.
  moveAfterField() {
    let island = this.field;
    while (island.parentElement?.parentElement && !island.parentElement.isContentEditable) {
      island = island.parentElement;
    }
    this.range = this.document.createRange();
    this.range.setStartAfter(island);
    this.field = null;
  }

  select() {
    if (this.field) return;
    makeSelection(this.document, this.range.cloneRange());
  }

  // Replaces the range's content with `html` and leaves the range after it.
  // In editable content this goes through the browser's editor, so that its
  // undo history takes the insertion in; elsewhere the nodes are put in place.
  pasteHTML(html) {
    if (this.field) this.moveAfterField();
    const place = elementOf(this.range.startContainer);
    if (place?.isContentEditable) {
      const following = nodeAfter(this.range);
      const selection = makeSelection(this.document, this.range.cloneRange());
      const inserted = withHiddenShown(editingHostOf(place), () =>
        this.document.execCommand("insertHTML", false, String(html)),
      );
      if (inserted && selection.rangeCount) {
        // The editor leaves no usable caret after an inserted element that
        // cannot be edited (a sync tag); the node that followed the range
        // tells where the inserted content ends.
        if (following?.node && following.node.parentNode === following.parent) {
          const caret = this.document.createRange();
          caret.setStartBefore(following.node);
          makeSelection(this.document, caret);
        } else if (following && !following.node && following.parent.isConnected) {
          const caret = this.document.createRange();
          caret.selectNodeContents(following.parent);
          caret.collapse(false);
          makeSelection(this.document, caret);
        }
        this.range = selection.getRangeAt(0).cloneRange();
        return;
      }
    }
    const nodes = inertDocument(this.document, html).body.childNodes;
    this.range.deleteContents();
    const fragment = this.document.createDocumentFragment();
    fragment.append(...[...nodes]);
    this.range.insertNode(fragment);
    this.range.collapse(false);
  }
}

export class ControlRange {
  constructor(document, items) {
    this.document = document;
    this.items = items;
  }
  get length() {
    return this.items.length;
  }
  item(index) {
    return this.items[Number(index)] ?? null;
  }
  select() {
    const range = this.document.createRange();
    if (this.items[0]) range.selectNode(this.items[0]);
    makeSelection(this.document, range);
  }
}

export class SelectionObject {
  constructor(document) {
    this.document = document;
  }

  // "None" for a caret, "Text" for selected text, "Control" for one object.
  get type() {
    const field = focusedTextField(this.document);
    if (field) return field.selectionStart !== field.selectionEnd ? "Text" : "None";
    const selection = this.document.getSelection();
    if (selectedObject(selection)) return "Control";
    return !selection || selection.rangeCount === 0 || selection.isCollapsed ? "None" : "Text";
  }

  createRange() {
    const field = focusedTextField(this.document);
    if (!field) {
      const object = selectedObject(this.document.getSelection());
      if (object) return new ControlRange(this.document, [object]);
    }
    return new TextRange(this.document, currentRange(this.document), field);
  }

  empty() {
    this.document.getSelection()?.removeAllRanges();
  }
}
