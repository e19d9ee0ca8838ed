// Shared setup of the browser tests: one lesson server over the repository
// and one headless Chromium for a test file; each test opens its own page.

import { readFile } from "node:fs/promises";
import path from "node:path";
import { setTimeout as sleep } from "node:timers/promises";
import { fileURLToPath } from "node:url";

import { chromium } from "playwright-core";

import { startServer } from "../../web/serve.mjs";

export const repository = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");

const CHROMIUM_FLAGS = [
  "--no-sandbox",
  "--disable-gpu",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
  "--no-first-run",
  "--disable-quic",
  // Lets a test collect garbage, to see what the host layer forgets.
  "--js-flags=--expose-gc",
];

// The lesson server of a test file: the repository, and the module beside it.
// The benchmark's page is isolated, for the browser's finer clock.
export const lessonServer = () =>
  startServer({
    port: 0,
    mounts: { "/": repository, "/revoziz/": path.join(repository, "build-web/web") },
    isolated: ["/bench/web/"],
  });

// `hostName`, a made-up name that the browser resolves to the test server,
// serves the lessons from a plain-HTTP origin other than localhost: one that
// is no secure context. `reducedMotion`: a student who asked for less motion;
// `colorScheme`: the scheme the student's system asks for.
export async function openBrowser({ hostName = "localhost", reducedMotion = false, colorScheme = "light" } = {}) {
  const server = await lessonServer();
  const resolving = hostName === "localhost" ? [] : [`--host-resolver-rules=MAP ${hostName} 127.0.0.1`];
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: [...CHROMIUM_FLAGS, ...resolving],
    headless: true,
  });
  const base = `http://${hostName}:${server.address().port}`;
  return {
    base,
    browser,
    server,
    // A fresh page on `lesson` (a path under the repository), with every
    // console message and page error collected. `before` runs in every
    // document of the page before its own scripts; `touch` makes it a phone's
    // page, with a touch screen.
    async open(lesson = "lessons/sample/index.html", { viewport = { width: 1280, height: 900 }, before, touch = false } = {}) {
      const page = await browser.newPage({
        viewport,
        hasTouch: touch,
        isMobile: touch,
        reducedMotion: reducedMotion ? "reduce" : "no-preference",
        colorScheme,
      });
      const messages = [];
      page.on("console", (m) => messages.push(`${m.type()}: ${m.text()}`));
      page.on("pageerror", (e) => messages.push(`pageerror: ${e.message}`));
      if (before) await page.addInitScript(before);
      await page.goto(`${base}/${lesson}`);
      return { page, messages };
    },
    // The name and bytes (as Latin-1 text) of the download that `start` makes.
    async downloaded(page, start) {
      const download = page.waitForEvent("download");
      await start();
      const done = await download;
      return { name: done.suggestedFilename(), text: await readFile(await done.path(), "latin1") };
    },
    async close() {
      await browser.close();
      await new Promise((resolve) => server.close(resolve));
    },
  };
}

// What a test counts as the page's own errors among the collected console
// messages: all but the host layer's debug lines (a page without a list in a
// list's frame, a tick that failed while the lesson still loaded).
export const pageErrors = (messages) => messages.filter((m) => !m.startsWith("debug: "));

// The error line of the ticks while the notes page holds the transcript
// frame: that page has no list to mark.
export const NOTES_PAGE_TICKS = "error: reVoziz: a tick failed: Object doesn't support this property or method: iText (438)";

// The page's errors once `line` is among the messages, or 3 s have passed
// without it: a tick comes every 500 ms.
export async function errorsOnceLogged(messages, line) {
  for (let i = 0; i < 60 && !messages.includes(line); i++) await sleep(50);
  return pageErrors(messages);
}

// The frame of the lesson page with that name.
export const frame = (page, name) => page.frame({ name });

// Waits until the control has started and both lists carry a marking.
export async function lessonStarted(page) {
  await page.waitForFunction(() => window.tqStarted === true);
  for (const name of ["tq_toc", "tq_trans"]) {
    await frame(page, name).waitForFunction(() =>
      [...document.querySelectorAll("#iText .segment")].some((s) => s.getAttribute("style")),
    );
  }
}

