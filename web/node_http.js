// The network for the Node build: the game waits for each answer, as a game
// on Linux does, so the exchange runs in a child Node process (whose fetch
// is Node's own) and this one waits for it.
mergeInto(LibraryManager.library, {
  rapiko_http_exchange: function (method, url, body, timeoutMs, maxBytes) {
    var request = {
      method: UTF8ToString(method), url: UTF8ToString(url), body: UTF8ToString(body),
      timeoutMs: timeoutMs, maxBytes: maxBytes,
    };
    var child = [
      "let input = '';",
      "process.stdin.on('data', (d) => { input += d; });",
      "process.stdin.on('end', async () => {",
      "  const r = JSON.parse(input);",
      "  const say = (answer) => process.stdout.write(JSON.stringify(answer));",
      "  try {",
      "    const options = { method: r.method, signal: AbortSignal.timeout(r.timeoutMs),",
      "      headers: { 'Accept': 'application/json', 'Content-Type': 'application/json' } };",
      "    if (r.body !== '' || r.method === 'POST') options.body = r.body;",
      "    const reply = await fetch(r.url, options);",
      "    const text = await reply.text();",
      "    if (Buffer.byteLength(text) > r.maxBytes) return say({ failure: 'large' });",
      "    const wait = parseInt(reply.headers.get('retry-after') || '0', 10);",
      "    say({ status: reply.status, body: text, retryAfter: wait > 0 ? wait : 0 });",
      "  } catch (e) {",
      "    const cause = (e && e.cause && e.cause.code) || '';",
      "    const name = (e && e.name) || '';",
      "    say({ failure: name === 'TimeoutError' ? 'timeout'",
      "      : /ECONNREFUSED|ENOTFOUND|EAI_AGAIN|ECONNRESET|EHOSTUNREACH|ENETUNREACH/.test(cause)",
      "        ? 'connect' : name === 'TypeError' && !cause ? 'address' : 'other',",
      "      detail: String((e && e.cause && e.cause.message) || (e && e.message) || e) });",
      "  }",
      "});",
    ].join("\n");
    var answer;
    try {
      answer = require("child_process").execFileSync(process.execPath, ["-e", child], {
        input: JSON.stringify(request), maxBuffer: 2 * maxBytes + 65536,
        timeout: timeoutMs + 10000, encoding: "utf8",
      });
    } catch (e) {
      answer = JSON.stringify({ failure: "other", detail: String(e && e.message || e) });
    }
    var size = lengthBytesUTF8(answer) + 1;
    var text = _malloc(size);
    stringToUTF8(answer, text, size);
    return text;
  },
  rapiko_http_exchange__deps: ["malloc"],
});
