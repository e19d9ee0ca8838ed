// The tick on long lists in Chromium (the page of bench/web): unchanged ticks
// leave the page alone, and whatever the page changes between two ticks
// shows at the second, as a fresh walk over the list would find it.

import assert from "node:assert/strict";
import { after, before, test } from "node:test";

import { openBrowser } from "./lesson_browser.mjs";

let lessons;
let page;
before(async () => {
  lessons = await openBrowser();
  ({ page } = await lessons.open("bench/web/index.html?segments=2000"));
  await page.waitForFunction(() => window.lessonBench !== undefined, null, { timeout: 60000 });
});
after(async () => {
  await lessons.close();
});

test("100 unchanged ticks on 2,000 segments make no change to either list", async () => {
  const mutations = await page.evaluate(() => window.lessonBench.mutationsOverTicks(1500, 100));
  assert.equal(mutations, 0);
});

test("a change between two ticks that can move the answer shows at the second; one that cannot keeps the walk", async () => {
  const outcomes = await page.evaluate(async () => {
    const { changeStamp } = await import("/revoziz/change_stamp.js");
    const bench = window.lessonBench;
    const [, doc] = bench.documents;
    const iText = doc.getElementById("iText");
    const sheet = doc.getElementById("tq_style").sheet;
    const seconds = (code) => code.split(":").reduce((sum, part) => sum * 60 + Number(part), 0);
    const segment = (k) => doc.getElementById(`s${k}`);
    const at = (k) => k * bench.secondsPerSegment + 1; // inside segment k

    // What a walk over the whole list finds, read afresh.
    const expected = (time) => {
      let current = iText;
      let single;
      for (const el of iText.getElementsByTagName("DIV")) {
        if (el.className !== "segment") continue;
        single ??= (iText.getAttribute("tq_mode") ?? "").toLowerCase() === "single";
        if (!single && el.offsetHeight <= 0) continue;
        if (seconds(el.getAttribute("tq_start")) <= time) {
          current = el;
          continue;
        }
        if (current === iText) current = el;
        break;
      }
      return current;
    };
    const name = (el) => (el === iText ? "iText" : el.id || "(new)");
    const found = (time) => name(bench.tq.getCurrentSegment(iText, time));

    // A button beside the list, as a page shows one above it.
    const button = doc.createElement("button");
    doc.body.prepend(button);

    // Each case works on its own stretch of the list, segments k to k + 9,
    // with the position inside segment k: [what, prepare, change], and for
    // the changes that cannot move the answer, `keeps`.
    const keeps = true;
    const cases = [
      ["aria-current", null, (k) => segment(k + 1).setAttribute("aria-current", "true"), keeps],
      [
        "a tabindex moved",
        (k) => segment(k).setAttribute("tabindex", "0"),
        (k) => {
          segment(k).removeAttribute("tabindex");
          segment(k + 1).setAttribute("tabindex", "0");
        },
        keeps,
      ],
      ["a title", null, (k) => (segment(k).title = "Segment"), keeps],
      ["a data- attribute of the body", null, (k) => (doc.body.dataset.seen = k), keeps],
      ["text inside a segment", null, (k) => (segment(k).lastChild.data += " and more"), keeps],
      ["a segment's label replaced", null, (k) => (segment(k).querySelector(".sync").textContent = "label"), keeps],
      ["a button beside the list shown", () => (button.hidden = true), () => (button.hidden = false), keeps],
      ["a class beside the list", null, (k) => (button.className = `b${k}`), keeps],
      ["a layer appended to the body", null, () => doc.body.append(doc.createElement("div")), keeps],
      [
        "an attribute that a rule only painting selects",
        (k) => sheet.insertRule(`#s${k}[data-flag] { color: red; outline: 1px solid }`),
        (k) => segment(k).setAttribute("data-flag", ""),
        keeps,
      ],
      [
        "a node beside the list that a rule by the tree's shape reads",
        (k) => sheet.insertRule(`body:has(.hide${k}) #s${k} { display: none }`),
        (k) => doc.body.append(Object.assign(doc.createElement("span"), { className: `hide${k}` })),
      ],
      ["an aria- attribute that a layout rule selects", (k) => sheet.insertRule(`#s${k}[aria-hidden] { display: none }`), (k) => segment(k).setAttribute("aria-hidden", "true")],
      ["a class of the body", (k) => sheet.insertRule(`.hide${k} #s${k} { display: none }`), (k) => (doc.body.className = `hide${k}`)],
      ["a segment's last text removed", null, (k) => (segment(k).textContent = "")],
      ["class", null, (k) => (segment(k).className = "Segment")],
      ["inline style", null, (k) => (segment(k).style.display = "none")],
      ["inline style through its text", null, (k) => segment(k).setAttribute("style", "display: none")],
      ["a new tq_style rule", null, (k) => sheet.insertRule(`#s${k} { display: none }`, sheet.cssRules.length)],
      [
        "a tq_style rule's property",
        (k) => sheet.insertRule(`#s${k} { color: blue }`, sheet.cssRules.length),
        () => (sheet.cssRules[sheet.cssRules.length - 1].style.display = "none"),
      ],
      [
        "a tq_style rule set by the control",
        (k) => sheet.insertRule(`#s${k} { color: blue }`, sheet.cssRules.length),
        (k) => bench.tq.addStyle(sheet, `#s${k}`, "display", "none"),
      ],
      [
        "display of an ancestor",
        (k) => segment(k).before(doc.createElement("div")),
        (k) => {
          const wrapper = segment(k).previousElementSibling;
          wrapper.append(segment(k));
          bench.tick();
          wrapper.style.display = "none";
        },
      ],
      [
        "an added segment",
        null,
        (k) => segment(k).insertAdjacentHTML("afterend", `<div class="segment" tq_start="${segment(k).getAttribute("tq_start")}">New</div>`),
      ],
      [
        "a removed segment",
        null,
        (k) => {
          segment(k).remove();
          iText.setAttribute("tq_oldSegment", ""); // it named the removed one
        },
      ],
      ["a tq_start edit", null, (k) => segment(k).setAttribute("tq_start", segment(k + 1).getAttribute("tq_start"))],
      [
        "a text that gives an empty segment its height",
        (k) => {
          segment(k + 1).textContent = "";
          segment(k + 1).setAttribute("tq_start", segment(k).getAttribute("tq_start"));
        },
        (k) => (segment(k + 1).textContent = "back"),
      ],
      [
        "a rule's property in another sheet",
        (k) => doc.head.insertAdjacentHTML("beforeend", `<style id="other${k}">#s${k} { color: blue }</style>`),
        (k) => (doc.getElementById(`other${k}`).sheet.cssRules[0].style.display = "none"),
      ],
      [
        "a rule's property through the typed object model",
        (k) => sheet.insertRule(`#s${k} { color: blue }`, sheet.cssRules.length),
        () => sheet.cssRules[sheet.cssRules.length - 1].styleMap.set("display", "none"),
      ],
      [
        "a media rule's media",
        (k) => sheet.insertRule(`@media print { #s${k} { display: none } }`, sheet.cssRules.length),
        () => (sheet.cssRules[sheet.cssRules.length - 1].media.mediaText = "all"),
      ],
      ["tq_mode", (k) => (segment(k).style.display = "none"), () => iText.setAttribute("tq_mode", "Single")],
      ["the frame hidden", null, () => (document.querySelector('iframe[name="tq_trans"]').style.display = "none")],
    ];
    const outcomes = [];
    let k = 100;
    for (const [what, prepare, change, kept = false] of cases) {
      prepare?.(k);
      bench.setPosition(at(k));
      bench.tick();
      const before = found(at(k));
      const stamp = changeStamp(doc);
      change(k);
      const stampHeld = changeStamp(doc) === stamp;
      // What the tick's walk finds, then what the tick marks with it.
      const after = found(at(k));
      const fresh = name(expected(at(k)));
      bench.tick();
      const marked = [...iText.getElementsByTagName("DIV")].filter(
        (el) => el.style.backgroundColor || el.style.display === "inline",
      );
      outcomes.push({ what, kept, stampHeld, before, after, expected: fresh, marked: marked.map(name) });
      iText.setAttribute("tq_mode", "scroll");
      document.querySelector('iframe[name="tq_trans"]').style.display = "";
      k += 60;
    }
    return outcomes;
  });
  const problems = [];
  for (const { what, kept, stampHeld, before, after, expected, marked } of outcomes) {
    if (after !== expected) problems.push(`${what}: the tick found ${after}, a fresh walk ${expected}`);
    if (kept !== stampHeld) problems.push(`${what}: the stamp ${stampHeld ? "held" : "moved"}`);
    if (!kept && after === before) problems.push(`${what}: the change should move the answer from ${before}`);
    // No segment counts once the frame is hidden: the marking stays.
    const wanted = after === "iText" ? before : after;
    if (marked.join() !== wanted) problems.push(`${what}: marked ${marked.join()} instead of ${wanted}`);
  }
  assert.deepEqual(problems, []);
});

