// The web page in Debian's Chromium, headless, driven through the DevTools protocol: the site,
// served compressed on this machine, draws the title as the headless game does, keeps the
// game's keys from the page, a tap on a phone only focuses it, Space starts a round, losing
// focus pauses it, leaving asks first, Quit comes back to the title, the page plays on without
// a store, two tabs playing at once both keep their results across a reload, and the service
// worker's copy plays offline (tests/web/page_session.mjs starts the browser).
import assert from "node:assert/strict";
import path from "node:path";
import { after, before, test } from "node:test";

import {
  canvasNow,
  historyRounds,
  keptFile,
  kRoundMs,
  openGame,
  outputDir,
  sleep,
  startBrowser,
  titleFromNode,
  waitForPicture,
} from "./page_session.mjs";

let site;
let title;

before(async () => {
  title = titleFromNode();
  site = await startBrowser();
});

after(async () => {
  await site?.close();
});

test("a new player's title is the headless game's, and the page keeps the game's keys", async () => {
  const { page, problems } = await openGame(site);
  const unlike = await waitForPicture(page, title, (n) => n === 0, 20_000);
  await page.screenshot({ path: path.join(outputDir, "title.png") });
  assert.deepEqual(problems, []);
  assert.equal(unlike, 0, "pixels unlike the headless game's title");
  // The site came compressed: each of the game's files far smaller on the wire than it is.
  const loaded = await page.evaluate(() =>
    performance.getEntriesByType("resource").map((e) => [
      new URL(e.name).pathname.slice(1), e.encodedBodySize, e.decodedBodySize,
    ]),
  );
  const files = ["page.js", "page_texts.js", "rapiko.js", "rapiko.wasm", "rapiko.data"];
  for (const file of files) {
    const [, wire, size] = loaded.find(([name]) => name === file) || [file, -1, -1];
    assert.ok(wire > 0 && wire < size * 0.6, `${file}: ${wire} bytes on the wire, ${size} bytes`);
  }

  // Keys the browser would act on reach the game alone; the canvas keeps the keyboard. Keys
  // the game never uses (function keys, Ctrl combinations) are left to the browser. Each key
  // is looked at once every listener has had it.
  await page.evaluate(() => {
    window.keyEvents = [];
    window.addEventListener("keydown", (e) => window.keyEvents.push(e), true);
  });
  const seen = async () =>
    page.evaluate(() => window.keyEvents.splice(0).map((e) => [e.key, e.defaultPrevented]));
  // Tab opens the statistics and Tab again closes them, each once the last is on screen: the
  // title acts on every key of a frame, and two Tabs in one slow frame open the statistics twice.
  await page.keyboard.press("Tab");
  await waitForPicture(page, title, (n) => n > 10_000, 10_000);
  await page.keyboard.press("Tab");
  assert.equal(await waitForPicture(page, title, (n) => n === 0, 10_000), 0, "Tab kept the statistics");
  const kept = ["Tab", "Tab", "Backspace", "ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight"];
  for (const key of kept.slice(2)) await page.keyboard.press(key);
  assert.deepEqual(await seen(), kept.map((key) => [key, true]));
  await page.keyboard.press("F1");
  await page.keyboard.press("F12");
  await page.keyboard.down("Control");
  await page.keyboard.press("d");
  await page.keyboard.up("Control");
  assert.deepEqual(await seen(), [["F1", false], ["F12", false], ["Control", false], ["d", false]]);
  assert.equal(await page.evaluate(() => document.activeElement.id), "canvas");

  // A click gives the game the keyboard and nothing else: the title stays, nothing quit.
  await page.mouse.click(640, 480);
  await page.mouse.click(100, 100, { button: "right" });
  await sleep(500);
  const afterClick = await waitForPicture(page, title, (n) => n === 0, 5_000);
  assert.equal(afterClick, 0, "the title changed after a click");
  assert.equal(await page.$eval("#note", (e) => e.textContent), "");
  await page.close();
});

test("Space starts a round, losing focus pauses it, and Quit comes back to the title", async () => {
  const { page, problems } = await openGame(site);
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

  // Leaving the page in a round asks first; staying keeps the round. (A bound on the wait:
  // without the question the reload goes on, and the round is gone either way.)
  const leave = async () => {
    const asked = new Promise((resolve) =>
      page.once("dialog", async (d) => {
        resolve(d.type());
        await d.dismiss();
      }),
    );
    page.reload({ timeout: 30_000 }).catch(() => {});
    return Promise.race([asked, sleep(30_000).then(() => "no question")]);
  };
  assert.equal(await leave(), "beforeunload");
  assert.ok(await moving(), "the round is gone after staying");

  // Esc leaves the round for the title; Esc there quits, and the page starts the game again.
  await page.keyboard.press("Escape");
  await waitForPicture(page, title, (n) => n === 0, 5_000);
  await page.keyboard.press("Escape");
  await page.waitForFunction(() => document.getElementById("note").textContent !== "", {
    timeout: 10_000,
  });
  const line = await page.$eval("#note", (e) => e.textContent);
  assert.match(line, /results are saved/);
  const again = await waitForPicture(page, title, (n) => n === 0, 10_000);
  await page.screenshot({ path: path.join(outputDir, "after-quit.png") });
  assert.equal(again, 0, "no title after Quit");
  assert.deepEqual(problems, []);
  await page.close();
});

