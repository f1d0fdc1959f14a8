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

// Starts serving root; resolves to the server once it listens (server.address().port).
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
    fs.readFile(file, (error, bytes) => {
      if (error) {
        response.writeHead(404, { "Content-Type": "text/plain" }).end("not found\n");
        return;
      }
      response.writeHead(200, {
        "Content-Type": kTypes[path.extname(file)] || "application/octet-stream",
        "Cache-Control": "no-cache",
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
