#!/usr/bin/env python3
"""The server's API against the real rapiko-server process, with rounds the
real game played: bots play tickets' rounds headless (make_bot_game.py), and
the rounds' recordings are sent; the game's own state at a round's end is
the result the server must find.

    api_test.py SERVER GAME SOURCE_DIR [--postgresql]

Each row of api_cases.txt is one request and what must come back. With
--postgresql the servers keep their rounds in the database of
$RAPIKO_TEST_DATABASE (with_postgresql.sh makes one), both in the same one."""
import json, os, re, subprocess, sys, time

from server_run import SECRET, Run, request, signed_ticket, ticket

def main():
    run = Run(*sys.argv[1:4], os.environ["RAPIKO_TEST_DATABASE"] if sys.argv[4:] else None)
    start_server = run.start_server
    site = os.path.join(run.scratch, "site")
    os.mkdir(site)
    # The page, a script with the build's compressed copies (their bytes need not be real
    # ones: they go as they are), and a file outside the site.
    for name, text in [("index.html", "<title>the game's page</title>\n"),
                       ("page.js", "page = 'plain';\n"), ("page.js.br", "the brotli copy"),
                       ("page.js.gz", "the gzip copy"), ("../secret.txt", "not for the web")]:
        with open(os.path.join(site, name), "w") as f:
            f.write(text)
    key, cert = os.path.join(run.scratch, "key.pem"), os.path.join(run.scratch, "cert.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                    "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", cert],
                   check=True, capture_output=True)
    # Tickets taken before the bots play (slowly, under a sanitizer) must not expire.
    free_server, free_bases = start_server("free", "--allow-any-pace", "--rate-limit", "0",
                                           "--slack", "86400", "--site", site,
                                           "--allow-origin", "https://class.example")
    paced_server, paced_bases = start_server("paced", "--rate-limit", "3", "--open-tickets", "1")
    _, tls_bases = start_server("tls", "--tls-cert", cert, "--tls-key", key)
    proxied, proxied_bases = start_server("proxied", "--rate-limit", "1",
                                          "--trusted-proxy", "127.0.0.1")
    servers = {"free": (free_server, free_bases[1]), "paced": (paced_server, paced_bases[1]),
               "metrics": (free_server, free_bases[0]), "tls": (None, tls_bases[1]),
               "proxied": (proxied, proxied_bases[1])}
    try:
        free = servers["free"][1]
        a, b, c = ticket(free), ticket(free), ticket(free)
        # A patient bot waits for a letter as a person does; a fast one types it the
        # pass after it appears, which no person can.
        recording, end = run.bot_round(a, "patient")
        typed_fast, fast_end = run.bot_round(c, "fast")
        idle, idle_end = run.played(b["seed"], b["words"], ["press 57", "tick 16 7600"])
        now = int(time.time() * 1000)
        v = {"ticket": a["ticket"], "recording": recording, "score": end["score"],
             "level": end["level"], "maxLevel": end["maxLevel"], "seed": a["seed"],
             "words": json.dumps(a["words"], separators=(",", ":")),
             "ticket2": b["ticket"], "ticket3": c["ticket"], "fast": typed_fast,
             "fastScore": fast_end["score"], "fastLevel": fast_end["level"], "idle": idle, "idleScore": idle_end["score"],
             "idleLevel": idle_end["level"],
             "expired": signed_ticket(SECRET, "old", 1, [], now - 3600 * 1000),
             "foreign": signed_ticket("another server's secret", "foreign", 1, [], now),
             "cut": recording[:len(recording) // 2].rsplit("\n", 1)[0] + "\n",
             "focus": recording.replace("\ntick", "\nfocus out\ntick", 1),
             "another": recording + "# a line more\n",
             "big": "x" * (2 << 20)}
        assert end["score"] > 0 and end["gameMode"] != 1, "the bot's round did not score"
        failures = 0
        cases = os.path.join(os.path.dirname(os.path.abspath(__file__)), "api_cases.txt")
        for number, row in enumerate(open(cases).read().splitlines(), 1):
            if not row.strip() or row.startswith("#"):
                continue
            server, method, path, body, want, expect, keep = row.split("\t")
            def fill(text, as_json):
                return re.sub(r"\$(\w+)", lambda m: json.dumps(v[m[1]]) if as_json
                              else str(v[m[1]]), text)
            times = 1
            if "*" in method:
                method, times = method.split("*")[0], int(method.split("*")[1])
            try:
                if method == "ADMIN":  # the operator's command on that server's database
                    store = (["--database", run.database] if run.database
                             else ["--data", os.path.join(run.scratch, server)])
                    done = subprocess.run([run.server, "admin", *fill(path, False).split(), *store],
                                          capture_output=True, text=True)
                    got = [(done.returncode, done.stdout + done.stderr, {})]
                else:
                    # A body "header NAME: VALUE" is no body but a header of the request.
                    header = (dict([fill(body[7:], False).split(": ", 1)])
                              if body.startswith("header ") else None)
                    got = [request(servers[server][1], method, fill(path, False),
                                   None if body == "-" or header else fill(body, True),
                                   header=header)
                           for _ in range(int(times))]
                wanted = fill(expect, False)
            except KeyError as e:
                failures += 1
                print(f"api_cases.txt:{number}: no value {e} (an earlier row failed)")
                continue
            status, text, headers = next((g for g in got if g[0] == int(want)), got[-1])
            absent = wanted.startswith("!")
            # The answer's text, then its headers, one a line.
            answer = text + "\n" + "".join(f"{k}: {v}\n" for k, v in dict(headers).items())
            ok = status == int(want) and (expect == "-" or (wanted.lstrip("!") in answer) != absent)
            if status in (429, 503):
                ok = ok and headers.get("Retry-After", "").isdigit()
            if status >= 400 and method != "ADMIN":
                ok = ok and "\n" not in json.loads(text)["error"]
            if not ok:
                failures += 1
                print(f"api_cases.txt:{number}: {method} {path}: got {status} {text[:300]!r}, "
                      f"want {want} with {wanted[:300]!r}")
                continue
            for pair in keep.split() if keep != "-" else []:
                name, member = pair.split("=")
                v[name] = json.loads(text)[member]
        print(f"{failures} of the rows failed" if failures else "every row answered as it should")
        return 1 if failures else 0
    finally:
        run.close()


if __name__ == "__main__":
    sys.exit(main())
