// The options screen in the web page, in a browser of its own: the sound plays, and the options
// screen turns it off; the choice is a file the page keeps, so a reload
// plays silent too; the display is the browser's full screen, and the window size, which the
// page decides, cannot be chosen.
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";

import { countSound, keptFile, openGame, outputDir, sleep, startBrowser } from "./page_session.mjs";

// Where the page keeps the settings (~/.config/rapiko/ of the player's folder /home/web_user).
const kSettingsFolder = "/home/web_user/.config/rapiko/";

let site;

before(async () => {
  site = await startBrowser();
});

after(async () => {
  await site?.close();
});

// Keys one at a time, each in a pass of its own, as a player types them.
async function keys(page, ...names) {
  for (const name of names) {
    await page.keyboard.press(name);
    await sleep(80);
  }
}

// A second of play: a round started, letters typed, shots fired; the sound blocks made meanwhile.
async function playASecond(page) {
  await page.evaluate(() => Object.assign(window.soundBlocks, { loud: 0, silent: 0 }));
  await keys(page, "Space");
  const end = Date.now() + 1000;
  for (let i = 0; Date.now() < end; ++i) await keys(page, "etaoinshrdlu"[i % 12], "Space");
  await sleep(300);
  const blocks = await page.evaluate(() => ({ ...window.soundBlocks }));
  await keys(page, "Escape");  // the round ends unfinished; the title again
  return blocks;
}

async function settingsKept(page, holds) {
  const deadline = Date.now() + 5000;
  let text = null;
  while (Date.now() < deadline) {
    text = await keptFile(page, "settings.ini", kSettingsFolder);
    if (text !== null && holds(text)) break;
    await sleep(100);
  }
  return text;
}

// (Whether sound waits for the first key is the browser's rule, which a page driven through
// the DevTools protocol does not keep: such a page counts as touched from the start.)
test("sound in play, off from the options screen, still off after a reload", async () => {
  const { page, problems } = await openGame(site, { beforeLoad: countSound });
  const on = await playASecond(page);
  assert.ok(on.loud > 0, `no sound in play: ${JSON.stringify(on)}`);

  // O, then Down twice to Sound, Enter: off.
  await keys(page, "o", "ArrowDown", "ArrowDown", "Enter");
  await page.screenshot({ path: path.join(outputDir, "options-sound-off.png") });
  assert.match(await settingsKept(page, (t) => t.includes("sound=off")), /^sound=off$/m);
  await keys(page, "Escape");
  const off = await playASecond(page);
  assert.equal(off.loud, 0, `sound after it was turned off: ${JSON.stringify(off)}`);

  await page.reload({ waitUntil: "load" });
  await page.waitForFunction(() => document.getElementById("canvas").width > 0);
  await sleep(1000);
  const reloaded = await playASecond(page);
  assert.equal(reloaded.loud, 0, `sound after a reload: ${JSON.stringify(reloaded)}`);
  assert.deepEqual(problems, []);
  await page.close();
});

test("the display is the browser's full screen; the page decides the window size", async () => {
  const { page, problems } = await openGame(site);
  const fullScreen = () => page.evaluate(() => document.fullscreenElement !== null);
  // O, Down four times to Display, Enter: full screen; Enter again: the page as it was.
  await keys(page, "o", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "Enter");
  await sleep(500);
  assert.equal(await fullScreen(), true, "Display gave no full screen");
  await page.screenshot({ path: path.join(outputDir, "options-full-screen.png") });
  await keys(page, "Enter");
  await sleep(500);
  assert.equal(await fullScreen(), false, "Display did not leave full screen");

  // Down passes over Window size to Language: Enter changes the language, not the size.
  await keys(page, "ArrowDown", "Enter");
  const kept = await settingsKept(page, (t) => t.includes("language="));
  assert.match(kept, /^language=/m);
  assert.doesNotMatch(kept, /^scale=/m);
  const canvas = await page.evaluate(() => {
    const c = document.getElementById("canvas");
    return [c.width, c.height, innerWidth, innerHeight];
  });
  assert.deepEqual(canvas.slice(0, 2), canvas.slice(2), "the canvas is not the page's size");
  assert.deepEqual(problems, []);
  await page.close();
});
