// Byte layout of the adapter's configuration: 64 blocks of 64 bytes, blocks 0 to 62 the
// game profiles (slots), block 63 the header. Every field is one unsigned byte.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kBlockSize = 64;
constexpr int kSlotCount = 63;
constexpr int kHeaderBlock = 63;
constexpr int kBlockCount = 64;
constexpr size_t kRecordBufferSize = kSlotCount * kBlockSize;  // 4032
constexpr size_t kImageSize = kBlockCount * kBlockSize;        // 4096, header last

constexpr int kNameBytes = 15;
constexpr int kKeySlotCount = 24;
constexpr int kKeyBoxCount = 20;
constexpr int kPadButtonCount = 8;
constexpr int kMouseButtonCount = 3;
constexpr uint8_t kMinSpeed = 2;
constexpr uint8_t kMaxSpeed = 120;
constexpr uint8_t kNoActiveProfile = 0x80;  // header byte 0 when the list is empty
constexpr uint8_t kSlotUsed = 1;            // any other used-flag value means free

// Pad buttons in index order (bytes 39 to 41, the bits of byte 46, the matrix columns).
enum PadButton : uint8_t { kPadL1, kPadA, kPadB, kPadX, kPadY, kPadBlack, kPadWhite, kPadR1 };

// Mouse buttons in the order of their record bytes (39, 40, 41).
enum MouseButton { kMouseRight, kMouseLeft, kMouseMiddle };

struct ProfileRecord {
    char name[kNameBytes];              // 0-14: NUL-terminated within the 15 bytes
    uint8_t keySlots[kKeySlotCount];    // 15-38: adapter key codes, 0 = no key
    uint8_t mouseButtons[kMouseButtonCount];  // 39-41: pad button of right, left, middle
    uint8_t keptByte42;                 // 42: never written by the tool
    uint8_t speed;                      // 43: 2 to 120
    uint8_t axisMode;                   // 44: 1 = keyboard drives the stick axes
    uint8_t comboKey;                   // 45: adapter key code of the combination key
    uint8_t comboButtons;               // 46: bit i = pad button i in the combination
    uint8_t keptTail[17];               // 47-63: never written by the tool
};

struct ImageHeader {
    uint8_t activeProfile;        // 0: slot 0-62 the adapter uses, 0x80 for none
    uint8_t used[kSlotCount];     // 1-63: used[n] == 1 when slot n holds a profile
};

static_assert(sizeof(ProfileRecord) == kBlockSize, "a profile record fills one block");
static_assert(sizeof(ImageHeader) == kBlockSize, "the header fills one block");
static_assert(offsetof(ProfileRecord, keySlots) == 15, "key slots start at byte 15");
static_assert(offsetof(ProfileRecord, mouseButtons) == 39, "mouse buttons at 39-41");
static_assert(offsetof(ProfileRecord, speed) == 43, "speed at byte 43");
static_assert(offsetof(ProfileRecord, axisMode) == 44, "axis mode at byte 44");
static_assert(offsetof(ProfileRecord, comboKey) == 45, "combination key at byte 45");
static_assert(offsetof(ProfileRecord, comboButtons) == 46, "combination buttons at 46");

// Key slot of each of the 20 key boxes (1101 + k), by axis mode: AxisMap when the
// record's axis mode is 1, PlainMap otherwise. They differ in the four stick boxes.
constexpr uint8_t AxisMap[kKeyBoxCount] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                           10, 11, 12, 13, 14, 15, 16, 17, 18, 23};
constexpr uint8_t PlainMap[kKeyBoxCount] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                            19, 20, 21, 22, 14, 15, 16, 17, 18, 23};

inline const uint8_t* KeySlotMap(uint8_t axisMode) { return axisMode == 1 ? AxisMap : PlainMap; }

inline ProfileRecord* RecordOfSlot(uint8_t* records, int slot)
{
    return reinterpret_cast<ProfileRecord*>(records + kBlockSize * slot);
}

inline const ProfileRecord* RecordOfSlot(const uint8_t* records, int slot)
{
    return reinterpret_cast<const ProfileRecord*>(records + kBlockSize * slot);
}

// The header of a whole 4096-byte image, which follows the 63 records.
inline ImageHeader& HeaderOfImage(uint8_t* image)
{
    return *reinterpret_cast<ImageHeader*>(image + kRecordBufferSize);
}

inline const ImageHeader& HeaderOfImage(const uint8_t* image)
{
    return *reinterpret_cast<const ImageHeader*>(image + kRecordBufferSize);
}
