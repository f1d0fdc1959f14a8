// The layout of a golden game's expected file: JSON laid out so that a changed field is a
// changed line, and the first place where two runs differ.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace golden {

using Json = nlohmann::ordered_json;

// v laid out for reading: an object one member per line, a long array of
// numbers and strings in rows, a long array of objects one per line; what
// fits on a short line stays on one.
std::string Layout(const Json& v);

// Where a and b first differ ("[3].targets[7].y: 12.5 against 13"), empty
// when they are equal.
std::string FirstDifference(const Json& expected, const Json& actual);

}  // namespace golden
