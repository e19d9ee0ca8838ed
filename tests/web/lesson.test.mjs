// The sample lesson as a student sees it, in Chromium and in Firefox ESR: the
// video plays, the table of contents and the transcript follow it, and
// clicks, menus, modes and layouts act on the page and on the video.

import assert from "node:assert/strict";
import path from "node:path";
import { describe, test } from "node:test";

import { inEachBrowser } from "./browsers.mjs";
import {
  chooseTranscript,
  frame,
  inView,
  listNow,
  pageErrors,
  playedByStudent,
  repository,
  startedLessonIn,
  videoAdvances,
  waitMarked,
} from "./lesson_browser.mjs";

const video = (page) =>
  page.evaluate(() => {
    const v = document.getElementById("mp");
    return { time: v.currentTime, paused: v.paused, controls: v.controls };
  });

const seek = (page, seconds) =>
  page.evaluate((t) => {
    document.getElementById("mp").currentTime = t;
  }, seconds);

const shownSegments = (page) =>
  frame(page, "tq_trans").evaluate(() =>
    [...document.querySelectorAll("#iText .segment")].filter((s) => s.offsetHeight > 0).map((s) => s.id),
  );

// The expander image of a table-of-contents entry, and what it opens.
const expander = (entry) => `img:has(+ #${entry})`;
const branch = (page, entry) =>
  frame(page, "tq_toc").evaluate((id) => {
    const e = document.getElementById(id);
    return { image: e.previousElementSibling.getAttribute("src"), display: e.nextElementSibling.style.display };
  }, entry);

const panels = (page) =>
  page.evaluate(() => ({
    toc: getComputedStyle(document.getElementById("toc")).display,
    tra: getComputedStyle(document.getElementById("tra")).display,
    buttons: ["modefull", "modetoc", "modetrans", "modevideo"].map((id) => document.getElementById(id).getAttribute("src")),
  }));
const lessonArea = (page) => page.evaluate(() => [document.body.style.width, document.body.style.height]);

