// The web page in Debian's Chromium, headless, driven through the DevTools protocol: the site
// served on this machine draws the title as the headless game does, keeps the game's keys from
// the page, Space starts a round, losing focus pauses it, Quit comes back to the title, two
// tabs playing at once both keep their results across a reload, and the service worker's copy
// plays offline.
//
// CHROMIUM names another browser; screenshots go to build-web/test-output/ to be looked at
// (RAPIKO_WEB_BUILD names another build folder).
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { after, before, test } from "node:test";

import puppeteer from "puppeteer-core";

import { serveSite } from "../../scripts/serve_site.mjs";
import { readPalettePng } from "./png.mjs";

const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..", "..");
const buildDir = path.resolve(process.env.RAPIKO_WEB_BUILD || path.join(sourceDir, "build-web"));
const siteDir = path.join(buildDir, "site");
const nodeGame = path.join(buildDir, "node", "rapiko.js");
const outputDir = path.join(buildDir, "test-output");
// The page at twice the game's 640 x 480: the picture fills it, each pixel a 2 x 2 block.
const kViewport = { width: 1280, height: 960 };
const kScale = 2;
// Where the page keeps the game folder (web/page_storage.js keeps /home/web_user).
const kGameFolder = "/home/web_user/.local/share/rapiko/";
// A round is two minutes; name entry and the saves after it take a few seconds more.
const kRoundMs = 120_000;

// The flags that keep a headless Chromium from reaching anything but this machine, and that
// let a tab not in front run at full speed (two tabs play at once).
const kChromiumFlags = [
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
  "--disable-background-timer-throttling",
  "--disable-backgrounding-occluded-windows",
  "--disable-renderer-backgrounding",
];

let server;
let browser;
let profile;
let siteUrl;
let title;

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

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
    return readPalettePng(fs.readFileSync(path.join(dir, "title.png"))).rgb;
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
    await sleep(100);
  }
}

// The canvas's pixels now, as one string to compare.
function canvasNow(page) {
  return page.evaluate(() => document.getElementById("canvas").toDataURL());
}

// A file of the game folder as IndexedDB holds it (Latin-1 text), or null. Called only once
// the game has started, so the database is the one the game made.
function keptFile(page, name) {
  return page.evaluate(
    (file) =>
      new Promise((resolve, reject) => {
        const open = indexedDB.open("rapiko");
        open.onerror = () => reject(open.error);
        open.onsuccess = () => {
          const db = open.result;
          const get = db.transaction("files").objectStore("files").get(file);
          get.onsuccess = () => {
            db.close();
            resolve(get.result ? new TextDecoder("latin1").decode(get.result.data) : null);
          };
          get.onerror = () => reject(get.error);
        };
      }),
    kGameFolder + name,
  );
}

// The rounds of the history file (its lines after the header), as objects by column.
async function historyRounds(page) {
  const text = await keptFile(page, "rapiko-history.csv");
  if (!text) return [];
  const [header, ...lines] = text.trim().split("\n");
  const names = header.split(",");
  return lines.map((line) => Object.fromEntries(line.split(",").map((v, i) => [names[i], v])));
}

async function openGame(context = browser) {
  const page = await context.newPage();
  await page.setViewport(kViewport);
  const problems = [];
  page.on("pageerror", (e) => problems.push(e.message));
  // Each tab acts as the focused one, as a player's window in front does.
  const session = await page.createCDPSession();
  await session.send("Emulation.setFocusEmulationEnabled", { enabled: true });
  await page.goto(siteUrl, { waitUntil: "load" });
  const unlike = await waitForPicture(page, title, (n) => n >= 0, 20_000);
  assert.notEqual(unlike, -1, "the canvas never took the size of the picture");
  return { page, problems };
}

