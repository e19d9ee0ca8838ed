// Shared setup of the tests in Firefox ESR: one lesson server and one headless
// firefox-esr, driven by puppeteer-core over WebDriver BiDi, with downloads
// going to a folder of its own. Pages and frames answer the few calls
// of Playwright's shape that the shared helpers of lesson_browser.mjs and the
// tests run in both browsers make (evaluate with one argument, waitForFunction
// with an argument and options, page.frame by name, keys such as "Control+t",
// getAttribute, isVisible, textContent and setInputFiles by selector), so
// those serve both.

import { mkdtemp, readFile, readdir, rm } from "node:fs/promises";
import os from "node:os";
import path from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

import puppeteer from "puppeteer-core";

import { lessonServer } from "./lesson_browser.mjs";

// "Control+t" as keys held while the last one is pressed.
class Keys {
  constructor(keyboard) {
    this.keyboard = keyboard;
  }
  async press(combination) {
    const keys = combination.split("+");
    const key = keys.pop();
    for (const held of keys) await this.keyboard.down(held);
    await this.keyboard.press(key);
    for (const held of keys.reverse()) await this.keyboard.up(held);
  }
  type(text) {
    return this.keyboard.type(text);
  }
}

// What a page and a frame both answer, over a puppeteer Page or Frame that
// `target()` finds afresh at each call (a frame is replaced when it loads).
class Driven {
  constructor(target, page) {
    this.target = target;
    this.owner = page;
  }
  page() {
    return this.owner;
  }
  async evaluate(fn, arg) {
    return (await this.target()).evaluate(fn, arg);
  }
  async waitForFunction(fn, arg, { timeout = 30000, polling = 50 } = {}) {
    return (await this.target()).waitForFunction(fn, { timeout, polling }, arg);
  }
  async click(selector) {
    return (await this.target()).click(selector);
  }
  async hover(selector) {
    return (await this.target()).hover(selector);
  }
  async waitForSelector(selector, options) {
    return (await this.target()).waitForSelector(selector, options);
  }
  async $(selector) {
    return (await this.target()).$(selector);
  }
  async $$(selector) {
    return (await this.target()).$$(selector);
  }
  async focus(selector) {
    return (await this.target()).focus(selector);
  }
  async getAttribute(selector, name) {
    return (await this.target()).$eval(selector, (e, n) => e.getAttribute(n), name);
  }
  async textContent(selector) {
    return (await this.target()).$eval(selector, (e) => e.textContent);
  }
  // As Playwright judges it: a box of some size, and no hidden visibility.
  async isVisible(selector) {
    return (await this.target()).$eval(selector, (e) => {
      const box = e.getBoundingClientRect();
      return box.width > 0 && box.height > 0 && getComputedStyle(e).visibility !== "hidden";
    });
  }
}

class FirefoxPage extends Driven {
  constructor(page) {
    super(async () => page, null);
    this.owner = this;
    this.puppeteer = page;
    this.keyboard = new Keys(page.keyboard);
    this.mouse = page.mouse;
    this.touchscreen = page.touchscreen;
  }
  // The frame of the page whose element has that name.
  frame({ name }) {
    return new Driven(async () => {
      const element = await this.puppeteer.$(`iframe[name="${name}"], frame[name="${name}"]`);
      return element.contentFrame();
    }, this);
  }
  frames() {
    return this.puppeteer.frames();
  }
  async setInputFiles(selector, file) {
    return (await this.puppeteer.$(selector)).uploadFile(file);
  }
}

// `hostName`, a made-up name that the browser resolves to the test server,
// serves the lessons from a plain-HTTP origin other than localhost: one that
// is no secure context. `reducedMotion`: a student who asked for less motion;
// `colorScheme`: the scheme the student's system asks for.
export async function openFirefox({ hostName = "localhost", reducedMotion = false, colorScheme = "light" } = {}) {
  const server = await lessonServer();
  const downloads = await mkdtemp(path.join(os.tmpdir(), "revoziz-firefox-"));
  const browser = await puppeteer.launch({
    browser: "firefox",
    executablePath: process.env.FIREFOX ?? "/usr/bin/firefox-esr",
    headless: true,
    extraPrefsFirefox: {
      "browser.download.dir": downloads,
      "browser.download.folderList": 2,
      "browser.download.useDownloadDir": true,
      "browser.download.always_ask_before_handling_new_types": false,
      ...(hostName === "localhost" ? {} : { "network.dns.forceResolve": "127.0.0.1" }),
      ...(reducedMotion ? { "ui.prefersReducedMotion": 1 } : {}),
      // The scheme pages see: 0 is dark.
      ...(colorScheme === "dark" ? { "layout.css.prefers-color-scheme.content-override": 0 } : {}),
    },
  });
  const base = `http://${hostName}:${server.address().port}`;
  return {
    base,
    browser,
    server,
    // A fresh page on `lesson` (a path under the repository), with every
    // console message and page error collected. `before` runs in every
    // document of the page before its own scripts; `touch` asks for a touch
    // screen, which Firefox does not emulate (its taps work all the same).
    async open(lesson = "lessons/sample/index.html", { viewport = { width: 1280, height: 900 }, before, touch = false } = {}) {
      const page = await browser.newPage();
      await page.setViewport({ ...viewport, hasTouch: touch });
      const messages = [];
      page.on("console", (m) => messages.push(`${m.type()}: ${m.text()}`));
      page.on("pageerror", (e) => messages.push(`pageerror: ${e.message}`));
      if (before) await page.evaluateOnNewDocument(before);
      await page.goto(`${base}/${lesson}`);
      return { page: new FirefoxPage(page), messages };
    },
    // The name and bytes (as Latin-1 text) of the download that `start` makes,
    // once it is whole: Firefox writes a ".part" file beside it until then.
    async downloaded(page, start) {
      const earlier = new Set(await readdir(downloads));
      await start();
      for (let i = 0; i < 100; i++) {
        const names = await readdir(downloads);
        const [name] = names.filter((n) => !earlier.has(n) && !n.endsWith(".part"));
        const whole = name && !names.some((n) => n.endsWith(".part"));
        const text = whole && (await readFile(path.join(downloads, name), "latin1"));
        if (text) return { name, text };
        await sleep(100);
      }
      throw new Error("No download arrived");
    },
    async close() {
      await browser.close();
      await new Promise((resolve) => server.close(resolve));
      await rm(downloads, { recursive: true, force: true });
    },
  };
}