test("ticks that would change nothing do not enter the module", async () => {
  const outcome = await page.evaluate(async () => {
    const bench = window.lessonBench;
    const { host } = await import("/revoziz/host.js");
    const [, doc] = bench.documents;
    // Every value the module reads from the page is classified by kindOf.
    const kindOf = host.kindOf;
    let calls = 0;
    host.kindOf = (...args) => {
      calls++;
      return kindOf(...args);
    };
    const callsOfTickAt = (position) => {
      bench.setPosition(position);
      calls = 0;
      bench.tick();
      return calls;
    };
    const marked = () => [...doc.querySelectorAll("div.segment")].filter((el) => el.style.backgroundColor).map((el) => el.id).join();
    try {
      const start = 700 * bench.secondsPerSegment; // segment 700 holds seconds 7000 to 7009
      const outcome = { marking: callsOfTickAt(start + 1) > 0, resting: callsOfTickAt(start + 1) > 0 };
      let quiet = 0;
      for (let i = 0; i < 100; i++) quiet += callsOfTickAt(start + 1 + (i % 8));
      outcome.quiet = quiet;
      // 7008.5 rounds to 7008, in segment 700; 7009.5 to 7010, in segment 701.
      outcome.lastHalfInside = callsOfTickAt(start + 8.5);
      outcome.firstHalfOutside = callsOfTickAt(start + 9.5) > 0;
      outcome.marked = marked();
      return outcome;
    } finally {
      host.kindOf = kindOf;
    }
  });
  assert.deepEqual(outcome, {
    marking: true,
    resting: false,
    quiet: 0,
    lastHalfInside: 0,
    firstHalfOutside: true,
    marked: "s701",
  });
});

