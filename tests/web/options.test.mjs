// The options screen's sound in the web page, in a browser of its own: the sound plays, and the
// options screen turns it off; the choice is a file the page keeps, so a reload plays silent
// too (tests/web/screen.test.mjs has the screen's choices).
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";

import {
  countSound,
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

// A second of play: a round started, letters typed, shots fired; the sound blocks made meanwhile.
async function playASecond(page) {
  await page.evaluate(() => Object.assign(window.soundBlocks, { loud: 0, silent: 0 }));
  await pressKeys(page, "Space");
  const end = Date.now() + 1000;
  for (let i = 0; Date.now() < end; ++i) await pressKeys(page, "etaoinshrdlu"[i % 12], "Space");
  await sleep(300);
  const blocks = await page.evaluate(() => ({ ...window.soundBlocks }));
  await pressKeys(page, "Escape");  // the round ends unfinished; the title again
  return blocks;
}

// (Whether sound waits for the first key is the browser's rule, which a page driven through
// the DevTools protocol does not keep: such a page counts as touched from the start.)
test("sound in play, off from the options screen, still off after a reload", async () => {
  const { page, problems } = await openGame(site, { beforeLoad: countSound });
  const on = await playASecond(page);
  assert.ok(on.loud > 0, `no sound in play: ${JSON.stringify(on)}`);

  // O, then Down twice to Sound, Enter: off.
  await pressKeys(page, "o", "ArrowDown", "ArrowDown", "Enter");
  await page.screenshot({ path: path.join(outputDir, "options-sound-off.png") });
  assert.match(await keptSettings(page, (t) => t.includes("sound=off")), /^sound=off$/m);
  await pressKeys(page, "Escape");
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
