// The sample lesson in Firefox ESR, driven with real clicks and keys: the
// marking and seeking, hover styles, the menu, the display modes and layouts, the notes
// editor's tags and paste, and notes files. Firefox has no File System
// Access, so saving and opening take the host layer's fallbacks: a download,
// and a file input.

import assert from "node:assert/strict";
import { readFile, readdir, writeFile } from "node:fs/promises";
import path from "node:path";
import { after, before, describe, test } from "node:test";

import { openFirefox } from "./firefox_browser.mjs";
import { chooseTranscript, frame, inView, listNow, errorsOnceLogged, NOTES_PAGE_TICKS, startedLessonIn, typeNotes, waitMarked } from "./lesson_browser.mjs";

let lessons;
before(async () => {
  lessons = await openFirefox();
});
after(async () => {
  await lessons.close();
});

const startedLesson = (options) => startedLessonIn(lessons, options);

const videoTime = (page) => page.evaluate(() => document.getElementById("mp").currentTime);
const shown = (page, name) =>
  frame(page, name).evaluate(() =>
    [...document.querySelectorAll("#iText .segment")].filter((s) => s.offsetHeight > 0).map((s) => s.id),
  );

describe("following the video", () => {
  test("both lists mark the playing segment; a click on a word seeks there; a far seek scrolls into view", async () => {
    const { page, messages } = await startedLesson();
    await waitMarked(page, "tq_toc");
    await waitMarked(page, "tq_trans");
    await frame(page, "tq_trans").click("#s14");
    const time = await videoTime(page);
    assert.ok(time >= 365 && time < 367, `position ${time}`);
    await waitMarked(page, "tq_trans", { id: "s14" });
    await waitMarked(page, "tq_toc", { id: "c6" });
    await page.evaluate(() => {
      document.getElementById("mp").currentTime = 1772;
    });
    await waitMarked(page, "tq_trans", { id: "s60" });
    assert.equal(await inView(page, "tq_trans", "s60"), true);
    assert.deepEqual(messages, []);
  });

  test("single mode shows only the current segment, and scroll mode shows them all again", async () => {
    const { page, messages } = await startedLesson();
    await page.click("#tq_single");
    await frame(page, "tq_trans").waitForFunction(
      () => [...document.querySelectorAll("#iText .segment")].filter((s) => s.offsetHeight > 0).length === 1,
    );
    assert.deepEqual(await shown(page, "tq_trans"), [(await listNow(page, "tq_trans")).marked]);
    await frame(page, "tq_toc").click("#c6");
    await waitMarked(page, "tq_trans", { id: "s14" });
    assert.deepEqual(await shown(page, "tq_trans"), ["s14"]);
    await page.click("#tq_scroll");
    await frame(page, "tq_trans").waitForFunction(() =>
      [...document.querySelectorAll("#iText .segment")].every((s) => s.offsetHeight > 0),
    );
    assert.deepEqual(messages, []);
  });
});

describe("hover styles", () => {
  test("a hovered segment takes the hover style and gives it back, leaving its markup as it was", async () => {
    const { page, messages } = await startedLesson();
    const trans = frame(page, "tq_trans");
    const look = () =>
      trans.evaluate(() => {
        const s = document.getElementById("s3");
        return { color: getComputedStyle(s).color, markup: s.outerHTML };
      });
    const before = await look();
    await trans.hover("#s3");
    await trans.waitForFunction(() => getComputedStyle(document.getElementById("s3")).color === "rgb(0, 0, 102)");
    assert.equal((await look()).markup, before.markup);
    await page.hover("h1");
    await trans.waitForFunction(() => getComputedStyle(document.getElementById("s3")).color !== "rgb(0, 0, 102)");
    assert.deepEqual(await look(), before);
    assert.deepEqual(messages, []);
  });
});

