// The network on Windows: WinHTTP, part of the system, so nothing more to ship.
#include "net/http.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <memory>

namespace net {
namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

struct CloseHandle {
  void operator()(void* h) const { WinHttpCloseHandle(h); }
};
using Handle = std::unique_ptr<void, CloseHandle>;

Failure FailureOf(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
      return Failure::kBadAddress;
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_CONNECTION_ERROR:
      return Failure::kNoConnection;
    case ERROR_WINHTTP_TIMEOUT:
      return Failure::kTimeout;
    default:
      return Failure::kOther;
  }
}

Reply Failed(int timeoutMs) {
  const DWORD error = GetLastError();
  Reply reply;
  reply.error = FailureText(FailureOf(error), timeoutMs, "WinHTTP error " + std::to_string(error));
  return reply;
}

DWORD NumberHeader(HINTERNET request, DWORD query) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!WinHttpQueryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &value, &size, WINHTTP_NO_HEADER_INDEX)) {
    return 0;
  }
  return value;
}

}  // namespace

bool Available() { return true; }

Reply Exchange(const std::string& method, const std::string& url, const std::string& body,
               int timeoutMs) {
  const std::wstring wideUrl = Wide(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts)) return Failed(timeoutMs);
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  const std::wstring path =
      parts.dwUrlPathLength ? std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) : L"/";
  const Handle session(WinHttpOpen(L"Rapiko", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                   WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return Failed(timeoutMs);
  // WinHTTP times each step (resolve, connect, send, receive), not the
  // whole exchange: each step gets the whole time.
  WinHttpSetTimeouts(session.get(), timeoutMs, timeoutMs, timeoutMs, timeoutMs);
  const Handle connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection) return Failed(timeoutMs);
  const Handle request(
      WinHttpOpenRequest(connection.get(), Wide(method).c_str(), path.c_str(), nullptr,
                         WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                         parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
  if (!request) return Failed(timeoutMs);
  const wchar_t* headers = L"Accept: application/json\r\nContent-Type: application/json\r\n";
  const DWORD size = static_cast<DWORD>(body.size());
  void* data = size ? const_cast<char*>(body.data()) : WINHTTP_NO_REQUEST_DATA;
  if (!WinHttpSendRequest(request.get(), headers, static_cast<DWORD>(-1L), data, size, size, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return Failed(timeoutMs);
  }
  Reply reply;
  for (DWORD available = 0;;) {
    if (!WinHttpQueryDataAvailable(request.get(), &available)) return Failed(timeoutMs);
    if (available == 0) break;
    if (reply.body.size() + available > kMaxReplyBytes) {
      reply.body.clear();
      reply.error = FailureText(Failure::kTooLarge, timeoutMs);
      return reply;
    }
    const std::size_t at = reply.body.size();
    reply.body.resize(at + available);
    DWORD read = 0;
    if (!WinHttpReadData(request.get(), reply.body.data() + at, available, &read)) {
      return Failed(timeoutMs);
    }
    reply.body.resize(at + read);
  }
  reply.status = static_cast<int>(NumberHeader(request.get(), WINHTTP_QUERY_STATUS_CODE));
  reply.retryAfter = static_cast<int>(
      std::min<DWORD>(NumberHeader(request.get(), WINHTTP_QUERY_RETRY_AFTER), 86400));
  return reply;
}

}  // namespace net
