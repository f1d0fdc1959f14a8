// Serves the web site (build-web/site) on this machine only, for playing and for the browser
// test: node scripts/serve_site.mjs [SITE_DIR] [PORT]  (port 0: any free one).
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { fileURLToPath } from "node:url";

const kTypes = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".webmanifest": "application/manifest+json",
  ".png": "image/png",
  ".data": "application/octet-stream",
};

// The build's compressed copies of a file (cmake/web/site.cmake), best first.
const kEncodings = [
  ["br", ".br"],
  ["gzip", ".gz"],
];

// The encodings a request's Accept-Encoding takes (a q of 0 refuses one).
function accepted(header = "") {
  const taken = new Set();
  for (const part of header.split(",")) {
    const [name, ...params] = part.trim().toLowerCase().split(";");
    const q = params.map((p) => p.trim()).find((p) => p.startsWith("q="));
    if (name && !(q && Number(q.slice(2)) === 0)) taken.add(name);
  }
  return taken;
}

// Starts serving root; resolves to the server once it listens (server.address().port). A file
// goes compressed where the build made a copy in an encoding the browser takes.
export function serveSite(root, port = 0) {
  const base = path.resolve(root);
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, "http://localhost");
    let file = path.join(base, decodeURIComponent(url.pathname));
    if (!file.startsWith(base + path.sep) && file !== base) {
      response.writeHead(403).end();
      return;
    }
    if (file.endsWith(path.sep) || file === base) file = path.join(file, "index.html");
    const taken = accepted(request.headers["accept-encoding"]);
    const [encoding, suffix] =
      kEncodings.find(([name, end]) => taken.has(name) && fs.existsSync(file + end)) || [];
    const sent = suffix ? file + suffix : file;
    fs.readFile(sent, (error, bytes) => {
      if (error) {
        response.writeHead(404, { "Content-Type": "text/plain" }).end("not found\n");
        return;
      }
      // Each load asks again (no-cache), and what the browser has already is not sent twice
      // (the service worker's copy after the page's own load, above all).
      const { size, mtimeMs } = fs.statSync(sent);
      const tag = `"${size.toString(36)}-${Math.trunc(mtimeMs).toString(36)}-${encoding || "raw"}"`;
      const headers = { "Cache-Control": "no-cache", ETag: tag, Vary: "Accept-Encoding" };
      if (request.headers["if-none-match"] === tag) {
        response.writeHead(304, headers).end();
        return;
      }
      response.writeHead(200, {
        ...headers,
        "Content-Type": kTypes[path.extname(file)] || "application/octet-stream",
        ...(encoding && { "Content-Encoding": encoding }),
      });
      response.end(request.method === "HEAD" ? undefined : bytes);
    });
  });
  return new Promise((resolve, reject) => {
    server.once("error", reject);
    server.listen(port, "127.0.0.1", () => resolve(server));
  });
}

if (process.argv[1] && fileURLToPath(import.meta.url) === path.resolve(process.argv[1])) {
  const root = process.argv[2] || "build-web/site";
  const server = await serveSite(root, Number(process.argv[3] || 8000));
  console.log(`Rapiko: http://127.0.0.1:${server.address().port}/ (Ctrl+C stops)`);
}
