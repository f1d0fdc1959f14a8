// The golden games run by another build of the game (Node's), made into the text that
// tests/golden/golden_test.cpp writes, so that the expected files serve both builds.
import { spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

export const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
export const goldenDir = path.join(sourceDir, "tests", "golden");
const assetsDir = path.join(sourceDir, "assets");
// What make web built: node/rapiko.js and site/.
export const webBuildDir = path.resolve(process.env.RAPIKO_WEB_BUILD || path.join(sourceDir, "build-web"));

// A game that runs this long is stuck; far more than any golden game takes.
const kTimeLimitMs = 60_000;

export function goldenNames() {
  return fs
    .readdirSync(goldenDir)
    .filter((name) => name.endsWith(".script"))
    .map((name) => name.slice(0, -".script".length))
    .sort();
}

// The words of the script's first "# golden: WORD ..." line, WORD first; empty without one.
export function directive(script, word) {
  const text = "\n" + script;
  const at = text.indexOf("\n# golden: " + word);
  if (at < 0) return [];
  const end = text.indexOf("\n", at + 1);
  return text
    .slice(at + 11, end < 0 ? undefined : end)
    .split(/\s+/)
    .filter((w) => w !== "");
}

// The history file's bytes with every line's local date and time masked.
export function maskedHistory(bytes) {
  return Buffer.from(
    bytes.toString("latin1").replace(/^\d{4}-\d\d-\d\d,\d\d:\d\d:\d\d,/gm, "YYYY-MM-DD,hh:mm:ss,"),
    "latin1",
  );
}

// A file's bytes as a JSON string the way the game's JSON library writes it
// (UTF-8 kept, bytes that are no UTF-8 each run of them one U+FFFD, as
// TextDecoder replaces them).
function jsonText(bytes) {
  return JSON.stringify(new TextDecoder("utf-8").decode(bytes));
}

// The trailer line: exit status, standard error and the files, keys in byte order.
export function trailerLine(fields) {
  const keys = Object.keys(fields).sort((a, b) => (a < b ? -1 : a > b ? 1 : 0));
  const members = keys.map((key) => {
    const value = fields[key];
    return JSON.stringify(key) + ":" + (typeof value === "number" ? String(value) : jsonText(value));
  });
  return '{"golden":{' + members.join(",") + "}}\n";
}

// The script's "# history: ..." comments, and the history's lines from the score on.
export function botTallies(script, history) {
  const expected = script
    .split("\n")
    .filter((line) => line.startsWith("# history: "))
    .map((line) => line.slice(11));
  const actual = history
    .toString("latin1")
    .split("\n")
    .filter((row, i, rows) => !(i === rows.length - 1 && row === ""))
    .filter((row) => !row.startsWith("date,"))
    .map((row) => row.slice(row.indexOf(",", row.indexOf(",") + 1) + 1));
  return { expected, actual };
}

function run(command, args) {
  return new Promise((resolve, reject) => {
    const child = spawn(command[0], [...command.slice(1), ...args], {
      stdio: ["ignore", "pipe", "pipe"],
      timeout: kTimeLimitMs,
      killSignal: "SIGKILL",
    });
    const out = [];
    const err = [];
    child.stdout.on("data", (chunk) => out.push(chunk));
    child.stderr.on("data", (chunk) => err.push(chunk));
    child.on("error", reject);
    child.on("close", (code, signal) =>
      resolve({
        out: Buffer.concat(out),
        err: Buffer.concat(err),
        exitCode: code ?? 128 + os.constants.signals[signal],
      }),
    );
  });
}

function readIfThere(file) {
  try {
    return fs.readFileSync(file);
  } catch (e) {
    if (e.code === "ENOENT") return Buffer.alloc(0);
    throw e;
  }
}

// Runs the golden game NAME with the program started by command (an array: the
// program and its first arguments) in a scratch game folder; returns the whole
// text to hold against NAME.expected.jsonl, and the bot's tallies against the history.
export async function actualRun(name, command) {
  const base = path.join(goldenDir, name);
  const script = fs.readFileSync(base + ".script", "latin1");
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "rapiko-test-"));
  try {
    fs.copyFileSync(path.join(assetsDir, "back.bmp"), path.join(dir, "back.bmp"));
    if (directive(script, "no-words").length === 0) {
      fs.copyFileSync(path.join(assetsDir, "rapdata.ini"), path.join(dir, "rapdata.ini"));
    }
    for (const [suffix, file] of [
      [".words", "rapdata.ini"],
      [".ranking", "rapikosc.ini"],
      [".history", "rapiko-history.csv"],
      [".bmp", "back.bmp"],
    ]) {
      if (fs.existsSync(base + suffix)) fs.copyFileSync(base + suffix, path.join(dir, file));
    }
    fs.copyFileSync(base + ".script", path.join(dir, "script.txt"));
    const extra = directive(script, "args").slice(1);
    const r = await run(command, [
      "--headless",
      "--script",
      path.join(dir, "script.txt"),
      "--dir",
      dir,
      ...extra,
    ]);
    // The scratch folder's name changes from run to run.
    const stderr = Buffer.from(r.err.toString("latin1").split(dir).join("GAMEDIR"), "latin1");
    const fields = {
      exitCode: r.exitCode,
      stderr,
      "rapikosc.ini": readIfThere(path.join(dir, "rapikosc.ini")),
    };
    if (fs.existsSync(path.join(dir, "rapikosc.ini.bak"))) {
      fields["rapikosc.ini.bak"] = fs.readFileSync(path.join(dir, "rapikosc.ini.bak"));
    }
    let tallies = null;
    if (directive(script, "history").length > 0) {
      const history = readIfThere(path.join(dir, "rapiko-history.csv"));
      tallies = botTallies(script, history);
      fields["rapiko-history.csv"] = maskedHistory(history);
    }
    return { text: Buffer.concat([r.out, Buffer.from(trailerLine(fields))]), tallies };
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// The first line where the two differ, cut to a readable length.
export function firstDifference(expected, actual) {
  let at = 0;
  while (at < expected.length && at < actual.length && expected[at] === actual[at]) ++at;
  const line = at === 0 ? 0 : expected.lastIndexOf(0x0a, at - 1) + 1;
  const from = Math.max(line, at - 60);
  const lineNumber = expected.subarray(0, line).filter((b) => b === 0x0a).length + 1;
  return (
    `line ${lineNumber}, column ${at - line + 1}\n` +
    `  expected: ...${expected.subarray(from, from + 160).toString("latin1")}\n` +
    `  actual:   ...${actual.subarray(from, from + 160).toString("latin1")}`
  );
}
