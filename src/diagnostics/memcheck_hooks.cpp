// The replaced global allocation functions: every variant of operator new and delete goes
// through MemCheck's counting back end. This file is linked as an object into every
// executable (a static library member would not replace the library's definitions).

#include <cstddef>
#include <new>

#include "diagnostics/memcheck.h"

namespace {

void* allocateOrThrow(std::size_t size, std::size_t alignment) {
    for (;;) {
        if (void* p = memcheck::detail::Allocate(size, alignment)) return p;
        std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}

void* allocateOrNull(std::size_t size, std::size_t alignment) noexcept {
    try {
        return allocateOrThrow(size, alignment);
    } catch (...) {
        return nullptr;
    }
}

// Constructed before every other static object of the executable, so counting starts before
// their initialisers run, and destroyed after all of them (and after function-local statics),
// so the report sees only what the program really kept.
struct ExitGuard {
    ExitGuard() { memcheck::detail::MarkActive(); }
    ~ExitGuard() { memcheck::ReportAtExit(); }
};
__attribute__((init_priority(101))) ExitGuard exitGuard;

constexpr std::size_t kDefault = __STDCPP_DEFAULT_NEW_ALIGNMENT__;

}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size, kDefault); }
void* operator new[](std::size_t size) { return allocateOrThrow(size, kDefault); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull(size, kDefault); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull(size, kDefault); }
void* operator new(std::size_t size, std::align_val_t al) { return allocateOrThrow(size, static_cast<std::size_t>(al)); }
void* operator new[](std::size_t size, std::align_val_t al) { return allocateOrThrow(size, static_cast<std::size_t>(al)); }
void* operator new(std::size_t size, std::align_val_t al, const std::nothrow_t&) noexcept {
    return allocateOrNull(size, static_cast<std::size_t>(al));
}
void* operator new[](std::size_t size, std::align_val_t al, const std::nothrow_t&) noexcept {
    return allocateOrNull(size, static_cast<std::size_t>(al));
}

void operator delete(void* p) noexcept { memcheck::detail::Release(p); }
void operator delete[](void* p) noexcept { memcheck::detail::Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { memcheck::detail::Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { memcheck::detail::Release(p); }
void operator delete(void* p, std::size_t) noexcept { memcheck::detail::Release(p); }
void operator delete[](void* p, std::size_t) noexcept { memcheck::detail::Release(p); }
void operator delete(void* p, std::align_val_t) noexcept { memcheck::detail::Release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { memcheck::detail::Release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { memcheck::detail::Release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { memcheck::detail::Release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { memcheck::detail::Release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { memcheck::detail::Release(p); }
