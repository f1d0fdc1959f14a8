#!/usr/bin/env python3
"""Headless games against a real rapiko-server: a bot plays whole rounds with --online, and
what the game says of each ({"online": ...}) is checked against the server's board.

    online_test.py RAPIKO RAPIKO_SERVER

RAPIKO is the game's command; RAPIKO_PROGRAM, when set, replaces it with a port's
("node build-web/node/rapiko.js"), as for the golden games.

- a round is answered with the score and level the game itself ended with, and appears on
  the list's board under the name typed, with a place;
- the token the server made for the name is kept in the player's settings, and a later game
  of that player names a round again, while another player's game is refused the name;
- R on the title shows the list's board as the server ranks it ({"onlineBoard": ...});
- the options screen's watch list offers the board's rounds, and one watched plays to the
  score and level the board gives it ({"watched": ...});
- with no server there, the round is played offline, exactly as without --online;
- turned off on the options screen, a round asks the server for nothing.
"""
import json
import os
import shlex
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

SPACE, ENTER, R, O, UP = 57, 28, 19, 24, 200
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def get_json(url):
    with urllib.request.urlopen(url, timeout=30) as r:
        return json.loads(r.read())


class Game:
    """A headless game driven pass by pass through standard input."""

    def __init__(self, rapiko, folder, config, url):
        # A player is a settings folder: XDG_CONFIG_HOME's, or under Wine a prefix's own.
        env = dict(os.environ, XDG_CONFIG_HOME=config,
                   RAPIKO_WINEPREFIX=os.path.join(config, "wine"))
        args = rapiko + ["--headless", "--script", "-", "--dir", folder, "--online", url]
        self.proc = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     text=True, env=env)
        self.online = []
        self.boards = []
        self.watched = []

    def send(self, *lines):
        self.proc.stdin.write("".join(line + "\n" for line in lines))
        self.proc.stdin.flush()

    def state(self):
        self.send("state")
        while True:
            line = json.loads(self.proc.stdout.readline())
            if "online" in line:
                self.online.append(line["online"])
            elif "onlineBoard" in line:
                self.boards.append(line["onlineBoard"])
            elif "watched" in line:
                self.watched.append(line["watched"])
            else:
                return line

    def finish(self):
        self.proc.stdin.close()
        self.online += [json.loads(line)["online"] for line in self.proc.stdout]
        return self.proc.wait()


def play_round(rapiko, folder, config, url, name):
    """One round: a bot locks the lowest letter it sees and fires, at a person's pace (the
    server keeps rounds typed faster than that off its boards), then types the name.
    Returns the state after the name entry and what the game said online."""
    game = Game(rapiko, folder, config, url)
    game.send("start 5000", "tick 16", f"press {SPACE}")
    s = game.state()
    while s["gameMode"] != 2:
        locked = {s["lockQueue"][(s["lockHead"] + i) % 8] for i in range(s["lockCount"])}
        live = [i for i in range(1, 100) if s["targets"][i]["keyCode"] and i not in locked
                and s["targets"][i]["y"] > 100]  # seen a while, as a person sees them
        if live:
            lowest = max(live, key=lambda i: s["targets"][i]["y"])
            game.send(f"press {s['targets'][lowest]['keyCode']} {SPACE}")
        game.send("tick 16 6")
        s = game.state()
    ended = s
    game.send(f"type {name}", f"press {ENTER}", "tick 16 2")
    game.state()
    status = game.finish()
    check(status == 0, f"{name}: the game ends normally")
    return ended, game.online


