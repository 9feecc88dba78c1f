// What the adapter can hold when no other program has written to it since this one read
// it: each half as this program read it, or as one of the saves it tried since wrote it.
// A failed save may have stopped anywhere, and with a half that the adapter refused the
// driver may report the failure only some halves later, so any half of a tried save may
// or may not have arrived.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class KnownAdapterImages {
public:
    // The adapter was read whole and held `image` (4096 bytes, header last); what was
    // known before no longer counts.
    void Read(const std::vector<uint8_t>& image);
    // A save of `image` was tried, whether or not it went through.
    void SaveTried(const std::vector<uint8_t>& image);
    // Whether every half of `stored`, just read from the adapter, is one this program read
    // or wrote, or one of `pending`, what it is about to write (writing that loses nothing).
    bool Explain(const std::vector<uint8_t>& stored, const std::vector<uint8_t>& pending) const;

private:
    bool OneOfKnownHalves(const std::vector<uint8_t>& stored, size_t offset, const std::vector<uint8_t>& pending) const;

    std::vector<std::vector<uint8_t>> m_images;
};
