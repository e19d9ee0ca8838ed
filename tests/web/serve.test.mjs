// The lesson server: byte ranges, which a <video> needs to seek, the types of
// what lessons hold, and paths that try to leave the served folders.

import assert from "node:assert/strict";
import { mkdir, mkdtemp, rm, symlink, writeFile } from "node:fs/promises";
import { request } from "node:http";
import os from "node:os";
import path from "node:path";
import { after, before, describe, test } from "node:test";

import { startServer } from "../../web/serve.mjs";

let folder;
let server;
before(async () => {
  folder = await mkdtemp(path.join(os.tmpdir(), "revoziz-serve-"));
  await writeFile(path.join(folder, "clip.webm"), "0123456789");
  await writeFile(path.join(folder, "index.html"), "<p>lesson</p>");
  await mkdir(path.join(folder, "tema"));
  await writeFile(path.join(folder, "tema", "index.html"), "<p>tema</p>");
  await writeFile(path.join(os.tmpdir(), "revoziz-outside.txt"), "secret");
  await symlink(path.join(os.tmpdir(), "revoziz-outside.txt"), path.join(folder, "leak.txt"));
  await symlink(os.tmpdir(), path.join(folder, "tmp"));
  await symlink(path.join(folder, "clip.webm"), path.join(folder, "alias.webm"));
  // The module's build folder: its own files beside the build's.
  const build = path.join(folder, "build");
  await mkdir(path.join(build, "CMakeFiles"), { recursive: true });
  for (const name of ["revoziz.mjs", "revoziz.wasm", "host.js", "CMakeCache.txt", "CMakeFiles/x.js"]) {
    await writeFile(path.join(build, name), name);
  }
  server = await startServer({ port: 0, mounts: { "/": folder, "/revoziz/": build }, isolated: ["/tema/"] });
});
after(async () => {
  await new Promise((resolve) => server.close(resolve));
  await rm(folder, { recursive: true });
  await rm(path.join(os.tmpdir(), "revoziz-outside.txt"));
});

// A raw request, so that paths reach the server exactly as written.
function get(pathname, headers = {}) {
  return new Promise((resolve, reject) => {
    const req = request({ port: server.address().port, host: "127.0.0.1", path: pathname, headers }, (res) => {
      let body = "";
      res.on("data", (chunk) => {
        body += chunk;
      });
      res.on("end", () => resolve({ status: res.statusCode, headers: res.headers, body }));
    });
    req.on("error", reject);
    req.end();
  });
}

describe("byte ranges", () => {
  test("a range, an open range and a suffix each answer 206 with their bytes", async () => {
    const middle = await get("/clip.webm", { Range: "bytes=2-5" });
    assert.deepEqual([middle.status, middle.body, middle.headers["content-range"]], [206, "2345", "bytes 2-5/10"]);
    const open = await get("/clip.webm", { Range: "bytes=7-" });
    assert.deepEqual([open.status, open.body], [206, "789"]);
    const suffix = await get("/clip.webm", { Range: "bytes=-3" });
    assert.deepEqual([suffix.status, suffix.body], [206, "789"]);
    const past = await get("/clip.webm", { Range: "bytes=8-99" });
    assert.deepEqual([past.status, past.body, past.headers["content-range"]], [206, "89", "bytes 8-9/10"]);
  });

  test("a range beyond the file is refused; no range or a malformed one sends the whole file", async () => {
    const beyond = await get("/clip.webm", { Range: "bytes=10-" });
    assert.deepEqual([beyond.status, beyond.headers["content-range"]], [416, "bytes */10"]);
    const whole = await get("/clip.webm");
    assert.deepEqual([whole.status, whole.body, whole.headers["accept-ranges"]], [200, "0123456789", "bytes"]);
    const odd = await get("/clip.webm", { Range: "bytes=a-b" });
    assert.deepEqual([odd.status, odd.body], [200, "0123456789"]);
  });

  test("an invalid range, whose last byte comes before its first, is ignored", async () => {
    const backwards = await get("/clip.webm", { Range: "bytes=5-2" });
    assert.deepEqual([backwards.status, backwards.body, backwards.headers["content-range"]], [200, "0123456789", undefined]);
  });
});

