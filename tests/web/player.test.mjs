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
    return {
      paused: v.paused,
      time: Math.round(v.currentTime * 100) / 100,
      muted: v.muted,
      volume: v.volume,
      rate: v.playbackRate,
      captions: [...v.textTracks].find((t) => t.mode === "showing")?.language ?? "",
      fullscreen: document.fullscreenElement === v,
      controlsInView: v.controls && box.bottom <= innerHeight && box.right <= innerWidth,
      // Whether the browser found sound in the video, in its own words.
      sound: v.mozHasAudio ?? v.webkitAudioDecodedByteCount > 0,
    };
  });

const pick = (state, names) => Object.fromEntries(names.map((name) => [name, state[name]]));

// The video's `changes` once they show, or what it shows after 2 s.
async function settled(page, changes) {
  let now;
  for (let i = 0; i < 40; i++) {
    now = pick(await video(page), Object.keys(changes));
    if (JSON.stringify(now) === JSON.stringify(changes)) break;
    await sleep(50);
  }
  return now;
}

const pausedAt = (page, seconds) =>
  page.evaluate((t) => {
    const v = document.getElementById("mp");
    v.pause();
    v.currentTime = t;
  }, seconds);

// Where the keyboard's focus is: the frame's name ("" for the page) and the element.
const focused = (page) =>
  page.evaluate(() => {
    let [name, element] = ["", document.activeElement];
    while (element?.tagName === "IFRAME") [name, element] = [element.name, element.contentDocument.activeElement];
    return `${name}#${element?.id || element?.tagName}`;
  });

// Keys pressed with the focus on a frame's page (or the lesson page, ""), on
// its body, from the paused video at 100 s; what they change.
const KEYS = [
  ["k", ["k"], { paused: false }],
  ["Space", [" "], { paused: false }],
  ["k twice", ["k", "k"], { paused: true }],
  ["l", ["l"], { time: 110 }],
  ["j", ["j"], { time: 90 }],
  ["ArrowRight", ["ArrowRight"], { time: 105 }],
  ["ArrowLeft", ["ArrowLeft"], { time: 95 }],
  ["m", ["m"], { muted: true }],
  ["m twice", ["m", "m"], { muted: false }],
  ["> twice", [">", ">"], { rate: 1.5 }],
  ["<", ["<"], { rate: 0.75 }],
  ["c", ["c"], { captions: "es" }],
  ["f", ["f"], { fullscreen: true }],
  ["f twice", ["f", "f"], { fullscreen: false }],
  ["Alt+l, Control+m: not ours", ["Alt+l", "Control+m"], { time: 100, muted: false }],
];
const PLACES = ["", "tq_toc"];

async function pressIn(page, place, keys) {
  if (place) await frame(page, place).evaluate(() => window.focus());
  else await page.evaluate(() => document.activeElement?.blur());
  for (const key of keys) await page.keyboard.press(key);
}

inEachBrowser("the lesson's video", (lessons) => {
  const startedLesson = () => startedLessonIn(lessons);

  test("starts with sound or waits paused behind its own controls, in view and reached by Tab; a click plays it with sound", async () => {
    const { page, messages } = await startedLesson();
    const start = await video(page);
    assert.equal(start.muted, false);
    if (start.paused) {
      assert.equal(start.controlsInView, true);
      let stops = 0;
      while ((await focused(page)) !== "#mp" && stops++ < 20) await page.keyboard.press("Tab");
      assert.equal(await focused(page), "#mp");
      await page.click("#mp");
    }
    await videoAdvances(page, 0.5);
    const playing = await video(page);
    assert.deepEqual(pick(playing, ["paused", "muted", "sound"]), { paused: false, muted: false, sound: true });
    assert.ok(playing.volume > 0);
    assert.deepEqual(pageErrors(messages), []); // a refused start says nothing
  });

  for (const place of PLACES) {
    for (const [name, keys, changes] of KEYS) {
      test(`${name} in ${place || "the lesson page"}`, async () => {
        const { page } = await startedLesson();
        await pausedAt(page, 100);
        await pressIn(page, place, keys);
        assert.deepEqual(await settled(page, changes), changes);
      });
    }
  }

  test("keys type into the notes, and the arrows move within the transcript", async () => {
    const { page } = await startedLesson();
    await pausedAt(page, 100);
    const trans = frame(page, "tq_trans");
    await trans.focus(".segment[tabindex='0']");
    await page.keyboard.press("ArrowDown");
    await page.keyboard.press("ArrowRight");
    assert.equal(await focused(page), "tq_trans#s2");
    await chooseTranscript(page, "Notas");
    await typeNotes(trans, "k m f j");
    assert.match(await trans.textContent("#notes"), /k m f j/);
    const still = { paused: true, time: 100, muted: false, fullscreen: false };
    assert.deepEqual(pick(await video(page), Object.keys(still)), still);
  });

  test("captions follow the transcript's language, show where it is out of view, and stay off once turned off", async () => {
    const { page } = await startedLesson();
    const captions = async (wanted) => {
      await page.waitForFunction((lang) => {
        const tracks = [...document.getElementById("mp").textTracks];
        return (tracks.find((t) => t.mode === "showing")?.language ?? "") === lang;
      }, wanted);
    };
    await captions(""); // the transcript shows the words
    await chooseTranscript(page, "English");
    await captions("");
    await chooseTranscript(page, "Notas"); // the notes keep the last language
    await captions("en");
    await chooseTranscript(page, "Español");
    await captions("");
    await page.click("#modevideo");
    await captions("es");
    await page.keyboard.press("c");
    await captions("");
    await page.click("#modefull");
    await page.click("#modevideo");
    await captions("");
    await page.keyboard.press("c");
    await captions("es");
  });

  test("? opens the named list of keys at its close button; Escape closes it and gives the focus back", async () => {
    const { page } = await startedLesson();
    await frame(page, "tq_trans").focus(".segment[tabindex='0']");
    await page.keyboard.press("?");
    const dialog = await page.evaluate(() => {
      const d = document.getElementById("tq_keys");
      const name = document.getElementById(d.getAttribute("aria-labelledby")).textContent;
      return { open: d.open, name, focus: document.activeElement.textContent };
    });
    assert.deepEqual(dialog, { open: true, name: "Teclas del vídeo", focus: "Cerrar" });
    await page.keyboard.press("Escape");
    assert.equal(await page.evaluate(() => document.getElementById("tq_keys").open), false);
    assert.equal(await focused(page), "tq_trans#s1");
  });
});

inEachBrowser(
  "the lesson's video for a student who asked for less motion",
  (lessons) => {
    test("does not start by itself; a click on a segment plays it", async () => {
      const { page } = await lessons.open(undefined, {
        before: () => {
          const play = HTMLMediaElement.prototype.play;
          HTMLMediaElement.prototype.play = function () {
            window.plays = (window.plays ?? 0) + 1;
            return play.call(this);
          };
        },
      });
      await page.waitForFunction(() => window.tqStarted === true);
      assert.equal(await page.evaluate(() => window.plays ?? 0), 0);
      assert.equal((await video(page)).controlsInView, true);
      await frame(page, "tq_trans").click("#s14");
      await page.waitForFunction(() => !document.getElementById("mp").paused);
    });
  },
  { reducedMotion: true },
);
