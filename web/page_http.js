// The network for the page: the browser's fetch, to the page's own origin or
// one that allows it (CORS). The game's call waits for the answer; the page
// goes on meanwhile (asyncify).
mergeInto(LibraryManager.library, {
  rapiko_http_exchange__deps: ["malloc"],
  rapiko_http_exchange: function (method, url, body, timeoutMs, maxBytes) {
    var m = UTF8ToString(method), u = UTF8ToString(url), b = UTF8ToString(body);
    return Asyncify.handleSleep(function (wakeUp) {
      var give = function (answer) {
        var text = JSON.stringify(answer);
        var size = lengthBytesUTF8(text) + 1;
        var out = _malloc(size);
        stringToUTF8(text, out, size);
        wakeUp(out);
      };
      var abort = new AbortController();
      var timer = setTimeout(function () { abort.abort(); }, timeoutMs);
      var options = { method: m, signal: abort.signal,
        headers: { "Accept": "application/json", "Content-Type": "application/json" } };
      if (b !== "" || m === "POST") options.body = b;
      fetch(u, options).then(function (reply) {
        return reply.text().then(function (text) {
          clearTimeout(timer);
          if (text.length > maxBytes) return give({ failure: "large" });
          var wait = parseInt(reply.headers.get("retry-after") || "0", 10);
          give({ status: reply.status, body: text, retryAfter: wait > 0 ? wait : 0 });
        });
      }).catch(function (e) {
        clearTimeout(timer);
        // The browser says no more than that the exchange failed.
        give({ failure: abort.signal.aborted ? "timeout" : "connect", detail: String(e) });
      });
    });
  },
});
