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
// the cleaning removes is ever in the live page.

import { elementOf, inertDocument } from "./selection.js";

// Markers away in an inert document, each with the node that keeps its place.
const awayMarkers = new WeakMap();

// The content of a paste event, readable while its handlers run.
function contentOf(event) {
  const data = event?.type === "paste" ? event.clipboardData : null;
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
  const nodes = content.html ? [...inert.body.childNodes] : [inert.createTextNode(content.text)];
  const standIn = document.createComment(" paste ");
  holder.replaceWith(standIn);
  inert.body.replaceChildren(holder);
  holder.replaceChildren(...nodes);
  awayMarkers.set(holder, standIn);
  return true;
}

// Raises the paste event at the selection, as the user's paste does.
function pasteContent(document, content) {
  const win = document.defaultView;
  const data = new win.DataTransfer();
  if (content.html) data.setData("text/html", content.html);
  if (content.text) data.setData("text/plain", content.text);
  const target = elementOf(document.getSelection()?.focusNode) ?? document.body;
  const event = new win.ClipboardEvent("paste", { clipboardData: data, bubbles: true, cancelable: true, composed: true });
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

// removeNode for a marker that is away: its content (none when `deep`)
// takes its place in the page, and the caret goes after it. False for any
// other node.
export function bringHome(marker, deep) {
  const standIn = awayMarkers.get(marker);
  if (!standIn) return false;
  awayMarkers.delete(marker);
  const content = deep ? [] : [...marker.childNodes];
  const after = standIn.nextSibling;
  const parent = standIn.parentNode;
  standIn.replaceWith(...content);
  marker.remove();
  const document = parent?.ownerDocument;
  if (document && parent.isConnected) {
    const caret = document.createRange();
    if (content.length) caret.setStartAfter(content.at(-1));
    else if (after) caret.setStartBefore(after);
    else caret.selectNodeContents(parent);
    caret.collapse(false);
    const selection = document.getSelection();
    selection.removeAllRanges();
    selection.addRange(caret);
  }
  return true;
}