// A tap at the middle of the page, as a finger makes it.
async function tap(cdp, [x, y]) {
  await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x, y }] });
  await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
  await sleep(150);
}

test("on a phone a tap only gives the game the keyboard, which the page asks for", async () => {
  // A context of its own: the touch screen it emulates stays out of the other tests' tabs.
  const phone = await site.browser.createBrowserContext();
  const page = await phone.newPage();
  await page.setViewport({ width: 390, height: 844 });
  const cdp = await page.createCDPSession();
  await cdp.send("Emulation.setFocusEmulationEnabled", { enabled: true });
  await cdp.send("Emulation.setTouchEmulationEnabled", { enabled: true, maxTouchPoints: 5 });
  const problems = [];
  page.on("pageerror", (e) => problems.push(e.message));
  await page.goto(site.url, { waitUntil: "load" });
  await page.waitForFunction(() => document.getElementById("canvas").height === 844);
  await sleep(1000);
  const note = () => page.$eval("#note", (e) => e.textContent);
  assert.match(await note(), /keyboard/, "no word of a keyboard on a touch screen");
  // The line, the button and the picture (390 x 292 in the middle) overlap nowhere.
  const boxes = await page.evaluate(() =>
    ["note", "fullscreen"].map((id) => {
      const r = document.getElementById(id).getBoundingClientRect();
      return [r.left, r.top, r.right, r.bottom];
    }),
  );
  boxes.push([0, 276, 390, 568]);
  for (const [i, a] of boxes.entries()) {
    assert.ok(a[0] >= 0 && a[1] >= 0 && a[2] <= 390 && a[3] <= 844, `box ${i} off the page`);
    for (const b of boxes.slice(i + 1)) {
      const apart = a[2] <= b[0] || b[2] <= a[0] || a[3] <= b[1] || b[3] <= a[1];
      assert.ok(apart, `${JSON.stringify(a)} overlaps ${JSON.stringify(b)}`);
    }
  }
  await page.screenshot({ path: path.join(outputDir, "phone-390x844.png") });

  // Taps on the title, then in a round: the game neither quits nor leaves the round.
  const onTitle = await canvasNow(page);
  for (let i = 0; i < 4; ++i) await tap(cdp, [195, 420]);
  await sleep(500);
  assert.match(await note(), /keyboard/, "a tap on the title quit the game");
  assert.equal(await canvasNow(page), onTitle, "the title changed after a tap");
  await page.keyboard.press("Space");
  await sleep(300);
  assert.equal(await note(), "", "the word of a keyboard stays after a key");
  for (let i = 0; i < 8; ++i) await tap(cdp, [195, 420]);
  await sleep(500);
  assert.equal(await note(), "", "a tap ended the game");
  assert.notEqual(await canvasNow(page), onTitle, "a tap ended the round");
  assert.equal(await page.evaluate(() => document.activeElement.id), "canvas");
  assert.deepEqual(problems, []);
  await cdp.send("Emulation.setTouchEmulationEnabled", { enabled: false });
  await phone.close();
});

test("with site data blocked the page says once that results are not kept, and plays on", async () => {
  const blocked = await startBrowser({ blockSiteData: true });
  try {
    const { page, problems } = await openGame(blocked);
    const note = () => page.$eval("#note", (e) => e.textContent);
    await page.waitForFunction(() => document.getElementById("note").textContent !== "");
    assert.match(await note(), /not be kept/);
    assert.equal(await waitForPicture(page, title, (n) => n === 0, 20_000), 0, "no title");
    // A round begun and left, then Quit, which saves: the title comes back.
    await page.keyboard.press("Space");
    for (const key of "etaoinshrdlu") await page.keyboard.press(key);
    await page.keyboard.press("Escape");
    await waitForPicture(page, title, (n) => n === 0, 5_000);
    await page.keyboard.press("Escape");
    await page.waitForFunction(() => document.getElementById("note").textContent !== "", {
      timeout: 10_000,
    });
    assert.equal(await note(), "Space starts a round.", "the game stopped without a store");
    assert.equal(await waitForPicture(page, title, (n) => n === 0, 10_000), 0, "no title after Quit");
    await page.screenshot({ path: path.join(outputDir, "site-data-blocked.png") });
    assert.deepEqual(problems, []);
  } finally {
    await blocked.close();
  }
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
  const first = await openGame(site);
  const second = await openGame(site);
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
  // A tab behind another paints nothing, and a screenshot of it waits for a picture.
  await first.page.bringToFront();
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
  const { page } = await openGame(site);
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