inEachBrowser("the sample lesson", (lessons, browserName) => {
  const startedLesson = (options) => startedLessonIn(lessons, options);

  describe("following the video", () => {
    test("the video plays and both lists mark the segment that holds its position", async () => {
      const { page, messages } = await startedLesson();
      await playedByStudent(page);
      await videoAdvances(page, 0.6);
      assert.equal((await video(page)).paused, false);
      await waitMarked(page, "tq_toc");
      await waitMarked(page, "tq_trans");
      assert.deepEqual(messages, []);
      // The picture of the running lesson that the README shows.
      if (browserName === "Chromium") await page.screenshot({ path: path.join(repository, "build-web/lesson.png") });
    });

    test("a seek far ahead is marked and scrolled into view within a tick", async () => {
      const { page, messages } = await startedLesson();
      await seek(page, 1772);
      await waitMarked(page, "tq_trans", { id: "s60" });
      // Composición's branch is folded, so its hidden entries do not count.
      await waitMarked(page, "tq_toc", { id: "c23" });
      assert.equal(await inView(page, "tq_trans", "s60"), true);
      assert.equal(await inView(page, "tq_toc", "c23"), true);
      // Back to the start: the first segment is scrolled back into view.
      await seek(page, 2);
      await waitMarked(page, "tq_trans", { id: "s1" });
      assert.equal(await inView(page, "tq_trans", "s1"), true);
      assert.deepEqual(messages, []);
    });

    test("while the video stays within a segment, its ticks do not enter the module", async () => {
      const { page } = await startedLesson();
      const callsOver = (ms) =>
        page.evaluate(async (ms) => {
          // Every value the module reads from the page is classified by kindOf.
          const { host } = await import("/revoziz/host.js");
          const kindOf = host.kindOf;
          let calls = 0;
          host.kindOf = (...args) => {
            calls++;
            return kindOf(...args);
          };
          await new Promise((resolve) => setTimeout(resolve, ms));
          host.kindOf = kindOf;
          return calls;
        }, ms);
      await page.evaluate(() => {
        const v = document.getElementById("mp");
        v.pause();
        v.currentTime = 1772;
      });
      await waitMarked(page, "tq_trans", { id: "s60" });
      await callsOver(1100); // the tick that marked it, and one that found nothing to do
      const resting = await callsOver(1600);
      await seek(page, 2);
      await waitMarked(page, "tq_trans", { id: "s1" });
      assert.deepEqual({ resting }, { resting: 0 });
    });

    test("a browser that refuses to autoplay leaves the lesson started, with the video's controls", async () => {
      const { page, messages } = await lessons.open(undefined, {
        before: () => {
          HTMLMediaElement.prototype.play = () => Promise.reject(new DOMException("refused", "NotAllowedError"));
        },
      });
      await page.waitForFunction(() => window.tqStarted === true);
      await page.waitForFunction(() => document.getElementById("mp").controls);
      assert.equal((await video(page)).paused, true);
      await waitMarked(page, "tq_trans", { id: "s1" });
      assert.deepEqual(messages, []);
    });
  });

  describe("clicks seek the video", () => {
    test("a word of the transcript seeks to its segment and plays; the next tick marks it in both lists", async () => {
      const { page, messages } = await startedLesson();
      await frame(page, "tq_trans").click("#s14");
      const { time, paused } = await video(page);
      assert.ok(time >= 365 && time < 367, `position ${time}`);
      assert.equal(paused, false);
      await waitMarked(page, "tq_trans", { id: "s14" });
      await waitMarked(page, "tq_toc", { id: "c6" });
      assert.deepEqual(messages, []);
    });

    test("a time handle seeks like its segment", async () => {
      const { page } = await startedLesson();
      await frame(page, "tq_trans").click("#s30 .sync");
      await waitMarked(page, "tq_trans", { id: "s30" });
      await waitMarked(page, "tq_toc", { id: "c12" });
    });

    test("a table-of-contents entry seeks to its start; the transcript follows", async () => {
      const { page } = await startedLesson();
      await frame(page, "tq_toc").click("#c21");
      const { time } = await video(page);
      assert.ok(time >= 1385 && time < 1387, `position ${time}`);
      await waitMarked(page, "tq_toc", { id: "c21" });
      await waitMarked(page, "tq_trans", { id: "s49" });
    });
  });

  describe("display modes and sync", () => {
    test("single mode shows only the current segment, and scroll mode shows them all again", async () => {
      const { page, messages } = await startedLesson();
      await page.click("#tq_single");
      await frame(page, "tq_trans").waitForFunction(
        () => [...document.querySelectorAll("#iText .segment")].filter((s) => s.offsetHeight > 0).length === 1,
      );
      assert.deepEqual(await shownSegments(page), [(await listNow(page, "tq_trans")).marked]);
      assert.match(await page.getAttribute("#tq_single", "src"), /single_on\.gif$/);
      assert.match(await page.getAttribute("#tq_scroll", "src"), /scroll\.gif$/);

      // The shown segment moves with the video.
      await frame(page, "tq_toc").click("#c6");
      await waitMarked(page, "tq_trans", { id: "s14" });
      assert.deepEqual(await shownSegments(page), ["s14"]);

      await page.click("#tq_scroll");
      await frame(page, "tq_trans").waitForFunction(() =>
        [...document.querySelectorAll("#iText .segment")].every((s) => s.offsetHeight > 0),
      );
      await waitMarked(page, "tq_trans", { id: "s14" });
      assert.deepEqual(messages, []);
    });

    test("sync off stops the marking; sync on resumes it at the next tick", async () => {
      const { page } = await startedLesson();
      await waitMarked(page, "tq_trans", { id: "s1" });
      await page.click("#tq_sync");
      assert.match(await page.getAttribute("#tq_sync", "src"), /insync\.gif$/);
      await playedByStudent(page);
      await seek(page, 400);
      await videoAdvances(page, 1.2);
      assert.equal((await listNow(page, "tq_trans")).marked, "s1");
      assert.equal((await listNow(page, "tq_toc")).marked, "c1");

      await page.click("#tq_sync");
      assert.match(await page.getAttribute("#tq_sync", "src"), /unsync\.gif$/);
      await waitMarked(page, "tq_trans", { id: "s15" });
      await waitMarked(page, "tq_toc", { id: "c6" });
    });
  });

  describe("table of contents", () => {
    test("an expander opens its folded branch and folds it again", async () => {
      const { page } = await startedLesson();
      const toc = frame(page, "tq_toc");
      assert.deepEqual(await branch(page, "c12"), { image: "open.gif", display: "none" });
      await toc.click(expander("c12"));
      assert.deepEqual(await branch(page, "c12"), { image: "close.gif", display: "block" });
      assert.equal(await toc.isVisible("#c14"), true);
      await toc.click(expander("c12"));
      assert.deepEqual(await branch(page, "c12"), { image: "open.gif", display: "none" });
    });

    test("a branch opens with its open sub-branches folded", async () => {
      const { page } = await startedLesson();
      const toc = frame(page, "tq_toc");
      await toc.click(expander("c7"));
      assert.equal(await toc.isVisible("#c8"), true);
      await toc.click(expander("c6"));
      await toc.click(expander("c6"));
      assert.deepEqual(await branch(page, "c7"), { image: "open.gif", display: "none" });
      assert.equal(await toc.isVisible("#c8"), false);
    });
  });

  describe("the language menu", () => {
    test("a choice loads the other transcript, swaps the labels and is followed by the marking", async () => {
      const { page, messages } = await startedLesson();
      assert.equal(await page.isVisible("#tq_selOps1"), false);
      await page.click(".tq_select");
      assert.equal(await page.isVisible("#tq_selOps1"), true);
      await page.click(".tq_option");
      await page.waitForFunction(() =>
        document.querySelector('iframe[name="tq_trans"]').contentDocument.URL.endsWith("trans_en.html"),
      );
      assert.equal(await page.isVisible("#tq_selOps1"), false);
      assert.equal((await page.textContent("#tq_selLabel1")).trim(), "English");
      assert.equal((await page.textContent(".tq_option")).trim(), "Español");
      assert.match(await page.getAttribute(".tq_option", "tq_href"), /trans_es\.html$/);
      await waitMarked(page, "tq_trans");
      // The new document forwards its clicks too.
      await frame(page, "tq_trans").click("#s5");
      await waitMarked(page, "tq_trans", { id: "s5" });
      assert.match(await frame(page, "tq_trans").textContent("#s5"), /Let us start/);
      assert.deepEqual(pageErrors(messages), []);
    });

    test("a click elsewhere closes an open menu", async () => {
      const { page } = await startedLesson();
      await page.click(".tq_select");
      assert.equal(await page.isVisible("#tq_selOps1"), true);
      await page.click("h1");
      assert.equal(await page.isVisible("#tq_selOps1"), false);
      // The menu still chooses after that.
      await chooseTranscript(page, "English");
      assert.equal((await page.textContent("#tq_selLabel1")).trim(), "English");
    });
  });

  describe("hover styles", () => {
    test("a hovered segment takes the hover style and gives it back, its markup and the marking untouched", async () => {
      const { page, messages } = await startedLesson();
      await waitMarked(page, "tq_trans", { id: "s1" });
      const trans = frame(page, "tq_trans");
      const look = () =>
        trans.evaluate(() => {
          const s = document.getElementById("s1");
          return { color: getComputedStyle(s).color, markup: s.outerHTML };
        });
      const before = await look();
      await trans.hover("#s1");
      await trans.waitForFunction(() => getComputedStyle(document.getElementById("s1")).color === "rgb(0, 0, 102)");
      assert.equal((await look()).markup, before.markup);
      await page.mouse.move(5, 5);
      await trans.waitForFunction(() => getComputedStyle(document.getElementById("s1")).color !== "rgb(0, 0, 102)");
      assert.deepEqual(await look(), before);
      assert.equal((await listNow(page, "tq_trans")).marked, "s1");
      assert.deepEqual(messages, []);
    });

    test("a hovered menu option takes the options list's hover style", async () => {
      const { page } = await startedLesson();
      const background = () =>
        page.evaluate(() => getComputedStyle(document.querySelector(".tq_option")).backgroundColor);
      await page.click(".tq_select");
      await page.hover(".tq_option");
      assert.equal(await background(), "rgb(221, 221, 238)");
      await page.hover("h1");
      assert.equal(await background(), "rgba(0, 0, 0, 0)");
    });
  });

  describe("layout and print buttons", () => {
    test("the smaller layouts hide panels; the full layout shows both and sizes the lesson area", async () => {
      const { page } = await startedLesson();
      await page.click("#modetoc");
      assert.deepEqual(await panels(page), {
        toc: "block",
        tra: "none",
        buttons: ["modefull.gif", "modetoc_on.gif", "modetrans.gif", "modevideo.gif"],
      });
      await page.click("#modevideo");
      const { toc, tra } = await panels(page);
      assert.deepEqual([toc, tra], ["none", "none"]);
      await page.click("#modefull");
      assert.deepEqual(await panels(page), {
        toc: "block",
        tra: "block",
        buttons: ["modefull_on.gif", "modetoc.gif", "modetrans.gif", "modevideo.gif"],
      });
      // Video 480 x 360, transcript 400 wide, contents 160 high.
      assert.deepEqual(await lessonArea(page), ["880px", "520px"]);
    });

    test("the full layout never grows beyond the available area", async () => {
      const { page } = await startedLesson({ viewport: { width: 760, height: 480 } });
      await page.click("#modefull");
      assert.deepEqual(await lessonArea(page), ["760px", "480px"]);
    });

    test("the print button prints the transcript frame, not the page", async () => {
      const { page } = await startedLesson();
      const stubPrint = () => {
        window.printed = 0;
        window.print = () => {
          window.printed += 1;
        };
      };
      await page.evaluate(stubPrint);
      await frame(page, "tq_trans").evaluate(stubPrint);
      await page.click("#tq_print");
      assert.equal(await frame(page, "tq_trans").evaluate(() => window.printed), 1);
      assert.equal(await page.evaluate(() => window.printed), 0);
    });
  });
});