test("only the paths asked for are served cross-origin isolated", async () => {
  const isolation = async (pathname) => {
    const { headers } = await get(pathname);
    return [headers["cross-origin-opener-policy"], headers["cross-origin-embedder-policy"]];
  };
  assert.deepEqual(await isolation("/tema/index.html"), ["same-origin", "require-corp"]);
  for (const pathname of ["/index.html", "/revoziz/host.js", "/clip.webm"]) {
    assert.deepEqual(await isolation(pathname), [undefined, undefined], pathname);
  }
});

describe("paths", () => {
  test("a folder serves its index page, with the type of its extension", async () => {
    const index = await get("/");
    assert.deepEqual([index.status, index.body, index.headers["content-type"]], [200, "<p>lesson</p>", "text/html; charset=utf-8"]);
    assert.equal((await get("/clip.webm")).headers["content-type"], "video/webm");
    assert.equal((await get("/nothing.html")).status, 404);
  });

  test("what lessons hold is served with its type", async () => {
    const types = {
      "page.htm": "text/html; charset=utf-8",
      "photo.jpg": "image/jpeg",
      "photo.JPEG": "image/jpeg",
      "icon.png": "image/png",
      "icon.svg": "image/svg+xml",
      "captions.vtt": "text/vtt; charset=utf-8",
      "captions.srt": "application/x-subrip",
      "notes.txt": "text/plain; charset=utf-8",
      "data.json": "application/json",
      "clip.mp4": "video/mp4",
      "clip.webm": "video/webm",
      "sound.ogg": "audio/ogg",
      "sound.mp3": "audio/mpeg",
      "other.bin": "application/octet-stream",
    };
    for (const name of Object.keys(types)) if (name !== "clip.webm") await writeFile(path.join(folder, name), "x");
    for (const [name, type] of Object.entries(types)) {
      const answer = await get(`/${name}`);
      assert.deepEqual([answer.status, answer.headers["content-type"]], [200, type], name);
    }
  });

  test("a folder named without its trailing slash is redirected to it, query kept", async () => {
    const moved = await get("/tema?x=1");
    assert.deepEqual([moved.status, moved.headers.location], [301, "/tema/?x=1"]);
    assert.equal((await get("/tema/")).body, "<p>tema</p>");
  });

  test("symbolic links serve only what stays inside the folder", async () => {
    assert.equal((await get("/alias.webm")).body, "0123456789");
    for (const attempt of ["/leak.txt", "/tmp/revoziz-outside.txt"]) {
      const answer = await get(attempt);
      assert.notEqual(answer.body, "secret", attempt);
      assert.equal(answer.status, 403, attempt);
    }
  });

  test("under /revoziz/ only the module's files are served, never the rest of its build folder", async () => {
    for (const name of ["revoziz.mjs", "revoziz.wasm", "host.js"]) {
      assert.deepEqual([(await get(`/revoziz/${name}`)).status, (await get(`/revoziz/${name}`)).body], [200, name]);
    }
    assert.equal((await get("/revoziz/revoziz.wasm")).headers["content-type"], "application/wasm");
    for (const name of ["CMakeCache.txt", "CMakeFiles/x.js", "", "CMakeFiles", "CMakeFiles/"]) {
      assert.equal((await get(`/revoziz/${name}`)).status, 404, name);
    }
  });

  test("paths that climb out of the folder, plain or encoded, never reach files outside it", async () => {
    for (const attempt of ["/../revoziz-outside.txt", "/%2e%2e/revoziz-outside.txt", "/..%2frevoziz-outside.txt", "/%2e%2e%5crevoziz-outside.txt"]) {
      const answer = await get(attempt);
      assert.notEqual(answer.body, "secret", attempt);
      assert.ok([403, 404].includes(answer.status), `${attempt}: ${answer.status}`);
    }
    assert.equal((await get("/%E0%A4%A")).status, 403);
  });
});
