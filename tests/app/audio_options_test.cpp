// The sound options of the command line: --audio-out, --no-music, --no-sound-effects.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace {

int ExitCode(const std::string& args) {
    const std::string command = std::string(KORRINDAL_BIN_DIR) + "/korrindal " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SoundOptions, AudioOutIsHeadlessAndNeedsAWritableFile) {
    EXPECT_NE(ExitCode("--audio-out /tmp/x.wav"), 0);                            // not headless
    EXPECT_NE(ExitCode("--headless --ticks 5 --audio-out"), 0);                  // no file named
    EXPECT_NE(ExitCode("--headless --ticks 5 --audio-out="), 0);
    EXPECT_NE(ExitCode("--headless --ticks 5 --audio-out /nonexistent/folder/x.wav"), 0);
    EXPECT_NE(ExitCode("--no-music=1 --headless --ticks 5"), 0);                // takes no value
    EXPECT_NE(ExitCode("--no-music --start"), 0);                                // the dialog has the box
    EXPECT_EQ(ExitCode("--headless --ticks 5 --no-music --no-sound-effects"), 0);
}

TEST(SoundOptions, HelpListsThem) {
    const std::string command = std::string(KORRINDAL_BIN_DIR) + "/korrindal --help";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    ::pclose(pipe);
    for (const char* option : {"--audio-out", "--no-music", "--no-sound-effects"})
        EXPECT_NE(out.find(option), std::string::npos) << option;
}

}  // namespace
