#pragma once
// MemCheck: counts the program's own heap blocks (everything obtained through the global
// operator new family, replaced in memcheck_hooks.cpp) and reports at exit how many were never
// released.
//
// What is counted: blocks of a non-zero size allocated from the moment the executable's own
// static initialisation begins (the hooks start counting before any other static initialiser
// of the executable) and still held. Blocks that the shared libraries allocate while
// they load are marked as uncounted, and releasing them later leaves the count alone, because
// every block carries a mark saying whether it was counted.
//
// When it is reported: after every static destructor has run (the executable's, function-local
// statics and the shared libraries'), from the executable's finaliser list, so globals that own
// heap memory and free it in their destructors do not show up. A clean run therefore reports nothing. A positive count calls the exit reporter
// with the title "MMgr" and the text "SeeYou (<count>)"; the default reporter prints
// "MMgr: SeeYou (<count>)" to stderr. A windowed program installs a reporter that shows an
// information box (it must not depend on objects destroyed at exit).
//
// Executables that do not link memcheck_hooks.cpp (the data tools) count nothing: Active() is
// false and BlockCount() stays 0.

#include <array>
#include <atomic>
#include <cstdint>

namespace memcheck {

// Blocks allocated and not yet released (counted blocks only). Exact across threads.
std::int32_t BlockCount();

// Counted blocks allocated so far (never decreases): the difference over a stretch of the
// program is how many allocations it made, whether or not it released them again.
std::uint64_t AllocationCount();

// True when the counting allocation functions are linked into this executable and counting.
bool Active();

// Suspends or resumes counting: blocks allocated while suspended are never counted, not even
// when they are released later. Returns the previous state.
bool SetCounting(bool on);

inline constexpr const char* kReportTitle = "MMgr";

// "SeeYou (<count>)", formatted without touching the heap.
std::array<char, 32> ReportText(std::int32_t count);

using Reporter = void (*)(const char* title, const char* text);

// The function called at exit when blocks remain; nullptr silences the report.
void SetExitReporter(Reporter reporter);

// The default reporter: "<title>: <text>" on stderr.
void ReportToStderr(const char* title, const char* text);

// Runs the exit report now: stops counting and calls the reporter when BlockCount() > 0.
// Called once by the hooks at the very end of the program.
void ReportAtExit();

// Blocks allocated on any thread while a ForeignScope is alive are never counted. The
// platform layer opens one around calls into graphics drivers and the system libraries:
// a GL driver allocates (and keeps, for the whole process) thousands of C++ blocks when a
// window or renderer is created and when it compiles its shaders at the first frames; those
// are not the program's own. The game allocates nothing while it plays, so suspending the
// count during a present on the main thread cannot hide one of ours that the tick makes.
inline constinit std::atomic<int> gForeignDepth{0};

class ForeignScope {
public:
    ForeignScope() noexcept { gForeignDepth.fetch_add(1, std::memory_order_acq_rel); }
    ~ForeignScope() { gForeignDepth.fetch_sub(1, std::memory_order_acq_rel); }
    ForeignScope(const ForeignScope&) = delete;
    ForeignScope& operator=(const ForeignScope&) = delete;
};

namespace detail {
// The allocation functions' back end (memcheck_hooks.cpp).
void* Allocate(std::size_t size, std::size_t alignment) noexcept;   // nullptr when out of memory
void Release(void* block) noexcept;
void MarkActive() noexcept;
}  // namespace detail

}  // namespace memcheck
