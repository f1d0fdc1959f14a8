// A server's address as a player gives it (--online URL, the settings' online=URL).
#pragma once

#include <optional>
#include <string>

namespace net {

// The fault of an address the game cannot use, in one line; nothing when it
// is an http:// or https:// address with a host (a port and a path allowed,
// no query, fragment or user).
std::optional<std::string> AddressFault(const std::string& url);

// The address of path ("api/v1/tickets") under the server's address, which
// may end in '/' or not (a server behind a proxy may live under a path).
std::string Endpoint(const std::string& url, const std::string& path);

// The server's host and port as a player reads them ("rapiko.example:8080"),
// from an address without fault.
std::string ServerName(const std::string& url);

// Plain http to a host other than this machine: what is sent can be read
// and changed on the way (the game warns once).
bool IsPlainRemote(const std::string& url);

}  // namespace net
