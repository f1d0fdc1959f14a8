#!/usr/bin/env python3
"""Records a golden game: a bot plays whole rounds through a headless run,
reading the state every pass, and the commands it sent become the script.

    tests/golden/make_bot_game.py BINARY NAME [--seed S] [--skill fast|steady|sloppy]
                                  [--words FILE] [--player TEXT] [--rounds N]
                                  [--passes P --frame-every F] [--history] [--esc-mid-round]
                                  [--frames-wrapped N]

Writes tests/golden/NAME.script (with NAME.words when --words is given); run
the golden tests with RAPIKO_UPDATE_GOLDEN=1 afterwards to write the
expected output. The recorded script keeps a state line every
STATE_EVERY passes and around each round's end, not every pass the bot read.
With --passes, the bot stops after P passes of its first round (then Esc),
and keeps a frame line every F passes: a close look at play.

--history counts what the bot did in each round from the sounds of every
pass (a lock, a wrong key, a shot, a hit, a letter falling out) and from the
field it saw, and writes each finished round as a comment line
"# history: ..." holding the history line the game must append for it (from
the score on); the golden test compares them. --esc-mid-round starts one more
round at the end and quits it with Esc, which must leave no line.
--frames-wrapped N keeps a state and a frame line in the first N passes that
draw the ring while it wraps with letters in play on both sides of slot 99
(the order the two runs of the ring are drawn in), 40 passes apart.
"""
import argparse
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ASSETS = os.path.join(HERE, "..", "..", "assets")
PASS_MS = 16
STATE_EVERY = 750
WRAPPED_APART = 40  # passes between the frames kept of a wrapped ring
SPACE, ENTER, ESC = 57, 28, 1
BOTTOM_LINE = 443.0  # a letter whose y is past it falls out
# The keys words are typed with, by the character each types (the history's key names).
WORD_KEYS = {30: "A", 48: "B", 46: "C", 32: "D", 18: "E", 33: "F", 34: "G", 35: "H", 23: "I",
             36: "J", 37: "K", 38: "L", 50: "M", 49: "N", 24: "O", 25: "P", 16: "Q", 19: "R",
             31: "S", 20: "T", 22: "U", 47: "V", 17: "W", 45: "X", 21: "Y", 44: "Z", 12: "-",
             2: "1", 3: "2", 4: "3", 5: "4", 6: "5", 7: "6", 8: "7", 9: "8", 10: "9", 11: "0"}
KEY_ORDER = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-"
WRONG_KEYS = [16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 30, 31, 32, 33, 34, 35, 36, 37, 38,
              44, 45, 46, 47, 48, 49, 50]

# Keys the bot may press per pass, the chance of a wrong key per pass, how
# far down a letter must be before the bot reacts, how many passes it
# pauses after each shot, and which ring slots it never types (slot % n == 0,
# so those letters fall out at the bottom; 0: none).
SKILLS = {
    "fast": dict(keys=3, wrong=0.0, react_y=-40, rest=0, ignore=0),
    "steady": dict(keys=1, wrong=0.0008, react_y=0, rest=3, ignore=0),
    "sloppy": dict(keys=1, wrong=0.004, react_y=150, rest=12, ignore=23),
    "patient": dict(keys=2, wrong=0.0, react_y=180, rest=0, ignore=0),
}


