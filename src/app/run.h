// The program: the command line, then a real or a scripted run.
#pragma once

namespace app {

// What differs between the places the program runs in.
struct Host {
  bool canSizeWindow = true;  // false in the web page, whose canvas the page sizes
};

// Runs the program with its command line; returns the exit status.
int Run(int argc, char** argv, const Host& host = {});

}  // namespace app