def main(rapiko, server, work):
    port = free_port()
    url = f"http://127.0.0.1:{port}"
    srv = subprocess.Popen([server, "--data", os.path.join(work, "data"), "--port", str(port),
                            "--listen", "127.0.0.1", "--allow-any-pace", "--rate-limit", "0"])
    try:
        # Up when it answers; the limit is far past what a loaded machine needs.
        for _ in range(600):
            try:
                get_json(url + "/healthz")
                break
            except OSError:
                time.sleep(0.1)
        player, other = os.path.join(work, "player"), os.path.join(work, "other")

        ended, said = play_round(rapiko, os.path.join(work, "g1"), player, url, "BOT")
        check(len(said) == 1, f"one online line for the round: {said}")
        line = said[0] if said else {}
        check(line.get("status") == 200 and "error" not in line, f"named on the board: {line}")
        check(ended["score"] > 0, f"the bot scored ({ended['score']})")
        check((line.get("score"), line.get("level")) == (ended["score"], ended["level"]),
              "the server's result is the game's own")
        check(line.get("list") == "rapdata" and line.get("place", 0) >= 1, "its list and place")
        board = get_json(url + "/api/v1/boards/rapdata")["entries"]
        check([(e["name"], e["score"], e["round"]) for e in board] ==
              [("BOT", ended["score"], line.get("id"))], f"the board holds it: {board}")

        _, said = play_round(rapiko, os.path.join(work, "g2"), other, url, "BOT")
        line = said[0] if said else {}
        check(line.get("status") == 403 and "id" in line and "error" in line,
              f"the same name without its token is refused: {line}")
        _, said = play_round(rapiko, os.path.join(work, "g3"), player, url, "BOT")
        line = said[0] if said else {}
        check(line.get("status") == 200,
              f"the same name with the token the game kept is entered: {line}")
        board = get_json(url + "/api/v1/boards/rapdata")["entries"]
        check([e["name"] for e in board] == ["BOT", "BOT"], "the board holds both named rounds")
        # R on the title asks for the board each time it shows it, and back to the ranking.
        game = Game(rapiko, os.path.join(work, "g4"), player, url)
        game.send("start 5000", "tick 16", f"press {R}", "tick 16 2", f"press {R}", "tick 16",
                  f"press {R}", "tick 16")
        game.state()
        check(game.finish() == 0 and not game.online, "looking at the board sends no round")
        wanted = {"status": 200, "list": "rapdata",
                  "entries": [{k: e[k] for k in ("place", "name", "score", "level")}
                              for e in board]}
        check(game.boards == [wanted, wanted], f"the title shows the board twice: {game.boards}")
        # The options screen's watch list offers the board's rounds after the kept ones (a
        # headless run keeps none): O, Up to its line, Enter lists them, Enter watches the
        # first, which a headless run plays through at once, printing what it came to.
        game = Game(rapiko, os.path.join(work, "g5"), player, url)
        game.send("start 5000", "tick 16", *(f"press {k}\ntick 16" for k in (O, UP, ENTER, ENTER)))
        s = game.state()
        check(game.finish() == 0 and not game.online and s["gameMode"] == 0,
              "watching sends no round, and the game stays on its title's screens")
        best = board[0]
        check(game.watched == [{"status": 200, "round": best["round"], "score": best["score"],
                                "level": best["level"]}],
              f"the board's best round is watched to its score and level: {game.watched}")
    finally:
        srv.terminate()
        try:
            stopped = srv.wait(timeout=60)
        except subprocess.TimeoutExpired:
            srv.kill()
            stopped = srv.wait()
    check(stopped == 0, f"the server ends cleanly on TERM (status {stopped})")

    # No server there: the round is played offline, as without --online.
    script = f"start 5000\ntick 16\npress {SPACE}\ntick 16 400\nstate\n"
    runs = []
    for extra in ([], ["--online", url]):
        r = subprocess.run(rapiko + ["--headless", "--script", "-", "--dir",
                                     os.path.join(work, "offline" + str(len(runs)))] + extra,
                           input=script, capture_output=True, text=True,
                           env=dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "c")))
        runs.append(r.stdout.splitlines())
    said = [json.loads(line)["online"] for line in runs[1] if line.startswith('{"online"')]
    check(len(said) == 1 and said[0].get("error", "").startswith("no ticket")
          and "status" not in said[0], f"without a server the round is offline: {said}")
    check([line for line in runs[1] if not line.startswith('{"online"')] == runs[0],
          "and plays as it does without --online")
    # Turned off on the options screen (O, Up to its line, Enter, Esc): nothing is asked for.
    keys = "".join(f"press {k}\ntick 16\n" for k in (24, 200, 28, 1))
    r = subprocess.run(rapiko + ["--headless", "--script", "-", "--dir",
                                 os.path.join(work, "offline2"), "--online", url],
                       input=script.replace("tick 16\n", "tick 16\n" + keys, 1),
                       capture_output=True, text=True,
                       env=dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "c")))
    check(r.returncode == 0 and r.stdout.count("\n") == 1 and '"online"' not in r.stdout,
          f"a round with the online ranking turned off is not sent: {r.stdout[:200]}")
    return 1 if failures else 0


if __name__ == "__main__":
    work = tempfile.mkdtemp(prefix="rapiko-online-")
    try:
        program = shlex.split(os.environ.get("RAPIKO_PROGRAM") or sys.argv[1])
        status = main(program, sys.argv[2], work)
    finally:
        # The Wine prefixes the players' games made live on until stopped.
        for player in os.listdir(work):
            prefix = os.path.join(work, player, "wine")
            if os.path.isdir(prefix) and program[0].endswith("wine.sh"):
                subprocess.run([program[0], "--stop"], env=dict(os.environ, RAPIKO_WINEPREFIX=prefix))
        shutil.rmtree(work, ignore_errors=True)
    sys.exit(status)
