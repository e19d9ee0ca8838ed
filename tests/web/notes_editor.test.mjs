// The notes editor, driven as a student drives it: real keys, mouse and
// clipboard. The notes page sits in the transcript frame; its handler
// attributes reach the lesson's `tq`. Sync tags and the keyboard paste run in
// Chromium and Firefox ESR; the rest in Chromium, through Playwright, with
// clipboard access granted.

import assert from "node:assert/strict";
import { setTimeout as sleep } from "node:timers/promises";
import { after, before, describe, test } from "node:test";

import { inEachBrowser } from "./browsers.mjs";
import { chooseTranscript, errorsOnceLogged, frame, NOTES_PAGE_TICKS, openBrowser } from "./lesson_browser.mjs";

let lessons;
before(async () => {
  lessons = await openBrowser();
});
after(async () => {
  await lessons.close();
});

// Every frame records here any script that pasted content manages to run.
function scriptGuard() {
  if (window === top) window.scriptRuns = [];
}

// Holds the video still at 1:15, so that stamped times are known, and puts
// the notes page in the transcript frame.
async function showNotes(page) {
  await page.waitForFunction(() => window.tqStarted === true && window.tq);
  await page.evaluate(() => {
    const video = document.getElementById("mp");
    video.pause();
    video.currentTime = 75;
  });
  await chooseTranscript(page, "Notas");
  const notes = frame(page, "tq_trans");
  await notes.waitForSelector("#notes");
  return notes;
}

// The notes page of a lesson in `browser` (either one's).
async function notesLessonIn(browser) {
  const { page, messages } = await browser.open(undefined, { before: scriptGuard });
  return { page, messages, notes: await showNotes(page) };
}

// The same in a Chromium context of its own, with the clipboard granted.
async function notesLesson() {
  const context = await lessons.browser.newContext({ viewport: { width: 1280, height: 900 } });
  await context.grantPermissions(["clipboard-read", "clipboard-write"], { origin: lessons.base });
  const page = await context.newPage();
  const messages = [];
  page.on("console", (m) => messages.push(`${m.type()}: ${m.text()}`));
  page.on("pageerror", (e) => messages.push(`pageerror: ${e.message} ${process.env.DBG ? e.stack : ""}`));
  await page.addInitScript(scriptGuard);
  await page.goto(`${lessons.base}/lessons/sample/index.html`);
  return { page, messages, context, notes: await showNotes(page) };
}

const notesHtml = (notes) => notes.evaluate(() => document.getElementById("notes").innerHTML);
const videoTime = (page) => page.evaluate(() => document.getElementById("mp").currentTime);

// Clicks at (x, y) inside the element of `selector`, as the mouse would.
async function clickAt(frameOf, selector, x, y) {
  const box = await (await frameOf.$(selector)).boundingBox();
  await frameOf.page().mouse.click(box.x + x, box.y + y);
}

// Selects `text` inside the notes, as a mouse would, by script.
function selectInNotes(notes, text) {
  return notes.evaluate((wanted) => {
    const walker = document.createTreeWalker(document.getElementById("notes"), NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      const at = node.data.indexOf(wanted);
      if (at < 0) continue;
      const range = document.createRange();
      range.setStart(node, at);
      range.setEnd(node, at + wanted.length);
      getSelection().removeAllRanges();
      getSelection().addRange(range);
      return true;
    }
    return false;
  }, text);
}

