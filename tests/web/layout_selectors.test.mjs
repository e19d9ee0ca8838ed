// What the layout rules of a page's sheets select on, as the change stamps
// read it in each browser (each expands shorthands its own way): rules that
// only paint select on nothing that counts.

import assert from "node:assert/strict";
import { test } from "node:test";

import { inEachBrowser } from "./browsers.mjs";

// [sheet, attributes that count, whether the tree's shape counts]
const SHEETS = [
  [".a[data-x] { color: red; background: #ffd; outline: 2px solid }", [], false],
  ["#iText .segment[aria-current=\"true\"] { outline-offset: 1px; box-shadow: 0 0 0 4px blue }", [], false],
  ["html:has(.b:not([hidden])) { scroll-padding-top: 2.5rem }", [], false],
  [".a[data-x] { display: none }", ["data-x"], false],
  ["[class~=\"x\"] + p { font-size: 0 }", ["class"], true],
  ["@media screen { .a[Data-Y] { height: 0 } }", ["data-y"], false],
  ["li:nth-child(2n+1) { display: none }", [], true],
  ["div:has(> .x) { margin: 0 }", [], true],
  ["div { margin: 0 } .a { color: red }", [], false],
];

inEachBrowser("what the sheets' layout rules select on", (lessons) => {
  test("each sheet's counted attributes and shape", async () => {
    const { page } = await lessons.open("bench/web/index.html?segments=10");
    const found = await page.evaluate(async (sheets) => {
      const { layoutSelectorsOf } = await import("/revoziz/layout_selectors.js");
      const read = async (css) => {
        const frame = document.createElement("iframe");
        const loaded = new Promise((resolve) => frame.addEventListener("load", resolve, { once: true }));
        frame.srcdoc = `<!DOCTYPE html><style>${css}</style>`;
        document.body.append(frame);
        await loaded;
        const { attributes, structural, everything } = layoutSelectorsOf(frame.contentDocument);
        frame.remove();
        return [[...attributes].sort(), structural, everything];
      };
      const out = [];
      for (const [css] of sheets) out.push(await read(css));
      return out;
    }, SHEETS);
    const expected = SHEETS.map(([, attributes, structural]) => [attributes, structural, false]);
    assert.deepEqual(found, expected);
  });
});
