// The benchmark's printout: a Markdown table for docs/performance.md, one
// column per page size and place, and the run's conditions around it.

// Ticks per batch. A single tick is often shorter than the browser's clock
// step, so no figure may come from fewer ticks than this.
export const TICKS_PER_BATCH = 100;

const micro = (v) => `${v < 10 ? v.toFixed(2) : v < 100 ? v.toFixed(1) : v.toFixed(0)} µs`;

// A figure's median, or an error when it comes from too few ticks.
function median(figure, what) {
  if (!figure || figure.batches < 1 || figure.ticks < TICKS_PER_BATCH || figure.median === null) {
    throw new Error(`"${what}" would come from fewer than ${TICKS_PER_BATCH} ticks; no figure printed`);
  }
  return figure.median;
}

const perTick = ({ ticks, layouts, styles }) => `${(layouts / ticks).toFixed(1)} / ${(styles / ticks).toFixed(1)}`;

// [label, cell of one place's measurements].
const ROWS = [
  ["reVoziz tick, segment changing", (p) => micro(median(p.figures.changing, "changing"))],
  ["JavaScript marking, same moves", (p) => micro(median(p.figures.reference, "reference"))],
  [
    "changing tick ÷ JavaScript marking",
    (p) => `${(median(p.figures.changing, "changing") / median(p.figures.reference, "reference")).toFixed(2)}×`,
  ],
  ["reVoziz tick, segment changing, and the restyle and layout it leaves to the rendering", (p) => micro(median(p.figures["changing, rendered"], "changing, rendered"))],
  ["JavaScript marking, same moves, and what it leaves to the rendering", (p) => micro(median(p.figures["reference, rendered"], "reference, rendered"))],
  [
    "the same, reVoziz ÷ JavaScript marking",
    (p) => `${(median(p.figures["changing, rendered"], "changing, rendered") / median(p.figures["reference, rendered"], "reference, rendered")).toFixed(2)}×`,
  ],
  ["reVoziz tick after a changing one (same position)", (p) => micro(median(p.figures["after changing"], "after changing"))],
  ...["an unrelated change", "a tabindex move", "a body class change"].flatMap((change) => {
    const what = change.slice(change.indexOf(" ") + 1);
    return [
      [`reVoziz tick after ${change}`, (p) => micro(median(p.figures[`control after ${what}`], `control after ${what}`))],
      [`JavaScript linear scan after ${change}`, (p) => micro(median(p.figures[`linear after ${what}`], `linear after ${what}`))],
    ];
  }),
  ["layouts / style recalculations per changing tick, reVoziz", (p) => perTick(p.layouts.control)],
  ["layouts / style recalculations per changing tick, JavaScript marking", (p) => perTick(p.layouts.reference)],
  [`batches of ${TICKS_PER_BATCH} ticks per figure`, (p) => String(p.figures.changing.batches)],
];

const thousands = (n) => n.toLocaleString("en");

export function markdownTable(pages) {
  const columns = pages.flatMap((page) =>
    Object.values(page.places).map((place) => ({ title: `${thousands(page.segments)}: segment ${thousands(place.segment)}`, place })),
  );
  const lines = [
    `| tick (both lists) | ${columns.map((c) => c.title).join(" | ")} |`,
    `|---|${columns.map(() => "---:").join("|")}|`,
  ];
  for (const [label, cell] of ROWS) lines.push(`| ${label} | ${columns.map((c) => cell(c.place)).join(" | ")} |`);
  return lines.join("\n");
}

export function printReport({ version, load, minutes, warmup, pages }) {
  const table = markdownTable(pages); // first, so that a refused figure prints nothing
  const grains = pages.map((p) => `${thousands(p.segments)} segments: ${p.isolated ? "isolated, 5 µs" : "not isolated, 100 µs"}`);
  console.log(`Chromium ${version}, headless, on ${new Date().toISOString().slice(0, 10)}.`);
  console.log(`Cross-origin isolation and the clock's grain: ${grains.join("; ")}.`);
  console.log(`Load average (1 minute): ${load.start.toFixed(2)} at the start, ${load.end.toFixed(2)} at the end; the run took ${minutes.toFixed(1)} minutes.`);
  console.log(`Each figure: the median over batches of the mean of ${TICKS_PER_BATCH} ticks, the kinds' batches taken in turn.`);
  console.log(
    `Each tick in a task of its own, after ${warmup.ticks} untimed ticks of each kind (or ${warmup.ms / 1000} s of them, at least 2);` +
      " figures per tick of both lists.",
  );
  console.log("");
  console.log(table);
  console.log("");
  for (const p of pages) console.log(`DOM mutations over 100 unchanged reVoziz ticks, ${thousands(p.segments)} segments: ${p.mutations}`);
}