describe("formatting and history", () => {
  test("bold and italic apply to text in the notes; undo and redo step through them", async () => {
    const { page, notes, messages, context } = await notesLesson();
    await notes.click("#notes");
    await page.keyboard.type("uno dos tres");
    for (let i = 0; i < 4; i++) await page.keyboard.press("Shift+ArrowLeft");
    await notes.click("#bold");
    assert.equal(await notesHtml(notes), "uno dos <b>tres</b>");
    await notes.click("#italic");
    assert.equal(await notesHtml(notes), "uno dos <b><i>tres</i></b>");
    await notes.click("#undo");
    assert.equal(await notesHtml(notes), "uno dos <b>tres</b>");
    await notes.click("#undo");
    assert.equal(await notesHtml(notes), "uno dos tres");
    await notes.click("#redo");
    assert.equal(await notesHtml(notes), "uno dos <b>tres</b>");
    // The control's insertions are steps of the same history.
    await page.keyboard.press("End");
    await page.keyboard.press("Control+t");
    assert.equal(await notes.locator("#notes .tq_syncTag").count(), 1);
    await notes.click("#undo");
    assert.equal(await notesHtml(notes), "uno dos <b>tres</b>");
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
    await context.close();
  });

  test("bold and italic do nothing inside a tag's field or outside the notes", async () => {
    const { page, notes, context } = await notesLesson();
    await notes.click("#notes");
    await page.keyboard.type("nota ");
    await notes.click("#synctag");
    const before = await notesHtml(notes);
    // A selection inside the time-code field.
    await notes.locator("#notes .tq_syncValue").click();
    await page.keyboard.press("Control+a");
    await notes.click("#bold");
    await notes.click("#italic");
    assert.equal(await notesHtml(notes), before);
    // A selection on the notes page, outside the notes.
    const editBar = () => notes.evaluate(() => document.getElementById("editbar").innerHTML);
    const barBefore = await editBar();
    await notes.evaluate(() => getSelection().selectAllChildren(document.getElementById("editbar")));
    await notes.click("#bold");
    assert.equal(await notesHtml(notes), before);
    assert.equal(await editBar(), barBefore);
    // A selection in the table of contents beside the notes.
    const toc = frame(page, "tq_toc");
    const formatted = () => toc.evaluate(() => document.querySelectorAll("b, i, strong, em").length);
    const tocBefore = await formatted();
    await toc.dblclick(".segment >> nth=2");
    await notes.click("#italic");
    assert.equal(await formatted(), tocBefore);
    assert.equal(await notesHtml(notes), before);
    await context.close();
  });
});

describe("where editing may happen", () => {
  test("the selection's holder: notes text, a tag's field, an image selected whole, the page outside the notes", async () => {
    const { page, notes, context } = await notesLesson();
    await notes.click("#notes");
    await page.keyboard.type("texto ");
    await page.keyboard.press("Control+t");
    // What the control answers for the notes page's current selection.
    const ask = () =>
      notes.evaluate(() => {
        const held = parent.tq.parentSelection(window);
        return {
          type: parent.tq.editableSelection(window) ? "editable" : "not editable",
          holder: held.id || held.className || held.tagName,
          selection: document.getSelection().isCollapsed ? "caret" : "range",
        };
      });
    assert.deepEqual(await ask(), { type: "editable", holder: "notes", selection: "caret" });
    await notes.locator("#notes .tq_syncValue").click();
    assert.deepEqual(await ask(), { type: "not editable", holder: "timeCode", selection: "caret" });
    // An image selected as a whole object answers with the element that holds it.
    await notes.evaluate(() => {
      const image = document.createElement("img");
      image.src = "/lessons/sample/open.gif";
      image.id = "foto";
      const holder = document.createElement("u");
      holder.id = "marco";
      holder.append(image);
      document.getElementById("notes").append(holder);
      document.getElementById("notes").focus();
      const range = document.createRange();
      range.selectNode(image);
      getSelection().removeAllRanges();
      getSelection().addRange(range);
    });
    assert.deepEqual(await ask(), { type: "editable", holder: "marco", selection: "range" });
    // Nothing is pasted over a selected object.
    await page.evaluate(() => navigator.clipboard.writeText("pegado")).catch(() => undefined);
    await page.keyboard.press("Control+v");
    assert.equal(await notes.evaluate(() => document.getElementById("marco").innerHTML.startsWith("<img")), true);
    assert.doesNotMatch(await notesHtml(notes), /pegado/);
    await notes.evaluate(() => getSelection().selectAllChildren(document.getElementById("editbar")));
    assert.deepEqual(await ask(), { type: "not editable", holder: "editbar", selection: "range" });
    await context.close();
  });
});

