// What the server counts, for Prometheus (GET /metrics on --metrics-listen only).
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace server {

class Metrics {
 public:
  void Request(const std::string& route);
  // A refusal, by its status and a short reason ("expired", "no_match").
  void Refusal(int status, const std::string& reason);
  void Verification(bool finished, double seconds);
  // The Prometheus text format.
  std::string Text() const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, uint64_t> requests_;
  std::map<std::pair<int, std::string>, uint64_t> refusals_;
  uint64_t verified_ = 0;
  uint64_t refused_ = 0;
  double seconds_ = 0;
};

}  // namespace server
