// What the browser tests share: the site served on this machine to a headless Chromium of its
// own, a tab of the game, and ways to read its canvas, its sound and the files it keeps.
//
// CHROMIUM names another browser; screenshots go to build-web/test-output/ to be looked at
// (RAPIKO_WEB_BUILD names another build folder).
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

import puppeteer from "puppeteer-core";

import { serveSite } from "../../scripts/serve_site.mjs";
import { readPalettePng } from "./png.mjs";

export const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..", "..");
export const buildDir = path.resolve(process.env.RAPIKO_WEB_BUILD || path.join(sourceDir, "build-web"));
export const siteDir = path.join(buildDir, "site");
const nodeGame = path.join(buildDir, "node", "rapiko.js");
export const outputDir = path.join(buildDir, "test-output");
// The page at twice the game's 640 x 480: the picture fills it, each pixel a 2 x 2 block.
export const kViewport = { width: 1280, height: 960 };
export const kScale = 2;
// Where the page keeps the game folder (web/page_storage.js keeps /home/web_user).
export const kGameFolder = "/home/web_user/.local/share/rapiko/";
// A round is two minutes; name entry and the saves after it take a few seconds more.
export const kRoundMs = 120_000;

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
  // The page's language, which the game's follows: English, as the Node build's title above.
  "--lang=en-US",
  "--accept-lang=en-US,en",
];

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The title screen as the Node build draws it for a new game folder.
export function titleFromNode() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "rapiko-title-"));
  try {
    for (const file of ["back.bmp", "rapdata.ini"]) {
      fs.copyFileSync(path.join(sourceDir, "assets", file), path.join(dir, file));
    }
    fs.writeFileSync(path.join(dir, "script.txt"), "tick 16 2\nscreenshot title.png\n");
    execFileSync(process.execPath, [nodeGame, "--headless", "--script", "script.txt", "--dir", "."], {
      cwd: dir,
      env: { ...process.env, LC_ALL: "", LC_MESSAGES: "", LANG: "en_US.UTF-8" },
    });
    return readPalettePng(fs.readFileSync(path.join(dir, "title.png"))).rgb;
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// How many pixels of the game's picture the canvas shows unlike reference (RGB, 640 x 480),
// or -1 while the canvas is not yet the picture's size. Counted in the page, so that only
// the count crosses the DevTools connection.
export function differingPixels(page, reference) {
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
export async function waitForPicture(page, reference, holds, timeoutMs) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const count = await differingPixels(page, reference);
    if ((count >= 0 && holds(count)) || Date.now() > deadline) return count;
    await sleep(100);
  }
}

// The canvas's pixels now, as one string to compare.
export function canvasNow(page) {
  return page.evaluate(() => document.getElementById("canvas").toDataURL());
}

// A file of the game folder (or of another folder the page keeps) as IndexedDB holds it
// (Latin-1 text), or null. Called only once the game has started, so the database is the one
// the game made.
export function keptFile(page, name, folder = kGameFolder) {
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
    folder + name,
  );
}

// Where the page keeps the settings (~/.config/rapiko/ of the player's folder /home/web_user).
const kSettingsFolder = "/home/web_user/.config/rapiko/";

// The settings file as IndexedDB holds it, once holds(its text) does (or after 5 s).
export async function keptSettings(page, holds) {
  const deadline = Date.now() + 5000;
  let text = null;
  while (Date.now() < deadline) {
    text = await keptFile(page, "settings.ini", kSettingsFolder);
    if (text !== null && holds(text)) break;
    await sleep(100);
  }
  return text;
}

// Keys one at a time, each in a pass of its own, as a player types them.
export async function pressKeys(page, ...names) {
  for (const name of names) {
    await page.keyboard.press(name);
    await sleep(80);
  }
}

// The rounds of the history file (its lines after the header), as objects by column.
export async function historyRounds(page) {
  const text = await keptFile(page, "rapiko-history.csv");
  if (!text) return [];
  const [header, ...lines] = text.trim().split("\n");
  const names = header.split(",");
  return lines.map((line) => Object.fromEntries(line.split(",").map((v, i) => [names[i], v])));
}

// The site served, and a Chromium with a new profile (nothing kept from another run); with
// blockSiteData, one whose player blocked every site's data (no IndexedDB, no locks).
export async function startBrowser({ blockSiteData = false } = {}) {
  assert.ok(fs.existsSync(path.join(siteDir, "rapiko.wasm")), "no site: make web builds it");
  fs.mkdirSync(outputDir, { recursive: true });
  const server = await serveSite(siteDir);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "rapiko-chromium-"));
  if (blockSiteData) {
    const blocked = { profile: { default_content_setting_values: { cookies: 2 } } };
    fs.mkdirSync(path.join(profile, "Default"));
    fs.writeFileSync(path.join(profile, "Default", "Preferences"), JSON.stringify(blocked));
  }
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    userDataDir: profile,
    headless: true,
    args: kChromiumFlags,
  });
  return {
    browser,
    url: `http://127.0.0.1:${server.address().port}/`,
    close: async () => {
      await browser.close();
      server.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// A new tab of the game, once its canvas has the picture's size; the page's errors are
// collected in problems. beforeLoad runs in the page before its own scripts.
export async function openGame(site, { context = site.browser, beforeLoad } = {}) {
  const page = await context.newPage();
  await page.setViewport(kViewport);
  const problems = [];
  page.on("pageerror", (e) => problems.push(e.message));
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
  // Each tab acts as the focused one, as a player's window in front does.
  const session = await page.createCDPSession();
  await session.send("Emulation.setFocusEmulationEnabled", { enabled: true });
  await page.goto(site.url, { waitUntil: "load" });
  await page.waitForFunction(
    (w) => document.getElementById("canvas").width === w,
    { timeout: 20_000, polling: 100 },
    kViewport.width,
  );
  return { page, problems };
}

// Run in the page before its scripts: counts the sound the game makes, as the blocks of
// samples that SDL's sound fills (a ScriptProcessorNode's), with any sample not zero or all
// zero: window.soundBlocks = { loud, silent }.
export function countSound() {
  window.soundBlocks = { loud: 0, silent: 0 };
  const prototype = window.AudioContext.prototype;
  const make = prototype.createScriptProcessor;
  prototype.createScriptProcessor = function (...args) {
    const node = make.apply(this, args);
    Object.defineProperty(node, "onaudioprocess", {
      set(fill) {
        node.addEventListener("audioprocess", (e) => {
          fill.call(node, e);
          const out = e.outputBuffer;
          let loud = false;
          for (let c = 0; c < out.numberOfChannels && !loud; ++c) {
            loud = out.getChannelData(c).some((v) => v !== 0);
          }
          ++window.soundBlocks[loud ? "loud" : "silent"];
        });
      },
    });
    return node;
  };
}
