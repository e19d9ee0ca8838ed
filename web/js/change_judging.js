// Which changes of a document can change what the tick reads of its lists:
// which segments are displayed, their order and their `tq_start`, the list
// container's settings, and what the control looks up by id or name. The
// rest (a keyboard's `tabindex`, `aria-*`, text edited inside a segment that
// keeps text, a button shown beside the list) leaves what the tick read
// standing, so it must not cost a walk over a list of thousands of segments.
// Whatever cannot be judged counts.
//
// `lists` are the document's watched elements: the list containers the tick
// asked about, and in a page that holds frames, those frames' elements.
// `selectors()` gives what the sheets' layout rules select on
// (layout_selectors.js).

import { invoke, nodeTypeOf, read } from "./node_members.js";

// Attributes that hide, size, time or name elements, or load what they show.
const LAYOUT_ATTRIBUTES = new Set(["class", "style", "hidden", "open", "width", "height", "src", "srcdoc"]);
const LOOKUP_ATTRIBUTES = new Set(["id", "name"]);
// Elements whose every change reaches the layout: embedded pages (sheets,
// the other such source, are judged by touchesSheets).
const EMBEDS = new Set(["IFRAME", "FRAME", "OBJECT", "EMBED"]);
const EMBED_NODES = "iframe, frame, object, embed";
// What the control looks up.
const NAMED_NODES = "[id], [name]";
const DIVS = new Set(["DIV"]);

const isElement = (node) => nodeTypeOf(node) === 1;
const tagOf = (element) => String(read(element, "tagName")).toUpperCase();
const holds = (outer, inner) => outer === inner || invoke(outer, "contains", inner);
const isBlank = (text) => !/\S/.test(text ?? "");
const { createTreeWalker } = Document.prototype;

// Where a node stands: in a list (or a list itself), above one, or beside.
function placeOf(node, lists) {
  for (const list of lists) if (holds(list, node)) return "list";
  for (const list of lists) if (holds(node, list)) return "above";
  return "beside";
}

// The innermost segment that holds the node, below the list that holds it.
function segmentOf(node, lists) {
  for (let e = isElement(node) ? node : read(node, "parentElement"); e; e = read(e, "parentElement")) {
    if (lists.has(e)) return null;
    if (tagOf(e) === "DIV" && invoke(e, "getAttribute", "class") === "segment") return e;
  }
  return null;
}

// Whether the segment shows some text outside `excluded`: text that was
// there before the change too, so that the segment had a line and keeps it.
function keepsText(segment, excluded) {
  // Through the prototype: a document answers the names of its elements.
  const walker = createTreeWalker.call(read(segment, "ownerDocument"), segment, NodeFilter.SHOW_TEXT);
  for (let text = walker.nextNode(); text; text = walker.nextNode()) {
    if (!isBlank(read(text, "nodeValue")) && !excluded.some((node) => holds(node, text))) return true;
  }
  return false;
}

function attributeMatters(record, lists, selectors) {
  const name = record.attributeName.toLowerCase();
  if (LOOKUP_ATTRIBUTES.has(name)) return true;
  if (EMBEDS.has(tagOf(record.target))) return true;
  const chosen = selectors();
  const layout = LAYOUT_ATTRIBUTES.has(name) || name.startsWith("tq_") || chosen.attributes.has(name) || chosen.everything;
  return layout && (chosen.structural || placeOf(record.target, lists) !== "beside");
}

function textMatters(record, lists, selectors) {
  if (selectors().structural) return true;
  const segment = segmentOf(record.target, lists);
  if (!segment) return false;
  if (!isBlank(record.oldValue) && !isBlank(read(record.target, "nodeValue"))) return false;
  return !keepsText(segment, [record.target]);
}

function nodesMatter(record, lists, selectors) {
  const nodes = [...record.addedNodes, ...record.removedNodes].filter(isElement);
  const holding = (node, tags, selector) => tags.has(tagOf(node)) || invoke(node, "querySelectorAll", selector).length > 0;
  for (const node of nodes) {
    if (holding(node, EMBEDS, EMBED_NODES) || invoke(node, "hasAttribute", "id") || invoke(node, "hasAttribute", "name")) return true;
    if (invoke(node, "querySelectorAll", NAMED_NODES).length > 0) return true;
    for (const list of lists) if (holds(node, list)) return true;
  }
  if (selectors().structural) return true;
  if (placeOf(record.target, lists) !== "list") return false;
  // Inside a list, a DIV may be a segment, and shifts the walk's count of DIVs.
  if (nodes.some((node) => holding(node, DIVS, "div"))) return true;
  const segment = segmentOf(record.target, lists);
  return segment !== null && !keepsText(segment, [...record.addedNodes]);
}

const SHEETS = new Set(["STYLE", "LINK"]);
const SHEET_NODES = "style, link";

// Whether the record changed a sheet's element or its text, or added or
// removed one; what cannot be judged counts. A sheet's element holds no
// elements, so its text's parent is enough.
export function touchesSheets(record) {
  try {
    const target = record.target;
    const element = isElement(target) ? target : read(target, "parentElement");
    if (element && SHEETS.has(tagOf(element))) return true;
    if (record.type !== "childList") return false;
    for (const nodes of [record.addedNodes, record.removedNodes]) {
      for (const node of nodes) {
        if (isElement(node) && (SHEETS.has(tagOf(node)) || invoke(node, "querySelectorAll", SHEET_NODES).length > 0)) return true;
      }
    }
    return false;
  } catch {
    return true;
  }
}

// Whether the mutation record can change what the tick reads; those that
// touch sheets are judged by touchesSheets.
export function changeMatters(record, lists, selectors) {
  try {
    switch (record.type) {
      case "attributes":
        return attributeMatters(record, lists, selectors);
      case "characterData":
        return textMatters(record, lists, selectors);
      case "childList":
        return nodesMatter(record, lists, selectors);
      default:
        return true;
    }
  } catch {
    return true;
  }
}
