// The page's screen in a browser of its own: the canvas is the page's size and the picture is
// letterboxed in it, whatever the page's shape and size, also after a resize; Alt+Enter, the
// button and the options screen's Display switch the browser's full screen; the options
// screen's Window size, which the page decides, cannot be chosen; the page follows the
// language chosen there.
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

// Each page size, opened at that size or resized to it: points of the page that are black bars
// (true) or the picture (false).
const kPageSizes = [
  // Wider than 4:3: bars left and right of a 1024 x 768 picture in the middle.
  { size: [1366, 768], how: "load", at: [[20, 384], [1346, 384], [683, 384], [200, 20], [1160, 740]],
    black: [true, true, false, false, false] },
  // Resized to taller than 4:3: bars above and below a 1000 x 750 picture.
  { size: [1000, 900], how: "resize", at: [[500, 30], [500, 870], [500, 450], [10, 90], [990, 810]],
    black: [true, true, false, false, false] },
  // A phone upright and on its side, smaller than the game's 640 x 480: a 390 x 292 picture
  // between bars above and below, a 520 x 390 one between bars left and right.
  { size: [390, 844], how: "load", at: [[195, 150], [195, 700], [195, 420], [20, 300], [370, 560]],
    black: [true, true, false, false, false] },
  { size: [844, 390], how: "load", at: [[80, 195], [764, 195], [422, 195], [180, 20], [660, 370]],
    black: [true, true, false, false, false] },
];

test("the picture is letterboxed in a page of any shape and size, also after a resize", async () => {
  const { page, problems } = await openGame(site);
  for (const { size: [width, height], how, at, black } of kPageSizes) {
    await page.setViewport({ width, height });
    if (how === "load") await page.reload({ waitUntil: "load" });
    await page.waitForFunction(
      (w, h) => document.getElementById("canvas").width === w &&
                document.getElementById("canvas").height === h,
      { timeout: 20_000, polling: 100 }, width, height,
    ).catch(() => {});
    await sleep(1500);
    await page.screenshot({ path: path.join(outputDir, `page-${width}x${height}.png`) });
    const seen = await look(page, at);
    assert.deepEqual(seen.canvas, seen.page, `${width}x${height}: the canvas is not the page's size`);
    assert.deepEqual(seen.black, black, `${width}x${height} (${how})`);
  }
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

  // Down passes over Window size to Language: Enter changes the language, not the size; the
  // page around the game follows it (its lang, the tab's title, the button), also after a
  // reload.
  const around = () =>
    page.evaluate(() => [document.documentElement.lang, document.title,
                         document.getElementById("fullscreen").textContent]);
  const [, englishTitle, englishButton] = await around();
  await pressKeys(page, "ArrowDown", "Enter");
  const kept = await keptSettings(page, (t) => t.includes("language="));
  assert.match(kept, /^language=/m);
  assert.doesNotMatch(kept, /^scale=/m);
  const chosen = kept.match(/^language=(\w+)$/m)[1];
  await sleep(300);
  for (const reloaded of [false, true]) {
    if (reloaded) {
      await page.reload({ waitUntil: "load" });
      await page.waitForFunction((code) => document.documentElement.lang === code, {}, chosen)
        .catch(() => {});
    }
    const [lang, title, button] = await around();
    assert.equal(lang, chosen, `the page's lang (reloaded: ${reloaded})`);
    assert.notEqual(title, englishTitle, `the tab's title (reloaded: ${reloaded})`);
    assert.notEqual(button, englishButton, `the button (reloaded: ${reloaded})`);
  }
  assert.deepEqual(problems, []);
  await page.close();
});
