// The page's program: a page has nowhere to go when the player quits, so the game starts
// again on its title, and the page says that the results are kept.
#include <emscripten.h>

// The game's own main, compiled for the page under this name (cmake/web.cmake).
int RapikoMain(int argc, char** argv);

EM_JS(void, rapiko_page_ended, (int status), {
  if (Module["rapikoEnded"]) Module["rapikoEnded"](status);
});

int main(int argc, char** argv) {
  for (;;) {
    const int status = RapikoMain(argc, argv);
    rapiko_page_ended(status);
    // A game that could not start or save says why, and is not started again.
    if (status != 0) return status;
  }
}