// Pasted markup that would run script in every way the cleaning knows of.
const HOSTILE = [
  '<b>negrita</b> <i onclick="top.scriptRuns.push(\'onclick\')">cursiva</i>',
  '<img id="roto" src="data:image/gif;base64,AAAA" onerror="top.scriptRuns.push(\'onerror\')" alt="roto">',
  "<script>top.scriptRuns.push('script')</script>",
  '<a href=" JaVaScRiPt:top.scriptRuns.push(\'href\')">enlace</a>',
  '<object data="/lessons/sample/no-such.swf"><param name="a" value="b"></object>',
  '<svg onload="top.scriptRuns.push(\'svg\')"><circle r="3"></circle></svg>',
  '<iframe onload="top.scriptRuns.push(\'iframe\')"></iframe>',
  '<details open ontoggle="top.scriptRuns.push(\'toggle\')"><summary>más</summary></details>',
  '<span id="pastePoint">falso</span><u name="syncTemplate">fin</u>',
].join("");

// The student copies `html` from somewhere: the next copy in the notes page
// puts it on the clipboard.
function offerOnCopy(notes, html) {
  return notes.evaluate((markup) => {
    document.addEventListener(
      "copy",
      (event) => {
        event.clipboardData.setData("text/html", markup);
        event.clipboardData.setData("text/plain", "texto");
        event.preventDefault();
      },
      { once: true },
    );
  }, html);
}

// What a paste left: the notes' markup, and whether anything ran. The
// image's failed load is waited for, so that its handler had its chance.
async function afterPaste(page, notes) {
  await notes.waitForFunction(() => document.getElementById("roto")?.complete);
  await sleep(300);
  return { html: await notesHtml(notes), runs: await page.evaluate(() => window.scriptRuns) };
}

function assertCleaned({ html, runs }) {
  assert.deepEqual(runs, []);
  assert.match(html, /<b>negrita<\/b>/);
  assert.match(html, /<i>cursiva<\/i>/);
  assert.match(html, /<img id="roto"[^>]*alt="roto">/);
  assert.match(html, /<a>enlace<\/a>|<a href="">enlace<\/a>/);
  assert.match(html, /más/);
  assert.doesNotMatch(html, /<details|<summary|<svg/);
  assert.match(html, /<u>fin/);
  assert.doesNotMatch(html, /\son\w+=|<script|<object|<param|<iframe|javascript:|pastePoint|syncTemplate|\[paste\]/i);
}

// Pasted markup whose names stand in for members the notes page's handlers
// and the cleaning read, or that reaches out of the notes: each row's markup,
// given the address of another origin on the test server, and what the
// cleaned notes show of it.
const REACHING_OUT = [
  [
    "a form whose controls are named attributes",
    () =>
      '<form onmouseover="top.scriptRuns.push(\'form\')" action="javascript:top.scriptRuns.push(\'action\')">' +
      '<input name="attributes"><input name="attributes"><select name="attributes"><option>o</option></select>' +
      "<b>forma</b></form>",
    /<b>forma<\/b>/,
  ],
  [
    "images named parent and querySelectorAll",
    () => '<img name="parent" src="data:image/gif;base64,R0lGODlhAQABAAAAACw=" alt="padre"><img name="querySelectorAll" alt="q">',
    /<img src="data:image\/gif;base64,R0lGODlhAQABAAAAACw=" alt="padre">q/,
  ],
  [
    "an image from elsewhere",
    (remote) => `<img src="${remote}/remote/pixel.gif" alt="pixel" srcset="${remote}/remote/big.gif 2x">`,
    /<a href="http:\/\/127\.0\.0\.1:\d+\/remote\/pixel\.gif" target="_blank" rel="noopener noreferrer">pixel<\/a>/,
  ],
  [
    "a link into the template frame",
    (remote) => `<a href="${remote}/remote/page.html" target="notesTemplate">plantilla</a>`,
    /<a href="http:\/\/127\.0\.0\.1:\d+\/remote\/page\.html" target="_blank" rel="noopener noreferrer">plantilla<\/a>/,
  ],
];

