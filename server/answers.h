// How the API answers: JSON bodies, refusals in one line (counted), a
// request's JSON members.
#pragma once

#include <httplib.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <type_traits>

#include "server/metrics.h"

namespace server {

using json = nlohmann::json;

void Answer(httplib::Response& res, int status, const json& body);
// A refusal: its status, a short reason for the metrics, and one line.
void Refuse(httplib::Response& res, int status, const char* reason, const std::string& line);
// A game built under other rules than this server replays (426).
void RefuseRules(httplib::Response& res, int rules);
// Where refusals are counted from now on.
void CountRefusalsIn(Metrics& metrics);

// The body as a JSON object, or a 400 already answered.
std::optional<json> BodyOf(const httplib::Request& req, httplib::Response& res);
// The round's number in the path, or a 404 already answered.
std::optional<int64_t> IdOf(const httplib::Request& req, httplib::Response& res);

// Member name of body as T, or a 400 answered.
template <class T>
std::optional<T> Member(const json& body, const char* name, httplib::Response& res) {
  const auto at = body.find(name);
  const bool fits = at != body.end() && (std::is_same_v<T, std::string> ? at->is_string()
                                         : std::is_same_v<T, json>      ? at->is_object()
                                                                        : at->is_number_integer());
  if (!fits) {
    Refuse(res, 400, "malformed",
           std::string("'") + name + "' is missing or not " +
               (std::is_same_v<T, std::string> ? "a string"
                : std::is_same_v<T, json>      ? "an object"
                                               : "a whole number"));
    return std::nullopt;
  }
  return at->get<T>();
}

}  // namespace server
