#!/usr/bin/env python3
"""A round typed at a person's pace in the real window reaches the online board unflagged: the
game plays against a real rapiko-server with its real-time rule on, in a private Xvfb, and
xdotool types each key after a jittered, human interval. (A bot's round, each letter typed the
pass after it appears, is flagged: tests/server/api_test.py.)

    human_pace_test.py RAPIKO RAPIKO_SERVER

Every word of the round's list is made of A, so a typist that cannot see the screen types what
falls: A every 500 to 1100 ms, Space 100 to 300 ms after it, for the round's 120 s."""
import csv
import json
import os
import random
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

ROUND_S = 120


def get(url):
    with urllib.request.urlopen(url, timeout=30) as r:
        return r.read().decode()


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start_xvfb():
    """A private X server; its display once it accepts clients."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        return xvfb, ":" + f.readline().strip()


def main(rapiko, server, work):
    words = "".join("A" * n + "\r\n" for n in (3, 4, 5, 3, 4, 5, 3, 4, 5, 4))
    # The game folder made and filled by the game first (a new folder is), then given the list.
    subprocess.run([rapiko, "--stats", "--dir", os.path.join(work, "game")], check=True,
                   capture_output=True)
    for folder in ("lists", "game/words"):
        os.makedirs(os.path.join(work, folder))
        with open(os.path.join(work, folder, "aaa.ini"), "w", newline="") as f:
            f.write(words)
    port = free_port()
    url = f"http://127.0.0.1:{port}"
    srv = subprocess.Popen([server, "--data", os.path.join(work, "data"), "--port", str(port),
                            "--listen", "127.0.0.1", "--lists", os.path.join(work, "lists"),
                            "--rate-limit", "0"], stdout=subprocess.DEVNULL)
    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy",
               XDG_CONFIG_HOME=os.path.join(work, "config"))
    game = None
    try:
        for _ in range(600):
            try:
                get(url + "/healthz")
                break
            except OSError:
                time.sleep(0.1)
        said_path = os.path.join(work, "stderr.txt")
        game = subprocess.Popen([rapiko, "--window", "--mute", "--dir", os.path.join(work, "game"),
                                 "--words", "aaa", "--online", url],
                                env=env, stderr=open(said_path, "w"))
        xdotool = lambda *a: subprocess.run(["xdotool", *a], env=env, check=True,
                                            capture_output=True)
        for _ in range(300):
            if subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Rapiko"], env=env,
                              capture_output=True).returncode == 0:
                break
            time.sleep(0.1)
        time.sleep(1)
        # Without a window manager the keys go to the window under the pointer.
        xdotool("mousemove", "512", "384")
        xdotool("key", "space")
        began = time.monotonic()
        jitter = random.Random(1)
        letters = 0
        # Stop short of the round's end, so that no A lands in the name.
        while time.monotonic() - began < ROUND_S - 1:
            time.sleep(jitter.uniform(0.5, 1.1))
            xdotool("key", "a")
            letters += 1
            time.sleep(jitter.uniform(0.1, 0.3))
            xdotool("key", "space")
        time.sleep(4)  # the round ends; its name entry opens
        xdotool("type", "--delay", "150", "HUMAN")
        xdotool("key", "Return")
        line = None
        for _ in range(600):
            with open(said_path) as f:
                said = f.read().splitlines()
            found = [l for l in said if l.startswith("rapiko: online: ")]
            if found:
                line = json.loads(found[0][len("rapiko: online: "):])["online"]
                break
            time.sleep(0.1)
        xdotool("key", "Escape")
        game.wait(timeout=60)
        with open(said_path) as f:
            print("the game's standard error:", f.read())
        print("the game said:", line)
        board = json.loads(get(url + "/api/v1/boards/aaa"))["entries"]
        print("the public board:", board)
        ok = (line is not None and line.get("status") == 200 and line.get("place") == 1
              and [(e["name"], e["score"]) for e in board] == [("HUMAN", line.get("score"))])
        # Enough locks that the rule looks at the round (it needs 20): the game's own history.
        with open(os.path.join(work, "game", "rapiko-history.csv")) as f:
            rows = list(csv.DictReader(f))
        locks = int(rows[-1]["locks"]) if rows else 0
        print(f"the round: {rows[-1] if rows else None}")
        ok = ok and locks >= 20
        print("ok   a human-paced round is on the public board, not flagged" if ok else
              "FAIL a human-paced round is not on the public board as it should be")
        return 0 if ok else 1
    finally:
        if game and game.poll() is None:
            game.kill()
        srv.terminate()
        srv.wait()
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    work = tempfile.mkdtemp(prefix="rapiko-human-")
    try:
        status = main(sys.argv[1], sys.argv[2], work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    sys.exit(status)
