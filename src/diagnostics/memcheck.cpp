#include "diagnostics/memcheck.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace memcheck {
namespace {

// Every block handed out is preceded by this header (16 bytes, so default-aligned blocks stay
// 16-byte aligned): where the underlying allocation starts and whether the block was counted.
struct Header {
    void* raw;
    std::uint32_t mark;
    std::uint32_t unused;
};
static_assert(sizeof(Header) == 16);

constexpr std::uint32_t kCounted = 0x4D4D6721u;
constexpr std::uint32_t kUncounted = 0x4D4D6730u;
constexpr std::size_t kMinAlignment = 16;

constinit std::atomic<std::int32_t> gBlockCount{0};
constinit std::atomic<std::uint64_t> gAllocations{0};
constinit std::atomic<bool> gCounting{false};
constinit std::atomic<bool> gActive{false};
constinit std::atomic<Reporter> gReporter{&ReportToStderr};

}  // namespace

std::int32_t BlockCount() { return gBlockCount.load(std::memory_order_relaxed); }

std::uint64_t AllocationCount() { return gAllocations.load(std::memory_order_relaxed); }

bool Active() { return gActive.load(std::memory_order_relaxed) && gCounting.load(std::memory_order_relaxed); }

bool SetCounting(bool on) { return gCounting.exchange(on, std::memory_order_relaxed); }

std::array<char, 32> ReportText(std::int32_t count) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "SeeYou (%d)", static_cast<int>(count));
    return text;
}

void SetExitReporter(Reporter reporter) { gReporter.store(reporter, std::memory_order_relaxed); }

void ReportToStderr(const char* title, const char* text) { std::fprintf(stderr, "%s: %s\n", title, text); }

void ReportAtExit() {
    gCounting.store(false, std::memory_order_relaxed);
    const std::int32_t count = BlockCount();
    const Reporter reporter = gReporter.load(std::memory_order_relaxed);
    if (count > 0 && reporter != nullptr) reporter(kReportTitle, ReportText(count).data());
}

namespace detail {

void MarkActive() noexcept {
    gActive.store(true, std::memory_order_relaxed);
    gCounting.store(true, std::memory_order_relaxed);
}

void* Allocate(std::size_t size, std::size_t alignment) noexcept {
    if (alignment < kMinAlignment) alignment = kMinAlignment;
    // The header sits right before the block; an offset of one alignment unit keeps the
    // block aligned and leaves room for it (alignments are powers of two >= 16).
    const std::size_t offset = alignment;
    if (size > static_cast<std::size_t>(-1) - 2 * offset) return nullptr;
    void* raw = nullptr;
    if (alignment == kMinAlignment) {
        raw = std::malloc(offset + size);
    } else {
        const std::size_t total = (offset + size + alignment - 1) & ~(alignment - 1);
        raw = std::aligned_alloc(alignment, total);
    }
    if (raw == nullptr) return nullptr;
    auto* block = static_cast<unsigned char*>(raw) + offset;
    auto* header = reinterpret_cast<Header*>(block - sizeof(Header));
    header->raw = raw;
    const bool counted = size > 0 && gCounting.load(std::memory_order_relaxed) &&
                         gForeignDepth.load(std::memory_order_acquire) == 0;
    header->mark = counted ? kCounted : kUncounted;
    if (counted) {
        gBlockCount.fetch_add(1, std::memory_order_relaxed);
        gAllocations.fetch_add(1, std::memory_order_relaxed);
    }
    return block;
}

void Release(void* block) noexcept {
    if (block == nullptr) return;
    auto* header = reinterpret_cast<Header*>(static_cast<unsigned char*>(block) - sizeof(Header));
    if (header->mark == kCounted) gBlockCount.fetch_sub(1, std::memory_order_relaxed);
    header->mark = 0;
    std::free(header->raw);
}

}  // namespace detail
}  // namespace memcheck
