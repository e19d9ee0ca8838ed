// Counts what marked ticks cost the browser's rendering in a Chromium trace:
// the layouts ("Layout") and style recalculations ("UpdateLayoutTree") that
// begin between a "<kind> start" and the following "<kind> end" user-timing
// mark (tick_rounds.js markChangingTicks), on the marks' thread.

export const TRACE_CATEGORIES = ["devtools.timeline", "blink.user_timing"];

// The [start, end] spans of the ticks of `kind`, in trace microseconds.
function tickSpans(events, kind) {
  const marks = events
    .filter((e) => e.cat?.includes("blink.user_timing") && (e.name === `${kind} start` || e.name === `${kind} end`))
    .sort((a, b) => a.ts - b.ts);
  const spans = [];
  for (let i = 0; i + 1 < marks.length; i += 2) {
    if (marks[i].name !== `${kind} start` || marks[i + 1].name !== `${kind} end`) {
      throw new Error(`the trace's ${kind} marks do not pair up`);
    }
    spans.push({ from: marks[i].ts, to: marks[i + 1].ts, pid: marks[i].pid, tid: marks[i].tid });
  }
  return spans;
}

// How many events named `name` begin inside one of `spans`.
function countInside(events, spans, name) {
  return events.filter(
    (e) =>
      e.name === name &&
      (e.ph === "X" || e.ph === "B") &&
      spans.some((s) => e.pid === s.pid && e.tid === s.tid && e.ts >= s.from && e.ts <= s.to),
  ).length;
}

// { ticks, layouts, styles } of the ticks of `kind` in a trace's events.
export function layoutsInTicks(events, kind) {
  const spans = tickSpans(events, kind);
  return {
    ticks: spans.length,
    layouts: countInside(events, spans, "Layout"),
    styles: countInside(events, spans, "UpdateLayoutTree"),
  };
}
