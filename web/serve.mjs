// A small static server for lessons: the lesson folder at "/", the browser
// host (module, wasm and host layer) at "/revoziz/". It answers byte ranges,
// which a <video> needs in order to seek.
//
//   node web/serve.mjs [--port 8080] [--root lessons/sample] [--module build-web/web]

import { createReadStream } from "node:fs";
import { realpath, stat } from "node:fs/promises";
import { createServer } from "node:http";
import path from "node:path";
import { fileURLToPath } from "node:url";

// What lessons hold: pages (also in frames), scripts, pictures, media and
// captions.
const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".htm": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".wasm": "application/wasm",
  ".css": "text/css; charset=utf-8",
  ".json": "application/json",
  ".txt": "text/plain; charset=utf-8",
  ".vtt": "text/vtt; charset=utf-8",
  ".srt": "application/x-subrip",
  ".gif": "image/gif",
  ".jpg": "image/jpeg",
  ".jpeg": "image/jpeg",
  ".png": "image/png",
  ".svg": "image/svg+xml",
  ".webm": "video/webm",
  ".mp4": "video/mp4",
  ".ogg": "audio/ogg",
  ".mp3": "audio/mpeg",
  ".notes": "text/html; charset=windows-1252",
};

// The headers that isolate a page from other origins, which a page needs for
// the browser's finer clock (5 µs instead of 100 µs).
const ISOLATION = { "Cross-Origin-Opener-Policy": "same-origin", "Cross-Origin-Embedder-Policy": "require-corp" };

// The module's own files: the build folder beside them holds the build's.
const isModuleFile = (relative) => /^[\w.-]+\.(m?js|wasm)$/.test(relative);

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
  // A last position before the first makes the header invalid, and HTTP
  // says to ignore an invalid one.
  if (match[1] !== "" && match[2] !== "" && Number(match[2]) < Number(match[1])) return null;
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

async function answer(request, response, mounts, isolated) {
  if (request.method !== "GET" && request.method !== "HEAD") {
    response.writeHead(405, { Allow: "GET, HEAD" }).end();
    return;
  }
  const url = new URL(request.url, "http://localhost");
  const pathname = url.pathname;
  const [prefix, root, only] = mounts.find(([p]) => pathname.startsWith(p));
  const relative = pathname.slice(prefix.length);
  let file = resolveInside(root, relative);
  if (!file) {
    response.writeHead(403).end();
    return;
  }
  if (only && !only(relative)) {
    response.writeHead(404, { "Content-Type": "text/plain" }).end("Not found\n");
    return;
  }
  let info = await stat(file).catch(() => null);
  if (info?.isDirectory()) {
    // Relative links in its index page must resolve inside the folder.
    if (!pathname.endsWith("/")) {
      response.writeHead(301, { Location: `${pathname}/${url.search}` }).end();
      return;
    }
    file = path.join(file, "index.html");
    info = await stat(file).catch(() => null);
  }
  if (info && !(await staysInside(root, file))) {
    response.writeHead(403).end();
    return;
  }
  if (!info?.isFile()) {
    response.writeHead(404, { "Content-Type": "text/plain" }).end("Not found\n");
    return;
  }
  const headers = {
    "Content-Type": TYPES[path.extname(file).toLowerCase()] ?? "application/octet-stream",
    "Accept-Ranges": "bytes",
    "Cache-Control": "no-cache",
    ...(isolated.some((prefix) => pathname.startsWith(prefix)) ? ISOLATION : {}),
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

// Whether `file`, its symbolic links followed, is still inside `root`.
async function staysInside(root, file) {
  const [base, target] = await Promise.all([realpath(root), realpath(file).catch(() => null)]);
  return target !== null && (target === base || target.startsWith(base + path.sep));
}

// Starts a server; resolves with it once it listens. `mounts` maps URL
// prefixes ending in "/" to folders; "/" must be among them. Under
// "/revoziz/" only the module's files are served. Files under the URL prefixes
// in `isolated` are served cross-origin isolated.
export function startServer({ port = 8080, host = "127.0.0.1", mounts, isolated = [] }) {
  const ordered = Object.entries(mounts)
    .map(([prefix, root]) => [prefix, root, prefix === "/revoziz/" ? isModuleFile : null])
    .sort(([a], [b]) => b.length - a.length);
  const server = createServer((request, response) => {
    answer(request, response, ordered, isolated).catch(() => {
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
