// The tick's walk over a whole list after a change that may hide segments,
// beside a JavaScript linear scan that pays the same restyle, in headless
// Chromium. Before each timed tick, in a task of its own, both lists' bodies
// take a new class, so the tick walks both lists afresh up to a position near
// their end. Prints the median milliseconds of each and their ratio; with
// several --module folders (builds of build-web/web), their runs alternate,
// so that the machine's load touches each alike.
//
//   node bench/web/walk_after_change.mjs [--segments 10000] [--runs 30] [--module DIR]...

import path from "node:path";

import { startServer } from "../../web/serve.mjs";
import { openBrowser, repository } from "../../tests/web/lesson_browser.mjs";

const args = process.argv.slice(2);
const option = (name, fallback) => (args.includes(name) ? Number(args[args.indexOf(name) + 1]) : fallback);
const segments = option("--segments", 10000);
const runs = option("--runs", 30);
const modules = args.flatMap((a, i) => (a === "--module" ? [path.resolve(args[i + 1])] : []));
if (!modules.length) modules.push(path.join(repository, "build-web/web"));

const lessons = await openBrowser();
const servers = [];
const pages = [];
for (const module of modules) {
  const server = await startServer({ port: 0, mounts: { "/": repository, "/revoziz/": module }, isolated: ["/bench/web/"] });
  servers.push(server);
  const page = await lessons.browser.newPage({ viewport: { width: 1280, height: 900 } });
  await page.goto(`http://localhost:${server.address().port}/bench/web/index.html?segments=${segments}`);
  await page.waitForFunction(() => window.lessonBench !== undefined, null, { timeout: 120000 });
  await page.evaluate(() => {
    const bench = window.lessonBench;
    bench.setPosition((bench.segments - 10) * bench.secondsPerSegment + 1);
  });
  await page.evaluate(() => window.lessonBench.tick());
  await page.evaluate(() => window.lessonBench.linearScanTick());
  pages.push(page);
}

let changes = 0;
// One run: the bodies' new class in one task, the timed run in the next.
async function timed(page, run) {
  await page.evaluate((name) => {
    for (const doc of window.lessonBench.documents) doc.body.className = name;
  }, `c${changes++}`);
  return page.evaluate((run) => {
    const start = performance.now();
    window.lessonBench[run]();
    return performance.now() - start;
  }, run);
}

const samples = modules.map(() => ({ tick: [], linearScanTick: [] }));
for (let r = 0; r < runs; r++) {
  for (const [m, page] of pages.entries()) {
    for (const run of ["tick", "linearScanTick"]) samples[m][run].push(await timed(page, run));
  }
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
for (const [m, module] of modules.entries()) {
  const tick = median(samples[m].tick);
  const scan = median(samples[m].linearScanTick);
  console.log(
    `${path.relative(process.cwd(), module) || module}: tick ${tick.toFixed(1)} ms, linear scan ${scan.toFixed(1)} ms, ` +
      `ratio ${(tick / scan).toFixed(2)} (medians of ${runs}, ${segments} segments per list)`,
  );
}
await lessons.close();
for (const server of servers) await new Promise((resolve) => server.close(resolve));