// Sync tags and the keyboard paste, the same in both browsers.
inEachBrowser("the notes editor", (lessons) => {
  test("Ctrl+T stamps a tag with the video's time at the caret; its buttons move the time and seek; a typed 2:3 becomes 00:02:03", async () => {
    const { page, notes, messages } = await notesLessonIn(lessons);
    await notes.click("#notes");
    await page.keyboard.type("Antes ");
    await page.keyboard.press("Control+t");
    await page.keyboard.type(" después");
    const tags = () =>
      notes.evaluate(() =>
        [...document.querySelectorAll("#notes .tq_syncTag")].map((tag) => ({
          id: tag.id,
          display: tag.style.display,
          time: tag.querySelector(".tq_syncValue").value,
          editable: tag.isContentEditable,
        })),
      );
    assert.deepEqual(await tags(), [{ id: "", display: "inline", time: "00:01:15", editable: false }]);
    // The tag went in at the caret, between the typed words, and the template is untouched.
    const text = await notes.evaluate(() => document.getElementById("notes").textContent);
    assert.match(text, /^Antes\s.*\+\s*después$/s);
    assert.deepEqual(
      await notes.evaluate(() => {
        const template = document.getElementById("syncTemplate");
        return [template.style.display, template.parentElement.id];
      }),
      ["none", ""],
    );
    // The edit bar's button appends a second tag where the caret is.
    await page.evaluate(() => {
      document.getElementById("mp").currentTime = 1799;
    });
    await notes.click("#synctag");
    assert.deepEqual((await tags()).map((t) => t.time), ["00:01:15", "00:29:59"]);
    // Each tag's buttons act on its own field only.
    const nth = async (n, part) => (await notes.$$(`#notes .tq_syncTag ${part}`))[n];
    await (await nth(1, ".tq_increment")).click();
    assert.deepEqual((await tags()).map((t) => t.time), ["00:01:15", "00:30:00"]);
    await (await nth(0, ".tq_decrement")).click();
    await (await nth(0, ".tq_decrement")).click();
    assert.deepEqual((await tags()).map((t) => t.time), ["00:01:13", "00:30:00"]);
    // Typing into the field, then leaving it, puts the time code in shape.
    await (await nth(0, ".tq_syncValue")).click();
    await page.keyboard.press("Control+a");
    await page.keyboard.type("2:3");
    await clickAt(notes, "#notes", 5, 300);
    assert.deepEqual((await tags()).map((t) => t.time), ["00:02:03", "00:30:00"]);
    await (await nth(0, ".tq_sync")).click();
    await page.waitForFunction(() => Math.abs(document.getElementById("mp").currentTime - 123) < 1);
    assert.ok(Math.abs((await videoTime(page)) - 123) < 1);
    // Ctrl+T with the caret in a tag's field puts the new tag after that tag, never inside it.
    await (await nth(0, ".tq_syncValue")).click();
    await page.keyboard.press("Control+t");
    assert.equal((await tags()).length, 3);
    assert.deepEqual(
      await notes.evaluate(() => [
        document.querySelectorAll(".tq_syncTag .tq_syncTag").length,
        document.querySelector("#notes .tq_syncTag").nextElementSibling.className,
      ]),
      [0, "tq_syncTag"],
    );
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
  });

  test("a keyboard paste of hostile markup lands cleaned at the caret, and nothing in it runs", async () => {
    const { page, notes, messages } = await notesLessonIn(lessons);
    await offerOnCopy(notes, HOSTILE);
    await notes.click("#notes");
    await page.keyboard.press("Control+c");
    await page.keyboard.type("Inicio ");
    await page.keyboard.press("Control+v");
    await page.keyboard.type(" final");
    const seen = await afterPaste(page, notes);
    assertCleaned(seen);
    // The caret stays after the pasted content. Whether text typed there
    // joins the last pasted element is the browser's editing choice:
    // Chromium types into the <u>, Firefox after it.
    assert.match(seen.html, /^Inicio(&nbsp;| )<b>negrita<\/b>.*fin( final<\/u>|<\/u>(&nbsp;| )final)$/s);
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
  });

  for (const [what, markup, shown] of REACHING_OUT) {
    test(`a paste of ${what} runs nothing, fetches nothing, and the notes' own handlers still work`, async () => {
      const { page, notes, messages } = await notesLessonIn(lessons);
      // Another origin, served by the same test server, where every request is counted.
      const remote = `http://127.0.0.1:${lessons.server.address().port}`;
      const fetched = [];
      const count = (request) => request.url.startsWith("/remote/") && fetched.push(request.url);
      lessons.server.on("request", count);
      try {
        await offerOnCopy(notes, markup(remote));
        await notes.click("#notes");
        await page.keyboard.press("Control+c");
        await page.keyboard.type("Antes ");
        await page.keyboard.press("Control+v");
        await sleep(500);
        const html = await notesHtml(notes);
        assert.match(html, shown);
        assert.doesNotMatch(html, /\s(on\w+|name|srcset|action)=|<form|<input|<select|notesTemplate|javascript/i);
        // The pointer passes over what was pasted.
        await notes.hover("#notes");
        // The handlers of the notes page still reach the control: a tag is
        // stamped, and the edit bar's bold applies.
        await page.keyboard.press("End");
        await page.keyboard.press("Control+t");
        assert.equal(await notes.evaluate(() => document.querySelectorAll("#notes .tq_syncTag").length), 1);
        assert.equal(await selectInNotes(notes, "Antes"), true);
        await notes.click("#bold");
        assert.match(await notesHtml(notes), /^<b>Antes<\/b>/);
        assert.equal(
          await notes.evaluate(() => document.querySelector("iframe[name=notesTemplate]").contentWindow.location.pathname),
          "/lessons/sample/notes_template.html",
        );
        assert.deepEqual(await page.evaluate(() => window.scriptRuns), []);
        assert.deepEqual(fetched, []);
        assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
      } finally {
        lessons.server.off("request", count);
      }
    });
  }
});