// In the page: the segment a list should mark for the video's position (the
// last shown segment that starts at or before the position in whole seconds,
// halves to even; the first one before them all), and the one it marks.
function listState(name) {
  const t = document.getElementById("mp").currentTime;
  const rounded = Math.round(t);
  const whole = Math.abs(t % 1) === 0.5 && rounded % 2 ? rounded - 1 : rounded;
  const doc = document.querySelector(`iframe[name="${name}"]`).contentDocument;
  const seconds = (code) => code.split(":").reduce((sum, part) => sum * 60 + Number(part), 0);
  const segments = [...doc.querySelectorAll("#iText div.segment")];
  const shown = segments.filter((s) => s.offsetHeight > 0);
  let expected = shown[0] ?? segments[0];
  for (const s of shown) if (seconds(s.getAttribute("tq_start")) <= whole) expected = s;
  const marked = segments.filter((s) => s.getAttribute("style")).map((s) => s.id).join(",");
  return { expected: expected?.id, marked, time: t };
}

// A lesson opened in `lessons` (either browser's) once its control has started.
export async function startedLessonIn(lessons, options) {
  const opened = await lessons.open(undefined, options);
  await lessonStarted(opened.page);
  return opened;
}

// Waits until the list marks the segment that holds the video's position
// (or the segment `id`), within `timeout` ms: a tick comes every 500 ms.
export async function waitMarked(page, frameName, { id, timeout = 1200 } = {}) {
  try {
    await page.waitForFunction(
      ([name, wanted, state]) => {
        const s = new Function(`return (${state})`)()(name);
        return s.marked === (wanted ?? s.expected) && s.marked !== "";
      },
      [frameName, id, listState.toString()],
      { timeout, polling: 50 },
    );
  } catch (error) {
    const state = await page.evaluate(([name, state]) => new Function(`return (${state})`)()(name), [
      frameName,
      listState.toString(),
    ]);
    throw new Error(`${frameName} did not mark ${id ?? state.expected} in time: ${JSON.stringify(state)}`);
  }
}

// The list's marking as it stands, and what the video's position asks for.
export const listNow = (page, frameName) =>
  page.evaluate(([name, state]) => new Function(`return (${state})`)()(name), [frameName, listState.toString()]);

// The video playing, as the student gets it: where the browser did not start
// it by itself (its default autoplay policy), a click on the video does.
export async function playedByStudent(page) {
  await page.waitForFunction(() => {
    const v = document.getElementById("mp");
    return !v.paused || v.controls;
  });
  if (await page.evaluate(() => document.getElementById("mp").paused)) await page.click("#mp");
  await page.waitForFunction(() => !document.getElementById("mp").paused);
}

// Waits until the video's clock has moved on by `seconds` from now: a
// condition on the lesson's own time, so that at least that many ticks ran.
export async function videoAdvances(page, seconds) {
  const from = await page.evaluate(() => document.getElementById("mp").currentTime);
  await page.waitForFunction(
    ([start, by]) => document.getElementById("mp").currentTime >= start + by,
    [from, seconds],
    { timeout: 10000 },
  );
}

// Whether the element with that id lies inside its frame's visible area.
export function inView(page, frameName, id) {
  return frame(page, frameName).evaluate((segmentId) => {
    const r = document.getElementById(segmentId).getBoundingClientRect();
    return r.top >= 0 && r.bottom <= document.documentElement.clientHeight;
  }, id);
}

// Chooses a page of the transcript menu by its label, and waits until it shows.
export async function chooseTranscript(page, label) {
  const wanted = { Notas: "notes.html", English: "trans_en.html", "Español": "trans_es.html" }[label];
  await page.click(".tq_select");
  // The option that loads a page names it (a choice swaps the options' pages).
  await page.click(`.tq_option[tq_href$="/${wanted}"], .tq_option[tq_href="${wanted}"]`);
  await page.waitForFunction(
    (file) => {
      const doc = document.querySelector('iframe[name="tq_trans"]').contentDocument;
      return doc.URL.endsWith(file) && doc.readyState === "complete";
    },
    wanted,
  );
}

// Types into the notes editor of the notes frame `notes`.
export async function typeNotes(notes, text) {
  await notes.click("#notes");
  await notes.page().keyboard.type(text);
}
