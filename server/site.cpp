#include "server/site.h"

#include <sys/stat.h>

#include <array>
#include <memory>
#include <sstream>
#include <utility>

#include "storage/read.h"

namespace server {
namespace {

// The types of the site's files; anything else goes as bytes.
constexpr std::array<std::pair<std::string_view, const char*>, 8> kTypes = {{
    {".html", "text/html; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".wasm", "application/wasm"},
    {".webmanifest", "application/manifest+json"},
    {".png", "image/png"},
    {".svg", "image/svg+xml"},
    {".json", "application/json"},
}};

// The build's compressed copies of a file, best first.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kEncodings = {{
    {"br", ".br"},
    {"gzip", ".gz"},
}};

// The largest file served: the game's WebAssembly is a few MB.
constexpr std::size_t kMaxFileBytes = 64u << 20;

const char* TypeOf(const std::string& path) {
  for (const auto& [ending, type] : kTypes)
    if (path.ends_with(ending)) return type;
  return "application/octet-stream";
}

// Whether an Accept-Encoding header takes an encoding (a q of 0 refuses it).
bool Takes(const std::string& header, std::string_view encoding) {
  std::istringstream parts(header);
  for (std::string part; std::getline(parts, part, ',');) {
    std::string name, param;
    std::istringstream fields(part);
    std::getline(fields, name, ';');
    std::getline(fields, param);
    const auto trim = [](std::string s) {
      s.erase(0, s.find_first_not_of(" \t"));
      s.erase(s.find_last_not_of(" \t") + 1);
      for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return s;
    };
    name = trim(name), param = trim(param);
    const bool refused = param.starts_with("q=") && std::strtod(param.c_str() + 2, nullptr) == 0;
    if (name == encoding && !refused) return true;
  }
  return false;
}

// No step out of the folder: the path is decoded already, so "%2e%2e" is ".." here.
bool Inside(const std::string& path) {
  if (path.empty() || path[0] != '/' || path.find('\\') != std::string::npos ||
      path.find('\0') != std::string::npos)
    return false;
  std::istringstream steps(path);
  for (std::string step; std::getline(steps, step, '/');)
    if (step == "..") return false;
  return true;
}

}  // namespace

bool MountSite(httplib::Server& http, const std::string& folder) {
  if (!storage::IsFolder(folder)) return false;
  http.Get(R"(/.*)", [folder](const httplib::Request& req, httplib::Response& res) {
    if (!Inside(req.path)) return void(res.status = 404);
    std::string file = folder + req.path;
    if (file.back() == '/') file += "index.html";
    if (!storage::IsPlainFile(file)) return void(res.status = 404);
    std::string_view encoding;
    std::string sent = file;
    for (const auto& [name, suffix] : kEncodings) {
      if (Takes(req.get_header_value("Accept-Encoding"), name) &&
          storage::IsPlainFile(file + std::string(suffix))) {
        encoding = name;
        sent = file + std::string(suffix);
        break;
      }
    }
    storage::FileRead read = storage::ReadWholeFile(sent, kMaxFileBytes);
    struct stat info {};
    if (!read.complete || stat(sent.c_str(), &info) != 0) return void(res.status = 404);
    // Each load asks again, and what the browser has already is not sent twice (the service
    // worker's copy after the page's own load, above all).
    std::ostringstream tag;
    tag << '"' << std::hex << info.st_size << '-' << info.st_mtime << '-'
        << (encoding.empty() ? "raw" : encoding) << '"';
    res.set_header("Cache-Control", "no-cache");
    res.set_header("ETag", tag.str());
    // One Vary header: the API's own names Origin where other origins may call it.
    const std::string vary = res.get_header_value("Vary");
    res.headers.erase("Vary");
    res.set_header("Vary", vary.empty() ? "Accept-Encoding" : vary + ", Accept-Encoding");
    if (req.get_header_value("If-None-Match") == tag.str()) return void(res.status = 304);
    if (encoding.empty()) return res.set_content(std::move(read.bytes), TypeOf(file));
    // Bytes from a content provider are sent as they are: the library compresses only a body.
    res.set_header("Content-Encoding", std::string(encoding));
    auto bytes = std::make_shared<std::string>(std::move(read.bytes));
    res.set_content_provider(
        bytes->size(), TypeOf(file),
        [bytes](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          return sink.write(bytes->data() + offset, length);
        });
  });
  return true;
}

}  // namespace server
