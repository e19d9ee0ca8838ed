// A small static server for lessons: the lesson folder at "/", the browser
// host (module, wasm and host layer) at "/revoziz/". It answers byte ranges,
// which a <video> needs in order to seek.
//
//   node web/serve.mjs [--port 8080] [--root lessons/sample] [--module build-web/web]

import { createReadStream } from "node:fs";
import { stat } from "node:fs/promises";
import { createServer } from "node:http";
import path from "node:path";
import { fileURLToPath } from "node:url";

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".wasm": "application/wasm",
  ".css": "text/css; charset=utf-8",
  ".gif": "image/gif",
  ".png": "image/png",
  ".svg": "image/svg+xml",
  ".webm": "video/webm",
  ".mp4": "video/mp4",
  ".notes": "text/html; charset=windows-1252",
};

// The file a request path names under `root`, or null when the path leaves it.
export function resolveInside(root, requestPath) {
  let decoded;
  try {
    decoded = decodeURIComponent(requestPath);
  } catch {
    return null;
  }
  if (decoded.includes("\0")) return null;
  const file = path.resolve(root, `.${path.posix.normalize(`/${decoded}`)}`);
  const base = path.resolve(root);
  return file === base || file.startsWith(base + path.sep) ? file : null;
}

// The one byte range of a "Range" header within a file of `size` bytes:
// {start, end} inclusive, "unsatisfiable", or null to send the whole file.
export function parseRange(header, size) {
  const match = /^bytes=(\d*)-(\d*)$/.exec(String(header ?? "").trim());
  if (!match || (match[1] === "" && match[2] === "")) return null;
  let start;
  let end;
  if (match[1] === "") {
    const suffix = Number(match[2]);
    if (suffix === 0) return "unsatisfiable";
    start = Math.max(0, size - suffix);
    end = size - 1;
  } else {
    start = Number(match[1]);
    end = match[2] === "" ? size - 1 : Math.min(Number(match[2]), size - 1);
  }
  if (start >= size || start > end) return "unsatisfiable";
  return { start, end };
}

async function answer(request, response, mounts) {
  if (request.method !== "GET" && request.method !== "HEAD") {
    response.writeHead(405, { Allow: "GET, HEAD" }).end();
    return;
  }
  const pathname = new URL(request.url, "http://localhost").pathname;
  const [prefix, root] = mounts.find(([p]) => pathname.startsWith(p));
  let file = resolveInside(root, pathname.slice(prefix.length));
  if (!file) {
    response.writeHead(403).end();
    return;
  }
  let info = await stat(file).catch(() => null);
  if (info?.isDirectory()) {
    file = path.join(file, "index.html");
    info = await stat(file).catch(() => null);
  }
  if (!info?.isFile()) {
    response.writeHead(404, { "Content-Type": "text/plain" }).end("Not found\n");
    return;
  }
  const headers = {
    "Content-Type": TYPES[path.extname(file).toLowerCase()] ?? "application/octet-stream",
    "Accept-Ranges": "bytes",
    "Cache-Control": "no-cache",
  };
  const range = parseRange(request.headers.range, info.size);
  if (range === "unsatisfiable") {
    response.writeHead(416, { ...headers, "Content-Range": `bytes */${info.size}` }).end();
    return;
  }
  const { start, end } = range ?? { start: 0, end: info.size - 1 };
  const status = range ? 206 : 200;
  if (range) headers["Content-Range"] = `bytes ${start}-${end}/${info.size}`;
  headers["Content-Length"] = info.size === 0 ? 0 : end - start + 1;
  response.writeHead(status, headers);
  if (request.method === "HEAD" || info.size === 0) {
    response.end();
    return;
  }
  createReadStream(file, { start, end })
    .on("error", () => response.destroy())
    .pipe(response);
}

// Starts a server; resolves with it once it listens. `mounts` maps URL
// prefixes ending in "/" to folders; "/" must be among them.
export function startServer({ port = 8080, host = "127.0.0.1", mounts }) {
  const ordered = Object.entries(mounts).sort(([a], [b]) => b.length - a.length);
  const server = createServer((request, response) => {
    answer(request, response, ordered).catch(() => {
      if (!response.headersSent) response.writeHead(500);
      response.end();
    });
  });
  return new Promise((resolve, reject) => {
    server.once("error", reject);
    server.listen(port, host, () => resolve(server));
  });
}

function option(args, name, fallback) {
  const at = args.indexOf(name);
  return at >= 0 && at + 1 < args.length ? args[at + 1] : fallback;
}

if (process.argv[1] && fileURLToPath(import.meta.url) === path.resolve(process.argv[1])) {
  const repository = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
  const args = process.argv.slice(2);
  const port = Number(option(args, "--port", "8080"));
  const root = path.resolve(option(args, "--root", path.join(repository, "lessons/sample")));
  const module = path.resolve(option(args, "--module", path.join(repository, "build-web/web")));
  const server = await startServer({ port, mounts: { "/": root, "/revoziz/": module } });
  const { port: bound } = server.address();
  console.log(`Serving ${root} on http://localhost:${bound}/`);
}
