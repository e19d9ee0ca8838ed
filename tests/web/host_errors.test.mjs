// Failures of the browser itself: what a host operation throws reaches the
// calling method as a host error and the lesson goes on; and a lesson served
// over plain HTTP from a host other than localhost, which is no secure
// context, keeps, backs up and saves its notes, in Chromium and Firefox ESR.

import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";

import { inEachBrowser } from "./browsers.mjs";
import { chooseTranscript, errorsOnceLogged, frame, NOTES_PAGE_TICKS, openBrowser, typeNotes, waitMarked } from "./lesson_browser.mjs";

const HOST_ERROR = 440;
const notesWindow = "document.querySelector('iframe[name=\"tq_trans\"]').contentWindow";

// The outcome of a control call made in the page, or "unfinished" when it
// has not ended within 5 s: a call that never ends is the fault looked for.
function settle(page, call) {
  return page.evaluate(
    ([expression]) =>
      Promise.race([
        Promise.resolve()
          .then(() => new Function(`return ${expression}`)())
          .then(
            () => ({ ok: true }),
            (error) => ({ ok: false, code: error.code, status: error.status, message: error.message }),
          ),
        new Promise((resolve) => setTimeout(() => resolve("unfinished"), 5000)),
      ]),
    [call],
  );
}

async function seekAndMark(page, seconds, id) {
  await page.evaluate((to) => {
    document.getElementById("mp").currentTime = to;
  }, seconds);
  await waitMarked(page, "tq_toc", { id });
}

const notesHtml = (notes) => notes.evaluate(() => document.getElementById("notes").innerHTML);

describe("a host operation that throws", () => {
  let lessons;
  before(async () => {
    lessons = await openBrowser();
  });
  after(async () => {
    await lessons.close();
  });

  test("fails the call with a host error; the ticks and the next notes call go on", async () => {
    const { page } = await lessons.open();
    // The browser's random numbers fail while the page says so.
    await page.addInitScript(() => {
      const random = Crypto.prototype.getRandomValues;
      Crypto.prototype.getRandomValues = function (array) {
        if (window.randomFails) throw new DOMException("no entropy", "OperationError");
        return random.call(this, array);
      };
    });
    await page.reload();
    await page.waitForFunction(() => window.tqStarted === true && window.lessonControl);
    await chooseTranscript(page, "Notas");
    const notes = frame(page, "tq_trans");
    await typeNotes(notes, "antes");
    await page.evaluate(() => {
      window.randomFails = true;
    });
    const failed = await settle(page, `window.lessonControl.backupNotes1(${notesWindow})`);
    assert.equal(failed.ok, false, JSON.stringify(failed));
    assert.equal(failed.code, HOST_ERROR);
    assert.equal(failed.status, (0x800a0000 | HOST_ERROR) >>> 0);
    assert.match(failed.message, /no entropy/);
    // The control is not left inside that call: ticks mark, calls end.
    await seekAndMark(page, 1772, "c23");
    await page.evaluate(() => {
      window.randomFails = false;
    });
    assert.deepEqual(await settle(page, `window.lessonControl.backupNotes1(${notesWindow})`), { ok: true });
    await typeNotes(notes, " después");
    assert.deepEqual(await settle(page, `window.lessonControl.restoreNotes1(${notesWindow})`), { ok: true });
    assert.equal(await notesHtml(notes), "antes");
  });
});

// Both browsers refuse File System Access to such a page.
inEachBrowser("a lesson on a plain-HTTP host that is not localhost", (lessons) => {
  test("marks, backs up and restores its notes, and saves them as a download", async () => {
    const { page, messages } = await lessons.open();
    await page.waitForFunction(() => window.tqStarted === true && window.lessonControl);
    assert.deepEqual(await page.evaluate(() => [location.hostname, window.isSecureContext]), ["lesson.test", false]);
    await seekAndMark(page, 365, "c6");
    await chooseTranscript(page, "Notas");
    const notes = frame(page, "tq_trans");
    await typeNotes(notes, "respaldo");
    assert.deepEqual(await settle(page, `window.lessonControl.backupNotes1(${notesWindow})`), { ok: true });
    await typeNotes(notes, " y más");
    assert.deepEqual(await settle(page, `window.lessonControl.restoreNotes1(${notesWindow})`), { ok: true });
    assert.equal(await notesHtml(notes), "respaldo");
    // No File System Access here: the save picker's fallback is a download.
    const saved = await lessons.downloaded(page, () => notes.click("#save"));
    assert.equal(saved.name, "notas.notes");
    assert.match(saved.text, /<!--notes-->respaldo<!--notes-->/);
    await notes.waitForFunction(() => document.getElementById("notesFile").innerHTML === "notas.notes");
    await seekAndMark(page, 1772, "c23");
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
  });
}, { hostName: "lesson.test" });