before(async () => {
  assert.ok(fs.existsSync(path.join(siteDir, "rapiko.wasm")), "no site: make web builds it");
  fs.mkdirSync(outputDir, { recursive: true });
  title = titleFromNode();
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

test("a new player's title is the headless game's, and the page keeps the game's keys", async () => {
  const { page, problems } = await openGame();
  const unlike = await waitForPicture(page, title, (n) => n === 0, 20_000);
  await page.screenshot({ path: path.join(outputDir, "title.png") });
  assert.deepEqual(problems, []);
  assert.equal(unlike, 0, "pixels unlike the headless game's title");

  // Keys the browser would act on reach the game alone; the canvas keeps the keyboard.
  await page.evaluate(() => {
    window.seenKeys = [];
    window.addEventListener("keydown", (e) => window.seenKeys.push([e.key, e.defaultPrevented]));
  });
  // (Tab opens the statistics and Tab again closes them.)
  const kept = ["Tab", "Tab", "Backspace", "ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight"];
  for (const key of kept) await page.keyboard.press(key);
  const seen = await page.evaluate(() => window.seenKeys);
  assert.deepEqual(seen, kept.map((key) => [key, true]));
  assert.equal(await page.evaluate(() => document.activeElement.id), "canvas");

  // A click gives the game the keyboard and nothing else: the title stays, nothing quit.
  await page.mouse.click(640, 480);
  await page.mouse.click(100, 100, { button: "right" });
  await sleep(500);
  assert.equal(await differingPixels(page, title), 0, "the title changed after a click");
  assert.equal(await page.$eval("#quit", (e) => e.textContent), "");
  await page.close();
});

test("Space starts a round, losing focus pauses it, and Quit comes back to the title", async () => {
  const { page, problems } = await openGame();
  await page.keyboard.press("Space");
  // The round's screen: the ranking box gone, letters falling.
  const changed = await waitForPicture(page, title, (n) => n > 10_000, 5_000);
  assert.ok(changed > 10_000, `only ${changed} pixels changed after Space`);
  for (const key of "etaoinshrdlu") await page.keyboard.press(key);
  await page.keyboard.press("Space");
  await sleep(300);
  await page.screenshot({ path: path.join(outputDir, "round.png") });

  // Falling letters move; without the focus nothing does, and with it back they move again.
  const moving = async () => {
    const first = await canvasNow(page);
    await sleep(400);
    return first !== (await canvasNow(page));
  };
  assert.ok(await moving(), "nothing moves in the round");
  await page.evaluate(() => window.dispatchEvent(new FocusEvent("blur")));
  await sleep(200);
  await page.screenshot({ path: path.join(outputDir, "paused.png") });
  assert.ok(!(await moving()), "the round goes on without the focus");
  await page.evaluate(() => window.dispatchEvent(new FocusEvent("focus")));
  await sleep(200);
  assert.ok(await moving(), "the round stays paused with the focus back");

  // Esc leaves the round for the title; Esc there quits, and the page starts the game again.
  await page.keyboard.press("Escape");
  await waitForPicture(page, title, (n) => n === 0, 5_000);
  await page.keyboard.press("Escape");
  await page.waitForFunction(() => document.getElementById("quit").textContent !== "", {
    timeout: 10_000,
  });
  const line = await page.$eval("#quit", (e) => e.textContent);
  assert.match(line, /results are saved/);
  const again = await waitForPicture(page, title, (n) => n === 0, 10_000);
  await page.screenshot({ path: path.join(outputDir, "after-quit.png") });
  assert.equal(again, 0, "no title after Quit");
  assert.deepEqual(problems, []);
  await page.close();
});

// Letters and Space, over and over, until done() says the rounds have ended; then the
// name, cleared of the letters that went into it.
async function playRoundAndEnter(page, name, done) {
  const deadline = Date.now() + kRoundMs + 30_000;
  while (!done() && Date.now() < deadline) {
    for (const key of "etaoinshrdlucmfwypvbgkjqxz") await page.keyboard.press(key);
    await page.keyboard.press("Space");
    await sleep(20);
  }
  for (let i = 0; i < 12; ++i) await page.keyboard.press("Backspace");
  await page.keyboard.type(name);
  await page.keyboard.press("Enter");
}

test("two tabs play at once; both results are kept, and still there after a reload", async () => {
  const first = await openGame();
  const second = await openGame();
  const before = (await historyRounds(first.page)).length;
  await first.page.keyboard.press("Space");
  await second.page.keyboard.press("Space");
  // Both rounds end within a moment of each other; each tab's history line tells.
  let ended = false;
  const watch = (async () => {
    const deadline = Date.now() + kRoundMs + 30_000;
    while (Date.now() < deadline) {
      if ((await historyRounds(first.page)).length >= before + 2) break;
      await sleep(500);
    }
    ended = true;
  })();
  await Promise.all([
    playRoundAndEnter(first.page, "TABONE", () => ended),
    playRoundAndEnter(second.page, "TABTWO", () => ended),
    watch,
  ]);
  await first.page.screenshot({ path: path.join(outputDir, "entered.png") });

  const rounds = (await historyRounds(first.page)).slice(before);
  assert.equal(rounds.length, 2, "a round is missing from the history");
  for (const round of rounds) assert.ok(Number(round.locks) > 0, "no letter locked in a round");

  const rankingHas = async (page) => {
    const text = (await keptFile(page, "rapikosc.ini")) || "";
    return ["TABONE", "TABTWO"].filter((n) => text.includes(`"${n}"`));
  };
  const deadline = Date.now() + 10_000;
  while ((await rankingHas(first.page)).length < 2 && Date.now() < deadline) await sleep(200);
  assert.deepEqual(await rankingHas(first.page), ["TABONE", "TABTWO"]);

  // After a reload the ranking the title shows holds both.
  await second.page.close();
  await first.page.reload({ waitUntil: "load" });
  const shown = await waitForPicture(first.page, title, (n) => n > 0, 20_000);
  await first.page.screenshot({ path: path.join(outputDir, "ranking-after-reload.png") });
  assert.ok(shown > 0, "the title after the reload is a new player's");
  assert.deepEqual(await rankingHas(first.page), ["TABONE", "TABTWO"]);
  assert.deepEqual(first.problems, []);
  assert.deepEqual(second.problems, []);
  await first.page.close();
});

test("the page can be installed, and the service worker's copy plays offline", async () => {
  const { page } = await openGame();
  await page.evaluate(() => navigator.serviceWorker.ready);
  const cdp = await page.createCDPSession();
  const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
  assert.deepEqual(installabilityErrors, [], "the browser would not install the page");
  await page.setOfflineMode(true);
  await page.reload({ waitUntil: "load" });
  const unlike = await waitForPicture(page, title, (n) => n >= 0, 20_000);
  assert.notEqual(unlike, -1, "no game without the network");
  const onTitle = await canvasNow(page);
  await page.keyboard.press("Space");
  await sleep(500);
  await page.screenshot({ path: path.join(outputDir, "offline.png") });
  assert.notEqual(await canvasNow(page), onTitle, "Space starts no round offline");
  await page.close();
});
