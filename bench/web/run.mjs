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

// Batches per figure: at most so many, and by default only as many as fit in
// the time each place may take, so that the default run of both sizes stays
// within about twelve minutes (the 100,000-segment page's linear scan near the
// end takes about half a second a tick). At least one batch, whatever it takes.
const MOST_BATCHES = 9;
const PLACE_BUDGET_MS = 100000;
// Untimed ticks of each kind before the batches: so many, or as many as fit
// in so many milliseconds, at least two.
const WARMUP = { ticks: 10, ms: 2000 };
const TRACED_TICKS = 20;

const args = process.argv.slice(2);
// A whole number of at least `least` given after `name`, or undefined.
function option(name, least) {
  if (!args.includes(name)) return undefined;
  const value = Number(args[args.indexOf(name) + 1]);
  if (!Number.isInteger(value) || value < least) {
    console.error(`bench-web: ${name} takes a whole number of at least ${least}; no figure printed`);
    process.exit(2);
  }
  return value;
}
// The places are segments 10 and N - 10, and the changing ticks move on from there.
const sizes = args.includes("--segments") ? [option("--segments", 30)] : [10000, 100000];
const batches = option("--batches", 1) ?? MOST_BATCHES;
const budgetMs = args.includes("--batches") ? Infinity : PLACE_BUDGET_MS;

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
    console.error(`bench-web: ${segments} segments built`);
    const places = {};
    for (const [name, segment] of Object.entries({ start: 10, end: segments - 10 })) {
      const figures = await page.evaluate(measureInPage, [segment, { batches, budgetMs, ticks: TICKS_PER_BATCH, warmup: WARMUP }]);
      const layouts = await tracedLayouts(session.browser, page, segment);
      places[name] = { segment, figures, layouts };
      console.error(`bench-web: ${segments} segments, segment ${segment} measured`);
    }
    // Unchanged ticks must leave the page alone.
    const mutations = await page.evaluate((end) => window.lessonBench.mutationsOverTicks(end, 100), segments - 10);
    const failed = messages.filter((m) => m.startsWith("error") || m.startsWith("pageerror"));
    if (failed.length) throw new Error(failed.join("\n"));
    return { segments, isolated, places, mutations };
  } finally {
    await page.close();
  }
}

const load = { start: os.loadavg()[0] };
const started = Date.now();
const session = await openBrowser();
try {
  const version = session.browser.version();
  const pages = [];
  for (const segments of sizes) pages.push(await measurePage(session, segments));
  load.end = os.loadavg()[0];
  printReport({ version, load, minutes: (Date.now() - started) / 60000, warmup: WARMUP, pages });
  if (pages.some((p) => p.mutations !== 0)) {
    console.error("bench-web: unchanged ticks changed the page");
    process.exitCode = 1;
  }
} catch (error) {
  console.error(`bench-web: ${error.message}`);
  process.exitCode = 1;
} finally {
  await session.close();
}
