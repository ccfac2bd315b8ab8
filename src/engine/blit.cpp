#include "engine/blit.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KORRINDAL_X86 1
#endif

namespace engine {

namespace {

using RowKernel = void (*)(std::uint8_t* d, std::ptrdiff_t dp, const std::uint8_t* s, std::ptrdiff_t sp, int w, int h,
                           std::uint8_t key);

void keyedScalar(std::uint8_t* d, std::ptrdiff_t dp, const std::uint8_t* s, std::ptrdiff_t sp, int w, int h,
                 std::uint8_t key) {
    for (; h > 0; --h, d += dp, s += sp) {
        for (int i = 0; i < w; ++i) {
            if (s[i] != key) d[i] = s[i];
        }
    }
}

#ifdef KORRINDAL_X86

// Rows narrower than 16 bytes: one or two overlapping 8- or 4-byte blends, or single bytes.
// Both overlapping halves are loaded before either is stored, so the second never waits on
// the first's store and both blend the original destination.
inline void narrowRows(std::uint8_t* d, std::ptrdiff_t dp, const std::uint8_t* s, std::ptrdiff_t sp, int w, int h,
                       std::uint8_t key) {
    const __m128i k = _mm_set1_epi8(static_cast<char>(key));
    if (w >= 8) {
        const int t = w - 8;
        for (; h > 0; --h, d += dp, s += sp) {
            const __m128i s0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s));
            const __m128i d0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d));
            const __m128i s1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + t));
            const __m128i d1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d + t));
            const __m128i m0 = _mm_cmpeq_epi8(s0, k), m1 = _mm_cmpeq_epi8(s1, k);
            const __m128i r0 = _mm_or_si128(_mm_and_si128(m0, d0), _mm_andnot_si128(m0, s0));
            const __m128i r1 = _mm_or_si128(_mm_and_si128(m1, d1), _mm_andnot_si128(m1, s1));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(d), r0);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(d + t), r1);
        }
    } else if (w >= 4) {
        const int t = w - 4;
        for (; h > 0; --h, d += dp, s += sp) {
            std::int32_t a, b, c, e;
            std::memcpy(&a, s, 4);
            std::memcpy(&b, d, 4);
            std::memcpy(&c, s + t, 4);
            std::memcpy(&e, d + t, 4);
            const __m128i s0 = _mm_cvtsi32_si128(a), d0 = _mm_cvtsi32_si128(b);
            const __m128i s1 = _mm_cvtsi32_si128(c), d1 = _mm_cvtsi32_si128(e);
            const __m128i m0 = _mm_cmpeq_epi8(s0, k), m1 = _mm_cmpeq_epi8(s1, k);
            const std::int32_t r0 = _mm_cvtsi128_si32(_mm_or_si128(_mm_and_si128(m0, d0), _mm_andnot_si128(m0, s0)));
            const std::int32_t r1 = _mm_cvtsi128_si32(_mm_or_si128(_mm_and_si128(m1, d1), _mm_andnot_si128(m1, s1)));
            std::memcpy(d, &r0, 4);
            std::memcpy(d + t, &r1, 4);
        }
    } else {
        keyedScalar(d, dp, s, sp, w, h, key);
    }
}

void keyedSse2(std::uint8_t* d, std::ptrdiff_t dp, const std::uint8_t* s, std::ptrdiff_t sp, int w, int h,
               std::uint8_t key) {
    if (w < 16) {
        narrowRows(d, dp, s, sp, w, h, key);
        return;
    }
    const __m128i k = _mm_set1_epi8(static_cast<char>(key));
    const int tail = w - 16;
    for (; h > 0; --h, d += dp, s += sp) {
        // The last (possibly overlapping) chunk is loaded before the row's other stores.
        const __m128i ts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + tail));
        const __m128i td = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + tail));
        const __m128i tm = _mm_cmpeq_epi8(ts, k);
        const __m128i tr = _mm_or_si128(_mm_and_si128(tm, td), _mm_andnot_si128(tm, ts));
        for (int i = 0; i < tail; i += 16) {
            const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            const __m128i m = _mm_cmpeq_epi8(sv, k);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_or_si128(_mm_and_si128(m, dv), _mm_andnot_si128(m, sv)));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + tail), tr);
    }
}

__attribute__((target("avx2"))) void keyedAvx2(std::uint8_t* d, std::ptrdiff_t dp, const std::uint8_t* s,
                                                std::ptrdiff_t sp, int w, int h, std::uint8_t key) {
    if (w < 16) {
        narrowRows(d, dp, s, sp, w, h, key);
        return;
    }
    if (w < 32) {
        const __m128i k = _mm_set1_epi8(static_cast<char>(key));
        const int t = w - 16;
        for (; h > 0; --h, d += dp, s += sp) {
            const __m128i s0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
            const __m128i d0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
            const __m128i s1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + t));
            const __m128i d1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + t));
            const __m128i r0 = _mm_blendv_epi8(s0, d0, _mm_cmpeq_epi8(s0, k));
            const __m128i r1 = _mm_blendv_epi8(s1, d1, _mm_cmpeq_epi8(s1, k));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), r0);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + t), r1);
        }
        return;
    }
    const __m256i k = _mm256_set1_epi8(static_cast<char>(key));
    const int tail = w - 32;
    for (; h > 0; --h, d += dp, s += sp) {
        const __m256i ts = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + tail));
        const __m256i td = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + tail));
        const __m256i tr = _mm256_blendv_epi8(ts, td, _mm256_cmpeq_epi8(ts, k));
        for (int i = 0; i < tail; i += 32) {
            const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
            const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm256_blendv_epi8(sv, dv, _mm256_cmpeq_epi8(sv, k)));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + tail), tr);
    }
}

bool hasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

#endif

