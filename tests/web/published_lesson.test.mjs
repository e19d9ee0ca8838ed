// A lesson made from captions and published as a folder, served under a path
// prefix by a plain static server that answers byte ranges (written here, not
// the repository's lesson server): the marking follows the video, and a click
// on a segment seeks it.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { createReadStream } from "node:fs";
import { mkdtemp, rm, stat } from "node:fs/promises";
import { createServer } from "node:http";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";

import { chromium } from "playwright-core";

import { frame, lessonStarted, repository, waitMarked } from "./lesson_browser.mjs";

const PREFIX = "/cursos/foto/";
const TYPES = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".mjs": "text/javascript",
  ".wasm": "application/wasm", ".webm": "video/webm", ".gif": "image/gif" };

// Serves `root` under PREFIX and nothing else, with single byte ranges.
function staticServer(root) {
  return createServer(async (request, response) => {
    const pathname = decodeURIComponent(new URL(request.url, "http://x").pathname);
    if (!pathname.startsWith(PREFIX) || pathname.includes("..")) return response.writeHead(404).end();
    let file = path.join(root, pathname.slice(PREFIX.length));
    if (pathname.endsWith("/")) file = path.join(file, "index.html");
    const info = await stat(file).catch(() => null);
    if (!info?.isFile()) return response.writeHead(404).end();
    const headers = { "Content-Type": TYPES[path.extname(file)] ?? "application/octet-stream", "Accept-Ranges": "bytes" };
    const range = /^bytes=(\d+)-(\d*)$/.exec(request.headers.range ?? "");
    let [start, end] = [0, info.size - 1];
    if (range) {
      start = Number(range[1]);
      end = range[2] ? Math.min(Number(range[2]), info.size - 1) : info.size - 1;
      if (start > end) return response.writeHead(416, { "Content-Range": `bytes */${info.size}` }).end();
      headers["Content-Range"] = `bytes ${start}-${end}/${info.size}`;
    }
    headers["Content-Length"] = end - start + 1;
    response.writeHead(range ? 206 : 200, headers);
    createReadStream(file, { start, end }).pipe(response);
  });
}

let scratch;
let server;
let browser;
let base;

before(async () => {
  scratch = await mkdtemp(path.join(os.tmpdir(), "revoziz-published-"));
  const revoziz = path.join(repository, "build/revoziz");
  const captions = path.join(repository, "tests/captions/files");
  execFileSync(revoziz, ["lesson", "new", path.join(scratch, "lesson"),
    "--video", path.join(repository, "lessons/sample/fotografia_digital.webm"), "--link-video",
    "--captions", `en=${path.join(captions, "lesson_en.vtt")}`,
    "--captions", `es=${path.join(captions, "lesson_es.vtt")}`,
    "--chapters", path.join(captions, "lesson_chapters.vtt"), "--title", "Luz y exposición"]);
  execFileSync(revoziz, ["lesson", "publish", path.join(scratch, "lesson"), path.join(scratch, "site"),
    "--module", path.join(repository, "build-web/web")]);
  server = staticServer(path.join(scratch, "site"));
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  base = `http://localhost:${server.address().port}`;
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu", "--no-first-run"],
    headless: true,
  });
});

after(async () => {
  await browser?.close();
  await new Promise((resolve) => (server ? server.close(resolve) : resolve()));
  await rm(scratch, { recursive: true, force: true });
});

test("the published lesson runs under a path prefix: the marking follows the video, a click seeks", async () => {
  const page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
  const problems = [];
  page.on("console", (m) => m.type() === "error" && problems.push(m.text()));
  page.on("pageerror", (e) => problems.push(e.message));
  // A seek makes the browser drop the video's request under way and ask
  // again from the new place: that is no failure.
  const seekDropped = (r) => r.resourceType() === "media" && r.failure()?.errorText === "net::ERR_ABORTED";
  page.on("requestfailed", (r) => seekDropped(r) || problems.push(`failed ${r.url()}`));
  page.on("response", (r) => r.status() >= 400 && problems.push(`${r.status()} ${r.url()}`));
  await page.goto(`${base}${PREFIX}`);
  await lessonStarted(page);

  await page.evaluate(() => {
    document.getElementById("mp").currentTime = 13;
  });
  await waitMarked(page, "tq_trans", { id: "s3" });
  await waitMarked(page, "tq_toc", { id: "c2" });

  await frame(page, "tq_trans").click("#s4");
  await page.waitForFunction(() => Math.abs(document.getElementById("mp").currentTime - 20) < 3);
  await waitMarked(page, "tq_trans", { id: "s4" });
  // The caption's unknown tag was dropped and its text kept, so nothing of it runs.
  assert.equal(await frame(page, "tq_trans").locator("#s3 script").count(), 0);
  assert.match(await frame(page, "tq_trans").locator("#s3").innerText(), /alert\("x"\)/);
  assert.deepEqual(problems, []);
  await page.close();
});
