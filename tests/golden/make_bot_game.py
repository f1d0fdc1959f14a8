#!/usr/bin/env python3
"""Records a golden game: a bot plays whole rounds through a headless run,
reading the state every pass, and the commands it sent become the script.

    tests/golden/make_bot_game.py BINARY NAME [--seed S] [--skill fast|steady|sloppy]
                                  [--words FILE] [--player TEXT] [--rounds N]
                                  [--passes P --frame-every F]

Writes tests/golden/NAME.script (with NAME.words when --words is given); run
the golden tests with RAPIKO_UPDATE_GOLDEN=1 afterwards to write the
expected output. The recorded script keeps a state line every
STATE_EVERY passes and around each round's end, not every pass the bot read.
With --passes, the bot stops after P passes of its first round (then Esc),
and keeps a frame line every F passes: a close look at play.
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
SPACE, ENTER, ESC = 57, 28, 1
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


def play(binary, words, seed, skill, name, rounds, max_passes=0, frame_every=0):
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
            ended = before["gameMode"] == 1 and s["gameMode"] != 1
            if max_passes and passes >= max_passes:
                break
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
    a = ap.parse_args()
    sent = play(a.binary, a.words, a.seed, a.skill, a.player, a.rounds, a.passes, a.frame_every)
    head = [f"# {a.skill} bot, {a.rounds} round(s), seed {a.seed}; recorded by make_bot_game.py"]
    with open(os.path.join(HERE, a.name + ".script"), "w") as f:
        f.write("\n".join(head + compress(sent)) + "\n")
    if os.path.abspath(a.words) != os.path.abspath(os.path.join(ASSETS, "rapdata.ini")):
        shutil.copy(a.words, os.path.join(HERE, a.name + ".words"))
    print(f"{a.name}.script: {len(sent)} commands", file=sys.stderr)


if __name__ == "__main__":
    main()
