// The sample lesson from the keyboard and for screen readers: one tab stop
// per list and the arrow keys inside, aria-current on the marked segment, a
// live region in single-segment mode, the toolbar and the transcript menu as
// buttons, and an axe audit with no serious or critical violations; in
// Chromium and Firefox ESR (axe runs inside each frame of the page).

import assert from "node:assert/strict";
import { setTimeout as sleep } from "node:timers/promises";
import { describe, test } from "node:test";

import { auditViolations } from "./axe_audit.mjs";
import { inEachBrowser } from "./browsers.mjs";
import { frame, inView, lessonStarted, NOTES_PAGE_TICKS, pageErrors, waitMarked } from "./lesson_browser.mjs";


// Hands the timer's tick to the test too: `window.fireTick()` runs one tick
// now, as the timer does.
function exposeTick() {
  if (window !== window.top) return;
  import("/revoziz/host.js").then(({ host }) => {
    const startTicks = host.startTicks;
    host.startTicks = (ms, fire, key) => {
      window.fireTick = () => fire(key);
      return startTicks(ms, fire, key);
    };
  });
}

// Where the keyboard's focus is: the frame's name, or its title for a frame
// without one ("" for the page), and the element.
const focused = (page) =>
  page.evaluate(() => {
    let name = "";
    let element = document.activeElement;
    while (element?.tagName === "IFRAME") {
      name = element.name || element.title;
      element = element.contentDocument.activeElement;
    }
    return { frame: name, id: element?.id ?? "", role: element?.getAttribute("role") ?? "" };
  });

const seekTo = (page, seconds) =>
  page.evaluate((t) => {
    const video = document.getElementById("mp");
    video.pause();
    video.currentTime = t;
  }, seconds);

const videoTime = (page) => page.evaluate(() => document.getElementById("mp").currentTime);

// Tab presses from the start of the page until `done` holds for the stops
// seen, or 60 presses.
async function tabStops(page, done) {
  const stops = [];
  for (let i = 0; i < 60 && !done(stops); i++) {
    await page.keyboard.press("Tab");
    stops.push(await focused(page));
  }
  return stops;
}

// Opens the transcript menu from the keyboard and chooses the option `label`.
async function chooseTranscript(page, label) {
  await page.focus("#tq_sel .tq_select");
  await page.keyboard.press("Enter");
  for (let i = 0; i < 5; i++) {
    const text = await page.evaluate(() => document.activeElement.textContent.trim());
    if (text === label) break;
    await page.keyboard.press("ArrowDown");
  }
  assert.equal(await page.evaluate(() => document.activeElement.textContent.trim()), label);
  await page.keyboard.press("Enter");
}

// The notes page in the transcript frame, described for the keyboard.
async function notesShown(page) {
  await chooseTranscript(page, "Notas");
  const notes = frame(page, "tq_trans");
  await notes.waitForSelector("#editbar[role=toolbar]");
  return notes;
}

// Unsaved notes, then Enter on the edit bar's `opener`: the save-changes
// dialog's page once it has loaded.
async function changesDialogOpen(page, opener) {
  const notes = await notesShown(page);
  await notes.click("#notes");
  await page.keyboard.type("algo");
  await notes.focus(`#${opener}`);
  await page.keyboard.press("Enter");
  await page.waitForFunction(() => document.querySelector("dialog[open]").hasAttribute("aria-label"));
  return (await page.$("dialog[open] iframe")).contentFrame();
}

// The transcript scrolled to its top while the video is at s30, further on:
// the way back to the video shows.
async function readingAway(page) {
  await seekTo(page, 818);
  await waitMarked(page, "tq_trans", { id: "s30" });
  const trans = frame(page, "tq_trans");
  await trans.evaluate(() => document.scrollingElement.scrollTo(0, 0));
  await trans.waitForFunction(() => document.querySelector(".tq_followBack")?.hidden === false);
}

