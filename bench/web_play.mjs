// Measures the web page while a round is played in headless Chromium at 1280 x 960: pictures
// shown per second, the page's main thread busy time, and the CPU of all the browser's
// processes, over SECONDS of play (default 10) after a round has started; and how busy the rest
// of the machine was meanwhile, since other work makes every figure worse.
//
//   node bench/web_play.mjs [SITE_DIR] [--seconds N] [--runs N]   (after make web and
//                                                                  make test-web)
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
const option = (name, fallback) => {
  const at = args.indexOf(name);
  return at >= 0 ? Number(args.splice(at, 2)[1]) : fallback;
};
const seconds = option("--seconds", 10);
const runs = option("--runs", 3);
const siteDir = path.resolve(args[0] || path.join(sourceDir, "build-web", "site"));
const ticksPerSecond = 100;  // USER_HZ of /proc/PID/stat on Linux

// CPU seconds used so far by a process and everything it started.
function treeCpuSeconds(root) {
  const parents = new Map();
  const used = new Map();
  for (const name of fs.readdirSync("/proc")) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${name}/stat`, "utf8");
      const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
      parents.set(Number(name), Number(fields[1]));
      used.set(Number(name), (Number(fields[11]) + Number(fields[12])) / ticksPerSecond);
    } catch {
      // gone meanwhile
    }
  }
  let total = 0;
  for (const [pid, cpu] of used) {
    for (let p = pid; p > 1; p = parents.get(p)) {
      if (p === root) {
        total += cpu;
        break;
      }
      if (!parents.has(p)) break;
    }
  }
  return total;
}

// CPU seconds the whole machine has been busy so far (all cores), from /proc/stat.
function machineBusySeconds() {
  const cpu = fs.readFileSync("/proc/stat", "utf8").split("\n")[0].trim().split(/\s+/).slice(1);
  const [user, nice, system, , , irq, softirq, steal] = cpu.map(Number);
  return (user + nice + system + irq + softirq + steal) / ticksPerSecond;
}

const server = await serveSite(siteDir);
const url = `http://127.0.0.1:${server.address().port}/`;
const results = [];
for (let run = 0; run < runs; ++run) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "rapiko-bench-"));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    userDataDir: profile,
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 960 });
  // Each picture the game shows is one run of putImageData calls on the canvas (one for each
  // changed part of it), all within one task.
  await page.evaluateOnNewDocument(() => {
    window.picturesShown = 0;
    let counted = false;
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...a) {
      if (!counted) {
        ++window.picturesShown;
        counted = true;
        queueMicrotask(() => { counted = false; });
      }
      return put.apply(this, a);
    };
  });
  const cdp = await page.createCDPSession();
  await cdp.send("Performance.enable");
  await page.goto(url, { waitUntil: "load" });
  await page.waitForFunction(() => document.getElementById("canvas").width === 1280,
                             { timeout: 30_000 });
  await new Promise((r) => setTimeout(r, 1000));
  await page.keyboard.press("Space");
  await new Promise((r) => setTimeout(r, 1000));

  const metric = async (name) =>
    (await cdp.send("Performance.getMetrics")).metrics.find((m) => m.name === name).value;
  const pid = browser.process().pid;
  const start = {
    wall: performance.now(),
    pictures: await page.evaluate(() => window.picturesShown),
    task: await metric("TaskDuration"),
    cpu: treeCpuSeconds(pid),
    machine: machineBusySeconds(),
  };
  // A player's pace: a letter every 150 ms, a shot after every fourth.
  const end = Date.now() + seconds * 1000;
  for (let i = 0; Date.now() < end; ++i) {
    await page.keyboard.press("etaoinshrdlu"[i % 12]);
    if (i % 4 === 3) await page.keyboard.press("Space");
    await new Promise((r) => setTimeout(r, 150));
  }
  const wall = (performance.now() - start.wall) / 1000;
  const browserCpu = treeCpuSeconds(pid) - start.cpu;
  results.push({
    fps: ((await page.evaluate(() => window.picturesShown)) - start.pictures) / wall,
    page: (100 * ((await metric("TaskDuration")) - start.task)) / wall,
    browser: (100 * browserCpu) / wall,
    // Everything else the machine did meanwhile (this script included), in cores.
    others: (machineBusySeconds() - start.machine - browserCpu) / wall,
  });
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
server.close();

console.log(`${runs} runs of ${seconds} s of play at 1280 x 960 (${os.cpus().length} cores, ` +
            `load ${os.loadavg()[0].toFixed(1)}):`);
for (const r of results) {
  console.log(`  ${r.fps.toFixed(1)} pictures/s, page main thread ${r.page.toFixed(0)}% of a core, ` +
              `all browser processes ${r.browser.toFixed(0)}%, others busy ${r.others.toFixed(2)} cores`);
}
