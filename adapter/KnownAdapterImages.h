// What the adapter can hold when no other program has written to it since this one read
// it: each half as this program read it, or as a save that it tried since may have left
// it. A failed save may have stopped anywhere, so each half whose transfer it started may
// or may not have arrived; the halves it never started hold what they held.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ConfigImage.h"

class KnownAdapterImages {
public:
    KnownAdapterImages();

    // The adapter was read whole and held `image` (4096 bytes, header last); what was
    // known before no longer counts.
    void Read(const std::vector<uint8_t>& image);
    // A save of `image` started the transfers of `sentHalves` (half numbers, 2 x block +
    // part), whether or not it went through.
    void SaveTried(const std::vector<uint8_t>& image, const std::vector<int>& sentHalves);
    // Whether every half of `stored`, just read from the adapter, is one this program read
    // or wrote, or one of `pending`, what it is about to write (writing that loses nothing).
    bool Explain(const std::vector<uint8_t>& stored, const std::vector<uint8_t>& pending) const;

private:
    static constexpr size_t kHalfSize = kBlockSize / 2;
    static constexpr int kHalfCount = 2 * kBlockCount;
    using Half = std::array<uint8_t, kHalfSize>;

    static Half HalfOf(const std::vector<uint8_t>& image, int half);

    // Each half of the adapter with every content it may hold.
    std::vector<std::vector<Half>> m_halves;
};
