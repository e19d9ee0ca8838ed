// The control's timer: an interval that calls into the module, unless the
// last tick left a rest condition that still holds. Such a tick would read
// the same as the one before and write nothing, so it is skipped here,
// without entering the module: while the documents it depends on keep their
// change stamps and the player's position stays within the span that gives
// the same segments.

import { stampsHold, watchedStates } from "./change_stamp.js";

const timers = new Map(); // handle -> { interval, rest }
let lastHandle = 0;

function stillQuiet(rest, positionOf) {
  if (!stampsHold(rest.states, rest.stamps)) return false;
  // A failure or a value that is not a number is the tick's to report.
  const position = positionOf(rest.player);
  if (typeof position !== "number") return false;
  return (
    (position > rest.low || (rest.lowIncluded && position === rest.low)) &&
    (position < rest.high || (rest.highIncluded && position === rest.high))
  );
}

// Calls `fire(key)` every `ms`; `positionOf(player)` reads the player's
// position as the tick does. Answers a handle for the two below, never 0.
export function startTicks(ms, fire, key, positionOf) {
  const timer = { rest: null };
  timer.interval = setInterval(() => {
    if (timer.rest !== null && stillQuiet(timer.rest, positionOf)) return;
    timer.rest = null;
    fire(key);
  }, ms);
  timers.set(++lastHandle, timer);
  return lastHandle;
}

export function stopTicks(handle) {
  clearInterval(timers.get(handle)?.interval);
  timers.delete(handle);
}

// The condition under which the ticks may be skipped, or null: documents
// with the stamps taken of them, the player, and the span of positions.
export function restTicks(handle, condition) {
  const timer = timers.get(handle);
  if (!timer) return;
  const states = condition && watchedStates(condition.documents);
  timer.rest = states && {
    states,
    stamps: condition.stamps,
    player: condition.player,
    low: condition.low,
    lowIncluded: condition.lowIncluded,
    high: condition.high,
    highIncluded: condition.highIncluded,
  };
}
