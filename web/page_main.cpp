// The page's program: a page has nowhere to go when the player quits, so the game starts
// again on its title, and the page says that the results are kept.
#include <emscripten.h>

#include "app/run.h"

EM_JS(void, rapiko_page_ended, (int status), {
  if (Module["rapikoEnded"]) Module["rapikoEnded"](status);
});

int main(int argc, char** argv) {
  for (;;) {
    const int status = app::Run(argc, argv, {.canSizeWindow = false});
    rapiko_page_ended(status);
    // A game that could not start or save says why, and is not started again.
    if (status != 0) return status;
  }
}
