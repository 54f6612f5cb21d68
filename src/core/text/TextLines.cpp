#include "core/text/TextLines.h"

#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PARVANE_X86_SIMD 1
#include <immintrin.h>
#endif

namespace parvane::text {

namespace {

// Line counting is the one pass over every byte of every history of a scan, so it runs on the
// widest vector unit of the processor. Each counter returns the number of positions i in
// [from, last) where bytes[i] ends a line: a LF, or a CR not followed by a LF. bytes[last] must
// be readable (it is the byte after each position looked at).

std::size_t countEndsScalar(const unsigned char* bytes, std::size_t from, std::size_t last)
{
    std::size_t count = 0;
    for (std::size_t i = from; i < last; ++i)
        count += static_cast<std::size_t>(bytes[i] == '\n' || (bytes[i] == '\r' && bytes[i + 1] != '\n'));
    return count;
}

#ifdef PARVANE_X86_SIMD

// Up to 255 blocks add 1 per line end into 8-bit lanes; psadbw then sums the lanes.
constexpr std::size_t kBlocksPerSum = 255;

std::size_t countEndsSse2(const unsigned char* bytes, std::size_t last)
{
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    std::size_t count = 0;
    std::size_t i = 0;
    while (i + 16 <= last) {
        __m128i lanes = _mm_setzero_si128();
        for (std::size_t block = 0; block < kBlocksPerSum && i + 16 <= last; ++block, i += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + 1));
            const __m128i loneReturn =
                _mm_andnot_si128(_mm_cmpeq_epi8(next, lineFeed), _mm_cmpeq_epi8(here, carriageReturn));
            lanes = _mm_sub_epi8(lanes, _mm_or_si128(_mm_cmpeq_epi8(here, lineFeed), loneReturn));
        }
        std::uint64_t sums[2];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums), _mm_sad_epu8(lanes, _mm_setzero_si128()));
        count += sums[0] + sums[1];
    }
    return count + countEndsScalar(bytes, i, last);
}

__attribute__((target("avx2"))) std::size_t countEndsAvx2(const unsigned char* bytes, std::size_t last)
{
    const __m256i lineFeed = _mm256_set1_epi8('\n');
    const __m256i carriageReturn = _mm256_set1_epi8('\r');
    std::size_t count = 0;
    std::size_t i = 0;
    while (i + 32 <= last) {
        __m256i lanes = _mm256_setzero_si256();
        for (std::size_t block = 0; block < kBlocksPerSum && i + 32 <= last; ++block, i += 32) {
            const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
            const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i + 1));
            const __m256i loneReturn = _mm256_andnot_si256(_mm256_cmpeq_epi8(next, lineFeed),
                                                           _mm256_cmpeq_epi8(here, carriageReturn));
            lanes = _mm256_sub_epi8(lanes, _mm256_or_si256(_mm256_cmpeq_epi8(here, lineFeed), loneReturn));
        }
        std::uint64_t sums[4];
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums), _mm256_sad_epu8(lanes, _mm256_setzero_si256()));
        count += sums[0] + sums[1] + sums[2] + sums[3];
    }
    return count + countEndsScalar(bytes, i, last);
}

__attribute__((target("avx512bw,popcnt"))) std::size_t countEndsAvx512(const unsigned char* bytes,
                                                                       std::size_t last)
{
    const __m512i lineFeed = _mm512_set1_epi8('\n');
    const __m512i carriageReturn = _mm512_set1_epi8('\r');
    std::size_t count = 0;
    std::size_t i = 0;
    for (; i + 64 <= last; i += 64) {
        const __m512i here = _mm512_loadu_si512(bytes + i);
        const __m512i next = _mm512_loadu_si512(bytes + i + 1);
        const __mmask64 ends =
            _mm512_cmpeq_epi8_mask(here, lineFeed)
            | (_mm512_cmpeq_epi8_mask(here, carriageReturn) & ~_mm512_cmpeq_epi8_mask(next, lineFeed));
        count += static_cast<std::size_t>(_mm_popcnt_u64(ends));
    }
    return count + countEndsScalar(bytes, i, last);
}

using EndCounter = std::size_t (*)(const unsigned char*, std::size_t);

EndCounter chooseEndCounter()
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("popcnt"))
        return countEndsAvx512;
    if (__builtin_cpu_supports("avx2"))
        return countEndsAvx2;
    return countEndsSse2;
}

std::size_t countEnds(const unsigned char* bytes, std::size_t last)
{
    static const EndCounter counter = chooseEndCounter();
    return counter(bytes, last);
}

#else

std::size_t countEnds(const unsigned char* bytes, std::size_t last)
{
    return countEndsScalar(bytes, 0, last);
}

#endif

} // namespace

std::size_t countLines(std::string_view text) noexcept
{
    if (text.empty())
        return 0;
    // The last byte always closes one more line: either it is a line end, or it ends a line
    // without one.
    return countEnds(reinterpret_cast<const unsigned char*>(text.data()), text.size() - 1) + 1;
}

std::vector<std::size_t> countLinesByEveryMethod(std::string_view text)
{
    if (text.empty())
        return {0};
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t last = text.size() - 1;
    std::vector<std::size_t> counts{countEndsScalar(bytes, 0, last) + 1};
#ifdef PARVANE_X86_SIMD
    counts.push_back(countEndsSse2(bytes, last) + 1);
    if (__builtin_cpu_supports("avx2"))
        counts.push_back(countEndsAvx2(bytes, last) + 1);
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("popcnt"))
        counts.push_back(countEndsAvx512(bytes, last) + 1);
#endif
    return counts;
}

std::string_view tabField(std::string_view line, std::size_t index, bool* found) noexcept
{
    std::size_t start = 0;
    for (std::size_t field = 0; field < index; ++field) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            if (found != nullptr)
                *found = false;
            return {};
        }
        start = tab + 1;
    }
    if (found != nullptr)
        *found = true;
    const std::size_t end = line.find('\t', start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

} // namespace parvane::text
