// Notes files, as a student keeps them: the notes page in the
// transcript frame, its new, open and save buttons, the save-changes dialog,
// the title question, backups in the origin-private file system, and the
// question on leaving with unsaved notes, in Chromium; a browser without File
// System Access, in Chromium and Firefox ESR.
//
// Chromium's File System Access pickers are mocked: each answers with a real file
// handle in the folder "picked" of the origin-private file system, named as
// the test queues it (or cancels), and records the options it was given.

import assert from "node:assert/strict";
import { mkdtemp, rm, writeFile } from "node:fs/promises";
import os from "node:os";
import path from "node:path";
import { setTimeout as sleep } from "node:timers/promises";
import { after, before, describe, test } from "node:test";

import { inEachBrowser } from "./browsers.mjs";
import {
  chooseTranscript,
  errorsOnceLogged,
  frame,
  NOTES_PAGE_TICKS,
  openBrowser,
  playedByStudent,
  typeNotes,
  videoAdvances,
  waitMarked,
} from "./lesson_browser.mjs";

let lessons;
before(async () => {
  lessons = await openBrowser();
});
after(async () => {
  await lessons.close();
});

function mockPickers() {
  window.pickerAnswers = [];
  window.pickerCalls = [];
  const answer = async (kind, options) => {
    window.pickerCalls.push({ kind, ...options });
    const name = window.pickerAnswers.shift();
    if (!name) throw new DOMException("The user aborted a request.", "AbortError");
    const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle("picked", { create: true });
    return folder.getFileHandle(name, { create: true });
  };
  window.showSaveFilePicker = (options) => answer("save", options);
  window.showOpenFilePicker = async (options) => [await answer("open", options)];
}

// A started lesson, its origin-private files cleared, with the notes page
// chosen in the transcript menu. Browser contexts are fresh per test.
async function notesLesson({ pickers = mockPickers } = {}) {
  const context = await lessons.browser.newContext({ viewport: { width: 1280, height: 900 }, acceptDownloads: true });
  const page = await context.newPage();
  const messages = [];
  page.on("console", (m) => messages.push(`${m.type()}: ${m.text()}`));
  await page.addInitScript(pickers);
  await page.goto(`${lessons.base}/lessons/sample/index.html`);
  await page.waitForFunction(() => window.tqStarted === true && window.lessonControl);
  await chooseTranscript(page, "Notas");
  return { page, messages, notes: frame(page, "tq_trans") };
}

const notesHtml = (notes) => notes.evaluate(() => document.getElementById("notes").innerHTML);
const fileShown = (notes) => notes.evaluate(() => document.getElementById("notesFile").innerHTML);
const answerPicker = (page, ...names) => page.evaluate((queued) => window.pickerAnswers.push(...queued), names);

// The bytes of a file in the origin-private file system ("picked/name" or a bare name).
function storedBytes(page, path) {
  return page.evaluate(async (wanted) => {
    let folder = await navigator.storage.getDirectory();
    const parts = wanted.split("/");
    for (const part of parts.slice(0, -1)) folder = await folder.getDirectoryHandle(part);
    const file = await (await folder.getFileHandle(parts.at(-1))).getFile();
    return [...new Uint8Array(await file.arrayBuffer())];
  }, path);
}

function putPicked(page, name, bytes) {
  return page.evaluate(
    async ([fileName, content]) => {
      const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle("picked", { create: true });
      const stream = await (await folder.getFileHandle(fileName, { create: true })).createWritable();
      await stream.write(new Uint8Array(content));
      await stream.close();
    },
    [name, bytes],
  );
}

const latin1 = (bytes) => String.fromCharCode(...bytes);
const bytesOf = (text) => [...text].map((c) => c.charCodeAt(0));

// The save-changes dialog page, once it shows over the lesson.
async function changesDialog(page) {
  await page.waitForSelector("dialog[open] iframe");
  const dialogFrame = await (await page.$("dialog[open] iframe")).contentFrame();
  await dialogFrame.waitForSelector("#cancel");
  return dialogFrame;
}

