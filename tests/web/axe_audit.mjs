// The axe audit of a page and of every frame in it, each violation as "rule:
// the elements". Beside every serious or critical violation, the rules that
// a lesson must keep count at any impact: a main landmark, content in
// regions, titled frames, named dialogs and targets of 24 px.

import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";

const axeSource = await readFile(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
const ALWAYS_CHECKED = ["landmark-one-main", "region", "frame-title", "aria-dialog-name", "target-size"];

export async function auditViolations(page) {
  for (const f of page.frames()) await f.evaluate(axeSource);
  const { violations } = await page.evaluate(() =>
    window.axe.run(document, { resultTypes: ["violations"], rules: { "target-size": { enabled: true } } }),
  );
  return violations
    .filter((v) => ["serious", "critical"].includes(v.impact) || ALWAYS_CHECKED.includes(v.id))
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
}
