// A lesson page that breaks the page contract: its ticks fail, the page's
// console says so once, and nothing is marked, as on every host.

import assert from "node:assert/strict";
import { after, before, test } from "node:test";

import { frame, openBrowser, videoAdvances } from "./lesson_browser.mjs";

let lessons;
before(async () => {
  lessons = await openBrowser();
});
after(async () => {
  await lessons.close();
});

test("a page without the tq_toc frame reports its failing ticks once and marks nothing", async () => {
  const { page, messages } = await lessons.open("tests/lessons/web_no_toc/index.html");
  await page.waitForFunction(() => window.tqStarted === true);
  await videoAdvances(page, 1.6);
  const failures = () => messages.filter((m) => m.startsWith("error: reVoziz: a tick failed"));
  assert.equal(failures().length, 1, messages.join("\n"));
  assert.match(failures()[0], /tq_toc \(438\)$/);
  const marked = await frame(page, "tq_trans").evaluate(
    () => document.querySelectorAll("#iText .segment[style]").length,
  );
  assert.equal(marked, 0);
  // The ticks go on failing the same way, which says nothing new.
  await videoAdvances(page, 1.1);
  assert.equal(failures().length, 1, messages.join("\n"));
});