describe("saving and opening notes files", () => {
  test("save asks the picker and writes the notes page as Windows-1252 text; the name shows; saved notes count as unchanged", async () => {
    const { page, messages, notes } = await notesLesson();
    await typeNotes(notes, "Café a 5€ — ojo");
    await answerPicker(page, "clase.notes");
    await notes.click("#save");
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "clase.notes");
    const page1 = latin1(await storedBytes(page, "picked/clase.notes"));
    // é, € and — are single Windows-1252 bytes; the template and title are around them.
    assert.match(page1, /<!--notes-->Caf\xe9 a 5\x80 \x97 ojo<!--notes-->/);
    assert.match(page1, /<!--title-->Introducci\xf3n a la fotograf\xeda digital<!--title-->/);
    assert.match(page1, /^<html/);
    const [call] = await page.evaluate(() => window.pickerCalls);
    assert.equal(call.kind, "save");
    assert.equal(call.suggestedName, undefined);
    assert.deepEqual(call.types, [{ description: "reVoziz Files (*.notes)", accept: { "text/html": [".notes"] } }]);
    // Saved: new notes need no question.
    await notes.click("#newnotes");
    await notes.waitForFunction(() => document.getElementById("notes").innerHTML === "");
    assert.equal(await page.$("dialog[open]"), null);
    assert.equal(await fileShown(notes), "");
    // Nothing was left beside the file, and no temporary file stays.
    const entries = await page.evaluate(async () => {
      const names = async (folder) => {
        const found = [];
        for await (const name of folder.keys()) found.push(name);
        return found.sort();
      };
      const root = await navigator.storage.getDirectory();
      return { root: await names(root), picked: await names(await root.getDirectoryHandle("picked")) };
    });
    assert.deepEqual(entries, { root: ["picked"], picked: ["clase.notes"] });
    // The notes page holds no transcript, so the ticks fail while it is shown; nothing else does.
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
  });

  test("saving again offers the current name and replaces the file; a cancelled picker changes nothing", async () => {
    const { page, messages, notes } = await notesLesson();
    await typeNotes(notes, "uno");
    await answerPicker(page, "clase.notes");
    await notes.click("#save");
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "clase.notes");
    await typeNotes(notes, " dos");
    await answerPicker(page, "clase.notes");
    await notes.click("#save");
    await page.waitForFunction(() => window.pickerCalls.length === 2);
    await page.waitForFunction(async () => {
      const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle("picked");
      // A read that meets the file while it is being replaced fails; the next poll reads again.
      const text = await (await folder.getFileHandle("clase.notes")).getFile().then((f) => f.text()).catch(() => "");
      return text.includes("uno dos");
    });
    assert.equal((await page.evaluate(() => window.pickerCalls))[1].suggestedName, "clase.notes");
    // Cancel: the file and the name stay. The edit bar drops a failed
    // command silently, so nothing reaches the console either.
    await typeNotes(notes, " tres");
    await notes.click("#save");
    await page.waitForFunction(() => window.pickerCalls.length === 3);
    await page.waitForTimeout(200);
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
    assert.doesNotMatch(latin1(await storedBytes(page, "picked/clase.notes")), /tres/);
    assert.equal(await fileShown(notes), "clase.notes");
  });

  test("open reads the file back; a file of another lesson asks the title question first", async () => {
    const { page, notes } = await notesLesson();
    await putPicked(page, "mine.notes", bytesOf("<html><!--title-->INTRODUCCI\xd3N a la fotograf\xeda digital<!--title--><!--notes--><b>\xe1rbol</b> 5\x80<!--notes--></html>"));
    await putPicked(page, "other.html", bytesOf("<html><!--title-->Otra clase<!--title--><!--notes-->ajenas<!--notes--></html>"));
    const questions = [];
    page.on("dialog", (dialog) => {
      questions.push(dialog.message());
      if (questions.length === 1) dialog.dismiss();
      else dialog.accept();
    });
    // Same title but for letter case: no question.
    await answerPicker(page, "mine.notes");
    await notes.click("#opennotes");
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "mine.notes");
    assert.equal(await notesHtml(notes), "<b>árbol</b> 5€");
    assert.deepEqual(questions, []);
    const [call] = await page.evaluate(() => window.pickerCalls);
    assert.deepEqual(call.types.map((t) => t.accept["text/html"]), [[".notes"], [".html"]]);
    // Another lesson's title: declined, nothing changes; accepted, it opens.
    await answerPicker(page, "other.html");
    await notes.click("#opennotes");
    await page.waitForFunction(() => window.pickerCalls.length === 2);
    await waitForLength(questions, 1);
    assert.equal(questions[0], "El título en las notas no corresponde al del contenido, desea continuar?");
    assert.equal(await notesHtml(notes), "<b>árbol</b> 5€");
    assert.equal(await fileShown(notes), "mine.notes");
    await answerPicker(page, "other.html");
    await notes.click("#opennotes");
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "other.html");
    assert.equal(await notesHtml(notes), "ajenas");
    assert.equal(questions.length, 2);
  });
});

