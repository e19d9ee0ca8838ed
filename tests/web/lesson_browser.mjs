// Shared setup of the browser tests: one lesson server over the repository
// and one headless Chromium for a test file; each test opens its own page.

import path from "node:path";
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
  "--mute-audio",
];

export async function openBrowser() {
  const server = await startServer({
    port: 0,
    mounts: { "/": repository, "/revoziz/": path.join(repository, "build-web/web") },
  });
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: CHROMIUM_FLAGS,
    headless: true,
  });
  const base = `http://localhost:${server.address().port}`;
  return {
    base,
    browser,
    // A fresh page on `lesson` (a path under the repository), with every
    // console message and page error collected.
    async open(lesson = "lessons/sample/index.html", { viewport = { width: 1280, height: 900 } } = {}) {
      const page = await browser.newPage({ viewport });
      const messages = [];
      page.on("console", (m) => messages.push(`${m.type()}: ${m.text()}`));
      page.on("pageerror", (e) => messages.push(`pageerror: ${e.message}`));
      await page.goto(`${base}/${lesson}`);
      return { page, messages };
    },
    async close() {
      await browser.close();
      await new Promise((resolve) => server.close(resolve));
    },
  };
}

// The frame of the lesson page with that name.
export const frame = (page, name) => page.frame({ name });

// The id of the segment that a list marks as current: the one element
// whose inline style the marking set to the list's tq_current (or, in single
// mode, tq_single) style, read from the page as the student sees it.
export function markedSegment(page, frameName) {
  return frame(page, frameName).evaluate(() => {
    const iText = document.getElementById("iText");
    const marked = [...iText.querySelectorAll(".segment")].filter((s) => s.getAttribute("style"));
    return marked.map((s) => s.id).join(",");
  });
}
