// The notes' draft that the browser keeps: a student writes in one visit of
// the lesson, the tab closes, and the next visit offers what was not saved.
// Each scenario is a first visit (what the student does), the draft then
// kept, and a second visit: whether it offers the draft, the student's
// answer, and what the notes and the kept drafts are afterwards.

import assert from "node:assert/strict";
import { setTimeout as sleep } from "node:timers/promises";
import { test } from "node:test";

import { inEachBrowser } from "./browsers.mjs";
import { chooseTranscript, errorsOnceLogged, frame, NOTES_PAGE_TICKS, typeNotes } from "./lesson_browser.mjs";

const OTHER_LESSON = "/lessons/otra/index.html";

// A kept draft is anyone's to change: everything here that could run.
const HOSTILE_DRAFT = [
  "<b>a salvo</b>",
  '<img src="x" onerror="top.scriptRuns.push(\'onerror\')" alt="roto">',
  "<script>top.scriptRuns.push('script')</script>",
  "<svg onload=\"top.scriptRuns.push('svg')\"></svg>",
  '<a href="javascript:top.scriptRuns.push(\'href\')">enlace</a>',
].join("");

// What every document of a visit starts with: nothing has run, saves go
// where the scenario says (`pickers`: a picked file, or none, so a download),
// and the browser's storage may refuse the lesson.
function prepare({ pickers, storage } = {}) {
  if (window === top) window.scriptRuns = [];
  if (storage === "refused") {
    Object.defineProperty(window, "indexedDB", {
      get() {
        throw new DOMException("The storage is refused", "SecurityError");
      },
    });
  }
  if (pickers === "download") {
    window.showOpenFilePicker = undefined;
    window.showSaveFilePicker = undefined;
  } else if (pickers === "picked") {
    const picked = async () => (await navigator.storage.getDirectory()).getFileHandle("clase.notes", { create: true });
    window.showSaveFilePicker = picked;
    window.showOpenFilePicker = async () => [await picked()];
  }
}

// The drafts by address ("" for this lesson), read or written through the
// lesson's own module.
function drafts(page, action, address = "", markup) {
  return page.evaluate(
    async ([what, where, notes]) => {
      const { draftKey, draftStore } = await import("/revoziz/notes_draft.js");
      const key = where ? new URL(where, location.href).href : draftKey(window);
      return draftStore(window)[what](key, notes);
    },
    [action, address, markup],
  );
}

// The kept draft, once the last change is due to be kept (within a second),
// so that a draft still to come is not missed.
async function keptBecomes(page, expected, address) {
  await sleep(1200);
  let kept;
  for (let i = 0; i < 60; i++) {
    kept = await drafts(page, "read", address);
    if (expected instanceof RegExp ? expected.test(kept ?? "") : kept === expected) return;
    await sleep(50);
  }
  assert.fail(`kept draft ${JSON.stringify(kept)}, not ${expected}`);
}

// Whether leaving now would make the browser ask. Where nothing is unsaved the
// control stops, so this is a visit's last step.
const leavingAsks = (page) =>
  page.evaluate(() => {
    const event = new Event("beforeunload", { cancelable: true });
    window.dispatchEvent(event);
    return event.defaultPrevented;
  });

const notesHtml = (notes) => notes.evaluate(() => document.getElementById("notes").innerHTML);
const offerShown = (notes) => notes.evaluate(() => !document.getElementById("notesDraft").hidden);

// What the student does in the first visit.
const typing = (text) => ({ notes }) => typeNotes(notes, text);
const planting = (markup, address) => ({ page }) => drafts(page, "write", address, markup);
const downloading = async ({ lessons, page, notes }) => {
  await lessons.downloaded(page, () => notes.click("#save"));
  await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "notas.notes");
};
const savingToPickedFile = async ({ notes }) => {
  await notes.click("#save");
  await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "clase.notes");
};
// A notes file of this lesson, as Windows-1252 bytes, where the picker finds it.
const NOTES_FILE = "<html><!--title-->Introducci\xf3n a la fotograf\xeda digital<!--title--><!--notes-->de un archivo<!--notes--></html>";
const openingPickedFile = async ({ page, notes }) => {
  await page.evaluate(async (text) => {
    const file = await (await navigator.storage.getDirectory()).getFileHandle("clase.notes", { create: true });
    const stream = await file.createWritable();
    await stream.write(Uint8Array.from(text, (c) => c.charCodeAt(0)));
    await stream.close();
  }, NOTES_FILE);
  await notes.click("#opennotes");
  await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "clase.notes");
};
const startingNewNotes = async ({ notes }) => {
  await notes.click("#newnotes");
  await notes.waitForFunction(() => document.getElementById("notes").innerHTML === "");
};
const leavingDoesNotAsk = async ({ page }) => assert.equal(await leavingAsks(page), false);

