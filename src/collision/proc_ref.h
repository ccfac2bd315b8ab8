#pragma once
// A reference to one of a fixed set of procedures, stored as a small number rather than as
// an address. Records that carry it stay plain bytes whose value does not depend on where
// the program was loaded, so a copy of them can be compared and hashed across runs.
//
// Each procedure type has its own table, filled the first time a procedure is assigned
// (the game registers its own at start-up, in a fixed order, so their numbers never
// depend on the order of play). Number 0 is "none".

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tz {

template <class Fn>
class TProcRef {
public:
    static constexpr std::size_t kCapacity = 255;

    constexpr TProcRef() = default;
    constexpr TProcRef(std::nullptr_t) {}
    TProcRef(Fn f) : FId(Register(f)) {}
    // Captureless lambdas convert through their function pointer.
    template <class F>
        requires(std::convertible_to<F, Fn> && !std::same_as<std::remove_cvref_t<F>, Fn> &&
                 !std::same_as<std::remove_cvref_t<F>, std::nullptr_t>)
    TProcRef(F f) : FId(Register(static_cast<Fn>(f))) {}

    Fn get() const { return FId == 0 ? nullptr : Table()[FId]; }
    std::uint8_t id() const { return FId; }
    explicit operator bool() const { return FId != 0; }

    template <class... Args>
    void operator()(Args&&... args) const {
        if (Fn f = get()) f(static_cast<Args&&>(args)...);
    }

    friend bool operator==(TProcRef a, TProcRef b) { return a.FId == b.FId; }
    friend bool operator==(TProcRef a, std::nullptr_t) { return a.FId == 0; }
    friend bool operator==(TProcRef a, Fn f) { return a.get() == f; }

    // The number of f, registering it when it is new.
    static std::uint8_t Register(Fn f) {
        if (f == nullptr) return 0;
        auto& table = Table();
        std::size_t& count = Count();
        for (std::size_t i = 1; i <= count; ++i)
            if (table[i] == f) return static_cast<std::uint8_t>(i);
        if (count == kCapacity) {
            std::fputs("korrindal: too many distinct object procedures\n", stderr);
            std::abort();
        }
        table[++count] = f;
        return static_cast<std::uint8_t>(count);
    }

private:
    static std::array<Fn, kCapacity + 1>& Table() {
        static std::array<Fn, kCapacity + 1> table{};
        return table;
    }
    static std::size_t& Count() {
        static std::size_t count = 0;
        return count;
    }

    std::uint8_t FId = 0;
};

}  // namespace tz
