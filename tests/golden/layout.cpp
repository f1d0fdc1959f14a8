// The layout of a golden game's expected file: JSON laid out so that a changed field is a
// changed line, and the first place where two runs differ.
#include "golden/layout.h"

#include <algorithm>

namespace golden {
namespace {

constexpr std::size_t kWidth = 100;  // what is longer than this is split over lines

std::string Compact(const Json& v) {
  return v.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void Put(const Json& v, int depth, std::string& out) {
  const std::string compact = Compact(v);
  if (!v.is_structured() || v.empty() || compact.size() + 2 * depth <= kWidth) {
    out += compact;
    return;
  }
  const std::string pad(2 * (depth + 1), ' ');
  const bool object = v.is_object();
  out += object ? "{\n" : "[\n";
  const bool flat =
      !object && std::none_of(v.begin(), v.end(), [](const Json& e) { return e.is_structured(); });
  std::string row;
  bool first = true;
  for (auto it = v.begin(); it != v.end(); ++it) {
    if (flat) {
      // Numbers and strings in rows of at most kWidth characters.
      const std::string item = Compact(*it);
      if (!row.empty() && pad.size() + row.size() + 2 + item.size() > kWidth) {
        out += pad + row + ",\n";
        row.clear();
      }
      row += (row.empty() ? "" : ", ") + item;
      continue;
    }
    if (!first) out += ",\n";
    first = false;
    out += pad;
    if (object) out += Json(it.key()).dump() + ": ";
    Put(it.value(), depth + 1, out);
  }
  if (flat) out += pad + row;
  out += "\n" + std::string(2 * depth, ' ') + (object ? "}" : "]");
}

}  // namespace

std::string Layout(const Json& v) {
  std::string out;
  Put(v, 0, out);
  return out + "\n";
}

std::string FirstDifference(const Json& expected, const Json& actual) {
  if (expected.type() != actual.type() || !expected.is_structured()) {
    if (expected == actual) return "";
    return ": expected " + Compact(expected).substr(0, 200) + ", actual " +
           Compact(actual).substr(0, 200);
  }
  if (expected.is_array()) {
    for (std::size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
      if (i >= expected.size()) return "[" + std::to_string(i) + "]: not expected";
      if (i >= actual.size()) return "[" + std::to_string(i) + "]: missing";
      if (const std::string d = FirstDifference(expected[i], actual[i]); !d.empty()) {
        return "[" + std::to_string(i) + "]" + d;
      }
    }
    return "";
  }
  auto e = expected.begin();
  auto a = actual.begin();
  for (; e != expected.end() && a != actual.end(); ++e, ++a) {
    if (e.key() != a.key()) return "." + e.key() + ": member " + a.key() + " in its place";
    if (const std::string d = FirstDifference(e.value(), a.value()); !d.empty()) {
      return "." + e.key() + d;
    }
  }
  if (e != expected.end()) return "." + e.key() + ": missing";
  if (a != actual.end()) return "." + a.key() + ": not expected";
  return "";
}

}  // namespace golden
