// rapiko-server: the online ranking that ranks only what it replayed.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <iostream>
#include <thread>

#include "server/api.h"
#include "server/crypto.h"
#include "server/site.h"
#include "storage/read.h"

namespace {

using server::Options;

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// The secret tickets are signed with: --secret-file, else DATA/secret, made
// at the first start and kept from anyone else's eyes.
std::string Secret(const Options& o) {
  std::string path = o.secretFile;
  if (path.empty()) {
    if (o.data.empty()) {
      throw std::runtime_error("servers that share a database share a secret: give --secret-file");
    }
    path = o.data + "/secret";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
    if (fd >= 0) {
      const std::string secret = server::RandomToken(32) + "\n";
      const bool written =
          write(fd, secret.data(), secret.size()) == static_cast<ssize_t>(secret.size()) &&
          fsync(fd) == 0;
      close(fd);
      if (!written) throw std::runtime_error("cannot write " + path);
    }
  }
  const storage::FileRead read = storage::ReadWholeFile(path, 4096);
  const std::string secret = Trimmed(read.bytes);
  if (!read.complete || secret.size() < 16) {
    throw std::runtime_error("cannot read a secret of 16 characters or more from " + path);
  }
  return secret;
}

std::unique_ptr<server::Store> OpenStore(const Options& o) {
  if (!o.database.empty()) {
#ifdef RAPIKO_SERVER_POSTGRESQL
    return server::OpenPostgresqlStore(o.database);
#else
    throw std::runtime_error("this rapiko-server was built without PostgreSQL (libpq)");
#endif
  }
  mkdir(o.data.c_str(), 0700);
  return server::OpenSqliteStore(o.data);
}

int Admin(const Options& o, server::Store& store) {
  const std::string& what = o.admin[0];
  const std::string& which = o.admin[1];
  bool done = false;
  if (what == "hide") {
    try {
      done = store.HideRound(std::stoll(which));
    } catch (const std::logic_error&) {
    }
  } else {
    done = store.ReleaseName(which);
  }
  if (!done) {
    std::cerr << "rapiko-server: no " << (what == "hide" ? "round " : "name ") << which << '\n';
    return 1;
  }
  std::cout << (what == "hide" ? "round " + which + " is off the boards"
                               : "the name " + which + " is held by nobody now")
            << '\n';
  return 0;
}

int Serve(const Options& o, server::Store& store) {
  const server::WordLists lists(o.lists);
  server::Api api(o, store, lists, server::TicketSigner(Secret(o)));
  std::unique_ptr<httplib::Server> served =
      o.tlsCert.empty() ? std::make_unique<httplib::Server>()
                        : std::make_unique<httplib::SSLServer>(o.tlsCert.c_str(), o.tlsKey.c_str());
  httplib::Server& http = *served;
  if (!http.is_valid()) {
    std::cerr << "rapiko-server: cannot use the certificate " << o.tlsCert << " and key "
              << o.tlsKey << '\n';
    return 1;
  }
  api.Mount(http);
  // The web game from the same origin as its API.
  if (!o.site.empty() && !server::MountSite(http, o.site)) {
    std::cerr << "rapiko-server: --site " << o.site << " is not a folder\n";
    return 1;
  }
  const int port = o.port == 0 ? http.bind_to_any_port(o.listen)
                               : (http.bind_to_port(o.listen, o.port) ? o.port : -1);
  if (port < 0) {
    std::cerr << "rapiko-server: cannot listen on " << o.listen << " port " << o.port << '\n';
    return 1;
  }
  // The metrics on an address of their own, which the API's never serves.
  httplib::Server metrics;
  std::thread metricsThread;
  if (!o.metricsListen.empty()) {
    const std::size_t colon = o.metricsListen.rfind(':');
    metrics.Get("/metrics", [&api](const httplib::Request&, httplib::Response& res) {
      res.set_content(api.Counts().Text(), "text/plain; version=0.0.4");
    });
    const std::string host = o.metricsListen.substr(0, colon);
    int metricsPort = std::atoi(o.metricsListen.c_str() + colon + 1);
    metricsPort = metricsPort == 0 ? metrics.bind_to_any_port(host)
                                   : (metrics.bind_to_port(host, metricsPort) ? metricsPort : -1);
    if (metricsPort < 0) {
      std::cerr << "rapiko-server: cannot listen on " << o.metricsListen << '\n';
      return 1;
    }
    std::cout << "rapiko-server: metrics on http://" << host << ':' << metricsPort << "/metrics"
              << std::endl;
    metricsThread = std::thread([&metrics] { metrics.listen_after_bind(); });
  }
  std::cout << "rapiko-server: listening on " << (o.tlsCert.empty() ? "http" : "https") << "://"
            << o.listen << ':' << port << std::endl;
  // Terminate and interrupt end the server once the requests under way are answered.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGINT);
  std::thread waiter([&http, &metrics, stops] {
    int signal = 0;
    sigwait(&stops, &signal);
    http.stop();
    metrics.stop();
  });
  const bool listened = http.listen_after_bind();
  // The waiter uses both servers until it is through: it is joined before they go (a listen
  // that ended without a signal wakes it first; a thread already through ignores the signal).
  pthread_kill(waiter.native_handle(), SIGTERM);
  waiter.join();
  if (metricsThread.joinable()) metricsThread.join();
  return listened ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  signal(SIGPIPE, SIG_IGN);
  // Blocked in every thread; one thread waits for them.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << server::UsageText();
    return 0;
  }
  std::string error;
  const auto options = server::ParseOptions(args, error);
  if (!options) {
    std::cerr << "rapiko-server: " << error << "\n\n" << server::UsageText();
    return 2;
  }
  try {
    const std::unique_ptr<server::Store> store = OpenStore(*options);
    return options->admin.empty() ? Serve(*options, *store) : Admin(*options, *store);
  } catch (const std::exception& e) {
    std::cerr << "rapiko-server: " << e.what() << '\n';
    return 1;
  }
}
