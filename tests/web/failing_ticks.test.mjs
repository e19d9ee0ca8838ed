// Ticks that fail. A lesson page that breaks the page contract: its ticks
// fail, the page's console says so once, and nothing is marked, as on every
// host. A lesson whose frame is still loading: its ticks may fail meanwhile,
// which is said at debug level only.

import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import path from "node:path";
import { test } from "node:test";

import { inEachBrowser } from "./browsers.mjs";
import {
  errorsOnceLogged,
  frame,
  pageErrors,
  playedByStudent,
  repository,
  startedLessonIn,
  videoAdvances,
  waitMarked,
} from "./lesson_browser.mjs";

// The next request for `pathname` gets the page up to `marker` at once and the
// rest only when the answered function is called: the frame's document stays
// loading until then.
function stallOnce(server, pathname, marker) {
  const [serve] = server.listeners("request");
  let release;
  const released = new Promise((resolve) => {
    release = resolve;
  });
  server.removeAllListeners("request");
  server.on("request", async (request, response) => {
    if (new URL(request.url, "http://lesson").pathname !== pathname) return serve(request, response);
    server.removeAllListeners("request");
    server.on("request", serve);
    const page = await readFile(path.join(repository, pathname));
    const at = page.indexOf(marker);
    response.writeHead(200, { "content-type": "text/html; charset=utf-8", "cache-control": "no-store" });
    response.write(page.subarray(0, at));
    await released;
    response.end(page.subarray(at));
  });
  return release;
}

const QUIET_FAILURE = "debug: reVoziz: a tick failed while the lesson loads: ";

inEachBrowser("failing ticks", (lessons) => {
  test("a page without the tq_toc frame reports its failing ticks once and marks nothing", async () => {
    const { page, messages } = await lessons.open("tests/lessons/web_no_toc/index.html");
    await page.waitForFunction(() => window.tqStarted === true);
    await playedByStudent(page);
    await videoAdvances(page, 1.6);
    const failures = () => messages.filter((m) => m.startsWith("error: reVoziz: a tick failed"));
    assert.equal(failures().length, 1, messages.join("\n"));
    assert.match(failures()[0], /tq_toc \(438\)$/);
    const marked = await frame(page, "tq_trans").evaluate(
      () => document.querySelectorAll("#iText .segment[style]").length,
    );
    assert.equal(marked, 0);
    // The ticks go on failing the same way, which says nothing new.
    await videoAdvances(page, 1.1);
    assert.equal(failures().length, 1, messages.join("\n"));
    assert.equal(messages.filter((m) => m.startsWith(QUIET_FAILURE)).length, 0);
  });

  test("a transcript that loads slowly fails its ticks quietly meanwhile, and is marked once loaded", async () => {
    const { page, messages } = await startedLessonIn(lessons);
    const release = stallOnce(lessons.server, "/lessons/sample/trans_en.html", '<div id="iText"');
    await page.click(".tq_select");
    await page.click(".tq_option");
    await page.waitForFunction(() => {
      const loading = document.querySelector('iframe[name="tq_trans"]').contentDocument;
      return loading.URL.endsWith("trans_en.html") && loading.readyState === "loading";
    });
    const quiet = () => messages.filter((m) => m.startsWith(QUIET_FAILURE));
    const quietIText = `${QUIET_FAILURE}Object doesn't support this property or method: iText (438)`;
    assert.deepEqual(await errorsOnceLogged(messages, quietIText), []);
    assert.deepEqual(quiet(), [quietIText]);
    release();
    await waitMarked(page, "tq_trans");
    assert.match(await frame(page, "tq_trans").textContent("#s5"), /Let us start/);
    assert.equal(quiet().length, 1);
    assert.deepEqual(pageErrors(messages), []);
  });
});