inEachBrowser("the sample lesson's accessibility", (lessons) => {
  // The lesson started, with its tick in the test's hands too.
  async function startedLesson(before) {
    const opened = await lessons.open(undefined, {
      before: before ? `(${exposeTick})(); (${before})();` : exposeTick,
    });
    await lessonStarted(opened.page);
    await opened.page.waitForFunction(() => typeof window.fireTick === "function");
    return opened;
  }

  describe("the keyboard", () => {
    test("Tab reaches the toolbar and each list once, and the notes after the menu chose them", async () => {
      const { page } = await startedLesson();
      const stops = await tabStops(page, (s) => s.some((stop) => stop.frame === "tq_trans"));
      const key = (stop) => `${stop.frame}#${stop.id}`;
      for (const id of ["modefull", "modevideo", "tq_scroll", "tq_single", "tq_sync", "tq_print"]) {
        assert.ok(stops.some((stop) => stop.frame === "" && stop.id === id), `${id} in ${stops.map(key)}`);
      }
      const inToc = stops.filter((stop) => stop.frame === "tq_toc");
      assert.equal(inToc.length, 1, stops.map(key).join(" "));
      assert.equal(inToc[0].role, "treeitem");
      assert.equal(stops.at(-1).role, "option");
      // The next Tab leaves the transcript's list.
      await page.keyboard.press("Tab");
      assert.notEqual((await focused(page)).role, "option");

      const toolbar = await page.evaluate(() =>
        [...document.querySelectorAll("#toolbar img")].map((i) => [i.id, i.getAttribute("role"), i.getAttribute("aria-pressed")]),
      );
      assert.deepEqual(toolbar, [
        ["modefull", "button", "true"],
        ["modetoc", "button", "false"],
        ["modetrans", "button", "false"],
        ["modevideo", "button", "false"],
        ["tq_scroll", "button", "true"],
        ["tq_single", "button", "false"],
        ["tq_sync", "button", "true"],
        ["tq_print", "button", null],
      ]);
      // Space on a button presses it, and its pressed state follows.
      await page.focus("#tq_single");
      await page.keyboard.press(" ");
      await page.waitForFunction(() => document.getElementById("tq_single").getAttribute("aria-pressed") === "true");
      assert.equal(await page.getAttribute("#tq_scroll", "aria-pressed"), "false");
      await page.focus("#tq_sync");
      await page.keyboard.press("Enter");
      await page.waitForFunction(() => document.getElementById("tq_sync").getAttribute("aria-pressed") === "false");

      await chooseTranscript(page, "Notas");
      await frame(page, "tq_trans").waitForSelector("#editbar[role=toolbar]");
      assert.equal(await page.getAttribute("#tq_sel .tq_select", "aria-expanded"), "false");
      const notesStops = await tabStops(page, (s) => s.some((stop) => stop.id === "notes"));
      assert.ok(notesStops.some((stop) => stop.frame === "tq_trans" && stop.id === "save" && stop.role === "button"));
      assert.equal(notesStops.at(-1).frame, "tq_trans");
    });

    test("the menu opens from the keyboard, Escape closes it, and Enter chooses a transcript", async () => {
      const { page } = await startedLesson();
      const options = () => page.evaluate(() => document.getElementById("tq_selOps1").style.visibility);
      await page.focus("#tq_sel .tq_select");
      await page.keyboard.press("ArrowDown");
      assert.equal(await options(), "visible");
      assert.equal(await page.getAttribute("#tq_sel .tq_select", "aria-expanded"), "true");
      assert.equal((await focused(page)).role, "menuitem");
      await page.keyboard.press("Escape");
      assert.equal(await options(), "hidden");
      assert.equal(await page.evaluate(() => document.activeElement.className), "tq_select");
      await chooseTranscript(page, "English");
      await frame(page, "tq_trans").waitForFunction(() => document.documentElement.lang === "en");
      await frame(page, "tq_trans").waitForSelector("#iText[role=listbox]");
    });

    test("the arrows move within the transcript and Enter seeks as a click does", async () => {
      const { page } = await startedLesson();
      const trans = frame(page, "tq_trans");
      await seekTo(page, 2);
      await waitMarked(page, "tq_trans", { id: "s1" });
      await trans.focus(".segment[tabindex='0']");
      assert.equal((await focused(page)).id, "s1");
      await page.keyboard.press("ArrowDown");
      await page.keyboard.press("ArrowDown");
      assert.deepEqual(await focused(page), { frame: "tq_trans", id: "s3", role: "option" });
      await page.keyboard.press("ArrowUp");
      assert.equal((await focused(page)).id, "s2");
      // Only the focused segment is a tab stop.
      assert.deepEqual(await trans.evaluate(() => [...document.querySelectorAll("[tabindex]")].map((e) => e.id)), ["s2"]);
      await page.keyboard.press("Enter");
      assert.ok(Math.abs((await videoTime(page)) - 25) < 0.5);
      await waitMarked(page, "tq_trans", { id: "s2" });
      await page.keyboard.press("End");
      assert.equal((await focused(page)).id, await trans.evaluate(() => [...document.querySelectorAll(".segment")].at(-1).id));
      await page.keyboard.press(" ");
      assert.ok((await videoTime(page)) > 1700);
    });

    test("in the table of contents Left and Right fold and open branches and climb the tree", async () => {
      const { page } = await startedLesson();
      const toc = frame(page, "tq_toc");
      const branch = () => toc.evaluate(() => document.getElementById("c3").parentElement.style.display);
      await toc.focus(".segment[tabindex='0']");
      await page.keyboard.press("Home");
      await page.keyboard.press("ArrowDown");
      assert.equal((await focused(page)).id, "c2");
      assert.equal(await toc.getAttribute("#c2", "aria-expanded"), "true");
      await page.keyboard.press("ArrowLeft");
      assert.equal(await branch(), "none");
      assert.equal(await toc.getAttribute("#c2", "aria-expanded"), "false");
      // A folded branch is skipped by the arrows.
      await page.keyboard.press("ArrowDown");
      assert.equal((await focused(page)).id, "c6");
      await page.keyboard.press("ArrowUp");
      await page.keyboard.press("ArrowRight");
      assert.equal(await branch(), "block");
      assert.equal(await toc.getAttribute("#c2", "aria-expanded"), "true");
      await page.keyboard.press("ArrowRight");
      assert.equal((await focused(page)).id, "c3");
      await page.keyboard.press("ArrowLeft");
      assert.equal((await focused(page)).id, "c2");
      await page.keyboard.press("ArrowDown");
      await page.keyboard.press("Enter");
      assert.ok(Math.abs((await videoTime(page)) - 150) < 0.5);
    });

    test("the notes' edit bar and a sync tag's buttons work from the keyboard", async () => {
      const { page } = await startedLesson();
      const notes = frame(page, "tq_trans");
      await seekTo(page, 60);
      await chooseTranscript(page, "Notas");
      await notes.waitForSelector("#editbar[role=toolbar]");
      await notes.click("#notes");
      await page.keyboard.type("hola");
      await page.keyboard.press("Control+a");
      await notes.focus("#bold");
      await page.keyboard.press("Enter");
      assert.match(await notes.evaluate(() => document.getElementById("notes").innerHTML), /<b>hola<\/b>/);
      await notes.click("#notes");
      await page.keyboard.press("End");
      await page.keyboard.press("Control+t");
      await notes.waitForSelector("#notes .tq_syncTag");
      const value = () => notes.evaluate(() => document.querySelector("#notes .tq_syncValue").value);
      assert.equal(await value(), "00:01:00");
      await notes.focus("#notes .tq_increment");
      await page.keyboard.press("Enter");
      assert.equal(await value(), "00:01:01");
      await seekTo(page, 5);
      await notes.focus("#notes .tq_sync");
      await page.keyboard.press(" ");
      assert.ok(Math.abs((await videoTime(page)) - 61) < 0.5);
    });
  });

  describe("screen readers", () => {
    test("aria-current follows the video, written once per change and never by an unchanged tick", async () => {
      const { page } = await startedLesson();
      await seekTo(page, 30);
      await page.evaluate(() => window.fireTick());
      const watch = () =>
        page.evaluate(() => {
          window.ariaWrites = [];
          for (const name of ["tq_toc", "tq_trans"]) {
            const doc = document.querySelector(`iframe[name="${name}"]`).contentDocument;
            new MutationObserver((records) => window.ariaWrites.push(...records.map((r) => `${name}#${r.target.id}`))).observe(
              doc,
              { subtree: true, attributes: true, attributeFilter: ["aria-current"] },
            );
          }
        });
      const current = (name) =>
        frame(page, name).evaluate(() => [...document.querySelectorAll("[aria-current]")].map((e) => `${e.id}=${e.getAttribute("aria-current")}`));
      assert.deepEqual(await current("tq_trans"), ["s2=true"]);
      assert.deepEqual(await current("tq_toc"), ["c1=true"]);
      await watch();
      await seekTo(page, 150);
      await page.evaluate(() => window.fireTick());
      await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 0)));
      assert.deepEqual(await current("tq_trans"), ["s7=true"]);
      assert.deepEqual(await current("tq_toc"), ["c3=true"]);
      assert.deepEqual((await page.evaluate(() => window.ariaWrites)).sort(), ["tq_toc#c1", "tq_toc#c3", "tq_trans#s2", "tq_trans#s7"]);

      // A hundred ticks at the same place write nothing to any document.
      const writes = await page.evaluate(() => {
        const docs = [document, ...["tq_toc", "tq_trans"].map((n) => document.querySelector(`iframe[name="${n}"]`).contentDocument)];
        const observers = docs.map((doc) => {
          const observer = new MutationObserver(() => {});
          observer.observe(doc, { subtree: true, childList: true, attributes: true, characterData: true });
          return observer;
        });
        for (let i = 0; i < 100; i++) window.fireTick();
        return observers.reduce((sum, observer) => sum + observer.takeRecords().length, 0);
      });
      assert.equal(writes, 0);
    });

    test("single-segment mode speaks each new segment through a polite live region", async () => {
      const { page } = await startedLesson();
      const trans = frame(page, "tq_trans");
      await page.click("#tq_single");
      await seekTo(page, 60);
      await waitMarked(page, "tq_trans", { id: "s3" });
      const live = () => trans.evaluate(() => {
        const region = document.querySelector("[aria-live]");
        return [region.getAttribute("aria-live"), region.textContent];
      });
      await trans.waitForFunction(() => document.querySelector("[aria-live]").textContent.includes("No hace falta"));
      assert.deepEqual(await live(), ["polite", "00:58 No hace falta ningún conocimiento previo; basta con tener a mano una cámara o incluso un teléfono móvil."]);
      await seekTo(page, 82);
      await trans.waitForFunction(() => document.querySelector("[aria-live]").textContent.startsWith("01:20"));
      // Back in scroll mode the region stays quiet.
      await page.click("#tq_scroll");
      await seekTo(page, 106);
      await waitMarked(page, "tq_trans", { id: "s5" });
      assert.match((await live())[1], /^01:20/);
    });
  });

  // Each state a student reaches, audited by axe in every frame.
  describe("the axe audit", () => {
    const clickAndWait = (selector, done) => async (page) => {
      await page.click(selector);
      await page.waitForFunction(done);
    };
    const STATES = [
      ["at the start", async () => {}],
      ["in single-segment mode", clickAndWait("#tq_single", () => document.getElementById("tq_single").getAttribute("aria-pressed") === "true")],
      ["with the video alone", clickAndWait("#modevideo", () => document.getElementById("tra").style.display === "none")],
      [
        "with the notes and a sync tag",
        async (page) => {
          const notes = await notesShown(page);
          await notes.click("#notes");
          await page.keyboard.press("Control+t");
          await notes.waitForSelector("#notes .tq_syncTag");
        },
      ],
      ["with the save-changes dialog open", (page) => changesDialogOpen(page, "newnotes")],
      ["with the way back to the video shown", readingAway],
      ["with the transcript menu open", clickAndWait("#tq_sel .tq_select", () => document.getElementById("tq_selOps1").style.visibility === "visible")],
      ["with the list of the video's keys open", async (page) => {
        await page.keyboard.press("?");
        await page.waitForFunction(() => document.getElementById("tq_keys").open);
      }],
    ];
    for (const [state, reach] of STATES) {
      test(`no violation ${state}`, async () => {
        const { page } = await startedLesson();
        await reach(page);
        assert.deepEqual(await auditViolations(page), []);
      });
    }
  });

  // Where the keyboard lands after what a student does.
  describe("the focus", () => {
    const DIALOG_ANSWERS = [
      ["Escape", "newnotes", (page) => page.keyboard.press("Escape")],
      ["Cancelar", "opennotes", (page, dialog) => dialog.click("#cancel")],
      ["No", "newnotes", (page, dialog) => dialog.click("#no")],
    ];
    for (const [answer, opener, give] of DIALOG_ANSWERS) {
      test(`the save-changes dialog, named by its page, starts on its first button and goes back to ${opener} after ${answer}`, async () => {
        const { page } = await startedLesson();
        const dialog = await changesDialogOpen(page, opener);
        const title = await dialog.evaluate(() => document.title);
        assert.ok(title);
        const names = await page.evaluate(() => [document.querySelector("dialog[open]").getAttribute("aria-label"), document.querySelector("dialog[open] iframe").title]);
        assert.deepEqual(names, [title, title]);
        assert.deepEqual(await focused(page), { frame: title, id: "yes", role: "" });
        await give(page, dialog);
        await page.waitForFunction(() => !document.querySelector("dialog[open]"));
        assert.deepEqual(await focused(page), { frame: "tq_trans", id: opener, role: "button" });
      });
    }

    // An old page has no bar of its own: the layer makes one.
    function withoutBar() {
      document.addEventListener("DOMContentLoaded", () => document.querySelector(".tq_followBack")?.remove());
    }
    for (const [whose, before] of [["the page's", undefined], ["an old page's", withoutBar]]) {
      test(`${whose} way back to the video is announced, covers neither end of the list, and leads to the current segment`, async () => {
        const { page } = await startedLesson(before);
        const trans = frame(page, "tq_trans");
        await readingAway(page);
        assert.equal(await trans.evaluate(() => document.querySelector(".tq_live").textContent), "Volver al vídeo");
        const covers = (id, top) =>
          trans.evaluate(([segmentId, to]) => {
            document.scrollingElement.scrollTo(0, to);
            const bar = document.querySelector(".tq_followBack").getBoundingClientRect();
            const text = document.getElementById(segmentId).getBoundingClientRect();
            return text.top < bar.bottom && text.bottom > bar.top;
          }, [id, top]);
        assert.deepEqual([await covers("s1", 0), await covers("s60", 1e6)], [false, false]);
        await trans.focus(".tq_followBack");
        await page.keyboard.press("Enter");
        assert.deepEqual(await focused(page), { frame: "tq_trans", id: "s30", role: "option" });
        assert.equal(await inView(page, "tq_trans", "s30"), true);
      });
    }

    // The list's tab stops, each marked when hidden.
    const tabStop = (page, name) =>
      frame(page, name).evaluate(() =>
        [...document.querySelectorAll("#iText [tabindex='0']")].map((s) => `${s.id}${s.getClientRects().length ? "" : " hidden"}`).join(" "),
      );

    test("in single-segment mode the tab stop is the segment shown, and the keyboard follows it there", async () => {
      const { page } = await startedLesson();
      const trans = frame(page, "tq_trans");
      await seekTo(page, 2);
      await waitMarked(page, "tq_trans", { id: "s1" });
      await trans.focus(".segment[tabindex='0']");
      for (let i = 0; i < 3; i++) await page.keyboard.press("ArrowDown");
      await page.focus("#tq_single");
      assert.equal(await tabStop(page, "tq_trans"), "s4");
      await page.keyboard.press("Enter");
      await trans.waitForFunction(() => document.getElementById("iText").getAttribute("tq_mode") === "single");
      await page.evaluate(() => window.fireTick());
      assert.equal(await tabStop(page, "tq_trans"), "s1");
      // On the segment as it goes, the keyboard goes on to the next one.
      await trans.focus(".segment[tabindex='0']");
      await seekTo(page, 82);
      await waitMarked(page, "tq_trans", { id: "s4" });
      assert.equal(await tabStop(page, "tq_trans"), "s4");
      assert.deepEqual(await focused(page), { frame: "tq_trans", id: "s4", role: "option" });
    });

    test("a branch folded by the mouse over the tab stop hands it to the branch's entry", async () => {
      const { page } = await startedLesson();
      await seekTo(page, 150);
      await waitMarked(page, "tq_toc", { id: "c3" });
      assert.equal(await tabStop(page, "tq_toc"), "c3");
      await frame(page, "tq_toc").click("img.expander:has(+ #c2)");
      assert.equal(await tabStop(page, "tq_toc"), "c2");
    });
  });

  describe("the console", () => {
    test("the notes page in the transcript frame gives one tick-failure line in ten seconds", async () => {
      const { page, messages } = await startedLesson();
      await chooseTranscript(page, "Notas");
      await frame(page, "tq_trans").waitForSelector("#editbar");
      await sleep(10000);
      assert.deepEqual(pageErrors(messages), [NOTES_PAGE_TICKS]);
      assert.equal(messages.filter((m) => m.startsWith("debug: reVoziz: the page in tq_trans")).length, 1);
      // After ticks that succeed, the same failure is worth a line again.
      await chooseTranscript(page, "English");
      await frame(page, "tq_trans").waitForSelector("#iText[role=listbox]");
      await waitMarked(page, "tq_trans");
      await chooseTranscript(page, "Notas");
      await frame(page, "tq_trans").waitForSelector("#editbar");
      await sleep(1500);
      assert.deepEqual(pageErrors(messages), [NOTES_PAGE_TICKS, NOTES_PAGE_TICKS]);
    });

    test("a click on the page below its content, outside the body, fails nothing", async () => {
      const { page, messages } = await startedLesson();
      assert.equal(await page.evaluate(() => document.elementFromPoint(640, 880)?.tagName), "HTML");
      await page.mouse.click(640, 880);
      await page.mouse.move(640, 870);
      await sleep(100);
      assert.deepEqual(messages, []);
    });
  });
});