BlitIsa detectBest() {
#ifdef KORRINDAL_X86
    return hasAvx2() ? BlitIsa::Avx2 : BlitIsa::Sse2;
#else
    return BlitIsa::Scalar;
#endif
}

RowKernel kernelFor(BlitIsa isa) {
    switch (isa) {
#ifdef KORRINDAL_X86
        case BlitIsa::Avx2: return &keyedAvx2;
        case BlitIsa::Sse2: return &keyedSse2;
#endif
        default: return &keyedScalar;
    }
}

const BlitIsa kBest = detectBest();
BlitIsa gIsa = kBest;
RowKernel gKernel = kernelFor(kBest);

// Runs shorter than this on average are not worth a copy call each; patterns narrower than
// kRunMinWidth fit in a few SIMD chunks and blend faster.
constexpr int kRunMinWidth = 96;
constexpr int kRunMinMeanLength = 24;

}  // namespace

BlitIsa bestBlitIsa() { return kBest; }
BlitIsa currentBlitIsa() { return gIsa; }

void setBlitIsa(BlitIsa isa) {
    if (isa == BlitIsa::Avx2 && kBest != BlitIsa::Avx2) isa = kBest;
    if (isa == BlitIsa::Sse2 && kBest == BlitIsa::Scalar) isa = kBest;
    gIsa = isa;
    gKernel = kernelFor(isa);
}

bool clipToRect(std::int16_t& x, std::int16_t& y, TRect& s, const TRect& clip, int extraRight, int extraBottom) {
    if (x < clip.left) {
        s.left += clip.left - x;
        x = static_cast<std::int16_t>(clip.left);
    }
    if (y < clip.top) {
        s.top += clip.top - y;
        y = static_cast<std::int16_t>(clip.top);
    }
    const auto e = static_cast<std::int16_t>(x + (s.right - s.left) - clip.right + extraRight);
    if (e > 0) s.right -= e;
    const auto f = static_cast<std::int16_t>(y + (s.bottom - s.top) - clip.bottom + extraBottom);
    if (f > 0) s.bottom -= f;
    return s.right > s.left && s.bottom > s.top;
}

void blitKeyed(Surface& dst, int x, int y, const Surface& src, TRect s, const TOpaqueRuns* runs,
               const TRect* runRect) {
    // Keep the source inside its surface and the destination inside its own.
    if (s.left < 0) { x -= s.left; s.left = 0; }
    if (s.top < 0) { y -= s.top; s.top = 0; }
    s.right = std::min(s.right, src.width);
    s.bottom = std::min(s.bottom, src.height);
    if (x < 0) { s.left -= x; x = 0; }
    if (y < 0) { s.top -= y; y = 0; }
    if (x + (s.right - s.left) > dst.width) s.right = s.left + (dst.width - x);
    if (y + (s.bottom - s.top) > dst.height) s.bottom = s.top + (dst.height - y);
    const int w = s.right - s.left, h = s.bottom - s.top;
    if (w <= 0 || h <= 0) return;

    std::uint8_t* d = dst.row(y) + x;
    const std::uint8_t* sp = src.row(s.top) + s.left;
    if (!src.hasColorKey) {
        for (int r = 0; r < h; ++r) std::memcpy(d + static_cast<std::ptrdiff_t>(r) * dst.pitch, sp + static_cast<std::ptrdiff_t>(r) * src.pitch, static_cast<std::size_t>(w));
        return;
    }
    if (runs != nullptr && runRect != nullptr && !runs->empty() && s.left >= runRect->left && s.top >= runRect->top &&
        s.right <= runRect->right && s.bottom <= runRect->bottom) {
        const int l = s.left - runRect->left, rgt = s.right - runRect->left;
        for (int r = 0; r < h; ++r) {
            const auto sr = static_cast<std::size_t>(s.top - runRect->top + r);
            const std::uint8_t* srow = src.row(s.top + r) + runRect->left;
            std::uint8_t* drow = d + static_cast<std::ptrdiff_t>(r) * dst.pitch - l;
            for (std::uint32_t i = runs->rowStart[sr], e = runs->rowStart[sr + 1]; i < e; ++i) {
                const TOpaqueRun run = runs->runs[i];
                const int a = std::max<int>(run.start, l);
                const int b = std::min<int>(run.start + run.length, rgt);
                if (a < b) std::memcpy(drow + a, srow + a, static_cast<std::size_t>(b - a));
            }
        }
        return;
    }
    gKernel(d, dst.pitch, sp, src.pitch, w, h, static_cast<std::uint8_t>(src.colorKey));
}

void buildOpaqueRuns(const Surface& src, const TRect& r, std::uint8_t key, TOpaqueRuns& out) {
    out.clear();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w < kRunMinWidth || h <= 0 || w > 65535 || r.left < 0 || r.top < 0 || r.right > src.width ||
        r.bottom > src.height) {
        return;
    }
    TOpaqueRuns t;
    t.rowStart.reserve(static_cast<std::size_t>(h) + 1);
    long long opaque = 0;
    for (int y = 0; y < h; ++y) {
        t.rowStart.push_back(static_cast<std::uint32_t>(t.runs.size()));
        const std::uint8_t* row = src.row(r.top + y) + r.left;
        int x = 0;
        while (x < w) {
            while (x < w && row[x] == key) ++x;
            const int start = x;
            while (x < w && row[x] != key) ++x;
            if (x > start) {
                t.runs.push_back(TOpaqueRun{static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(x - start)});
                opaque += x - start;
            }
        }
    }
    t.rowStart.push_back(static_cast<std::uint32_t>(t.runs.size()));
    if (!t.runs.empty() && opaque / static_cast<long long>(t.runs.size()) < kRunMinMeanLength) return;
    out = std::move(t);
}

}  // namespace engine