// A notes file passed around with everything in its notes that could run.
const HOSTILE_NOTES = [
  "<p>Texto <b>inofensivo</b></p>",
  '<img id="roto" src="data:image/gif;base64,AAAA" onerror="top.scriptRuns.push(\'onerror\')" alt="roto">',
  "<script>top.scriptRuns.push('script')</script>",
  "<iframe srcdoc=\"<script>top.scriptRuns.push('srcdoc')</script>\"></iframe>",
  "<iframe src=\"javascript:top.scriptRuns.push('frame')\"></iframe>",
  "<a href=\"javascript:top.scriptRuns.push('href')\">enlace</a>",
  "<svg onload=\"top.scriptRuns.push('svg')\"><animate attributeName=\"href\" values=\"0;javascript:top.scriptRuns.push('values')\"></animate></svg>",
  "<noscript><p title=\"</noscript><img src=x onerror=top.scriptRuns.push('noscript')>\"></p></noscript>",
  "<details open ontoggle=\"top.scriptRuns.push('toggle')\"><summary>más</summary></details>",
  "<p style=\"background:url(java\\73 cript:top.scriptRuns.push('style'))\">estilo</p>",
  "<!--[if IE]><script>top.scriptRuns.push('comment')</script><![endif]-->",
  '<b id="notes">segundo</b>',
].join("");

describe("opening a notes file from someone else", () => {
  test("the edit bar's open cleans the file's notes before they reach the page: nothing runs, the harmless text shows", async () => {
    const { page, notes, messages } = await notesLesson();
    await page.evaluate(() => {
      window.scriptRuns = [];
    });
    await putPicked(page, "ajenas.notes", bytesOf(
      "<html><!--title-->Introducci\xf3n a la fotograf\xeda digital<!--title--><!--notes-->" + HOSTILE_NOTES + "<!--notes--></html>"));
    await answerPicker(page, "ajenas.notes");
    await notes.click("#opennotes");
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "ajenas.notes");
    await notes.waitForFunction(() => document.getElementById("roto")?.complete);
    await page.waitForTimeout(300);
    assert.deepEqual(await page.evaluate(() => window.scriptRuns), []);
    const html = await notesHtml(notes);
    assert.match(html, /^<p>Texto <b>inofensivo<\/b><\/p><img id="roto" src="data:image\/gif;base64,AAAA" alt="roto">/);
    assert.match(html, /<a>enlace<\/a>/);
    assert.match(html, /más<p>estilo<\/p><b>segundo<\/b>$/);
    assert.doesNotMatch(html, /\son\w+=|<script|<iframe|javascript|noscript|<!--|style=/i);
    assert.equal(await notes.evaluate(() => document.querySelectorAll("#notes").length), 1);
    assert.equal(await notes.evaluate(() => document.body.innerText.includes("Texto inofensivo")), true);
    // What was opened counts as saved, and a save and a second open keep it as it is.
    await answerPicker(page, "limpias.notes");
    await notes.click("#save");
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "limpias.notes");
    await answerPicker(page, "limpias.notes");
    await notes.click("#opennotes");
    await page.waitForFunction(() => window.pickerCalls.length === 3);
    await notes.waitForFunction((expected) => document.getElementById("notes").innerHTML === expected, html);
    assert.deepEqual(await page.evaluate(() => window.scriptRuns), []);
    // The transcript frame shows the notes page, which has no segments to mark.
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
  });
});

