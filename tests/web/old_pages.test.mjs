// Lessons as teachers wrote them for an older browser: no doctype (quirks
// mode), an embedded player from another site among the frames, an @media
// rule in the transcript's tq_style sheet, SVG icons in segments, members set
// by the page's own script, and texts read as the page model reads them.

import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";

import { inEachBrowser } from "./browsers.mjs";
import { frame, openBrowser, waitMarked } from "./lesson_browser.mjs";

const OLD_PAGE = "tests/lessons/web_old_page/index.html";

let lessons;
before(async () => {
  lessons = await openBrowser();
});
after(async () => {
  await lessons.close();
});

async function startedOldPage(browser) {
  const opened = await browser.open(OLD_PAGE);
  await opened.page.waitForFunction(() => window.tqStarted === true && window.tq);
  return opened;
}

// What the page logged besides the pictures the toolbar swaps in, which this
// fixture lacks.
const problems = (messages) => messages.filter((m) => !m.includes("Failed to load resource"));

// Whether the segment lies inside the visible part of its frame.
const visibleInFrame = (page, id) =>
  frame(page, "tq_trans").evaluate((segmentId) => {
    const r = document.getElementById(segmentId).getBoundingClientRect();
    return r.top >= 0 && r.bottom <= window.innerHeight;
  }, id);

// The same in both browsers.
inEachBrowser("a page in quirks mode with a frame of another site", (browser) => {
  test("the lesson starts beside the other site's frame, marks, and scrolls its list down and back up", async () => {
    const { page, messages } = await startedOldPage(browser);
    assert.equal(await frame(page, "tq_trans").evaluate(() => document.compatMode), "BackCompat");
    // The other site's frame is there, and out of the page's reach.
    await page.waitForFunction(() => {
      try {
        return !document.getElementById("player").contentWindow.document;
      } catch {
        return true;
      }
    });
    await waitMarked(page, "tq_trans", { id: "s1" });
    await page.evaluate(() => {
      document.getElementById("mp").currentTime = 1772;
    });
    await waitMarked(page, "tq_trans", { id: "s60" });
    await waitMarked(page, "tq_toc", { id: "c23" });
    assert.equal(await visibleInFrame(page, "s60"), true);
    // Only the transcript's own document scrolled, not the lesson around it.
    assert.equal(await page.evaluate(() => document.scrollingElement.scrollTop), 0);
    await page.evaluate(() => {
      document.getElementById("mp").currentTime = 2;
    });
    await waitMarked(page, "tq_trans", { id: "s1" });
    assert.equal(await visibleInFrame(page, "s1"), true);
    assert.deepEqual(problems(messages), []);
  });

  test("single mode works past the @media rule of the tq_style sheet", async () => {
    const { page, messages } = await startedOldPage(browser);
    await page.click("#tq_single");
    await frame(page, "tq_trans").waitForFunction(
      () => [...document.querySelectorAll("#iText .segment")].filter((s) => s.offsetHeight > 0).length === 1,
    );
    const rules = await frame(page, "tq_trans").evaluate(() =>
      [...document.getElementById("tq_style").sheet.cssRules].map((rule) => rule.cssText.replace(/\s+/g, " ")),
    );
    assert.match(rules[0], /^@media print/);
    assert.match(rules[1], /\.segment \{ display: none;? \}/);
    assert.deepEqual(problems(messages), []);
  });

  test("a click on an SVG icon inside a segment seeks to that segment", async () => {
    const { page, messages } = await startedOldPage(browser);
    // The first marking scrolls the list to the start; a click aimed before
    // it would land where the icon no longer is.
    await waitMarked(page, "tq_trans", { id: "s1" });
    await frame(page, "tq_trans").click("#s14 svg path");
    const time = await page.evaluate(() => document.getElementById("mp").currentTime);
    assert.ok(time >= 365 && time < 367, `position ${time}`);
    await waitMarked(page, "tq_trans", { id: "s14" });
    assert.deepEqual(problems(messages), []);
  });

  test("a refresh the page's script sets as a property scrolls the marked segment back into view", async () => {
    const { page } = await startedOldPage(browser);
    await page.evaluate(() => {
      const video = document.getElementById("mp");
      video.pause();
      video.currentTime = 1772;
    });
    await waitMarked(page, "tq_trans", { id: "s60" });
    const trans = frame(page, "tq_trans");
    await trans.evaluate(() => {
      document.scrollingElement.scrollTop = 0;
    });
    assert.equal(await visibleInFrame(page, "s60"), false);
    await trans.evaluate(() => {
      document.getElementById("iText").tq_refresh = "1";
    });
    await trans.waitForFunction(() => {
      const r = document.getElementById("s60").getBoundingClientRect();
      return r.top >= 0 && r.bottom <= window.innerHeight;
    });
    // Handled: the control set it back, and the script reads what it set.
    await trans.waitForFunction(() => document.getElementById("iText").tq_refresh === "0");
  });
});

