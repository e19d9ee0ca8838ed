// The control's timer: an interval that calls into the module, unless the
// last tick left a rest condition that still holds. Such a tick would read
// the same as the one before and write nothing, so it is skipped here,
// without entering the module: while the documents it depends on keep their
// change stamps and the player's position stays within the span that gives
// the same segments.

import { stampsHold } from "./change_stamp.js";

const timers = new Map(); // handle -> { interval, rest }
let lastHandle = 0;

function stillQuiet(rest, read) {
  if (!stampsHold(rest.documents, rest.stamps)) return false;
  // Read as the tick reads it; a failure or a value that is not a number
  // is the tick's to report.
  const position = read(read(rest.player, "controls"), "currentPosition");
  if (typeof position !== "number") return false;
  return (
    (position > rest.low || (rest.lowIncluded && position === rest.low)) &&
    (position < rest.high || (rest.highIncluded && position === rest.high))
  );
}

// Calls `fire(key)` every `ms`; `read(object, name)` reads a member as the
// control does. Answers a handle for the two below, never 0.
export function startTicks(ms, fire, key, read) {
  const timer = { rest: null };
  timer.interval = setInterval(() => {
    if (timer.rest !== null && stillQuiet(timer.rest, read)) return;
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

// The condition under which the ticks may be skipped, or null.
export function restTicks(handle, rest) {
  const timer = timers.get(handle);
  if (timer) timer.rest = rest;
}