describe("paste", () => {
  test("a paste the control fails to judge does not happen", async () => {
    const { page, notes, messages, context } = await notesLesson();
    await offerOnCopy(notes, HOSTILE);
    await notes.click("#notes");
    await page.keyboard.press("Control+c");
    await page.keyboard.type("Inicio");
    // The page no longer has the notes the control looks up by id.
    await notes.evaluate(() => document.getElementById("notes").setAttribute("id", "renamed"));
    await page.keyboard.press("Control+v");
    await page.waitForTimeout(300);
    assert.equal(await notes.evaluate(() => document.getElementById("renamed").innerHTML), "Inicio");
    assert.deepEqual(await page.evaluate(() => window.scriptRuns), []);
    assert.ok(messages.some((m) => m.includes("pageerror")), "the failure reaches the page");
    await context.close();
  });

  test("the edit bar's paste button reads the clipboard and takes the same road; a selection is replaced", async () => {
    const { page, notes, messages, context } = await notesLesson();
    await notes.click("#notes");
    await notes.evaluate(async (html) => {
      await navigator.clipboard.write([
        new ClipboardItem({
          "text/html": new Blob([html], { type: "text/html" }),
          "text/plain": new Blob(["texto"], { type: "text/plain" }),
        }),
      ]);
    }, HOSTILE);
    await page.keyboard.type("uno dos tres");
    assert.ok(await selectInNotes(notes, "dos"));
    if (process.env.DBG) for (const f of [page, notes]) await f.evaluate(() => { addEventListener("error", (e) => console.log("ERR", e.message, e.error?.stack)); addEventListener("unhandledrejection", (e) => console.log("REJ", String(e.reason), e.reason?.code, e.reason?.stack)); });
    await notes.click("#paste");
    await notes.waitForFunction(() => document.getElementById("notes").innerHTML.includes("negrita"));
    const seen = await afterPaste(page, notes);
    assert.deepEqual(seen.runs, []);
    assert.match(seen.html, /^uno(&nbsp;| )<b>negrita<\/b>.*(&nbsp;| )tres$/s);
    assert.doesNotMatch(seen.html, /dos|\son\w+=|<script|<object|<iframe|javascript:|pastePoint|\[paste\]/i);
    // One undo takes the whole paste back, and the replaced words return.
    await notes.click("#undo");
    assert.equal(await notesHtml(notes), "uno dos tres");
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
    await context.close();
  });

  test("the edit bar's cut, copy and paste move and copy text within the notes", async () => {
    const { page, notes, messages, context } = await notesLesson();
    await notes.click("#notes");
    await page.keyboard.type("uno dos tres");
    assert.ok(await selectInNotes(notes, "uno "));
    await notes.click("#cut");
    assert.equal(await notesHtml(notes), "dos tres");
    await page.keyboard.press("End");
    await notes.click("#paste");
    await notes.waitForFunction(() => document.getElementById("notes").textContent.includes("uno"));
    assert.match(await notes.evaluate(() => document.getElementById("notes").textContent), /^dos tres\s*uno\s*$/);
    assert.ok(await selectInNotes(notes, "dos"));
    await notes.click("#copy");
    await page.keyboard.press("Home");
    await page.keyboard.press("Control+v");
    assert.match(await notes.evaluate(() => document.getElementById("notes").textContent), /^dosdos tres\s*uno\s*$/);
    assert.doesNotMatch(await notesHtml(notes), /pastePoint|\[paste\]/);
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
    await context.close();
  });

  test("a paste into a tag's field, or outside the notes, pastes nothing", async () => {
    const { page, notes, context } = await notesLesson();
    await page.evaluate(() => navigator.clipboard.writeText("pegado"));
    await notes.click("#notes");
    await page.keyboard.type("nota ");
    await page.keyboard.press("Control+t");
    const before = await notesHtml(notes);
    await notes.locator("#notes .tq_syncValue").click();
    await page.keyboard.press("Control+v");
    await notes.click("#paste");
    await page.waitForTimeout(300);
    assert.equal(await notesHtml(notes), before);
    assert.equal(await notes.locator("#notes .tq_syncValue").inputValue(), "00:01:15");
    await notes.evaluate(() => getSelection().selectAllChildren(document.getElementById("notesFile")));
    await notes.click("#paste");
    await page.waitForTimeout(300);
    assert.equal(await notesHtml(notes), before);
    await context.close();
  });
});

