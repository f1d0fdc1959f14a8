"""What the server's tests share: the real rapiko-server started on a free
port, requests to it, and rounds the real game plays on a ticket (a fresh
game started at the ticket's seed with its words, Space in its first pass;
its recording from the round's start and its own state at the end)."""
import base64, hashlib, hmac, json, os, re, shutil, ssl, subprocess, sys, tempfile
import urllib.request, urllib.error

SECRET = "a secret the test shares with its server"


class Run:
    def __init__(self, server, game, source, database=None):
        self.server, self.game, self.source, self.database = server, game, source, database
        self.scratch = tempfile.mkdtemp(prefix="rapiko-server-test-")
        self.procs = []
        sys.path.insert(0, os.path.join(source, "tests", "golden"))

    def close(self):
        for proc in self.procs:
            proc.kill()
            proc.wait()
        shutil.rmtree(self.scratch)

    def start_server(self, name, *args):
        """A server process and its bases: [metrics, API]."""
        return self.start_servers([name], *args)[0]

    def start_servers(self, names, *args):
        """Servers started together (on one database, they migrate it together)."""
        procs = [self.spawn(name, *args) for name in names]
        started = []
        for proc in procs:
            lines = [proc.stdout.readline(), proc.stdout.readline()]
            ports = [re.search(r"(https?://127.0.0.1:\d+)", line) for line in lines]
            if not all(ports):
                sys.exit(f"the server did not say where it listens: {lines!r}")
            started.append((proc, [p.group(1) for p in ports]))
        return started

    def spawn(self, name, *args):
        data = os.path.join(self.scratch, name)
        os.mkdir(data)
        with open(os.path.join(data, "secret"), "w") as f:
            f.write(SECRET + "\n")
        store = ["--database", self.database] if self.database else ["--data", data]
        proc = subprocess.Popen([self.server, *store, "--port", "0", "--listen", "127.0.0.1",
                                 "--metrics-listen", "127.0.0.1:0",
                                 "--secret-file", os.path.join(data, "secret"), *args],
                                stdout=subprocess.PIPE, text=True)
        self.procs.append(proc)
        return proc

    def played(self, seed, words, commands):
        """The round a fresh game started at seed plays with words and commands
        (Space first): its recording from the round's start, and its state at the end."""
        folder = tempfile.mkdtemp(dir=self.scratch, prefix="game-")
        shutil.copy(os.path.join(self.source, "assets", "back.bmp"), folder)
        with open(os.path.join(folder, "rapdata.ini"), "w") as f:
            f.write("".join(w + "\n" for w in words))
        record = os.path.join(folder, "round.script")
        script = "\n".join([f"start {seed}", *commands, "state"]) + "\n"
        out = subprocess.run([self.game, "--headless", "--script", "-", "--dir", folder,
                              "--record", record],
                             input=script, capture_output=True, text=True, check=True).stdout
        state = json.loads(out.splitlines()[-1])
        # The round begins after the pass that read Space: the ticket's start.
        lines = open(record).read().splitlines()
        first = next(i for i, line in enumerate(lines) if line.startswith("tick "))
        _, ms, *n = lines[first].split()
        rest = [f"tick {ms} {int(n[0]) - 1}"] if n and int(n[0]) > 1 else []
        round_lines = [lines[0], f"start {seed + int(ms)}", *rest, *lines[first + 1:]]
        return "\n".join(round_lines) + "\n", state

    def bot_round(self, ticket, skill):
        """A bot's whole round on ticket (make_bot_game.py), as played()."""
        import make_bot_game
        words = os.path.join(self.scratch, f"words-{skill}")
        with open(words, "w") as f:
            f.write("".join(w + "\n" for w in ticket["words"]))
        bot = make_bot_game.play(self.game, words, ticket["seed"], skill, "BOT", 1)
        # The bot's script past its start line; it types its name after the round.
        return self.played(ticket["seed"], ticket["words"], bot[1:])


def request(base, method, path, body=None, timeout=60, header=None):
    data = body.encode() if isinstance(body, str) else body
    headers = {"Content-Type": "application/json", **(header or {})}
    req = urllib.request.Request(base + path, data=data, method=method, headers=headers)
    # A test's own certificate is trusted as it is.
    unchecked = ssl._create_unverified_context() if base.startswith("https") else None
    try:
        with urllib.request.urlopen(req, timeout=timeout, context=unchecked) as r:
            return r.status, r.read().decode(), r.headers
    except urllib.error.HTTPError as e:
        return e.code, e.read().decode(), e.headers


def ticket(base, lst="english"):
    status, text, _ = request(base, "POST", "/api/v1/tickets", json.dumps({"list": lst, "rules": 1}))
    assert status == 201, text
    return json.loads(text)


def signed_ticket(secret, ident, seed, words, issued_ms, lst="english"):
    """A ticket of the server's form for seed and words, signed with secret."""
    def b64(data):
        return base64.urlsafe_b64encode(data).rstrip(b"=").decode()
    text = "".join(w + "\n" for w in words).encode()
    payload = {"id": ident, "seed": seed, "list": lst, "words": hashlib.sha256(text).hexdigest(),
               "rules": 1, "issued": issued_ms, "expires": issued_ms + 180000}
    body = "v1." + b64(json.dumps(payload).encode())
    return body + "." + b64(hmac.new(secret.encode(), b"ticket:" + body.encode(),
                                     hashlib.sha256).digest())
