// The HTTP API under /api/v1 (docs/online-api.md): each request's checks and answer.
#pragma once

#include <httplib.h>

#include <memory>

#include "server/limits.h"
#include "server/lists.h"
#include "server/metrics.h"
#include "server/options.h"
#include "server/store.h"
#include "server/tickets.h"
#include "server/worker_queue.h"

namespace server {

class Api {
 public:
  Api(const Options& options, Store& store, const WordLists& lists, TicketSigner signer);
  // Puts the routes, the limits and the refusals' form on server.
  void Mount(httplib::Server& server);
  const Metrics& Counts() const { return metrics_; }

 private:
  void Tickets(const httplib::Request& req, httplib::Response& res);
  void Rounds(const httplib::Request& req, httplib::Response& res);
  void Name(const httplib::Request& req, httplib::Response& res);
  void Delete(const httplib::Request& req, httplib::Response& res);
  void Board(const httplib::Request& req, httplib::Response& res);
  void Recording(const httplib::Request& req, httplib::Response& res);
  void Start(const httplib::Request& req, httplib::Response& res);
  // The round of the request's path if it is on a board the asker may see; else refused (404).
  std::optional<Round> ShownRound(const httplib::Request& req, httplib::Response& res);
  void Lists(httplib::Response& res);
  std::string Address(const httplib::Request& req) const;

  const Options& options_;
  Store& store_;
  const WordLists& lists_;
  TicketSigner signer_;
  AddressLimits limits_;
  Metrics metrics_;
  // Replays at once; a round over this is told to come back (503).
  int workerCount_ = 1;
  std::unique_ptr<WorkerQueue> workers_;
};

}  // namespace server
