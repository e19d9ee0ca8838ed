// What the benchmark times at one place of the lists (a segment number), as
// rounds of ticks for tick_tasks.js on the page of tick_page.js: the control's
// changing tick and the tick after it, the JavaScript marking with the same
// moves, and the tick after each kind of change the page makes, beside the
// JavaScript linear scan after the same change.

import { inOwnTask, measureRounds, timedTick } from "./tick_tasks.js";

// The changing ticks move through this many segments after the place, one
// segment on at each tick (and back to the first after the last), so that
// every tick marks a new segment: the place itself, where each round starts,
// is never among them.
const MOVES = 8;

const bench = () => window.lessonBench;
const inside = (segment) => segment * bench().secondsPerSegment + 1;

// A position that moves on to the next segment at each call.
function movingFrom(place) {
  let moves = 0;
  return () => bench().setPosition(inside(place + 1 + (moves++ % MOVES)));
}

// Untimed: the control marks the place, and a second tick there, which
// finds the same, leaves the timer its rest condition.
const controlAt = (place) => () => {
  bench().setPosition(inside(place));
  bench().tick();
  bench().tick();
};
// Untimed: the linear scans mark the place.
const scanAt = (place) => () => {
  bench().setPosition(inside(place));
  bench().linearScanTick();
};

// The page's changes between two ticks, by the names the figures carry.
const CHANGES = {
  "unrelated change": () => bench().unrelatedChange(),
  "tabindex move": () => bench().moveTabStop(),
  "body class change": () => bench().bodyClassChange(),
};

export function roundsAt(place) {
  const tick = () => bench().tick();
  return [
    {
      prepare: controlAt(place),
      steps: [
        { name: "changing", before: movingFrom(place), tick },
        { name: "after changing", tick },
      ],
    },
    {
      prepare: controlAt(place),
      steps: [{ name: "reference", before: movingFrom(place), tick: () => bench().referenceMarkingTick() }],
    },
    // The same ticks with the restyle each leaves to the rendering: a tick
    // may read the layout before it writes and leave the restyle to the
    // browser, which the rendering then pays.
    { prepare: controlAt(place), steps: [{ name: "changing, rendered", before: movingFrom(place), tick, rendered: true }] },
    {
      prepare: controlAt(place),
      steps: [
        { name: "reference, rendered", before: movingFrom(place), tick: () => bench().referenceMarkingTick(), rendered: true },
      ],
    },
    ...Object.entries(CHANGES).flatMap(([what, change]) => [
      { prepare: controlAt(place), steps: [{ name: `control after ${what}`, before: change, tick }] },
      { prepare: scanAt(place), steps: [{ name: `linear after ${what}`, before: change, tick: () => bench().linearScanTick() }] },
    ]),
  ];
}

// The figures at `place` (see measureRounds).
export const measureAt = (place, options) => measureRounds(bench().documents, roundsAt(place), options);

// `count` changing ticks of the control and as many of the JavaScript
// marking, each in a task of its own between two user-timing marks
// ("<kind> start", "<kind> end"), for a trace to count what they cause.
export async function markChangingTicks(place, count) {
  const kinds = { control: () => bench().tick(), reference: () => bench().referenceMarkingTick() };
  for (const [kind, tick] of Object.entries(kinds)) {
    await inOwnTask(controlAt(place));
    const move = movingFrom(place);
    const marked = () => {
      performance.mark(`${kind} start`);
      tick();
      performance.mark(`${kind} end`);
    };
    for (let i = 0; i < count; i++) await timedTick(bench().documents, { before: move, tick: marked });
  }
}
