// The program's name and version (--version prints it; the Debian package carries it).
namespace korrindal {
extern const char* const kProgramName;
extern const char* const kVersion;
const char* const kProgramName = "Korrindal";
const char* const kVersion = "1.0";
}  // namespace korrindal
