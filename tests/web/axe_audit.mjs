// The axe audit of a page and of every frame in it: the serious and critical
// violations, each as "rule: the elements".

import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";

const axeSource = await readFile(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");

export async function seriousViolations(page) {
  for (const f of page.frames()) await f.evaluate(axeSource);
  const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ["violations"] }));
  return result.violations
    .filter((v) => v.impact === "serious" || v.impact === "critical")
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
}
