// Korrindal: the main program.
#include "app/runner.h"

int main(int argc, char** argv) { return app::Main(argc, argv); }