test("a list that the window's new size restyles is walked afresh at the next tick", async () => {
  const markedAfter = async (viewport) => {
    await page.setViewportSize(viewport);
    return page.evaluate(async () => {
      // The browser tells of a new size by the next frame.
      await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
      window.lessonBench.tick();
      const [, doc] = window.lessonBench.documents;
      return [...doc.querySelectorAll("div.segment")].filter((el) => el.style.backgroundColor).map((el) => el.id).join();
    });
  };
  await page.evaluate(() => {
    const bench = window.lessonBench;
    const [, doc] = bench.documents;
    document.querySelector('iframe[name="tq_trans"]').style.width = "40%";
    const sheet = doc.getElementById("tq_style").sheet;
    sheet.insertRule("@media (max-width: 300px) { #s1800 { display: none } }", sheet.cssRules.length);
    bench.setPosition(1800 * bench.secondsPerSegment + 1);
    bench.tick();
    bench.tick();
  });
  // The frame is 40% of the window: 512 pixels wide, then 280, then 512 again.
  const narrow = await markedAfter({ width: 700, height: 900 });
  const wide = await markedAfter({ width: 1280, height: 900 });
  assert.deepEqual({ narrow, wide }, { narrow: "s1799", wide: "s1800" });
});

test("a hidden page, which gets no resize events, still sees its frames' new size", async () => {
  // Each run on a page of its own whose windows withhold their resize events.
  const markedAfterNarrowing = async (hidden) => {
    const page = await lessons.browser.newPage({ viewport: { width: 1280, height: 900 } });
    try {
      await page.addInitScript(() => {
        window.addEventListener("resize", (event) => event.stopImmediatePropagation(), true);
      });
      await page.goto(`${lessons.base}/bench/web/index.html?segments=2000`);
      await page.waitForFunction(() => window.lessonBench !== undefined, null, { timeout: 60000 });
      await page.evaluate((hidden) => {
        const bench = window.lessonBench;
        const [, doc] = bench.documents;
        document.querySelector('iframe[name="tq_trans"]').style.width = "40%";
        const sheet = doc.getElementById("tq_style").sheet;
        sheet.insertRule("@media (max-width: 300px) { #s1800 { display: none } }", sheet.cssRules.length);
        if (hidden) {
          for (const d of [document, ...bench.documents]) {
            Object.defineProperty(d, "hidden", { get: () => true });
            d.dispatchEvent(new Event("visibilitychange"));
          }
        }
        bench.setPosition(1800 * bench.secondsPerSegment + 1);
        bench.tick();
        bench.tick();
      }, hidden);
      await page.setViewportSize({ width: 700, height: 900 });
      return await page.evaluate(async () => {
        await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
        window.lessonBench.tick();
        const [, doc] = window.lessonBench.documents;
        return [...doc.querySelectorAll("div.segment")].filter((el) => el.style.backgroundColor).map((el) => el.id).join();
      });
    } finally {
      await page.close();
    }
  };
  // Shown, the page relies on the resize event, withheld here: the tick
  // still marks by the old size, which shows the event was all it had.
  assert.deepEqual(
    { shown: await markedAfterNarrowing(false), hidden: await markedAfterNarrowing(true) },
    { shown: "s1800", hidden: "s1799" },
  );
});