async function waitForLength(list, length) {
  for (let i = 0; i < 200 && list.length < length; i++) await new Promise((r) => setTimeout(r, 25));
  assert.equal(list.length, length, JSON.stringify(list));
}

// Without File System Access (Firefox has none; Chromium's is taken away),
// save's fallback is a download and open's a file input. No file picker
// shows to a test, so the input is kept on the top window for it to answer.
function withoutFileSystemAccess() {
  window.hadFileSystemAccess = typeof window.showSaveFilePicker === "function";
  window.showOpenFilePicker = undefined;
  window.showSaveFilePicker = undefined;
  const click = HTMLInputElement.prototype.click;
  HTMLInputElement.prototype.click = function () {
    if (this.type !== "file") return click.call(this);
    this.hidden = true;
    document.body.append(this);
    window.offeredInput = this;
  };
}

inEachBrowser("a browser without File System Access", (browser, browserName) => {
  let folder;
  before(async () => {
    folder = await mkdtemp(path.join(os.tmpdir(), "revoziz-notes-"));
  });
  after(async () => {
    await rm(folder, { recursive: true, force: true });
  });

  test("save downloads the notes page as Windows-1252; open reads a file chosen in a file input; a cancelled choice changes nothing", async () => {
    const { page, messages } = await browser.open(undefined, { before: withoutFileSystemAccess });
    await page.waitForFunction(() => window.tqStarted === true && window.lessonControl);
    assert.equal(await page.evaluate(() => window.hadFileSystemAccess), browserName === "Chromium");
    await chooseTranscript(page, "Notas");
    const notes = frame(page, "tq_trans");
    await typeNotes(notes, "Café a 5€");
    const saved = await browser.downloaded(page, () => notes.click("#save"));
    assert.equal(saved.name, "notas.notes");
    assert.match(saved.text, /<!--notes-->Caf\xe9 a 5\x80<!--notes-->/);
    assert.match(saved.text, /<!--title-->Introducci\xf3n a la fotograf\xeda digital<!--title-->/);
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "notas.notes");

    // Open: new notes first, then another file comes in through the input.
    await notes.click("#newnotes");
    await notes.waitForFunction(() => document.getElementById("notes").innerHTML === "");
    const other = path.join(folder, "otra.notes");
    await writeFile(other, saved.text.replace("Caf\xe9 a 5\x80", "Otra \xe9poca"), "latin1");
    await notes.click("#opennotes");
    await page.waitForFunction(() => window.offeredInput);
    assert.equal(await page.evaluate(() => window.offeredInput.accept), ".notes,.html");
    await page.setInputFiles("input[type=file]", other);
    await notes.waitForFunction(() => document.getElementById("notes").innerHTML === "Otra época");
    assert.equal(await fileShown(notes), "otra.notes");

    // A cancelled choice leaves the notes open as they are.
    await page.evaluate(() => {
      window.offeredInput.remove();
      window.offeredInput = null;
    });
    await notes.click("#opennotes");
    await page.waitForFunction(() => window.offeredInput);
    await page.evaluate(() => window.offeredInput.dispatchEvent(new Event("cancel")));
    await sleep(300);
    assert.equal(await notesHtml(notes), "Otra época");
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
  });

  test("opened notes that clobber names and reach out run nothing and fetch nothing; Ctrl+T and save still work", async () => {
    const { page, messages } = await browser.open(undefined, { before: withoutFileSystemAccess });
    await page.waitForFunction(() => window.tqStarted === true && window.lessonControl);
    await page.evaluate(() => {
      window.scriptRuns = [];
    });
    await chooseTranscript(page, "Notas");
    const notes = frame(page, "tq_trans");
    await notes.waitForSelector("#notes");
    const remote = `http://127.0.0.1:${browser.server.address().port}`;
    const fetched = [];
    const count = (request) => request.url.startsWith("/remote/") && fetched.push(request.url);
    browser.server.on("request", count);
    try {
      const file = path.join(folder, "ajenas.notes");
      await writeFile(file, `<html><!--title-->Introducci\xf3n a la fotograf\xeda digital<!--title--><!--notes-->${reachingOutNotes(remote)}<!--notes--></html>`, "latin1");
      await notes.click("#opennotes");
      await page.waitForFunction(() => window.offeredInput);
      await page.setInputFiles("input[type=file]", file);
      await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "ajenas.notes");
      await notes.hover("#notes");
      await sleep(500);
      const html = await notesHtml(notes);
      assert.match(html, /^<b>forma<\/b><img src="data:image\/gif;base64,R0lGODlhAQABAAAAACw=" alt="padre">/);
      assert.match(html, /<a href="http:\/\/127\.0\.0\.1:\d+\/remote\/pixel\.gif" target="_blank" rel="noopener noreferrer">pixel<\/a>/);
      assert.match(html, /<a href="[^"]+\/remote\/page\.html" target="_blank" rel="noopener noreferrer">plantilla<\/a><p style="color: red">fondo<\/p>$/);
      assert.doesNotMatch(html, /\s(on\w+|name|action|poster)=|<form|<input|<video|notesTemplate|javascript|url\(/i);
      // The notes page's handlers still reach the control, and save saves.
      await notes.click("#notes");
      await page.keyboard.press("End");
      await page.keyboard.press("Control+t");
      assert.equal(await notes.evaluate(() => document.querySelectorAll("#notes .tq_syncTag").length), 1);
      const saved = await browser.downloaded(page, () => notes.click("#save"));
      assert.match(saved.text, /<!--notes--><b>forma<\/b>.*class="tq_syncTag".*<!--notes-->/s);
      assert.deepEqual(await page.evaluate(() => window.scriptRuns), []);
      assert.deepEqual(fetched, []);
      assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
    } finally {
      browser.server.off("request", count);
    }
  });
});

