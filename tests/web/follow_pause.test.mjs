// Reading away from the video: the transcript asks for tq_follow="pause",
// so a hand scroll holds across segment changes until the return button, a
// segment click or a scroll back resumes following. The table of contents
// does not ask for it and follows as before.

import assert from "node:assert/strict";
import { after, before, test } from "node:test";

import { frame, inView, lessonStarted, openBrowser, waitMarked } from "./lesson_browser.mjs";

let lessons;
before(async () => {
  lessons = await openBrowser();
});
after(async () => {
  await lessons.close();
});

async function pausedLessonAt(seconds, id) {
  const opened = await lessons.open();
  const { page } = opened;
  await lessonStarted(page);
  await seekTo(page, seconds);
  await waitMarked(page, "tq_trans", { id });
  return opened;
}

const seekTo = (page, t) =>
  page.evaluate((seconds) => {
    const video = document.getElementById("mp");
    video.pause();
    video.currentTime = seconds;
  }, t);

const scrollTop = (page, name) => frame(page, name).evaluate(() => document.scrollingElement.scrollTop);
const returnShown = (page) =>
  frame(page, "tq_trans").evaluate(() => {
    const button = document.querySelector(".tq_followBack");
    return button && !button.hidden ? button.textContent : null;
  });

// A real wheel over the list's frame, then a wait for its scroll event.
async function wheel(page, name, dy) {
  const box = await page.locator(`iframe[name="${name}"]`).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  const before = await scrollTop(page, name);
  await page.mouse.wheel(0, dy);
  await page.waitForFunction(
    ([n, top]) => document.querySelector(`iframe[name="${n}"]`).contentDocument.scrollingElement.scrollTop !== top,
    [name, before],
  );
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
}

test("a hand scroll holds across a segment change until the return button brings the segment back", async () => {
  const { page, messages } = await pausedLessonAt(2, "s1");
  assert.equal(await returnShown(page), null);
  await wheel(page, "tq_trans", 1500);
  const held = await scrollTop(page, "tq_trans");
  assert.equal(await returnShown(page), "Volver al vídeo");
  await seekTo(page, 60);
  await waitMarked(page, "tq_trans", { id: "s3" });
  assert.equal(await scrollTop(page, "tq_trans"), held);
  assert.equal(await inView(page, "tq_trans", "s3"), false);
  assert.equal(await returnShown(page), "Volver al vídeo");

  await frame(page, "tq_trans").click(".tq_followBack");
  assert.equal(await inView(page, "tq_trans", "s3"), true);
  assert.equal(await returnShown(page), null);
  // Following again: a seek far ahead scrolls the list.
  await seekTo(page, 1772);
  await waitMarked(page, "tq_trans", { id: "s60" });
  assert.equal(await inView(page, "tq_trans", "s60"), true);
  assert.deepEqual(messages, []);
});

test("a segment click resumes following, and so does scrolling back to the current segment", async () => {
  const { page } = await pausedLessonAt(2, "s1");
  await wheel(page, "tq_trans", 1500);
  assert.equal(await returnShown(page), "Volver al vídeo");
  // A segment now in view.
  const shownId = await frame(page, "tq_trans").evaluate(
    () =>
      [...document.querySelectorAll(".segment")].find((s) => {
        const r = s.getBoundingClientRect();
        return r.top > 0 && r.bottom < document.documentElement.clientHeight;
      }).id,
  );
  await frame(page, "tq_trans").click(`#${shownId} .sync`);
  await waitMarked(page, "tq_trans", { id: shownId });
  await page.evaluate(() => document.getElementById("mp").pause());
  assert.equal(await returnShown(page), null);
  await seekTo(page, 2);
  await waitMarked(page, "tq_trans", { id: "s1" });
  assert.equal(await inView(page, "tq_trans", "s1"), true);

  // Away by hand, then back by hand until s1 shows: following resumes.
  await wheel(page, "tq_trans", 1500);
  assert.equal(await returnShown(page), "Volver al vídeo");
  await wheel(page, "tq_trans", -3000);
  assert.equal(await returnShown(page), null);
  await seekTo(page, 1772);
  await waitMarked(page, "tq_trans", { id: "s60" });
  assert.equal(await inView(page, "tq_trans", "s60"), true);
});

test("a list that does not ask for it still follows after a hand scroll", async () => {
  const { page } = await pausedLessonAt(2, "s1");
  await wheel(page, "tq_toc", 400);
  // The page carries the bar's words, but the bar never shows.
  assert.equal(await frame(page, "tq_toc").evaluate(() => document.querySelector(".tq_followBack")?.hidden), true);
  await seekTo(page, 1772);
  await waitMarked(page, "tq_toc", { id: "c23" });
  assert.equal(await inView(page, "tq_toc", "c23"), true);
  await seekTo(page, 2);
  await waitMarked(page, "tq_toc", { id: "c1" });
  assert.equal(await inView(page, "tq_toc", "c1"), true);
});
