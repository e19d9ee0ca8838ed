// The tick on long lists in headless Chromium, as the control's timer runs
// it: each tick in a task of its own, timed inside it. For each page size, near
// the start and near the end of the lists: the changing tick against the
// JavaScript marking, the tick after it, the tick after each kind of change
// the page makes against the JavaScript linear scan, the layouts a changing
// tick causes (from the browser's trace), and the DOM mutations of unchanged
// ticks. Prints a Markdown table for docs/performance.md.
//
//   scripts/bench-web [--segments N] [--batches B]
//
// By default one page of 10,000 and one of 100,000 segments.

import os from "node:os";

import { openBrowser } from "../../tests/web/lesson_browser.mjs";
import { printReport, TICKS_PER_BATCH } from "./report.mjs";
import { layoutsInTicks, TRACE_CATEGORIES } from "./trace_layouts.mjs";

// Batches per figure by page size: the 100,000-segment page's linear scan
// near the end takes about half a second a tick, and the whole run should
// stay within about ten minutes.
const DEFAULT_BATCHES = { 10000: 9, 100000: 1 };
const WARMUP = 10; // untimed ticks of each kind before the batches
const TRACED_TICKS = 20;

const args = process.argv.slice(2);
const option = (name) => (args.includes(name) ? Number(args[args.indexOf(name) + 1]) : undefined);
const sizes = option("--segments") ? [option("--segments")] : [10000, 100000];
const batchesFor = (segments) => option("--batches") ?? DEFAULT_BATCHES[segments] ?? 9;

// In the page: the figures at one place, from the page's own modules.
const measureInPage = ([place, options]) =>
  import("/bench/web/tick_rounds.js").then(({ measureAt }) => measureAt(place, options));

// Layouts and style recalculations per changing tick of the control and of
// the JavaScript marking, from a trace of `TRACED_TICKS` ticks of each.
async function tracedLayouts(browser, page, place) {
  await browser.startTracing(page, { categories: TRACE_CATEGORIES });
  await page.evaluate(
    ([place, count]) => import("/bench/web/tick_rounds.js").then(({ markChangingTicks }) => markChangingTicks(place, count)),
    [place, TRACED_TICKS],
  );
  const { traceEvents } = JSON.parse((await browser.stopTracing()).toString());
  return { control: layoutsInTicks(traceEvents, "control"), reference: layoutsInTicks(traceEvents, "reference") };
}

// Everything measured on one page of `segments` segments per list.
async function measurePage(session, segments) {
  const { page, messages } = await session.open(`bench/web/index.html?segments=${segments}`);
  try {
    await page.waitForFunction(() => window.lessonBench !== undefined, null, { timeout: 600000 });
    const isolated = await page.evaluate(() => crossOriginIsolated);
    const batches = batchesFor(segments);
    const places = {};
    for (const [name, segment] of Object.entries({ start: 10, end: segments - 10 })) {
      const figures = await page.evaluate(measureInPage, [segment, { batches, ticks: TICKS_PER_BATCH, warmup: WARMUP }]);
      const layouts = await tracedLayouts(session.browser, page, segment);
      places[name] = { segment, figures, layouts };
    }
    // Unchanged ticks must leave the page alone.
    const mutations = await page.evaluate((end) => window.lessonBench.mutationsOverTicks(end, 100), segments - 10);
    const failed = messages.filter((m) => m.startsWith("error") || m.startsWith("pageerror"));
    if (failed.length) throw new Error(failed.join("\n"));
    return { segments, isolated, batches, places, mutations };
  } finally {
    await page.close();
  }
}

const load = { start: os.loadavg()[0] };
const session = await openBrowser();
try {
  const version = session.browser.version();
  const pages = [];
  for (const segments of sizes) pages.push(await measurePage(session, segments));
  load.end = os.loadavg()[0];
  printReport({ version, load, warmup: WARMUP, pages });
  if (pages.some((p) => p.mutations !== 0)) process.exitCode = 1;
} catch (error) {
  console.error(`bench-web: ${error.message}`);
  process.exitCode = 1;
} finally {
  await session.close();
}
