// Ticks as the control's timer runs them: each in a task of its own, timed
// inside that task. Tasks are posted through a MessageChannel, which the
// browser does not clamp as it does nested timeouts.

const channel = new MessageChannel();
const waiting = [];
channel.port1.onmessage = () => waiting.shift()();

// Runs `step` in a task of its own; resolves with what it answers.
export function inOwnTask(step) {
  return new Promise((resolve, reject) => {
    waiting.push(() => {
      try {
        resolve(step());
      } catch (error) {
        reject(error);
      }
    });
    channel.port2.postMessage(null);
  });
}

// Brings the style and layout of the page and its lists up to date, as the
// browser's rendering does in the 500 ms between two real ticks, so that no
// tick pays for what the one before it left.
function settle(documents) {
  for (const doc of documents) doc.documentElement.getBoundingClientRect();
}

// One tick in a task of its own: the page settled, then `before` (a change
// the page makes, untimed), then the tick alone, timed; `rendered`, the tick
// and the style and layout it leaves, brought up to date as the rendering
// right after it does. Answers milliseconds.
export function timedTick(documents, { before, tick, rendered = false }) {
  return inOwnTask(() => {
    settle(documents);
    before?.();
    const start = performance.now();
    tick();
    if (rendered) settle(documents);
    return performance.now() - start;
  });
}

// A round is a list of steps ({ name, before, tick }), taken in order, one
// task each, like a changing tick and the tick after it; `prepare` runs in a
// task of its own before the round's batch, untimed. A batch repeats a round
// `ticks` times (or, given `ms`, at least twice and while it has taken less
// than `ms` milliseconds); its figure for a step is the mean of that step's
// ticks.
async function batchOf(documents, { prepare, steps }, ticks, ms = Infinity) {
  if (prepare) await inOwnTask(prepare);
  const sums = steps.map(() => 0);
  const start = performance.now();
  let done = 0;
  for (; done < ticks && (done < 2 || performance.now() - start < ms); done++) {
    for (const [s, step] of steps.entries()) sums[s] += await timedTick(documents, step);
  }
  return sums.map((sum) => (sum * 1000) / done);
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

// How many batches of every round fit in `budgetMs` milliseconds, going by
// the warm-up's means (microseconds per tick of each round's steps): at most
// `most`, and at least one.
function batchesWithin(warmupMeans, ticks, most, budgetMs) {
  const perBatchMs = warmupMeans.flat().reduce((sum, mean) => sum + mean, 0) * (ticks / 1000);
  return Math.max(1, Math.min(most, Math.floor(budgetMs / perBatchMs)));
}

// Each step's median over batches of `ticks` ticks, in microseconds per tick,
// after an untimed batch of every round, `warmup.ticks` long or `warmup.ms`
// milliseconds if that comes first. There are `batches` batches, or fewer
// where they would take longer than `budgetMs`, but at least one. The rounds'
// batches are taken in turn, so that the machine's drift touches all alike.
export async function measureRounds(documents, rounds, { batches: most, budgetMs = Infinity, ticks, warmup }) {
  const warmupMeans = [];
  for (const round of rounds) warmupMeans.push(await batchOf(documents, round, warmup.ticks, warmup.ms));
  const batches = most > 0 ? batchesWithin(warmupMeans, ticks, most, budgetMs) : 0;
  const samples = rounds.map((round) => round.steps.map(() => []));
  for (let b = 0; b < batches; b++) {
    for (const [r, round] of rounds.entries()) {
      const means = await batchOf(documents, round, ticks);
      means.forEach((mean, s) => samples[r][s].push(mean));
    }
  }
  const figures = {};
  rounds.forEach((round, r) =>
    round.steps.forEach(({ name }, s) => {
      figures[name] = { median: batches ? median(samples[r][s]) : null, batches, ticks };
    }),
  );
  return figures;
}
