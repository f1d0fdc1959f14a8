// The web page in Debian's Chromium, headless, driven through the DevTools protocol: the
// site served on this machine draws the title exactly as the headless game does, Space
// starts a round, and the service worker's copy plays with the network gone.
//
// CHROMIUM names another browser; screenshots go to build-web/test-output/ to be looked at
// (RAPIKO_WEB_BUILD names another build folder).
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";

import puppeteer from "puppeteer-core";

import { serveSite } from "../../scripts/serve_site.mjs";
import { readPalettePng } from "./png.mjs";
import { sourceDir, webBuildDir as buildDir } from "./golden_games.mjs";

const siteDir = path.join(buildDir, "site");
const nodeGame = path.join(buildDir, "node", "rapiko.js");
const outputDir = path.join(buildDir, "test-output");
// The page at twice the game's 640 x 480: the picture fills it, each pixel a 2 x 2 block.
const kViewport = { width: 1280, height: 960 };
const kScale = 2;

// The flags that keep a headless Chromium from reaching anything but this machine.
const kChromiumFlags = [
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];

let server;
let browser;
let profile;
let siteUrl;

// The title screen as the Node build draws it for a new game folder.
function titleFromNode() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "rapiko-title-"));
  try {
    for (const file of ["back.bmp", "rapdata.ini"]) {
      fs.copyFileSync(path.join(sourceDir, "assets", file), path.join(dir, file));
    }
    fs.writeFileSync(path.join(dir, "script.txt"), "tick 16 2\nscreenshot title.png\n");
    execFileSync(process.execPath, [nodeGame, "--headless", "--script", "script.txt", "--dir", "."], {
      cwd: dir,
    });
    return readPalettePng(fs.readFileSync(path.join(dir, "title.png")));
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// How many pixels of the game's picture the canvas shows unlike reference (RGB, 640 x 480),
// or -1 while the canvas is not yet the picture's size. Counted in the page, so that only
// the count crosses the DevTools connection.
function differingPixels(page, reference) {
  return page.evaluate(
    (scale, base64) => {
      const canvas = document.getElementById("canvas");
      if (canvas.width !== 640 * scale || canvas.height !== 480 * scale) return -1;
      const expected = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
      const data = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
      let count = 0;
      for (let y = 0; y < 480; ++y) {
        for (let x = 0; x < 640; ++x) {
          const at = (y * scale * canvas.width + x * scale) * 4;
          const want = (y * 640 + x) * 3;
          if (data[at] !== expected[want] || data[at + 1] !== expected[want + 1] ||
              data[at + 2] !== expected[want + 2]) {
            ++count;
          }
        }
      }
      return count;
    },
    kScale,
    Buffer.from(reference).toString("base64"),
  );
}

// Polls the canvas until holds(count of pixels unlike reference) does; the last count.
async function waitForPicture(page, reference, holds, timeoutMs) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const count = await differingPixels(page, reference);
    if ((count >= 0 && holds(count)) || Date.now() > deadline) return count;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

async function openGame() {
  const page = await browser.newPage();
  await page.setViewport(kViewport);
  const problems = [];
  page.on("pageerror", (e) => problems.push(e.message));
  await page.goto(siteUrl, { waitUntil: "load" });
  return { page, problems };
}

before(async () => {
  assert.ok(fs.existsSync(path.join(siteDir, "rapiko.wasm")), "no site: make web builds it");
  fs.mkdirSync(outputDir, { recursive: true });
  server = await serveSite(siteDir);
  siteUrl = `http://127.0.0.1:${server.address().port}/`;
  profile = fs.mkdtempSync(path.join(os.tmpdir(), "rapiko-chromium-"));
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    userDataDir: profile,
    headless: true,
    args: kChromiumFlags,
  });
});

after(async () => {
  await browser?.close();
  server?.close();
  if (profile) fs.rmSync(profile, { recursive: true, force: true });
});

test("the page draws the title as the headless game does, and Space starts a round", async () => {
  const title = titleFromNode().rgb;
  const { page, problems } = await openGame();
  const unlike = await waitForPicture(page, title, (n) => n === 0, 20_000);
  await page.screenshot({ path: path.join(outputDir, "title.png") });
  assert.deepEqual(problems, []);
  assert.notEqual(unlike, -1, "the canvas never took the size of the picture");
  assert.equal(unlike, 0, "pixels unlike the headless game's title");

  await page.keyboard.press("Space");
  // The round's screen: the ranking box gone, letters falling.
  const changed = await waitForPicture(page, title, (n) => n > 10_000, 5_000);
  await page.screenshot({ path: path.join(outputDir, "round.png") });
  assert.ok(changed > 10_000, `only ${changed} pixels changed after Space`);
  await page.close();
});

test("the service worker's copy of the site plays offline", async () => {
  const title = titleFromNode().rgb;
  const { page } = await openGame();
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.setOfflineMode(true);
  await page.reload({ waitUntil: "load" });
  const unlike = await waitForPicture(page, title, (n) => n === 0, 20_000);
  await page.screenshot({ path: path.join(outputDir, "offline.png") });
  assert.equal(unlike, 0, "no title without the network");
  await page.close();
});
