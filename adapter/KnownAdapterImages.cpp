#include "KnownAdapterImages.h"

#include <algorithm>
#include <cstring>

KnownAdapterImages::KnownAdapterImages() : m_halves(kHalfCount) {}

KnownAdapterImages::Half KnownAdapterImages::HalfOf(const std::vector<uint8_t>& image, int half)
{
    Half content;
    std::memcpy(content.data(), image.data() + kHalfSize * half, kHalfSize);
    return content;
}

void KnownAdapterImages::Read(const std::vector<uint8_t>& image)
{
    for (int half = 0; half < kHalfCount; ++half) m_halves[half] = {HalfOf(image, half)};
}

void KnownAdapterImages::SaveTried(const std::vector<uint8_t>& image, const std::vector<int>& sentHalves)
{
    for (int half : sentHalves) m_halves[half].push_back(HalfOf(image, half));
}

bool KnownAdapterImages::Explain(const std::vector<uint8_t>& stored, const std::vector<uint8_t>& pending) const
{
    for (int half = 0; half < kHalfCount; ++half) {
        const Half now = HalfOf(stored, half);
        if (now == HalfOf(pending, half)) continue;
        const std::vector<Half>& known = m_halves[half];
        if (std::find(known.begin(), known.end(), now) == known.end()) return false;
    }
    return true;
}
