#!/usr/bin/env python3
"""Three servers on one PostgreSQL database, started together, sharing no
memory: each round is spent at a server other than the one that made its
ticket; 24 games send their rounds at once, and one server is killed
(SIGKILL) when a third of them have been answered. A game whose request
fails tries again at another server, as after a lost answer. Every round
answered 201 gets its name and is on the board exactly once.

    with_postgresql.sh many_servers_test.py SERVER GAME SOURCE_DIR"""
import json, os, sys, threading, time
from concurrent.futures import ThreadPoolExecutor

from server_run import Run, request, ticket

GAMES = 24


def main():
    run = Run(*sys.argv[1:4], os.environ["RAPIKO_TEST_DATABASE"])
    try:
        # Tickets taken before the rounds are played (slowly, under a sanitizer) must not expire.
        servers = run.start_servers(["one", "two", "three"], "--allow-any-pace", "--rate-limit", "0",
                                    "--slack", "86400")
        bases = [api for _, (_, api) in servers]
        tickets = [ticket(bases[i % 3]) for i in range(GAMES)]
        # Rounds nobody typed in: each its own recording, each a finished round.
        rounds = [run.played(t["seed"], t["words"], ["press 57", f"tick 16 {7550 + i}"])
                  for i, t in enumerate(tickets)]
        answers, lock, killed = {}, threading.Lock(), threading.Event()

        def send(i):
            recording, end = rounds[i]
            body = json.dumps({"ticket": tickets[i]["ticket"], "recording": recording,
                               "claimed": {"score": end["score"], "level": end["level"]}})
            for attempt in range(40):
                try:
                    status, text, headers = request(bases[(i + 1 + attempt) % 3], "POST",
                                                    "/api/v1/rounds", body)
                except OSError:
                    continue  # the killed server: no answer, so the game sends again
                if status == 503:  # every replay worker busy: back off as told
                    time.sleep(int(headers["Retry-After"]))
                    continue
                if status != 201:
                    return f"game {i}: {status} {text}"
                with lock:
                    answers[i] = json.loads(text)
                    if len(answers) == GAMES // 3 and not killed.is_set():
                        killed.set()
                        servers[1][0].kill()
                return None
            return f"game {i}: no server answered"

        with ThreadPoolExecutor(GAMES) as pool:
            problems = [p for p in pool.map(send, range(GAMES)) if p]
        alive = bases[0]
        for i, answer in answers.items():
            status, text, _ = request(alive, "POST", f"/api/v1/rounds/{answer['id']}/name",
                                      json.dumps({"claim": answer["claim"], "name": f"GAME{i}"}))
            if status != 200:
                problems.append(f"game {i}: naming: {status} {text}")
        status, text, _ = request(alive, "GET", "/api/v1/boards/english?limit=100")
        board = [e["round"] for e in json.loads(text)["entries"]]
        ids = sorted(a["id"] for a in answers.values())
        if not killed.is_set():
            problems.append("no server was killed")
        if len(answers) != GAMES or sorted(board) != ids:
            problems.append(f"answered 201: {ids}; on the board: {sorted(board)}")
        print("\n".join(problems) or f"{GAMES} rounds over three servers, one killed: each on "
                                       "the board once")
        return 1 if problems else 0
    finally:
        run.close()


if __name__ == "__main__":
    sys.exit(main())