describe("menu, display modes and layouts", () => {
  test("the menu loads the other transcript and swaps the labels; a click elsewhere closes it", async () => {
    const { page, messages } = await startedLesson();
    await page.click(".tq_select");
    assert.equal(await page.evaluate(() => getComputedStyle(document.getElementById("tq_selOps1")).visibility), "visible");
    await page.click("h1");
    assert.equal(await page.evaluate(() => getComputedStyle(document.getElementById("tq_selOps1")).visibility), "hidden");
    await chooseTranscript(page, "English");
    assert.deepEqual(
      await page.evaluate(() => [
        document.getElementById("tq_selLabel1").textContent.trim(),
        document.querySelector(".tq_option").textContent.trim(),
        getComputedStyle(document.getElementById("tq_selOps1")).visibility,
      ]),
      ["English", "Español", "hidden"],
    );
    await frame(page, "tq_trans").click("#s5");
    await waitMarked(page, "tq_trans", { id: "s5" });
    assert.deepEqual(messages, []);
  });

  test("the smaller layouts hide panels; the full layout shows both and sizes the lesson area", async () => {
    const { page } = await startedLesson();
    const panels = () =>
      page.evaluate(() => ["toc", "tra"].map((id) => getComputedStyle(document.getElementById(id)).display));
    await page.click("#modetoc");
    assert.deepEqual(await panels(), ["block", "none"]);
    assert.match(await page.evaluate(() => document.getElementById("modetoc").getAttribute("src")), /modetoc_on\.gif$/);
    await page.click("#modevideo");
    assert.deepEqual(await panels(), ["none", "none"]);
    await page.click("#modefull");
    assert.deepEqual(await panels(), ["block", "block"]);
    assert.deepEqual(await page.evaluate(() => [document.body.style.width, document.body.style.height]), ["880px", "520px"]);
  });
});

// The notes page in the transcript frame, with the video held at 1:15.
async function notesLesson(options) {
  const { page, messages } = await lessons.open(undefined, options);
  await page.waitForFunction(() => window.tqStarted === true && window.lessonControl);
  await page.evaluate(() => {
    const video = document.getElementById("mp");
    video.pause();
    video.currentTime = 75;
  });
  await chooseTranscript(page, "Notas");
  const notes = frame(page, "tq_trans");
  await notes.waitForSelector("#notes");
  return { page, notes, messages };
}

const notesHtml = (notes) => notes.evaluate(() => document.getElementById("notes").innerHTML);

describe("the notes editor", () => {
  test("Ctrl+T stamps a tag with the video's time; its seek button seeks", async () => {
    const { page, notes, messages } = await notesLesson();
    await typeNotes(notes, "Antes ");
    await page.keyboard.press("Control+t");
    await page.keyboard.type(" después");
    const times = () =>
      notes.evaluate(() => [...document.querySelectorAll("#notes .tq_syncValue")].map((field) => field.value));
    assert.deepEqual(await times(), ["00:01:15"]);
    assert.match(await notes.evaluate(() => document.getElementById("notes").textContent), /^Antes\s.*después$/s);
    await page.evaluate(() => {
      document.getElementById("mp").currentTime = 600;
    });
    await notes.click("#notes .tq_sync");
    assert.equal(Math.round(await videoTime(page)), 75);
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
  });

  test("a keyboard paste of hostile markup lands cleaned, and nothing in it runs", async () => {
    const { page, notes, messages } = await notesLesson({
      before: () => {
        if (window === top) window.scriptRuns = [];
      },
    });
    const hostile =
      '<b>negrita</b><img id="roto" src="data:image/gif;base64,AAAA" onerror="top.scriptRuns.push(1)">' +
      "<script>top.scriptRuns.push(2)</script><a href=\"javascript:top.scriptRuns.push(3)\">enlace</a>";
    await notes.evaluate((html) => {
      document.addEventListener(
        "copy",
        (event) => {
          event.clipboardData.setData("text/html", html);
          event.clipboardData.setData("text/plain", "negrita enlace");
          event.preventDefault();
        },
        { once: true },
      );
    }, hostile);
    await typeNotes(notes, "Inicio ");
    await page.keyboard.press("Control+c");
    await page.keyboard.press("Control+v");
    await notes.waitForFunction(() => document.getElementById("notes").innerHTML.includes("negrita"));
    await notes.waitForFunction(() => document.getElementById("roto")?.complete ?? true);
    const html = await notesHtml(notes);
    assert.match(html, /^Inicio(&nbsp;| )<b>negrita<\/b>/);
    assert.doesNotMatch(html, /\son\w+=|<script|javascript:/i);
    assert.deepEqual(await page.evaluate(() => window.scriptRuns), []);
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
  });
});

