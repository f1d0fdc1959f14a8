// What the server counts, for Prometheus (GET /metrics on --metrics-listen only).
#include "server/metrics.h"

#include <sstream>

namespace server {

void Metrics::Request(const std::string& route) {
  std::lock_guard lock(mutex_);
  ++requests_[route];
}

void Metrics::Refusal(int status, const std::string& reason) {
  std::lock_guard lock(mutex_);
  ++refusals_[{status, reason}];
}

void Metrics::Verification(bool finished, double seconds) {
  std::lock_guard lock(mutex_);
  ++(finished ? verified_ : refused_);
  seconds_ += seconds;
}

std::string Metrics::Text() const {
  std::lock_guard lock(mutex_);
  std::ostringstream out;
  out << "# HELP rapiko_requests_total Requests, by route.\n"
         "# TYPE rapiko_requests_total counter\n";
  for (const auto& [route, count] : requests_) {
    out << "rapiko_requests_total{route=\"" << route << "\"} " << count << '\n';
  }
  out << "# HELP rapiko_refusals_total Requests refused, by status and reason.\n"
         "# TYPE rapiko_refusals_total counter\n";
  for (const auto& [key, count] : refusals_) {
    out << "rapiko_refusals_total{status=\"" << key.first << "\",reason=\"" << key.second << "\"} "
        << count << '\n';
  }
  out << "# HELP rapiko_verifications_total Recordings replayed, by whether they gave a "
         "finished round.\n"
         "# TYPE rapiko_verifications_total counter\n"
      << "rapiko_verifications_total{result=\"finished\"} " << verified_ << '\n'
      << "rapiko_verifications_total{result=\"refused\"} " << refused_ << '\n'
      << "# HELP rapiko_verification_seconds_total Time spent replaying recordings.\n"
         "# TYPE rapiko_verification_seconds_total counter\n"
      << "rapiko_verification_seconds_total " << seconds_ << '\n';
  return out.str();
}

}  // namespace server
