// Korrindal: the main program. The engine and the game are being brought up; for now the
// program only answers --help.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::puts("usage: korrindal [--headless] [options]");
            return 0;
        }
    }
    std::fputs("korrindal: the game is not playable yet\n", stderr);
    return 1;
}