describe("hover styles leave no trace", () => {
  test("a hovered segment's markup, its clone and the copied text carry nothing of the hover", async () => {
    const context = await lessons.browser.newContext({ viewport: { width: 1280, height: 900 } });
    await context.grantPermissions(["clipboard-read", "clipboard-write"], { origin: lessons.base });
    const page = await context.newPage();
    await page.goto(`${lessons.base}/lessons/sample/index.html`);
    await page.waitForFunction(() => window.tqStarted === true && window.tq);
    const trans = frame(page, "tq_trans");
    const markup = await trans.evaluate(() => document.getElementById("s3").outerHTML);
    await trans.hover("#s3");
    await trans.waitForFunction(() => getComputedStyle(document.getElementById("s3")).color === "rgb(0, 0, 102)");
    const seen = await trans.evaluate(() => {
      const segment = document.getElementById("s3");
      const clone = segment.cloneNode(true);
      clone.id = "copy";
      document.body.append(clone);
      const cloneColor = getComputedStyle(clone).color;
      clone.remove();
      window.focus();
      const range = document.createRange();
      range.selectNodeContents(segment);
      getSelection().removeAllRanges();
      getSelection().addRange(range);
      return { markup: segment.outerHTML, cloneColor };
    });
    assert.equal(seen.markup, markup);
    assert.notEqual(seen.cloneColor, "rgb(0, 0, 102)");
    await page.keyboard.press("Control+c");
    const copied = await trans.evaluate(async () => {
      const [item] = await navigator.clipboard.read();
      return (await item.getType("text/html")).text();
    });
    assert.match(copied, /No hace falta/);
    assert.doesNotMatch(copied, /data-tq|ms__id/);
    await context.close();
  });
});

describe("texts read as the page model reads them", () => {
  test("the title and innerText keep the markup's spacing; the same page gives the same text on every host", async () => {
    const { page } = await lessons.open("tests/lessons/web_title/index.html");
    const read = await page.evaluate(async () => {
      const { host } = await import("/revoziz/host.js");
      return {
        title: host.get(document, "title"),
        label: host.get(document.getElementById("label"), "innerText"),
      };
    });
    // The page model's test of this lesson expects the very same texts.
    assert.deepEqual(read, { title: "  Lección   antigua &\n  luz ", label: "  Tema\n  uno\ndos oculto" });
  });

  test("URLUnencoded never throws, and the address it gives loads the same page again", async () => {
    const { page } = await lessons.open("tests/lessons/web_title/index.html");
    const read = await page.evaluate(async () => {
      const { host } = await import("/revoziz/host.js");
      return [
        "/tema%202%20%C3%B1.html",
        "/100%25%2541.html",
        "/roto%E0%A4%A.html?q=%C3",
        "/a%3Cb%3E%2F%3F%23.html",
      ].map((path) => {
        history.replaceState(null, "", path);
        const unencoded = host.get(document, "URLUnencoded");
        // Setting URL resolves the text against the page, as this does.
        return { unencoded: unencoded.slice(location.origin.length), back: new URL(unencoded, location.href).href === location.href };
      });
    });
    assert.deepEqual(read, [
      { unencoded: "/tema 2 ñ.html", back: true },
      { unencoded: "/100%25%2541.html", back: true },
      { unencoded: "/roto%E0%A4%A.html?q=%C3", back: true },
      { unencoded: "/a<b>%2F%3F%23.html", back: true },
    ]);
  });
});

describe("caches", () => {
  test("the unique ids of elements that are gone are forgotten", async () => {
    const { page } = await lessons.open("tests/lessons/web_title/index.html");
    const counts = await page.evaluate(async () => {
      const { host } = await import("/revoziz/host.js");
      const { rememberedCount } = await import("/revoziz/named_lookup.js");
      const before = rememberedCount();
      (() => {
        const holder = document.createElement("div");
        for (let i = 0; i < 500; i++) holder.append(document.createElement("span"));
        document.body.append(holder);
        for (const span of holder.children) host.get(span, "uniqueID");
        holder.remove();
      })();
      const named = rememberedCount();
      for (let i = 0; i < 20 && rememberedCount() > before; i++) {
        window.gc();
        await new Promise((resolve) => setTimeout(resolve, 50));
      }
      return { before, named, after: rememberedCount() };
    });
    assert.equal(counts.named, counts.before + 500);
    assert.equal(counts.after, counts.before);
  });
});