// The centre of `text` in the notes, in the lesson page's coordinates.
async function textPoint(page, notes, text) {
  const box = await (await page.$('iframe[name="tq_trans"]')).boundingBox();
  const inFrame = await notes.evaluate((wanted) => {
    const node = [...document.getElementById("notes").childNodes].find((n) => n.data?.includes(wanted));
    const range = document.createRange();
    const at = node.data.indexOf(wanted);
    range.setStart(node, at);
    range.setEnd(node, at + wanted.length);
    const r = range.getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2, right: r.right };
  }, text);
  return { x: box.x + inFrame.x, y: box.y + inFrame.y, right: box.x + inFrame.right };
}

describe("drag and drop", () => {
  test("text dragged within the notes moves; text dragged from the table of contents is refused", async () => {
    const { page, notes, messages, context } = await notesLesson();
    await notes.click("#notes");
    await page.keyboard.type("alfa beta gamma");
    assert.ok(await selectInNotes(notes, "alfa "));
    const from = await textPoint(page, notes, "alfa");
    const to = await textPoint(page, notes, "gamma");
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move(from.x + 20, from.y, { steps: 5 });
    await page.mouse.move(to.right + 2, to.y, { steps: 5 });
    await page.mouse.up();
    await notes.waitForFunction(() => !document.getElementById("notes").textContent.startsWith("alfa"));
    assert.match(await notes.evaluate(() => document.getElementById("notes").textContent), /^beta gamma\s*alfa\s*$/);
    // From the table of contents beside the notes.
    const before = await notesHtml(notes);
    const toc = frame(page, "tq_toc");
    const word = await toc.evaluate(() => {
      const segment = document.querySelectorAll(".segment")[1];
      const range = document.createRange();
      range.selectNodeContents(segment);
      getSelection().removeAllRanges();
      getSelection().addRange(range);
      const r = range.getClientRects()[0];
      return { x: r.x + Math.min(r.width / 2, 30), y: r.y + r.height / 2 };
    });
    const tocBox = await (await page.$('iframe[name="tq_toc"]')).boundingBox();
    const target = await textPoint(page, notes, "beta");
    await page.mouse.move(tocBox.x + word.x, tocBox.y + word.y);
    await page.mouse.down();
    await page.mouse.move(tocBox.x + word.x + 20, tocBox.y + word.y, { steps: 5 });
    await page.mouse.move(target.x, target.y, { steps: 10 });
    await page.mouse.up();
    await page.waitForTimeout(300);
    assert.equal(await notesHtml(notes), before);
    assert.deepEqual(await errorsOnceLogged(messages, NOTES_PAGE_TICKS), [NOTES_PAGE_TICKS]);
    await context.close();
  });
});
