// The lesson's video as a student meets it with the browser's own autoplay
// policy: never muted, started or waiting behind its controls, started with
// sound by a click, driven by the keys of common players on the page and in
// its frames (never while typing), captions in the transcript's language where
// the transcript is out of view, and the list of keys in a dialog.

import assert from "node:assert/strict";
import { test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { inEachBrowser } from "./browsers.mjs";
import { chooseTranscript, frame, pageErrors, startedLessonIn, typeNotes, videoAdvances } from "./lesson_browser.mjs";

const video = (page) =>
  page.evaluate(() => {
    const v = document.getElementById("mp");
    const box = v.getBoundingClientRect();
    const [paused, muted, volume, rate] = [v.paused, v.muted, v.volume, v.playbackRate];
    const captions = [...v.textTracks].find((t) => t.mode === "showing")?.language ?? "";
    const controlsInView = v.controls && box.bottom <= innerHeight && box.right <= innerWidth;
    const sound = v.mozHasAudio ?? v.webkitAudioDecodedByteCount > 0; // as the browser found it
    const [time, fullscreen] = [Math.round(v.currentTime * 100) / 100, document.fullscreenElement === v];
    return { paused, muted, volume, rate, captions, controlsInView, sound, time, fullscreen };
  });
const pick = (state, wanted) => Object.fromEntries(Object.keys(wanted).map((name) => [name, state[name]]));

// What the video shows of `wanted` once it does, or after 2 s.
async function settled(page, wanted) {
  let now;
  for (let i = 0; i < 40 && JSON.stringify(now) !== JSON.stringify(wanted); i++, await sleep(50)) {
    now = pick(await video(page), wanted);
  }
  return now;
}

// Where the keyboard's focus is: "FRAME#ID" ("" for the lesson page).
const focused = (page) =>
  page.evaluate(() => {
    let [name, element] = ["", document.activeElement];
    while (element?.tagName === "IFRAME") [name, element] = [element.name, element.contentDocument.activeElement];
    return `${name}#${element?.id || element?.tagName}`;
  });

// Keys pressed on the body of the lesson page or of a frame, from the paused
// video at 100 s, and what they change.
const KEYS = [
  [["k"], { paused: false }],
  [[" "], { paused: false }],
  [["k", "k"], { paused: true }],
  [["l", "j", "j"], { time: 90 }],
  [["ArrowRight", "ArrowRight", "ArrowLeft"], { time: 105 }],
  [["m"], { muted: true }],
  [[">", ">", "<"], { rate: 1.25 }],
  [["c"], { captions: "es" }],
  [["f"], { fullscreen: true }],
  [["f", "f"], { fullscreen: false }],
  [["Alt+l", "Control+m"], { time: 100, muted: false }],
];

const keyScenarios = ["", "tq_toc"].flatMap((place) =>
  KEYS.map(([keys, changes]) => [
    `${keys.join(" ")} on ${place || "the lesson page"}`,
    async (page) => {
      await page.evaluate(() => Object.assign(document.getElementById("mp"), { currentTime: 100 }).pause());
      if (place) await frame(page, place).evaluate(() => window.focus());
      for (const key of keys) await page.keyboard.press(key);
      assert.deepEqual(await settled(page, changes), changes);
    },
  ]),
);

// [name, run on a started lesson, the browser's options]
const SCENARIOS = [
  ["starts with sound, or waits paused behind its controls in view and reached by Tab; a click plays it with sound", async (page, messages) => {
    const start = await video(page);
    assert.equal(start.muted, false);
    if (start.paused) {
      assert.equal(start.controlsInView, true);
      for (let i = 0; i < 20 && (await focused(page)) !== "#mp"; i++) await page.keyboard.press("Tab");
      assert.equal(await focused(page), "#mp");
      await page.click("#mp");
    }
    await videoAdvances(page, 0.5);
    const playing = await video(page);
    assert.deepEqual(pick(playing, { paused: 0, muted: 0, sound: 0 }), { paused: false, muted: false, sound: true });
    assert.ok(playing.volume > 0);
    assert.deepEqual(pageErrors(messages), []); // a refused start says nothing
  }],
  ...keyScenarios,
  ["keys type into the notes; the arrows move within the transcript", async (page) => {
    await page.evaluate(() => Object.assign(document.getElementById("mp"), { currentTime: 100 }).pause());
    const trans = frame(page, "tq_trans");
    await trans.focus(".segment[tabindex='0']");
    const next = await trans.evaluate(() => document.activeElement.nextElementSibling.id);
    for (const key of ["ArrowDown", "ArrowRight"]) await page.keyboard.press(key);
    assert.equal(await focused(page), `tq_trans#${next}`);
    await chooseTranscript(page, "Notas");
    await typeNotes(trans, "k m f j");
    assert.match(await trans.textContent("#notes"), /k m f j/);
    const still = { paused: true, time: 100, muted: false, fullscreen: false };
    assert.deepEqual(pick(await video(page), still), still);
  }],
  ["captions follow the transcript's language, show where it is out of view, and stay off once turned off", async (page) => {
    const steps = [
      [() => chooseTranscript(page, "English"), ""], // the transcript shows the words
      [() => chooseTranscript(page, "Notas"), "en"], // the notes keep the last language
      [() => chooseTranscript(page, "Español"), ""],
      [() => page.click("#modevideo"), "es"],
      [() => page.keyboard.press("c"), ""],
      [() => page.click("#modefull").then(() => page.click("#modevideo")), ""],
      [() => page.keyboard.press("c"), "es"],
    ];
    for (const [step, captions] of steps) {
      await step();
      assert.deepEqual(await settled(page, { captions }), { captions });
    }
  }],
  ["? opens the named list of keys at its close button; Escape gives the focus back", async (page) => {
    await frame(page, "tq_trans").focus(".segment[tabindex='0']");
    const from = await focused(page);
    await page.keyboard.press("?");
    const dialog = () =>
      page.evaluate(() => {
        const d = document.getElementById("tq_keys");
        const name = document.getElementById(d.getAttribute("aria-labelledby")).textContent;
        return { open: d.open, name, focus: document.activeElement.textContent };
      });
    assert.deepEqual(await dialog(), { open: true, name: "Teclas del vídeo", focus: "Cerrar" });
    await page.keyboard.press("Escape");
    assert.equal((await dialog()).open, false);
    // The dialog's close event, which gives the focus back, comes a task later.
    let now;
    for (let i = 0; i < 40 && (now = await focused(page)) !== from; i++) await sleep(50);
    assert.equal(now, from);
  }],
  ["with less motion asked for, the start does not play; a click on a segment does", async (page) => {
    assert.equal(await page.evaluate(() => window.plays ?? 0), 0);
    assert.equal((await video(page)).controlsInView, true);
    await frame(page, "tq_trans").click("#s14");
    await page.waitForFunction(() => !document.getElementById("mp").paused);
  }, { reducedMotion: true }],
];

// Counts the plays asked of any media element, as they are made.
function countPlays() {
  const play = HTMLMediaElement.prototype.play;
  HTMLMediaElement.prototype.play = function () {
    window.plays = (window.plays ?? 0) + 1;
    return play.call(this);
  };
}

for (const reducedMotion of [false, true]) {
  const title = reducedMotion ? "the lesson's video, less motion" : "the lesson's video";
  inEachBrowser(title, (lessons) => {
    for (const [name, run, options = {}] of SCENARIOS) {
      if (Boolean(options.reducedMotion) !== reducedMotion) continue;
      test(name, async () => {
        const { page, messages } = await startedLessonIn(lessons, { before: countPlays });
        await run(page, messages);
      });
    }
  }, { reducedMotion });
}