const SCENARIOS = [
  {
    title: "typed notes are kept; the next visit offers them, and Recuperar brings them back as unsaved notes",
    first: [typing("Apuntes de clase")],
    kept: "Apuntes de clase",
    answer: "#recoverDraft",
    notes: /^Apuntes de clase$/,
    keptAfter: "Apuntes de clase",
    leavingAsks: true,
  },
  {
    title: "a planted draft comes back cleaned, and nothing in it runs",
    first: [planting(HOSTILE_DRAFT)],
    kept: HOSTILE_DRAFT,
    answer: "#recoverDraft",
    notes: /^<b>a salvo<\/b>.*roto.*enlace/,
    // What is kept from then on are the cleaned notes.
    keptAfter: /^<b>a salvo<\/b>(?!.*(\son\w+=|<script|javascript:))/,
    leavingAsks: true,
  },
  {
    title: "Descartar drops the draft",
    first: [typing("borrador")],
    kept: "borrador",
    answer: "#discardDraft",
    notes: /^$/,
    keptAfter: undefined,
    leavingAsks: false,
  },
  {
    title: "a download counts as saved for leaving, but the draft stays",
    pickers: "download",
    first: [typing("descargadas"), downloading, leavingDoesNotAsk],
    kept: "descargadas",
  },
  {
    title: "new notes drop the draft",
    pickers: "download",
    first: [typing("viejas"), downloading, startingNewNotes],
    kept: undefined,
  },
  {
    title: "a save to a file the student picked drops the draft",
    pickers: "picked",
    first: [typing("guardadas"), savingToPickedFile],
    kept: undefined,
  },
  {
    title: "the notes of a file the student opened need no draft",
    pickers: "picked",
    first: [openingPickedFile],
    kept: undefined,
  },
  {
    title: "where the browser refuses its storage, the draft is kept in memory, said once, and typing goes on",
    storage: "refused",
    first: [typing("en "), typing("memoria")],
    kept: "en memoria",
    offered: false,
    warned: "warn: reVoziz: the browser keeps no draft of the notes (The storage is refused); it is kept in memory while the lesson is open",
  },
  {
    title: "each lesson has its own draft",
    first: [planting("de otra clase", OTHER_LESSON), typing("de esta clase")],
    kept: "de esta clase",
    answer: "#discardDraft",
    notes: /^$/,
    keptAfter: undefined,
    other: "de otra clase",
  },
];

// The visits of one scenario share the browser's storage: in Chromium a
// context of their own, in Firefox the profile.
async function visits(lessons, browserName, options) {
  const context =
    browserName === "Chromium" ? await lessons.browser.newContext({ viewport: { width: 1280, height: 900 }, acceptDownloads: true }) : null;
  return {
    async open() {
      if (!context) return lessons.open(undefined, { before: `(${prepare})(${JSON.stringify(options)})` });
      const page = await context.newPage();
      const messages = [];
      page.on("console", (m) => messages.push(`${m.type()}: ${m.text()}`));
      page.on("pageerror", (e) => messages.push(`pageerror: ${e.message}`));
      await page.addInitScript(prepare, options);
      await page.goto(`${lessons.base}/lessons/sample/index.html`);
      return { page, messages };
    },
    close: (page) => (page.puppeteer ?? page).close(),
    end: () => context?.close(),
  };
}

// The notes page in the transcript's frame, once a tick has failed on it
// (it has no list): a step that leaves the lesson stops the ticks, so the
// console's expected line must come before the steps.
async function notesOf(page, messages) {
  await page.waitForFunction(() => window.tqStarted === true && window.lessonControl);
  await chooseTranscript(page, "Notas");
  const notes = frame(page, "tq_trans");
  await notes.waitForSelector("#notes");
  await errorsOnceLogged(messages, NOTES_PAGE_TICKS);
  return notes;
}

inEachBrowser("the notes' draft", (lessons, browserName) => {
  for (const scenario of SCENARIOS) {
    test(scenario.title, async () => {
      const visit = await visits(lessons, browserName, scenario);
      const { offered = scenario.kept !== undefined, warned } = scenario;
      // The console says nothing but the notes page's failing ticks, and a refused store once.
      const saidOnly = async (messages) =>
        assert.deepEqual(
          (await errorsOnceLogged(messages, NOTES_PAGE_TICKS)).map((m) => m.replace(/^warning: /, "warn: ")).sort(),
          [NOTES_PAGE_TICKS, ...(warned ? [warned] : [])].sort(),
        );
      try {
        // The first visit, with no draft of earlier scenarios left (Firefox's
        // pages share one profile).
        const first = await visit.open();
        await first.page.waitForFunction(() => window.tqStarted === true);
        for (const address of ["", OTHER_LESSON]) await drafts(first.page, "drop", address);
        const firstNotes = await notesOf(first.page, first.messages);
        assert.equal(await offerShown(firstNotes), false);
        for (const step of scenario.first) await step({ lessons, page: first.page, notes: firstNotes });
        await keptBecomes(first.page, scenario.kept);
        await saidOnly(first.messages);
        await visit.close(first.page);

        // The tab closed; the lesson opens again.
        const { page, messages } = await visit.open();
        const notes = await notesOf(page, messages);
        if (!offered) {
          await sleep(500);
          assert.equal(await offerShown(notes), false);
        } else {
          await notes.waitForFunction(() => !document.getElementById("notesDraft").hidden);
          assert.equal(await notes.textContent("#notesDraftText"), "Hay notas sin guardar de la última vez.");
        }
        if (scenario.answer) {
          await notes.click(scenario.answer);
          await sleep(300);
          assert.match(await notesHtml(notes), scenario.notes);
          assert.equal(await offerShown(notes), false);
          assert.equal(await notes.evaluate(() => document.activeElement?.id), "notes");
          await keptBecomes(page, scenario.keptAfter);
        }
        if ("other" in scenario) await keptBecomes(page, scenario.other, OTHER_LESSON);
        assert.deepEqual(await page.evaluate(() => window.scriptRuns), []);
        await saidOnly(messages);
        if ("leavingAsks" in scenario) assert.equal(await leavingAsks(page), scenario.leavingAsks);
        await visit.close(page);
      } finally {
        await visit.end();
      }
    });
  }
});
