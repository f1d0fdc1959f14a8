// The page's screen in a browser of its own: the canvas is the page's size and the picture is
// letterboxed in it, whatever the page's shape, also after a resize; Alt+Enter, the button and
// the options screen's Display switch the browser's full screen; the options screen's Window
// size, which the page decides, cannot be chosen.
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";

import {
  keptSettings,
  openGame,
  outputDir,
  pressKeys,
  sleep,
  startBrowser,
} from "./page_session.mjs";

let site;

before(async () => {
  site = await startBrowser();
});

after(async () => {
  await site?.close();
});

// The canvas's size, the page's, and whether each point of the canvas is black.
function look(page, points) {
  return page.evaluate((at) => {
    const c = document.getElementById("canvas");
    const context = c.getContext("2d");
    const black = at.map(([x, y]) => {
      const d = context.getImageData(x, y, 1, 1).data;
      return d[0] + d[1] + d[2] === 0;
    });
    return { canvas: [c.width, c.height], page: [innerWidth, innerHeight], black };
  }, points);
}

test("the picture is letterboxed in a page of any shape, also after a resize", async () => {
  const { page, problems } = await openGame(site);
  // Wider than 4:3: bars left and right of a 1024 x 768 picture in the middle.
  await page.setViewport({ width: 1366, height: 768 });
  await page.reload({ waitUntil: "load" });
  await page.waitForFunction(() => document.getElementById("canvas").width === innerWidth);
  await sleep(1500);
  await page.screenshot({ path: path.join(outputDir, "page-1366x768.png") });
  const wide = await look(page, [[20, 384], [1346, 384], [683, 384], [200, 20], [1160, 740]]);
  assert.deepEqual(wide.canvas, wide.page, "the canvas is not the page's size");
  assert.deepEqual(wide.black, [true, true, false, false, false]);

  // Resized to taller than 4:3: bars above and below a 1000 x 750 picture.
  await page.setViewport({ width: 1000, height: 900 });
  await sleep(1500);
  await page.screenshot({ path: path.join(outputDir, "page-1000x900.png") });
  const tall = await look(page, [[500, 30], [500, 870], [500, 450], [10, 90], [990, 810]]);
  assert.deepEqual(tall.canvas, tall.page, "the canvas did not follow the page");
  assert.deepEqual(tall.black, [true, true, false, false, false]);
  assert.deepEqual(problems, []);
  await page.close();
});

test("Alt+Enter, the button and the options screen's Display switch the full screen", async () => {
  const { page, problems } = await openGame(site);
  const fullScreen = () => page.evaluate(() => document.fullscreenElement !== null);
  const altEnter = async () => {
    await page.keyboard.down("Alt");
    await page.keyboard.press("Enter");
    await page.keyboard.up("Alt");
    await sleep(500);
  };
  await altEnter();
  assert.equal(await fullScreen(), true, "Alt+Enter gave no full screen");
  await altEnter();
  assert.equal(await fullScreen(), false, "Alt+Enter did not leave full screen");
  await page.click("#fullscreen");
  await sleep(500);
  assert.equal(await fullScreen(), true, "the button gave no full screen");
  await altEnter();

  // O, Down four times to Display, Enter: full screen; Enter again: the page as it was.
  await pressKeys(page, "o", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "Enter");
  await sleep(500);
  assert.equal(await fullScreen(), true, "Display gave no full screen");
  await page.screenshot({ path: path.join(outputDir, "options-full-screen.png") });
  await pressKeys(page, "Enter");
  await sleep(500);
  assert.equal(await fullScreen(), false, "Display did not leave full screen");

  // Down passes over Window size to Language: Enter changes the language, not the size.
  await pressKeys(page, "ArrowDown", "Enter");
  const kept = await keptSettings(page, (t) => t.includes("language="));
  assert.match(kept, /^language=/m);
  assert.doesNotMatch(kept, /^scale=/m);
  assert.deepEqual(problems, []);
  await page.close();
});
