// Case files: the rows of a tests/FOLDER/NAME.txt, read by the one test that runs them all.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

// The rows of tests/NAME, each split at tabs ('' is an empty column); blank lines and lines that
// start with '#' are comments.
inline std::vector<std::vector<std::string>> CaseRows(const std::string& name) {
  std::ifstream file(std::string(RAPIKO_SOURCE_DIR) + "/tests/" + name);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream columns(line);
    rows.emplace_back();
    for (std::string column; std::getline(columns, column, '\t');)
      rows.back().push_back(column == "''" ? "" : column);
  }
  return rows;
}

// The text with its escapes read: \n a line end, \r a carriage return, \xHH a byte, \aN N
// letters a.
inline std::string Unescaped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
    } else if (text[++i] == 'x') {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else if (text[i] == 'a') {
      std::size_t digits = 0;
      out += std::string(std::stoul(text.substr(i + 1), &digits), 'a');
      i += digits;
    } else {
      out += text[i] == 'n' ? '\n' : '\r';
    }
  }
  return out;
}

}  // namespace testing_support
