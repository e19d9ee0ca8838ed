// The notes' draft: while the notes page is open, the browser keeps its notes
// for the lesson (by the lesson page's address), so that nothing the student
// typed is lost to a closed tab, a crash or a download that never arrived.
// The next time the lesson opens, the notes page offers a draft that differs
// from what its notes show; the words of that offer are the page's own
// (`#notesDraft`). What comes back goes through the control's paste road, the
// one cleaning of markup from outside: a kept draft is anyone's to change.
//
// A draft is dropped once the notes are empty (new notes) or are what a file
// the student picked holds: saved there, or opened from it. A download is no
// such file: the browser may refuse it, so its draft stays.

import { pasteContent } from "./paste.js";

const DATABASE = "reVoziz";
const DRAFTS = "notesDrafts";
const QUIET_MS = 500; // a change is kept once typing pauses this long,
const LATEST_MS = 1000; // and at the latest this long after it

// Trims spaces only, as the control does when it compares notes.
const trimmed = (markup) => markup.replace(/^ +| +$/g, "");

// The lesson page's address is the draft's key: the page, not the place in it.
export const draftKey = (lessonWin) => lessonWin.location.href.split("#")[0];

function request(operation) {
  return new Promise((resolve, reject) => {
    operation.onsuccess = () => resolve(operation.result);
    operation.onerror = () => reject(operation.error);
  });
}

// The drafts in the browser's IndexedDB: they outlast the page.
function indexedDrafts(indexedDB) {
  let database = null;
  const opened = () => {
    database ??= (() => {
      const opening = indexedDB.open(DATABASE, 1);
      opening.onupgradeneeded = () => opening.result.createObjectStore(DRAFTS);
      return request(opening);
    })();
    return database;
  };
  const run = async (mode, act) => {
    const transaction = (await opened()).transaction(DRAFTS, mode);
    const result = request(act(transaction.objectStore(DRAFTS)));
    await new Promise((resolve, reject) => {
      transaction.oncomplete = resolve;
      transaction.onerror = transaction.onabort = () => reject(transaction.error);
    });
    return result;
  };
  return {
    read: (key) => run("readonly", (store) => store.get(key)),
    write: (key, notes) => run("readwrite", (store) => store.put(notes, key)),
    drop: (key) => run("readwrite", (store) => store.delete(key)),
  };
}

// The drafts in memory, for as long as the lesson page stays open.
function memoryDrafts() {
  const drafts = new Map();
  return {
    read: async (key) => drafts.get(key),
    write: async (key, notes) => void drafts.set(key, notes),
    drop: async (key) => void drafts.delete(key),
  };
}

// IndexedDB where the browser gives it, else memory; a store that fails is
// said once on the console and memory takes over, so typing never stops.
function fallingBack(win) {
  const memory = memoryDrafts();
  let kept = null;
  const giveUp = (error) => {
    if (kept === memory) return;
    kept = memory;
    win.console.warn(`reVoziz: the browser keeps no draft of the notes (${error?.message ?? error}); it is kept in memory while the lesson is open`);
  };
  try {
    kept = win.indexedDB ? indexedDrafts(win.indexedDB) : memory;
  } catch (error) {
    giveUp(error);
  }
  const each = (name) => async (...args) => {
    if (kept !== memory) {
      try {
        return await kept[name](...args);
      } catch (error) {
        giveUp(error);
      }
    }
    return memory[name](...args);
  };
  return { read: each("read"), write: each("write"), drop: each("drop") };
}

const stores = new WeakMap(); // lesson window -> its drafts
export function draftStore(lessonWin) {
  if (!stores.has(lessonWin)) stores.set(lessonWin, fallingBack(lessonWin));
  return stores.get(lessonWin);
}

// The offer in the notes page's markup, if the page has one (older pages do not).
function offerIn(document) {
  const box = document.getElementById("notesDraft");
  const recover = document.getElementById("recoverDraft");
  const discard = document.getElementById("discardDraft");
  return box && recover && discard ? { box, recover, discard } : null;
}

