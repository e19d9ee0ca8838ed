// The browsers every scenario runs in, and a describe per browser for a table
// of tests: each opens its own browser, with its own lesson server.

import { after, before, describe } from "node:test";

import { openFirefox } from "./firefox_browser.mjs";
import { openBrowser } from "./lesson_browser.mjs";

const BROWSERS = [
  ["Chromium", openBrowser],
  ["Firefox ESR", openFirefox],
];

// `body(lessons, browserName)` declares the tests of one browser; `lessons`
// answers as that browser's handle (opened with `options`) once they run.
export function inEachBrowser(title, body, options) {
  for (const [browserName, openIn] of BROWSERS) {
    describe(`${title} (${browserName})`, () => {
      let opened;
      before(async () => {
        opened = await openIn(options);
      });
      after(() => opened.close());
      body(new Proxy({}, { get: (_, name) => opened[name] }), browserName);
    });
  }
}
