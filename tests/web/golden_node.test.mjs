// Every golden game run by the Node build (node build-web/node/rapiko.js) must give
// the Linux build's expected output, exit status and files byte for byte.
//
// RAPIKO_WEB_BUILD names another web build folder; RAPIKO_NATIVE_GAME runs a native
// program instead (the Linux build passes these by definition, which checks
// this runner against tests/golden/golden_test.cpp).
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { test } from "node:test";

import { actualRun, firstDifference, goldenDir, goldenNames, webBuildDir } from "./golden_games.mjs";

function gameCommand() {
  if (process.env.RAPIKO_NATIVE_GAME) return [path.resolve(process.env.RAPIKO_NATIVE_GAME)];
  const script = path.join(webBuildDir, "node", "rapiko.js");
  assert.ok(fs.existsSync(script), `${script} is missing: make web builds it`);
  return [process.execPath, script];
}

const command = gameCommand();
// Each game is a process of its own; two at a time keep both cores busy.
const concurrency = Number(process.env.RAPIKO_GOLDEN_JOBS || 2);

test("golden games", { concurrency }, async (t) => {
  const names = goldenNames();
  assert.ok(names.length > 0, `no golden game in ${goldenDir}`);
  const runs = names.map((name) =>
    t.test(name, async () => {
      const expected = fs.readFileSync(path.join(goldenDir, name + ".expected.jsonl"));
      const { text, tallies } = await actualRun(name, command);
      if (tallies) assert.deepEqual(tallies.actual, tallies.expected, "the bot's tallies");
      assert.ok(expected.equals(text), `${name}: ${firstDifference(expected, text)}`);
    }),
  );
  await Promise.all(runs);
});
