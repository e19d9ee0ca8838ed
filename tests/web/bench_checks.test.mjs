// The benchmark's own arithmetic, which no browser run checks: what the trace
// counts as a tick's layouts, and the refusal of figures from too few ticks.
//   node --test tests/web/bench_checks.test.mjs

import assert from "node:assert/strict";
import { test } from "node:test";

import { markdownTable } from "../../bench/web/report.mjs";
import { layoutsInTicks } from "../../bench/web/trace_layouts.mjs";

const mark = (name, ts, tid = 1) => ({ cat: "blink.user_timing", name, ph: "I", ts, pid: 7, tid });
const event = (name, ts, { ph = "X", tid = 1 } = {}) => ({ cat: "devtools.timeline", name, ph, ts, pid: 7, tid });

test("only layouts and style recalculations that begin inside a tick, on its thread, count", () => {
  const events = [
    mark("control start", 100),
    event("Layout", 110),
    event("UpdateLayoutTree", 120),
    event("Layout", 130, { ph: "E" }), // the end of a layout, not another one
    event("Layout", 140, { tid: 2 }), // another thread's
    mark("control end", 150),
    event("Layout", 160), // between the ticks
    mark("reference start", 170),
    event("UpdateLayoutTree", 180, { ph: "B" }),
    mark("reference end", 190),
    mark("control start", 200),
    event("UpdateLayoutTree", 210),
    mark("control end", 220),
  ];
  assert.deepEqual(layoutsInTicks(events, "control"), { ticks: 2, layouts: 1, styles: 2 });
  assert.deepEqual(layoutsInTicks(events, "reference"), { ticks: 1, layouts: 0, styles: 1 });
  assert.throws(() => layoutsInTicks([mark("control end", 1), mark("control start", 2)], "control"), /do not pair up/);
});

test("a figure from fewer than 100 ticks is refused, not printed", () => {
  const figure = (batches, ticks) => ({ median: 5, batches, ticks });
  const pageWith = (changing) => {
    const figures = new Proxy({}, { get: (_, name) => (name === "changing" ? changing : figure(1, 100)) });
    const counted = { ticks: 20, layouts: 20, styles: 40 };
    const place = { segment: 10, figures, layouts: { control: counted, reference: counted } };
    return { segments: 1000, places: { start: place } };
  };
  assert.match(markdownTable([pageWith(figure(1, 100))]), /\| reVoziz tick, segment changing \| 5\.00 µs \|/);
  for (const [batches, ticks] of [[0, 100], [3, 99]]) {
    assert.throws(() => markdownTable([pageWith(figure(batches, ticks))]), /fewer than 100 ticks/);
  }
});
