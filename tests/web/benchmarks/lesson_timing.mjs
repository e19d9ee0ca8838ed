// Timings of the browser host in Chromium (a benchmark, not a test):
//  - from navigation to the module's start and to the first marking of both
//    lists, over several fresh page loads;
//  - what one marking call costs (markCurrentSegment on the transcript,
//    alternating between two segments so each call restyles and scrolls).
//
//   node tests/web/benchmarks/lesson_timing.mjs [--module build-web/web] [--runs 7]

import path from "node:path";
import { chromium } from "playwright-core";

import { repository } from "../lesson_browser.mjs";
import { startServer } from "../../../web/serve.mjs";

const args = process.argv.slice(2);
const option = (name, fallback) => (args.includes(name) ? args[args.indexOf(name) + 1] : fallback);
const moduleDir = path.resolve(option("--module", path.join(repository, "build-web/web")));
const runs = Number(option("--runs", "7"));

const server = await startServer({ port: 0, mounts: { "/": repository, "/revoziz/": moduleDir } });
const base = `http://localhost:${server.address().port}`;
const browser = await chromium.launch({
  executablePath: "/usr/bin/chromium",
  args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update",
    "--disable-sync", "--no-first-run", "--disable-quic"],
});

// Each frame notes when its list is first marked, in the top page's clock.
function noteFirstMarking() {
  const observe = () => {
    const iText = document.getElementById("iText");
    if (!iText) return;
    new MutationObserver((changes, observer) => {
      if (!changes.some((c) => c.target.classList?.contains("segment"))) return;
      top.firstMarks = (top.firstMarks ?? 0) + 1;
      if (top.firstMarks === 2) top.bothMarkedAt = performance.timeOrigin + performance.now() - top.performance.timeOrigin;
      observer.disconnect();
    }).observe(iText, { attributes: true, subtree: true, attributeFilter: ["style"] });
  };
  document.addEventListener("DOMContentLoaded", observe);
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const loadedAt = [];
const started = [];
const marked = [];
for (let i = 0; i < runs; i++) {
  const page = await browser.newPage();
  await page.addInitScript(noteFirstMarking);
  await page.addInitScript(() => {
    Object.defineProperty(window, "tqStarted", {
      configurable: true,
      set(v) {
        Object.defineProperty(window, "tqStarted", { value: v, writable: true, configurable: true });
        window.startedAt = performance.now();
      },
    });
  });
  await page.goto(`${base}/lessons/sample/index.html`);
  await page.waitForFunction(() => window.bothMarkedAt !== undefined, null, { timeout: 20000 });
  const [l, s, m] = await page.evaluate(() => [
    performance.getEntriesByType("navigation")[0].loadEventStart,
    window.startedAt,
    window.bothMarkedAt,
  ]);
  loadedAt.push(l);
  started.push(s);
  marked.push(m);
  await page.close();
}
console.log(`navigation to the load event:  median ${median(loadedAt).toFixed(0)} ms  (${loadedAt.map((v) => v.toFixed(0)).join(", ")})`);
console.log(`navigation to startVelisk:   median ${median(started).toFixed(0)} ms  (${started.map((v) => v.toFixed(0)).join(", ")})`);
console.log(`navigation to first marking: median ${median(marked).toFixed(0)} ms  (${marked.map((v) => v.toFixed(0)).join(", ")})`);

const page = await browser.newPage();
await page.goto(`${base}/lessons/sample/index.html`);
await page.waitForFunction(() => window.tqStarted === true);
const perCall = await page.evaluate(async () => {
  const { controlClass, host } = await import("/revoziz/host.js");
  const { default: createRevoziz } = await import("/revoziz/revoziz.mjs");
  const tq = new (controlClass(await createRevoziz({ revozizHost: host })))();
  const iText = document.querySelector('iframe[name="tq_trans"]').contentDocument.getElementById("iText");
  const calls = 300;
  const time = (position) => {
    const begin = performance.now();
    for (let i = 0; i < calls; i++) tq.markCurrentSegment(iText, position(i));
    return ((performance.now() - begin) * 1000) / calls;
  };
  return [time(() => 1700), time((i) => (i % 2 ? 1700 : 30))];
});
console.log(`markCurrentSegment on the 60-segment transcript, segment unchanged: ${perCall[0].toFixed(0)} us per call`);
console.log(`markCurrentSegment on the 60-segment transcript, segment changed:   ${perCall[1].toFixed(0)} us per call`);

await browser.close();
server.close();
