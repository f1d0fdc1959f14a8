// A second program for the tests: holds a game folder's lock until its standard input ends.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "storage/folder_lock.h"
#include "storage/program.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = storage::ProgramArguments(argc, argv);
  if (args.size() != 1) return 2;
  _setmode(_fileno(stdout), _O_BINARY);  // "locked\n", as the test reads it
  storage::FolderLock lock(args[0]);
  std::cout << (lock.Held() ? "locked" : "no locks") << std::endl;
  for (std::string line; std::getline(std::cin, line);) {
  }
  return 0;
}
