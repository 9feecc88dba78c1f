#include "KnownAdapterImages.h"

#include <algorithm>
#include <cstring>

#include "ConfigImage.h"

namespace {

constexpr size_t kHalfSize = kBlockSize / 2;

bool SameHalf(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t offset)
{
    return std::memcmp(a.data() + offset, b.data() + offset, kHalfSize) == 0;
}

}  // namespace

void KnownAdapterImages::Read(const std::vector<uint8_t>& image) { m_images = {image}; }

void KnownAdapterImages::SaveTried(const std::vector<uint8_t>& image) { m_images.push_back(image); }

bool KnownAdapterImages::Explain(const std::vector<uint8_t>& stored, const std::vector<uint8_t>& pending) const
{
    for (size_t offset = 0; offset < kImageSize; offset += kHalfSize)
        if (!OneOfKnownHalves(stored, offset, pending)) return false;
    return true;
}

bool KnownAdapterImages::OneOfKnownHalves(const std::vector<uint8_t>& stored, size_t offset,
                                          const std::vector<uint8_t>& pending) const
{
    if (SameHalf(stored, pending, offset)) return true;
    return std::any_of(m_images.begin(), m_images.end(),
                       [&](const std::vector<uint8_t>& known) { return SameHalf(stored, known, offset); });
}
