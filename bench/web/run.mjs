// The tick on one page of long lists, in headless Chromium: the control's
// tick with an unchanged and with a changing segment, beside the two ways the
// common web players find the current segment and a JavaScript marking that
// does what a changing tick must (the peer of the changing tick), all on the
// same page in one run. Prints a table of medians, each as a ratio to the binary search, and
// the number of page mutations over 100 unchanged ticks.
//
//   scripts/bench-web [--segments 10000] [--batches 300]

import { openBrowser } from "../../tests/web/lesson_browser.mjs";

const args = process.argv.slice(2);
const option = (name, fallback) => (args.includes(name) ? Number(args[args.indexOf(name) + 1]) : fallback);
const segments = option("--segments", 10000);
const batches = option("--batches", 300);

// In the page: the median cost of one tick, in microseconds. Each sample
// times a batch of ticks long enough for the browser's coarse clock.
function measureInPage({ batches }) {
  const bench = window.lessonBench;
  const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
  let kept = 0; // what the runs answer, used, so that none is optimised away
  const time = (run, count) => {
    const start = performance.now();
    for (let i = 0; i < count; i++) if (run(i)) kept++;
    return performance.now() - start;
  };
  // The runs' batches are taken in turn, so that the machine's drift during
  // the measurement touches every run alike; `prepare` runs untimed before
  // each batch. A batch holds as many ticks as fit in 10 ms, so that the
  // browser's coarse clock (100 µs steps without cross-origin isolation)
  // stays below 1%.
  const perTick = (runs) => {
    const counts = Object.values(runs).map(({ run, prepare }) => {
      prepare?.();
      let count = 0;
      const start = performance.now();
      while (performance.now() - start < 10) if (run(count++)) kept++;
      return count;
    });
    const samples = Object.keys(runs).map(() => []);
    for (let b = 0; b < batches; b++) {
      Object.values(runs).forEach(({ run, prepare }, r) => {
        prepare?.();
        samples[r].push((time(run, counts[r]) * 1000) / counts[r]);
      });
    }
    return Object.fromEntries(
      Object.keys(runs).map((name, r) => [name, { median: median(samples[r]), ticks: batches * counts[r] }]),
    );
  };
  const inside = (segment) => segment * bench.secondsPerSegment + 1;
  const places = { start: 10, end: bench.segments - 10 };
  const results = {};
  for (const [place, segment] of Object.entries(places)) {
    const at = (run) => () => {
      bench.setPosition(inside(segment));
      run();
      run();
    };
    const measured = perTick({
      unchanged: { run: () => bench.tick(), prepare: at(() => bench.tick()) },
      changing: {
        run: (i) => {
          bench.setPosition(inside(segment + (i % 2)));
          bench.tick();
        },
      },
      reference: {
        run: (i) => {
          bench.setPosition(inside(segment + (i % 2)));
          bench.referenceMarkingTick();
        },
      },
      linear: { run: () => bench.linearScanTick(), prepare: at(() => bench.linearScanTick()) },
      binary: { run: () => bench.binarySearchTick(), prepare: at(() => bench.binarySearchTick()) },
    });
    for (const [name, result] of Object.entries(measured)) results[`${name} ${place}`] = result;
  }
  // Unchanged ticks must leave the page alone.
  results.mutations = bench.mutationsOverTicks(places.end, 100);
  results.kept = kept;
  return results;
}

const session = await openBrowser();
try {
  const { page, messages } = await session.open(`bench/web/index.html?segments=${segments}`);
  await page.waitForFunction(() => window.lessonBench !== undefined, null, { timeout: 120000 });
  const r = await page.evaluate(measureInPage, { batches });
  const failed = messages.filter((m) => m.startsWith("error") || m.startsWith("pageerror"));
  if (failed.length) throw new Error(failed.join("\n"));

  const micro = (v) => (v < 10 ? v.toFixed(2) : v < 100 ? v.toFixed(1) : v.toFixed(0));
  const cell = (key, place) => {
    const ratio = r[`${key} ${place}`].median / r[`binary ${place}`].median;
    return `${micro(r[`${key} ${place}`].median)} µs | ${ratio.toFixed(1)}×`;
  };
  const rows = [
    ["reVoziz tick, segment unchanged", "unchanged"],
    ["reVoziz tick, segment changing", "changing"],
    ["JavaScript marking, segment changing", "reference"],
    ["JavaScript linear scan, early exit", "linear"],
    ["JavaScript binary search", "binary"],
  ];
  const least = Math.min(...Object.values(r).filter((v) => v?.ticks).map((v) => v.ticks));
  console.log(`Chromium, one page of two lists of ${segments.toLocaleString("en")} segments;`);
  console.log(`each tick covers both lists. Medians of ${batches} batches (at least ${least} ticks).`);
  console.log("");
  console.log("| tick | near the start | ratio | near the end | ratio |");
  console.log("|---|---:|---:|---:|---:|");
  for (const [label, key] of rows) console.log(`| ${label} | ${cell(key, "start")} | ${cell(key, "end")} |`);
  const beyond = (place) => (r[`changing ${place}`].median / r[`reference ${place}`].median).toFixed(1);
  console.log("");
  console.log(`reVoziz changing tick against the JavaScript marking: ${beyond("start")}× near the start, ${beyond("end")}× near the end`);
  console.log(`DOM mutations over 100 unchanged reVoziz ticks: ${r.mutations}`);
  if (r.mutations !== 0) process.exitCode = 1;
} finally {
  await session.close();
}
