// A server's address as a player gives it (--online URL, the settings' online=URL).
#include "net/address.h"

#include <algorithm>
#include <cctype>

namespace net {
namespace {

struct Parts {
  std::string scheme;
  std::string host;  // without the port; an IPv6 address without its brackets
  std::string rest;  // ":port/path"
};

std::optional<Parts> Split(const std::string& url) {
  const std::size_t colon = url.find("://");
  if (colon == std::string::npos) return std::nullopt;
  Parts p;
  p.scheme = url.substr(0, colon);
  std::transform(p.scheme.begin(), p.scheme.end(), p.scheme.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const std::string after = url.substr(colon + 3);
  std::size_t end = 0;
  if (!after.empty() && after[0] == '[') {
    end = after.find(']');
    if (end == std::string::npos) return std::nullopt;
    p.host = after.substr(1, end - 1);
    ++end;
  } else {
    end = std::min(after.find_first_of(":/"), after.size());
    p.host = after.substr(0, end);
  }
  p.rest = after.substr(end);
  return p;
}

// After the host: nothing, a path, or a port from 1 to 65535 and then a path or nothing.
bool PortIsValid(const std::string& rest) {
  if (rest.empty() || rest[0] == '/') return true;
  if (rest[0] != ':') return false;
  const std::size_t slash = rest.find('/');
  const std::string digits = rest.substr(1, slash == std::string::npos ? slash : slash - 1);
  if (digits.empty() || digits.size() > 5 ||
      !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
    return false;
  const int port = std::stoi(digits);
  return port > 0 && port < 65536;
}

}  // namespace

std::optional<std::string> AddressFault(const std::string& url) {
  const auto parts = Split(url);
  if (!parts) return "'" + url + "' is no server address (http://HOST[:PORT][/PATH])";
  if (parts->scheme != "http" && parts->scheme != "https") {
    return "'" + url + "': the server is reached by http:// or https:// only";
  }
  const auto bad = [](unsigned char c) { return c <= ' ' || c == 0x7F || c >= 0x80; };
  if (parts->host.empty() || parts->host.find('@') != std::string::npos ||
      std::any_of(url.begin(), url.end(), bad) || url.find_first_of("?#") != std::string::npos ||
      !PortIsValid(parts->rest)) {
    return "'" + url + "' is no server address (http://HOST[:PORT][/PATH])";
  }
  return std::nullopt;
}

std::string Endpoint(const std::string& url, const std::string& path) {
  return url + (!url.empty() && url.back() == '/' ? "" : "/") + path;
}

std::string ServerName(const std::string& url) {
  const auto parts = Split(url);
  if (!parts) return url;
  const bool v6 = parts->host.find(':') != std::string::npos;
  const std::string host = v6 ? "[" + parts->host + "]" : parts->host;
  return host + parts->rest.substr(0, parts->rest.find('/'));
}

bool IsPlainRemote(const std::string& url) {
  const auto parts = Split(url);
  if (!parts || parts->scheme != "http") return false;
  std::string host = parts->host;
  std::transform(host.begin(), host.end(), host.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const bool local = host == "localhost" || host.ends_with(".localhost") ||
                     host.rfind("127.", 0) == 0 || host == "::1";
  return !local;
}

}  // namespace net
