// The program's entry point.
#include "app/run.h"

int main(int argc, char** argv) { return app::Run(argc, argv); }