// A notes file whose notes clobber the names the notes page's handlers and
// the cleaning read, and reach out of the notes, given the address of another
// origin on the test server.
const reachingOutNotes = (remote) =>
  [
    '<form onmouseover="top.scriptRuns.push(\'form\')" action="javascript:top.scriptRuns.push(\'action\')">',
    '<input name="attributes"><input name="attributes"><b>forma</b></form>',
    '<img name="parent" src="data:image/gif;base64,R0lGODlhAQABAAAAACw=" alt="padre">',
    `<img src="${remote}/remote/pixel.gif" alt="pixel"><video poster="${remote}/remote/poster.gif"></video>`,
    `<a href="${remote}/remote/page.html" target="notesTemplate">plantilla</a>`,
    `<p style="color: red; background: url(${remote}/remote/fondo.gif)">fondo</p>`,
  ].join("");

describe("the save-changes dialog", () => {
  test("unsaved notes ask before new notes: cancel keeps them, no discards them, yes saves them first", async () => {
    const { page, notes } = await notesLesson();
    await typeNotes(notes, "primera");
    await notes.click("#newnotes");
    let dialogPage = await changesDialog(page);
    const size = await page.$eval("dialog[open] iframe", (f) => [f.offsetWidth, f.offsetHeight]);
    assert.deepEqual(size, [290, 115]);
    await dialogPage.click("#cancel");
    await page.waitForSelector("dialog[open]", { state: "detached" });
    assert.equal(await notesHtml(notes), "primera");

    await notes.click("#newnotes");
    dialogPage = await changesDialog(page);
    await dialogPage.click("#no");
    await notes.waitForFunction(() => document.getElementById("notes").innerHTML === "");
    assert.equal(await page.evaluate(() => window.pickerCalls.length), 0);

    await typeNotes(notes, "segunda");
    await answerPicker(page, "segunda.notes");
    await notes.click("#newnotes");
    dialogPage = await changesDialog(page);
    await dialogPage.click("#yes");
    await notes.waitForFunction(() => document.getElementById("notes").innerHTML === "");
    assert.match(latin1(await storedBytes(page, "picked/segunda.notes")), /<!--notes-->segunda<!--notes-->/);
    // New notes after the save: no file is current any more.
    assert.equal(await fileShown(notes), "");
  });

  test("Escape closes the dialog as a cancel", async () => {
    const { page, notes } = await notesLesson();
    await typeNotes(notes, "algo");
    await notes.click("#opennotes");
    await changesDialog(page);
    await page.keyboard.press("Escape");
    await page.waitForSelector("dialog[open]", { state: "detached" });
    assert.equal(await notesHtml(notes), "algo");
    assert.equal(await page.evaluate(() => window.pickerCalls.length), 0);
  });
});

