// How the API answers: JSON bodies, refusals in one line (counted), a
// request's JSON members.
#include "server/answers.h"

#include "state/rules_version.h"

namespace server {
namespace {

// Where refusals are counted: the one API's metrics.
Metrics* counted = nullptr;

}  // namespace

void Answer(httplib::Response& res, int status, const json& body) {
  res.status = status;
  res.set_content(body.dump(), "application/json");
}

void CountRefusalsIn(Metrics& metrics) { counted = &metrics; }

void Refuse(httplib::Response& res, int status, const char* reason, const std::string& line) {
  if (counted) counted->Refusal(status, reason);
  Answer(res, status, {{"error", line}});
}

void RefuseRules(httplib::Response& res, int rules) {
  if (counted) counted->Refusal(426, "rules");
  Answer(res, 426,
         {{"error", "this server replays the rules of version " +
                        std::to_string(state::kRulesVersion) + ", not " + std::to_string(rules) +
                        ": the game (or the server) needs an update"},
          {"rules", state::kRulesVersion}});
}

std::optional<json> BodyOf(const httplib::Request& req, httplib::Response& res) {
  json body = json::parse(req.body, nullptr, false);
  if (body.is_discarded() || !body.is_object()) {
    Refuse(res, 400, "malformed", "the body is not a JSON object");
    return std::nullopt;
  }
  return body;
}

std::optional<int64_t> IdOf(const httplib::Request& req, httplib::Response& res) {
  try {
    return std::stoll(req.matches[1]);
  } catch (const std::exception&) {
    Refuse(res, 404, "no_round", "no such round");
    return std::nullopt;
  }
}

}  // namespace server
