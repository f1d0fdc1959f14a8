// The server's command line.
#include "server/options.h"

#include <charconv>

namespace server {
namespace {

bool ReadNumber(const std::string& text, int low, int high, int& out) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return false;
  }
  out = value;
  return true;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  Options o;
  struct Text {
    const char* name;
    std::string Options::*field;
  };
  const Text texts[] = {{"--listen", &Options::listen},
                        {"--data", &Options::data},
                        {"--database", &Options::database},
                        {"--lists", &Options::lists},
                        {"--secret-file", &Options::secretFile},
                        {"--allow-origin", &Options::allowOrigin},
                        {"--trusted-proxy", &Options::trustedProxy},
                        {"--metrics-listen", &Options::metricsListen},
                        {"--tls-cert", &Options::tlsCert},
                        {"--tls-key", &Options::tlsKey},
                        {"--site", &Options::site}};
  struct Number {
    const char* name;
    int Options::*field;
    int low;
    int high;
  };
  const Number numbers[] = {{"--port", &Options::port, 0, 65535},
                            {"--rate-limit", &Options::rateLimit, 0, 1000000},
                            {"--open-tickets", &Options::openTickets, 1, 1000},
                            {"--slack", &Options::slackSeconds, 0, 86400},
                            {"--workers", &Options::workers, 0, 1024}};
  std::size_t i = 0;
  if (!args.empty() && args[0] == "admin") {
    i = 1;
    while (i < args.size() && args[i].rfind("--", 0) != 0) o.admin.push_back(args[i++]);
  }
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--allow-any-pace") {
      o.anyPace = true;
      continue;
    }
    bool known = false;
    for (const Text& t : texts) {
      if (arg != t.name) continue;
      if (i + 1 >= args.size()) return error = arg + " needs a value", std::nullopt;
      o.*t.field = args[++i];
      known = true;
    }
    for (const Number& n : numbers) {
      if (arg != n.name) continue;
      if (i + 1 >= args.size() || !ReadNumber(args[++i], n.low, n.high, o.*n.field)) {
        error = arg + " needs a whole number from " + std::to_string(n.low) + " to " +
                std::to_string(n.high);
        return std::nullopt;
      }
      known = true;
    }
    if (!known) return error = "unknown option " + arg, std::nullopt;
  }
  if (!o.metricsListen.empty() && o.metricsListen.rfind(':') == std::string::npos) {
    error = "--metrics-listen takes ADDR:PORT";
    return std::nullopt;
  }
  if (o.tlsCert.empty() != o.tlsKey.empty()) {
    error = "--tls-cert and --tls-key go together";
    return std::nullopt;
  }
  if (o.data.empty() == o.database.empty()) {
    error = "give either --data DIR (SQLite) or --database postgresql://...";
    return std::nullopt;
  }
  const bool adminKnown = o.admin.size() == 2 && (o.admin[0] == "hide" || o.admin[0] == "release");
  if (!o.admin.empty() && !adminKnown) {
    error = "admin takes 'hide ROUND' or 'release NAME'";
    return std::nullopt;
  }
  return o;
}

std::string UsageText() {
  return "usage: rapiko-server (--data DIR | --database postgresql://...) [options]\n"
         "       rapiko-server admin (hide ROUND | release NAME) (--data DIR | --database ...)\n"
         "\n"
         "  --port N             listen on port N (8080; 0: a free port, said on standard output)\n"
         "  --listen ADDR        listen on this address (0.0.0.0)\n"
         "  --lists DIR          rank the NAME.ini word lists of DIR too\n"
         "  --secret-file FILE   sign tickets with the secret in FILE (several servers share it);\n"
         "                       else with DIR/secret, made at the first start\n"
         "  --rate-limit N       N requests a minute from one address (60); 0: no limit\n"
         "  --open-tickets N     N tickets unspent at once from one address (4)\n"
         "  --slack S            a round may arrive S seconds after its 120 (60)\n"
         "  --allow-any-pace     take rounds however soon they arrive (tests, classrooms)\n"
         "  --workers N          replay N rounds at once (one per core)\n"
         "  --allow-origin ORIGIN  let pages of ORIGIN call the API\n"
         "  --trusted-proxy ADDR   take the client's address from X-Forwarded-For when\n"
         "                         the request comes from ADDR\n"
         "  --metrics-listen ADDR:PORT  serve GET /metrics (Prometheus) there, and only there\n"
         "  --tls-cert FILE --tls-key FILE  HTTPS with this certificate and key (PEM)\n"
         "  --site DIR           serve the files of DIR (the web game) at / too\n"
         "\n"
         "admin hide ROUND takes a round off the boards; admin release NAME lets the\n"
         "next player to use NAME hold it.\n";
}

}  // namespace server