// Last: it leaves the page's frames changed.
test("the tick finds each list afresh after its frame or its id changes", async () => {
  const outcomes = await page.evaluate(async () => {
    const bench = window.lessonBench;
    const [tocFrame, transFrame] = document.querySelectorAll("iframe");
    const marked = (frame) =>
      [...frame.contentDocument.querySelectorAll("div.segment")].filter((el) => el.style.backgroundColor).map((el) => el.id).join();
    const tickAt = (segment) => {
      bench.setPosition(segment * bench.secondsPerSegment + 1);
      bench.tick();
    };
    const outcomes = {};
    tickAt(5);

    // A navigation replaces the transcript frame's document.
    const list = (prefix) =>
      `<!DOCTYPE html><div id="iText" tq_insync="1" tq_mode="scroll" tq_refresh="0" tq_oldSegment="" ` +
      `tq_current="background-color: yellow" tq_nonCurrent="">` +
      [0, 1, 2, 3, 4, 5, 6, 7].map((i) => `<div class="segment" id="${prefix}${i}" tq_start="00:00:${i}0">${i}</div>`).join("") +
      `</div>`;
    await new Promise((resolve) => {
      transFrame.addEventListener("load", resolve, { once: true });
      transFrame.srcdoc = list("n");
    });
    tickAt(6);
    outcomes.navigated = marked(transFrame);

    // The table of contents' frame loses its name: the tick fails there, and
    // marks neither list.
    tocFrame.name = "";
    tickAt(7);
    outcomes.unnamed = [marked(tocFrame), marked(transFrame)].join(" ");
    tocFrame.name = "tq_toc";

    // Another element takes the id of the table of contents' list.
    const doc = tocFrame.contentDocument;
    const holder = doc.createElement("div");
    holder.innerHTML = list("m");
    doc.getElementById("iText").id = "";
    doc.body.prepend(holder.firstElementChild);
    tickAt(3);
    outcomes.replaced = marked(tocFrame);
    return outcomes;
  });
  assert.deepEqual(outcomes, {
    navigated: "n6",
    unnamed: "s6 n6",
    replaced: "m3,s6",
  });
});
