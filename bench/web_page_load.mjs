// Times the web page in headless Chromium: the browser's start, the page's load, and its
// first picture (the title), each run with a new profile, so nothing is kept between runs; and
// the bytes a first visit costs on the wire (everything the server sent, until the service
// worker has its offline copy).
//
//   node bench/web_page_load.mjs [SITE_DIR] [--runs N]     (after make web and make test-web,
//                                                           which installs puppeteer-core)
import fs from "node:fs";
import { createRequire } from "node:module";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

import { serveSite } from "../scripts/serve_site.mjs";

const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const require = createRequire(path.join(sourceDir, "tests", "web", "package.json"));
const { default: puppeteer } = await import(require.resolve("puppeteer-core"));

const args = process.argv.slice(2);
const runsAt = args.indexOf("--runs");
const runs = runsAt >= 0 ? Number(args.splice(runsAt, 2)[1]) : 5;
const siteDir = path.resolve(args[0] || path.join(sourceDir, "build-web", "site"));

const server = await serveSite(siteDir);
const sockets = new Set();
server.on("connection", (socket) => sockets.add(socket));
const sent = () => [...sockets].reduce((sum, s) => sum + s.bytesWritten, 0);
const url = `http://127.0.0.1:${server.address().port}/`;
const figures = { start: [], load: [], picture: [] };
const wire = [];
for (let run = 0; run < runs; ++run) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "rapiko-bench-"));
  const t0 = performance.now();
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    userDataDir: profile,
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  const t1 = performance.now();
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 960 });
  await page.goto(url, { waitUntil: "load" });
  const t2 = performance.now();
  // The first picture: the canvas at the picture's size, with a pixel that is not black.
  await page.waitForFunction(
    () => {
      const c = document.getElementById("canvas");
      if (c.width !== 1280) return false;
      const d = c.getContext("2d").getImageData(640, 200, 1, 1).data;
      return d[0] + d[1] + d[2] > 0;
    },
    { polling: 20, timeout: 30_000 },
  );
  const t3 = performance.now();
  await page.evaluate(() => navigator.serviceWorker.ready);
  await browser.close();
  wire.push(sent());
  sockets.clear();
  fs.rmSync(profile, { recursive: true, force: true });
  figures.start.push(t1 - t0);
  figures.load.push(t2 - t1);
  figures.picture.push(t3 - t2);
}
server.close();

const median = (v) => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];
console.log(`${runs} runs, milliseconds (median, min, max):`);
for (const [name, values] of Object.entries(figures)) {
  const line = [median(values), Math.min(...values), Math.max(...values)].map((x) => x.toFixed(0));
  console.log(`  ${name.padEnd(8)} ${line.join("  ")}`);
}
console.log(`  bytes on the wire, a first visit: ${median(wire)} (${(median(wire) / 1e6).toFixed(2)} MB)`);
