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

// Counting starts before any static initialiser of the executable runs (the shared libraries'
// initialisers ran earlier: their blocks stay uncounted).
__attribute__((constructor(101))) void startCounting() { memcheck::detail::MarkActive(); }

// The report runs from the executable's finaliser list, which the dynamic linker walks after
// every static destructor has run, the shared libraries' included (those are registered when
// each static is constructed and run first at exit). A global of a library that frees a
// string the program assigned it is therefore released before the count is taken.
__attribute__((destructor(101))) void reportAtExit() { memcheck::ReportAtExit(); }

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
