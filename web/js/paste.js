// The paste road in the browser. A page's script sees the clipboard only
// inside a paste event or through the asynchronous clipboard API, so
// `execCommand("Paste")` takes the content of the paste event being handled,
// or else reads the clipboard, and then does what a user's paste does: it
// raises a paste event at the selection, synchronously, and unless a handler
// cancels it, pastes over the selection.
//
// What lands in the paste marker is parsed into an inert document and stays
// there, marker and all, until the control has cleaned it: only its
// `removeNode(false)` brings the cleaned content into the page, so nothing
// the cleaning removes is ever in the live page. Where the marker went in
// through the browser's editor, its insertion is undone as it leaves, and the
// cleaned content later replaces what the user had selected in one editing
// step: one undo takes the whole paste back.

import { invoke, read } from "./node_members.js";
import { TextRange, elementOf, inertDocument } from "./selection.js";

// Markers away in an inert document, each with where its content goes: the
// user's selection (`range`) or the node that keeps the marker's place.
const awayMarkers = new WeakMap();

// The content of the paste events raised here: a script's own DataTransfer
// may read back empty in the event (Firefox's does).
const raisedContent = new WeakMap();

// The content of a paste event, readable while its handlers run.
function contentOf(event) {
  if (event?.type !== "paste") return null;
  const raised = raisedContent.get(event);
  if (raised) return raised;
  const data = event.clipboardData;
  return data ? { html: data.getData("text/html"), text: data.getData("text/plain") } : null;
}

async function readClipboard(win) {
  const content = { html: "", text: "" };
  for (const item of await win.navigator.clipboard.read()) {
    for (const [kind, type] of [["html", "text/html"], ["text", "text/plain"]]) {
      if (!content[kind] && item.types.includes(type)) content[kind] = await (await item.getType(type)).text();
    }
  }
  return content;
}

// The element whose whole content the selection covers, when it holds text
// alone: the control's marker, with its placeholder selected.
function selectedHolder(document, range) {
  const holder = elementOf(range.commonAncestorContainer);
  if (!holder || holder === document.body || holder.children.length > 0) return null;
  const text = holder.textContent;
  return text !== "" && range.toString() === text ? holder : null;
}

// Pastes `content` over the selection. Into a selected holder the content
// goes inert (see above); anywhere else only the text goes in, through the
// browser's editor.
function pasteOverSelection(document, content) {
  const selection = document.getSelection();
  if (!selection?.rangeCount || (!content.html && !content.text)) return false;
  const holder = selectedHolder(document, selection.getRangeAt(0));
  if (!holder) return content.text ? document.execCommand("insertText", false, content.text) : false;
  const inert = inertDocument(document, content.html);
  // Read through the prototypes: the pasted markup names images "body".
  const body = read(inert, "body");
  const nodes = content.html ? [...read(body, "childNodes")] : [invoke(inert, "createTextNode", content.text)];
  awayMarkers.set(holder, undoInsertion(document, holder) ?? standInFor(document, holder));
  invoke(body, "replaceChildren", holder);
  invoke(holder, "replaceChildren", ...nodes);
  return true;
}

// Undoes the editing step that put `holder` in, when it was the last one:
// what the user had selected comes back, selected again.
function undoInsertion(document, holder) {
  if (!elementOf(holder.parentNode)?.isContentEditable) return null;
  document.execCommand("undo");
  const selection = document.getSelection();
  if (!holder.isConnected && selection.rangeCount) return { range: selection.getRangeAt(0).cloneRange() };
  // The last step was another one, or left no selection: put it back.
  document.execCommand("redo");
  return null;
}

function standInFor(document, holder) {
  const standIn = document.createComment(" paste ");
  holder.replaceWith(standIn);
  return { standIn };
}

// Raises the paste event at the selection, as the user's paste does, with
// `content` ({ html, text }): the notes' handler has the control clean it.
export function pasteContent(document, content) {
  const win = document.defaultView;
  const data = new win.DataTransfer();
  if (content.html) data.setData("text/html", content.html);
  if (content.text) data.setData("text/plain", content.text);
  const target = elementOf(document.getSelection()?.focusNode) ?? document.body;
  const event = new win.ClipboardEvent("paste", { clipboardData: data, bubbles: true, cancelable: true, composed: true });
  raisedContent.set(event, content);
  if (!target.dispatchEvent(event)) return false;
  return pasteOverSelection(document, content);
}

// execCommand("Paste") while `currentEvent` is dispatched. Without a paste
// event to take the content from, the clipboard is read, which takes a
// while: `wait(start)` hands the control a promise to wait for, or answers
// null where the call cannot wait, and then nothing is pasted.
export function pasteCommand(document, currentEvent, wait) {
  const kept = contentOf(currentEvent);
  if (kept) return pasteContent(document, kept);
  const win = document.defaultView;
  if (!win.navigator.clipboard?.read) return false;
  return wait(() => readClipboard(win).then((content) => pasteContent(document, content))) ?? false;
}

// Whether `markup` parses back to itself as the page would parse it, with
// scripting on: a template's content is that parse, and inert.
function reparsesToItself(document, markup) {
  const template = document.createElement("template");
  template.innerHTML = markup;
  return template.innerHTML === markup;
}

function caretAfter(document, node) {
  const caret = document.createRange();
  caret.setStartAfter(node);
  const selection = document.getSelection();
  selection.removeAllRanges();
  selection.addRange(caret);
}

// removeNode for a marker that is away: its content (none when `deep`)
// takes its place, and the caret goes after it. In place of the user's
// selection the content goes in through the browser's editor when its markup
// reads back as the same content; otherwise, as the nodes themselves. False
// for any other node.
export function bringHome(marker, deep) {
  const place = awayMarkers.get(marker);
  if (!place) return false;
  awayMarkers.delete(marker);
  marker.remove();
  const { range, standIn } = place;
  const document = (range?.startContainer ?? standIn).ownerDocument;
  if (deep) {
    standIn?.remove();
    return true;
  }
  const markup = marker.innerHTML;
  const content = [...marker.childNodes];
  if (range) {
    if (elementOf(range.startContainer)?.isContentEditable && reparsesToItself(document, markup)) {
      new TextRange(document, range).pasteHTML(markup);
      return true;
    }
    const fragment = document.createDocumentFragment();
    fragment.append(...content);
    range.deleteContents();
    range.insertNode(fragment);
  } else if (standIn.parentNode) {
    standIn.replaceWith(...content);
  }
  if (content.at(-1)?.isConnected) caretAfter(document, content.at(-1));
  return true;
}
