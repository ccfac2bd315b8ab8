#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <cstdio>

#include <unistd.h>
#include <string>
#include <thread>
#include <vector>

#include "diagnostics/memcheck.h"

namespace {

struct alignas(64) Wide {
    std::uint8_t bytes[64];
};

// Lets a pointer escape, so the optimiser cannot drop a new/delete pair the test counts.
template <typename T>
T* keep(T* p) {
    asm volatile("" : : "r"(p) : "memory");
    return p;
}

}  // namespace

TEST(MemCheck, CountsEveryAllocationVariant) {
    ASSERT_TRUE(memcheck::Active());
    const auto base = memcheck::BlockCount();
    const auto made = memcheck::AllocationCount();

    int* scalar = keep(new int(7));
    EXPECT_EQ(memcheck::BlockCount(), base + 1);
    int* array = keep(new int[10]);
    EXPECT_EQ(memcheck::BlockCount(), base + 2);
    auto* wide = keep(new Wide);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wide) % 64, 0u);
    auto* wides = keep(new Wide[3]);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wides) % 64, 0u);
    auto* quiet = keep(new (std::nothrow) int(1));
    auto* page = ::operator new(100, std::align_val_t{4096});
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(page) % 4096, 0u);
    EXPECT_EQ(memcheck::BlockCount(), base + 6);

    delete scalar;
    delete[] array;
    delete wide;
    delete[] wides;
    delete quiet;
#if defined(__cpp_sized_deallocation)
    ::operator delete(page, 100, std::align_val_t{4096});
#else
    // clang declares the sized forms only with -fsized-deallocation.
    ::operator delete(page, std::align_val_t{4096});
#endif
    EXPECT_EQ(memcheck::BlockCount(), base);
    // The allocations made stay counted after their blocks are released.
    EXPECT_EQ(memcheck::AllocationCount(), made + 6);
}

TEST(MemCheck, NullAndZeroSizeDoNotCount) {
    const auto base = memcheck::BlockCount();
    int* none = nullptr;
    delete none;
    ::operator delete(nullptr);
    ::operator delete[](nullptr, std::align_val_t{64});
    EXPECT_EQ(memcheck::BlockCount(), base);

    const auto made = memcheck::AllocationCount();
    void* empty = ::operator new(0);
    ASSERT_NE(empty, nullptr);  // a real, distinct block all the same
    void* empty2 = ::operator new(0);
    EXPECT_NE(empty, empty2);
    EXPECT_EQ(memcheck::BlockCount(), base);
    ::operator delete(empty);
    ::operator delete(empty2);
    EXPECT_EQ(memcheck::BlockCount(), base);
    EXPECT_EQ(memcheck::AllocationCount(), made);
}

TEST(MemCheck, BlocksFromBeforeCountingStayUncounted) {
    const auto base = memcheck::BlockCount();
    const bool was = memcheck::SetCounting(false);
    auto* early = keep(new std::vector<int>(1000));  // two blocks, neither counted
    memcheck::SetCounting(was);
    EXPECT_EQ(memcheck::BlockCount(), base);
    delete early;                              // releasing them leaves the count alone
    EXPECT_EQ(memcheck::BlockCount(), base);
}

TEST(MemCheck, ForeignScopesLeaveOtherThreadsUncountedAndNest) {
    const auto base = memcheck::BlockCount();
    int* foreign = nullptr;
    {
        const memcheck::ForeignScope outer;
        {
            const memcheck::ForeignScope inner;
        }
        // Still inside the outer scope, and on another thread (a driver's worker).
        std::thread([&foreign] { foreign = keep(new int(1)); }).join();
    }
    EXPECT_EQ(memcheck::BlockCount(), base);
    int* own = keep(new int(2));
    EXPECT_EQ(memcheck::BlockCount(), base + 1);  // counting is back once the scopes end
    delete foreign;                               // a foreign block leaves the count alone
    delete own;
    EXPECT_EQ(memcheck::BlockCount(), base);
}

TEST(MemCheck, ExactAcrossThreads) {
    const auto base = memcheck::BlockCount();
    {
        std::array<std::thread, 4> threads;
        for (auto& th : threads)
            th = std::thread([] {
                std::vector<int*> held;
                held.reserve(64);
                for (int round = 0; round < 2000; ++round) {
                    held.push_back(keep(new int(round)));
                    if (held.size() == 64) {
                        for (int* p : held) delete p;
                        held.clear();
                    }
                }
                for (int* p : held) delete p;
            });
        for (auto& th : threads) th.join();
    }
    EXPECT_EQ(memcheck::BlockCount(), base);
}

TEST(MemCheck, FailedAllocationThrowsOrGivesNull) {
    const auto base = memcheck::BlockCount();
    volatile std::size_t hugeSize = static_cast<std::size_t>(-1) - 8;  // hidden from the optimiser
    const std::size_t huge = hugeSize;
    EXPECT_THROW((void)::operator new(huge), std::bad_alloc);
    EXPECT_EQ(::operator new(huge, std::nothrow), nullptr);
    EXPECT_EQ(memcheck::BlockCount(), base);
}

TEST(MemCheck, ReportText) {
    EXPECT_STREQ(memcheck::ReportText(3).data(), "SeeYou (3)");
    EXPECT_STREQ(memcheck::ReportText(123456).data(), "SeeYou (123456)");
    EXPECT_STREQ(memcheck::kReportTitle, "MMgr");
}

// The exit report is checked on this very test program, run again with MEMCHECK_PROBE set
// and a filter that selects no test: the static object below then leaks (or not) before the
// test framework's main runs, and the report comes after the program's static destructors.
namespace {

struct ExitProbe {
    ExitProbe() {
        const char* mode = std::getenv("MEMCHECK_PROBE");
        if (mode == nullptr) return;
        const std::string m = mode;
        if (m == "leak3") {
            for (int i = 0; i < 3; ++i) (void)keep(new int(i));
        } else if (m == "clean") {
            held = keep(new std::string(300, 'x'));  // released by this object's destructor
        } else if (m == "box") {
            memcheck::SetExitReporter([](const char* title, const char* text) {
                std::fprintf(stderr, "box[%s|%s]\n", title, text);
            });
            (void)keep(new std::vector<int>(10));  // the vector and its buffer
        }
    }
    ~ExitProbe() { delete held; }
    std::string* held = nullptr;
};
ExitProbe exitProbe;

std::string runProbe(const std::string& mode) {
    char self[4096] = {};
    const auto n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "no self";
    // The probe leaks on purpose: keep the leak sanitizer (when built in) out of it.
    const std::string cmd = "ASAN_OPTIONS=detect_leaks=0 MEMCHECK_PROBE=" + mode + " '" + std::string(self, static_cast<std::size_t>(n)) +
                            "' --gtest_filter=NoSuchTest.None 2>&1 >/dev/null";
    std::string out;
    if (FILE* pipe = ::popen(cmd.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, pipe) != nullptr) out += buf;
        ::pclose(pipe);
    }
    return out;
}

}  // namespace

TEST(MemCheckExit, LeakedBlocksAreReportedAfterStaticDestructors) {
    EXPECT_EQ(runProbe("leak3"), "MMgr: SeeYou (3)\n");
}

TEST(MemCheckExit, CleanProgramReportsNothing) {
    EXPECT_EQ(runProbe("clean"), "");
}

TEST(MemCheckExit, InstalledReporterIsCalled) {
    EXPECT_EQ(runProbe("box"), "box[MMgr|SeeYou (2)]\n");
}
