// The server's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace server {

struct Options {
  std::string listen = "0.0.0.0";
  int port = 8080;  // 0: a free port, said on standard output
  std::string data;
  std::string database;
  std::string lists;
  std::string secretFile;
  int rateLimit = 60;  // requests a minute from one address; 0: no limit per address
  int openTickets = 4;
  bool anyPace = false;
  int slackSeconds = 60;
  int workers = 0;  // 0: one per core
  std::string allowOrigin;
  std::string trustedProxy;
  std::string metricsListen;  // ADDR:PORT of GET /metrics; empty: none
  std::string tlsCert;        // HTTPS with this certificate and key (PEM)
  std::string tlsKey;
  std::string site;  // a folder served at / beside the API (the web game)
  // rapiko-server admin hide ROUND | release NAME
  std::vector<std::string> admin;
};

// The options of args (without the program's name), or nothing with error
// set to one line.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

std::string UsageText();

}  // namespace server
