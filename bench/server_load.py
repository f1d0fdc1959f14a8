#!/usr/bin/env python3
"""The server under load: submissions a second and their latency at 100
clients at once, and a board's latency over 1,000,000 stored rounds.

    bench/server_load.py SERVER GAME SOURCE_DIR [--postgresql] [--clients N]
                         [--rounds N] [--board-rows N] [--queries N]

Each submission is a steady bot's whole round (tests/server/cases/) on a
ticket of its own, signed with the server's secret for the round's seed, so
every request is a full replay. The board's rows are synthetic named rounds
written straight into the database. With --postgresql the server keeps its
rounds in $RAPIKO_TEST_DATABASE (run it under tests/server/with_postgresql.sh).
Prints the figures; measures, never fails on a figure."""
import argparse, json, os, sqlite3, subprocess, sys, time
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "server"))
from server_run import SECRET, Run, request, signed_ticket, ticket  # noqa: E402

BOARD_SQL = """INSERT INTO rounds (ticket, list, recording, recording_hash, score, level, max_level,
  rank_key, created_ms, name)
SELECT 'synthetic' || n, 'english', '', '', n % 5000, n % 40, n % 40,
  (n % 40) * 10000000 + (n % 40) * 100000 + n % 5000, {now} - (n % 1000000) * 60000,
  'P' || (n % 50000) FROM {series}"""


def percentile(values, p):
    values = sorted(values)
    return values[min(len(values) - 1, int(len(values) * p / 100))]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("server")
    ap.add_argument("game")
    ap.add_argument("source")
    ap.add_argument("--postgresql", action="store_true")
    ap.add_argument("--clients", type=int, default=100)
    ap.add_argument("--rounds", type=int, default=1000)
    ap.add_argument("--board-rows", type=int, default=1000000)
    ap.add_argument("--queries", type=int, default=1000)
    a = ap.parse_args()
    database = os.environ["RAPIKO_TEST_DATABASE"] if a.postgresql else None
    run = Run(a.server, a.game, a.source, database)
    try:
        proc, (_, base) = run.start_server("load", "--allow-any-pace", "--rate-limit", "0")
        words = ticket(base)["words"]
        case = open(os.path.join(a.source, "tests", "server", "cases", "english-4242.script")).read()
        score, level = (int(x) for x in __import__("re").search(
            r"score (\d+), level (\d+)", case).groups())
        now = int(time.time() * 1000)
        bodies = [json.dumps({"ticket": signed_ticket(SECRET, f"load{i}", 4242, words, now),
                              "recording": case, "claimed": {"score": score, "level": level}})
                  for i in range(a.rounds)]

        def submit(body):
            began = time.perf_counter()
            while True:
                status, text, headers = request(base, "POST", "/api/v1/rounds", body, timeout=600)
                if status != 503:
                    break
                time.sleep(int(headers["Retry-After"]))
            return status, time.perf_counter() - began

        began = time.perf_counter()
        with ThreadPoolExecutor(a.clients) as pool:
            results = list(pool.map(submit, bodies))
        elapsed = time.perf_counter() - began
        bad = [s for s, _ in results if s != 201]
        latencies = [t * 1000 for _, t in results]
        print(f"submissions: {a.rounds} rounds from {a.clients} clients at once in {elapsed:.1f} s: "
              f"{a.rounds / elapsed:.1f} a second; latency p50 {percentile(latencies, 50):.0f} ms, "
              f"p99 {percentile(latencies, 99):.0f} ms" + (f"; {len(bad)} not 201" if bad else ""))

        started = time.perf_counter()
        if database:
            sql = BOARD_SQL.format(now=now, series=f"generate_series(1::bigint, {a.board_rows}) AS n")
            subprocess.run(["psql", database, "-q", "-c", sql + "; ANALYZE rounds;"], check=True)
        else:
            db = sqlite3.connect(os.path.join(run.scratch, "load", "rapiko.sqlite"), timeout=60)
            series = (f"(WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s "
                      f"WHERE n < {a.board_rows}) SELECT n FROM s)")
            db.execute(BOARD_SQL.format(now=now, series=series))
            db.commit()
            db.execute("ANALYZE")
            db.close()
        print(f"board rows: {a.board_rows} synthetic named rounds written in "
              f"{time.perf_counter() - started:.1f} s")
        for period in ("all", "week", "day"):
            times = []
            for _ in range(a.queries):
                t = time.perf_counter()
                status, text, _ = request(base, "GET", f"/api/v1/boards/english?period={period}")
                times.append((time.perf_counter() - t) * 1000)
                assert status == 200 and len(json.loads(text)["entries"]) == 10, text
            print(f"board query (period={period}, 10 entries) over {a.board_rows} rows: "
                  f"p50 {percentile(times, 50):.2f} ms, p99 {percentile(times, 99):.2f} ms")
    finally:
        run.close()


if __name__ == "__main__":
    main()