// Firefox shows no file picker to a test: the file input the host layer
// offers is kept on the top window instead, for the test to answer.
function keepFileInputs() {
  const click = HTMLInputElement.prototype.click;
  HTMLInputElement.prototype.click = function () {
    if (this.type !== "file") return click.call(this);
    this.hidden = true;
    document.body.append(this);
    window.offeredInput = this;
  };
}

describe("notes files", () => {
  test("save downloads the notes page as Windows-1252; open reads a chosen file; a cancelled choice changes nothing", async () => {
    const { page, notes, messages } = await notesLesson({ before: keepFileInputs });
    assert.equal(await page.evaluate(() => typeof window.showSaveFilePicker), "undefined");
    await typeNotes(notes, "Café a 5€");
    await notes.click("#save");
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "notas.notes");
    const saved = path.join(lessons.downloads, "notas.notes");
    // The download lands a moment after the write closes.
    for (let i = 0; i < 50 && !(await readdir(lessons.downloads)).includes("notas.notes"); i++) {
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    const bytes = await readFile(saved, "latin1");
    assert.match(bytes, /<!--notes-->Caf\xe9 a 5\x80<!--notes-->/);
    assert.match(bytes, /<!--title-->Introducci\xf3n a la fotograf\xeda digital<!--title-->/);

    // Open: new notes first, then the saved file comes back through the input.
    await notes.click("#newnotes");
    await notes.waitForFunction(() => document.getElementById("notes").innerHTML === "");
    const other = path.join(lessons.downloads, "otra.notes");
    await writeFile(other, bytes.replace("Caf\xe9 a 5\x80", "Otra \xe9poca"), "latin1");
    await notes.click("#opennotes");
    await page.waitForFunction(() => window.offeredInput);
    assert.equal(await page.evaluate(() => window.offeredInput.accept), ".notes,.html");
    await (await page.$("input[type=file]")).uploadFile(other);
    await notes.waitForFunction(() => document.getElementById("notes").innerHTML === "Otra época");
    assert.equal(await notes.evaluate(() => document.getElementById("notesFile").innerHTML), "otra.notes");

    // A cancelled choice leaves the notes open as they are.
    await page.evaluate(() => {
      window.offeredInput.remove();
      window.offeredInput = null;
    });
    await notes.click("#opennotes");
    await page.waitForFunction(() => window.offeredInput);
    await page.evaluate(() => window.offeredInput.dispatchEvent(new Event("cancel")));
    await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 300)));
    assert.equal(await notesHtml(notes), "Otra época");
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
  });
});

describe("a lesson on a plain-HTTP host that is not localhost", () => {
  let insecure;
  before(async () => {
    insecure = await openFirefox({ hostName: "lesson.test" });
  });
  after(async () => {
    await insecure.close();
  });

  test("backs up and restores its notes in memory, saves them as a download, and goes on marking", async () => {
    const { page, messages } = await insecure.open();
    await page.waitForFunction(() => window.tqStarted === true && window.lessonControl);
    assert.deepEqual(await page.evaluate(() => [location.hostname, window.isSecureContext]), ["lesson.test", false]);
    await chooseTranscript(page, "Notas");
    const notes = frame(page, "tq_trans");
    await typeNotes(notes, "respaldo");
    const notesWindow = () => document.querySelector('iframe[name="tq_trans"]').contentWindow;
    await page.evaluate(`window.lessonControl.backupNotes1((${notesWindow})())`);
    await typeNotes(notes, " y más");
    await page.evaluate(`window.lessonControl.restoreNotes1((${notesWindow})())`);
    assert.equal(await notesHtml(notes), "respaldo");
    await notes.click("#save");
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "notas.notes");
    const saved = path.join(insecure.downloads, "notas.notes");
    for (let i = 0; i < 50 && !(await readdir(insecure.downloads)).includes("notas.notes"); i++) {
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    assert.match(await readFile(saved, "latin1"), /<!--notes-->respaldo<!--notes-->/);
    await page.evaluate(() => {
      document.getElementById("mp").currentTime = 1772;
    });
    await waitMarked(page, "tq_toc", { id: "c23" });
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
  });
});