class Game:
    def __init__(self, binary, folder):
        self.proc = subprocess.Popen([binary, "--headless", "--script", "-", "--dir", folder],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.sent = []

    def send(self, line, record=True):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        if record:
            self.sent.append(line)

    def note(self, line):
        """A line of the recorded script that the live run does not need
        (a state or frame dump: it changes nothing in the game)."""
        self.sent.append(line)

    def state(self):
        self.send("state", record=False)
        return json.loads(self.proc.stdout.readline())

    def close(self):
        self.proc.stdin.close()
        self.proc.wait()


def locked_slots(s):
    return {s["lockQueue"][(s["lockHead"] + i) % 8] for i in range(s["lockCount"])}


def ring_order(s):
    """Live ring slots, oldest first."""
    head, tail = s["ringHead"], s["ringTail"]
    slots = list(range(head, tail)) if tail >= head else list(range(head, 100)) + list(range(1, tail))
    return [i for i in slots if s["targets"][i]["keyCode"] != 0]


class Tally:
    """What the bot saw happen in one round, counted pass by pass."""

    def __init__(self):
        self.destroyed = self.locks = self.wrong = self.lost = self.shots = 0
        self.keys = {}  # key code -> [locked, wrong, lost]

    def key(self, code):
        return self.keys.setdefault(code, [0, 0, 0])

    def add_pass(self, before, after, pressed):
        sounds = after["sounds"]
        self.destroyed += sounds.count("sndHit.play")
        self.shots += sounds.count("sndShot.play")
        # The keys of the pass, judged on the field as it stood before it.
        locked = locked_slots(before)
        count = before["lockCount"]
        locks = wrong = 0
        for code in pressed:
            if code in (SPACE, ENTER, ESC) or count >= 8:
                continue
            slot = next((i for i in ring_order(before)
                         if before["targets"][i]["keyCode"] == code and i not in locked), None)
            if slot is None:
                self.key(code)[1] += 1
                wrong += 1
            else:
                locked.add(slot)
                count += 1
                self.key(code)[0] += 1
                locks += 1
        if (locks, wrong) != (sounds.count("sndType.play"), sounds.count("sndKyan.play")):
            raise RuntimeError(f"locks/wrong keys {locks}/{wrong} do not match the sounds {sounds}")
        self.locks += locks
        self.wrong += wrong
        if "sndFueen.play" in sounds:
            # Every letter on the field is lost, with the one spawned in this pass; only the
            # one that fell out (the first ring slot past the bottom line) is a miss of its key.
            lost = [t["keyCode"] for t in before["targets"] if t["keyCode"] != 0]
            p0, p1 = before["pacing"], after["pacing"]
            if (p0["letterPos"], p0["wordIndex"]) != (p1["letterPos"], p1["wordIndex"]):
                lost.append(after["letterKeys"][after["wordStart"][p1["wordIndex"]] + p1["letterPos"] - 1])
            fallen = next(t["keyCode"] for t in before["targets"][1:100]
                          if t["keyCode"] != 0 and t["y"] > BOTTOM_LINE)
            self.key(fallen)[2] += 1
            self.lost += len(lost)

    def line(self, s):
        """The history line's columns from the score on."""
        judged = self.locks + self.wrong
        accuracy = f"{100 * self.locks / judged:.1f}" if judged else ""
        names = {c: WORD_KEYS.get(c, f"#{c}") for c in self.keys}
        order = sorted(self.keys, key=lambda c: (KEY_ORDER.index(names[c]) if c in WORD_KEYS
                                                 else len(KEY_ORDER) + c))
        keys = " ".join(f"{names[c]}:{':'.join(map(str, self.keys[c]))}" for c in order
                        if any(self.keys[c]))
        # The bot plays the game folder's own list (played by its name), without practice.
        return ",".join(map(str, [s["score"], s["level"], s["maxLevel"], self.destroyed, self.locks,
                                  self.wrong, self.lost, self.shots, f"{self.destroyed / 2:.1f}",
                                  accuracy, keys, "", 0, ""]))


def compress(lines):
    """Runs of equal tick lines become one `tick MS N`."""
    out = []
    for line in lines:
        if line.startswith("tick ") and out and out[-1].startswith("tick "):
            prev = out[-1].split()
            if prev[1] == line.split()[1]:
                n = int(prev[2]) if len(prev) > 2 else 1
                out[-1] = f"tick {prev[1]} {n + 1}"
                continue
        out.append(line)
    return out


def wraps_with_letters(s):
    """The ring's live range wraps and holds letters on both sides of slot 99."""
    head, tail = s["ringHead"], s["ringTail"]
    live = ring_order(s)
    return tail < head and any(i >= head for i in live) and any(i < tail for i in live)


def play(binary, words, seed, skill, name, rounds, max_passes=0, frame_every=0, history=False,
         esc_mid_round=False, frames_wrapped=0):
    rng = random.Random(seed)
    folder = tempfile.mkdtemp(prefix="rapiko-bot-")
    try:
        shutil.copy(os.path.join(ASSETS, "back.bmp"), folder)
        shutil.copy(words, os.path.join(folder, "rapdata.ini"))
        g = Game(binary, folder)
        g.send(f"start {seed}")
        p = SKILLS[skill]
        passes = 0
        played = 0
        rest = 0
        tally = Tally()
        wrapped_due = 0
        s = g.state()
        while played < rounds:
            keys = []
            mode = s["gameMode"]
            if mode == 0:
                keys = [SPACE]
            elif mode == 2:
                g.send(f"type {name}")
                keys = [ENTER]
            else:
                if rest > 0:
                    rest -= 1
                else:
                    locked = locked_slots(s)
                    room = 8 - s["lockCount"]
                    for i in ring_order(s):
                        t = s["targets"][i]
                        if len(keys) >= min(p["keys"], room) or t["y"] < p["react_y"]:
                            continue
                        if p["ignore"] and i % p["ignore"] == 0:
                            continue
                        if i not in locked and t["keyCode"] not in keys:
                            keys.append(t["keyCode"])
                    if rng.random() < p["wrong"]:
                        keys.append(rng.choice(WRONG_KEYS))
                    if s["lockCount"] > 0 and not s["shotActive"]:
                        keys.append(SPACE)
                        rest = p["rest"]
            if keys:
                g.send("press " + " ".join(map(str, keys)))
            g.send(f"tick {PASS_MS}")
            passes += 1
            before = s
            s = g.state()
            if before["gameMode"] == 1:
                tally.add_pass(before, s, keys)
            ended = before["gameMode"] == 1 and s["gameMode"] != 1
            if ended and history:
                g.note("# history: " + tally.line(s))
            if ended:
                tally = Tally()
            if max_passes and passes >= max_passes:
                break
            # The frame just drawn started from the field as the previous state showed it.
            if (frames_wrapped and passes >= wrapped_due and before["gameMode"] == 1
                    and wraps_with_letters(before)):
                frames_wrapped -= 1
                wrapped_due = passes + WRAPPED_APART
                g.note("state")
                g.note("frame")
                g.note("checksum")
            if frame_every and passes % frame_every == 0:
                g.note("frame")
                g.note("checksum")
            if passes % STATE_EVERY == 0 or ended or (before["gameMode"] == 2 and s["gameMode"] == 0):
                g.note("state")
                g.note("frame")
                g.note("checksum")
            if ended:
                played += 1
        # Back on the title screen (after name entry, if any); then Esc.
        while s["gameMode"] != 0 and not max_passes:
            if s["gameMode"] == 2:
                g.send(f"type {name}")
                g.send(f"press {ENTER}")
            g.send(f"tick {PASS_MS}")
            s = g.state()
        g.note("state")
        g.note("frame")
        g.note("checksum")
        if esc_mid_round:
            # One more round, quit half way: it must leave no history line.
            g.send(f"press {SPACE}")
            g.send(f"tick {PASS_MS} 400")
            g.note("state")
        g.send(f"press {ESC}")
        g.send(f"tick {PASS_MS}")
        g.note("state")
        g.close()
        return g.sent
    finally:
        shutil.rmtree(folder)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("binary")
    ap.add_argument("name")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--skill", choices=sorted(SKILLS), default="steady")
    ap.add_argument("--words", default=os.path.join(ASSETS, "rapdata.ini"))
    ap.add_argument("--player", default="BOT")
    ap.add_argument("--rounds", type=int, default=1)
    ap.add_argument("--passes", type=int, default=0)
    ap.add_argument("--frame-every", type=int, default=0)
    ap.add_argument("--history", action="store_true")
    ap.add_argument("--esc-mid-round", action="store_true")
    ap.add_argument("--frames-wrapped", type=int, default=0)
    a = ap.parse_args()
    sent = play(a.binary, a.words, a.seed, a.skill, a.player, a.rounds, a.passes, a.frame_every,
                a.history, a.esc_mid_round, a.frames_wrapped)
    head = [f"# {a.skill} bot, {a.rounds} round(s), seed {a.seed}; recorded by make_bot_game.py"]
    if a.history:
        head.append("# golden: history")
    with open(os.path.join(HERE, a.name + ".script"), "w") as f:
        f.write("\n".join(head + compress(sent)) + "\n")
    if os.path.abspath(a.words) != os.path.abspath(os.path.join(ASSETS, "rapdata.ini")):
        shutil.copy(a.words, os.path.join(HERE, a.name + ".words"))
    print(f"{a.name}.script: {len(sent)} commands", file=sys.stderr)


if __name__ == "__main__":
    main()