// Puts `markup` into the notes the way a student's paste does: the notes'
// own paste handler hands it to the control, which cleans it before it
// reaches the page. Into empty notes it is the whole; otherwise it goes
// before what they hold. True when the notes took it.
function pasteIntoNotes(win, notes, markup) {
  const before = notes.innerHTML;
  notes.focus();
  const range = win.document.createRange();
  range.selectNodeContents(notes);
  if (trimmed(before)) range.collapse(true);
  const selection = win.getSelection();
  selection.removeAllRanges();
  selection.addRange(range);
  // Without the control to clean it, nothing goes in: the text alone is empty.
  pasteContent(win.document, { html: markup, text: "" });
  return notes.innerHTML !== before;
}

// The notes' draft of the lesson page `lessonWin`. `fileEvents` says when a
// file the student picked was read ("read") or written ("written").
export function notesDrafts(lessonWin, fileEvents) {
  const key = draftKey(lessonWin);
  const store = draftStore(lessonWin);
  let shown = null; // { win, notes, offer } of the notes page in view
  let offered = null; // the earlier draft, while the student has not answered
  let known = ""; // notes that a picked file holds: no draft needed
  let stored; // what the store holds, as far as this page knows
  let loaded = null; // the first read of the store
  let timer = 0;
  let due = 0; // when the oldest change not yet kept must be kept

  // What to keep for `markup`: unsaved notes, after the draft on offer.
  const draftFor = (markup) => {
    const unsaved = trimmed(markup) && markup !== known ? markup : "";
    return (offered ?? "") + unsaved;
  };

  const keep = (markup) =>
    loaded.then(() => {
      const draft = draftFor(markup);
      if (draft === stored) return undefined;
      stored = draft;
      return draft ? store.write(key, draft) : store.drop(key);
    });

  const keepNow = () => {
    clearTimeout(timer);
    timer = 0;
    if (shown) keep(shown.notes.innerHTML);
  };
  const keepSoon = () => {
    const now = Date.now();
    if (!timer) due = now + LATEST_MS;
    clearTimeout(timer);
    timer = setTimeout(keepNow, Math.min(QUIET_MS, due - now));
  };

  const showOffer = (on) => {
    if (shown?.offer) shown.offer.box.hidden = !on;
  };

  const answer = (recover) => {
    if (offered === null || !shown) return;
    const draft = offered;
    if (recover && !pasteIntoNotes(shown.win, shown.notes, draft)) return;
    offered = null;
    // The answered offer goes, and the student goes on in the notes.
    showOffer(false);
    shown.notes.focus();
    keepNow();
  };

  fileEvents?.addEventListener("written", () => {
    if (!shown) return;
    known = shown.notes.innerHTML;
    keepNow();
  });
  // The opened notes replace the shown ones once the control's call ends.
  fileEvents?.addEventListener("read", () => {
    if (!shown) return;
    const { notes } = shown;
    const before = notes.innerHTML;
    setTimeout(() => {
      if (notes.innerHTML === before) return;
      known = notes.innerHTML;
      keepNow();
    });
  });
  lessonWin.addEventListener("pagehide", keepNow);
  lessonWin.document.addEventListener("visibilitychange", () => {
    if (lessonWin.document.visibilityState === "hidden") keepNow();
  });

  return {
    // The notes page `win` has come into its frame.
    attach(win) {
      const document = win.document;
      const notes = document.getElementById("notes");
      if (!notes) return;
      const page = { win, notes, offer: offerIn(document) };
      shown = page;
      page.offer?.recover.addEventListener("click", () => answer(true));
      page.offer?.discard.addEventListener("click", () => answer(false));
      new win.MutationObserver(keepSoon).observe(notes, { childList: true, subtree: true, characterData: true, attributes: true });
      notes.addEventListener("input", keepSoon);
      win.addEventListener("pagehide", () => {
        if (shown !== page) return;
        keepNow();
        shown = null;
      });
      loaded ??= store.read(key).then((draft) => {
        // Anyone may have written there: only text is a draft.
        stored = typeof draft === "string" ? draft : "";
        if (trimmed(stored) && trimmed(stored) !== trimmed(notes.innerHTML)) offered = stored;
      });
      loaded.then(() => {
        if (shown === page && offered !== null) showOffer(true);
      });
    },
  };
}
