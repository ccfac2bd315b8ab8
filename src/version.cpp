// The program's name and version, shown in --help and the window caption.
namespace korrindal {
extern const char* const kProgramName;
extern const char* const kVersion;
const char* const kProgramName = "Korrindal";
const char* const kVersion = "0.1";
}  // namespace korrindal
