#pragma once
// A bounded single-producer, single-consumer queue without locks: the thread that plays
// effects pushes, the audio thread pops. Neither side ever waits or allocates; a push into
// a full queue fails and the request is dropped.
//
// One producer at a time and one consumer at a time: the producer is the tick thread, or
// the main thread while the ticks are paused (the pause orders the two); the consumer is
// whoever holds the mixer's lock.

#include <array>
#include <atomic>
#include <cstddef>

namespace audio {

template <class T, std::size_t N>
class TRequestQueue {
    static_assert(N >= 2 && (N & (N - 1)) == 0, "the capacity is a power of two");

public:
    bool Push(const T& item) noexcept {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) >= N) return false;
        items_[tail & (N - 1)] = item;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    bool Pop(T& item) noexcept {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return false;
        item = items_[head & (N - 1)];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

private:
    std::array<T, N> items_{};
    alignas(64) std::atomic<std::size_t> head_{0};   // next to pop; written by the consumer
    alignas(64) std::atomic<std::size_t> tail_{0};   // next to push; written by the producer
};

}  // namespace audio
