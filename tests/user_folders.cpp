// Linked into every test program: the game's user folders (where it writes when its program
// folder is read-only or missing) are folders of the build tree for the whole test run, and
// for the programs the tests start, so no test writes into the tester's own folders.
#include <cstdlib>

namespace {

const bool kUserFoldersSet = [] {
    ::setenv("XDG_DATA_HOME", KORRINDAL_TEST_USER_DIR "/data", 1);
    ::setenv("XDG_CONFIG_HOME", KORRINDAL_TEST_USER_DIR "/config", 1);
    return true;
}();

}  // namespace