describe("backups", () => {
  test("a backup goes to the origin-private file system and comes back after the notes page is reloaded", async () => {
    const { page, notes } = await notesLesson();
    await typeNotes(notes, "respaldo €");
    await page.evaluate(() => window.lessonControl.backupNotes1(document.querySelector('iframe[name="tq_trans"]').contentWindow));
    const names = await page.evaluate(async () => {
      const found = [];
      for await (const name of (await navigator.storage.getDirectory()).keys()) found.push(name);
      return found;
    });
    assert.equal(names.length, 1, names.join());
    assert.match(latin1(await storedBytes(page, names[0])), /<!--notes-->respaldo \x80<!--notes-->/);
    // Edited after the backup, then the notes page leaves its frame and comes
    // back: the in-memory copy returns, and the file backup restores the older notes.
    await typeNotes(notes, " y más");
    await chooseTranscript(page, "English");
    await chooseTranscript(page, "Notas");
    const reloaded = frame(page, "tq_trans");
    assert.equal(await notesHtml(reloaded), "respaldo € y más");
    await page.evaluate(() => window.lessonControl.restoreNotes1(document.querySelector('iframe[name="tq_trans"]').contentWindow));
    assert.equal(await notesHtml(reloaded), "respaldo €");
    // A second backup overwrites the same file.
    await typeNotes(reloaded, "!");
    await page.evaluate(() => window.lessonControl.backupNotes1(document.querySelector('iframe[name="tq_trans"]').contentWindow));
    assert.match(latin1(await storedBytes(page, names[0])), /<!--notes-->respaldo \x80!<!--notes-->/);
  });
});

describe("leaving the lesson", () => {
  test("with unsaved notes, even while the notes page is away, the browser asks before leaving", async () => {
    const { page, notes } = await notesLesson();
    await typeNotes(notes, "sin guardar");
    await chooseTranscript(page, "English");
    // Without the question the page would close, which ends this wait.
    const asked = page.waitForEvent("dialog", { timeout: 10000 });
    await page.close({ runBeforeUnload: true });
    const dialog = await asked;
    assert.equal(dialog.type(), "beforeunload");
    await dialog.dismiss();
    // Staying: the lesson still runs.
    assert.equal(page.isClosed(), false);
    assert.equal(await page.evaluate(() => window.tqStarted), true);
    await page.evaluate(() => {
      document.getElementById("mp").currentTime = 1772;
    });
    await waitMarked(page, "tq_trans", { id: "s60" });
  });

  test("with nothing unsaved nothing is asked, and the timer stops", async () => {
    const { page, notes } = await notesLesson();
    await typeNotes(notes, "guardadas");
    await answerPicker(page, "ok.notes");
    await notes.click("#save");
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "ok.notes");
    const dialogs = [];
    page.on("dialog", (d) => {
      dialogs.push(d.type());
      d.dismiss();
    });
    await chooseTranscript(page, "Español");
    await waitMarked(page, "tq_trans");
    const cancelled = await page.evaluate(() => {
      const event = new Event("beforeunload", { cancelable: true });
      window.dispatchEvent(event);
      return event.defaultPrevented;
    });
    assert.equal(cancelled, false);
    assert.equal(await page.evaluate(() => window.tqStarted), false);
    // The marking no longer follows the video.
    const before = await frame(page, "tq_trans").evaluate(() => document.querySelector("#iText .segment[style]")?.id);
    await playedByStudent(page);
    await page.evaluate(() => {
      document.getElementById("mp").currentTime = 1772;
    });
    await videoAdvances(page, 1.2);
    const after = await frame(page, "tq_trans").evaluate(() => document.querySelector("#iText .segment[style]")?.id);
    assert.equal(after, before);
    assert.deepEqual(dialogs, []);
  });
});
