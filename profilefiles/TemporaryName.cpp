#include "TemporaryName.h"

#include <random>

SystemPath TemporaryNameBeside(const SystemPath& target, const char* ending)
{
    static const char kDigits[] = "0123456789abcdef";
    std::random_device random;
    const unsigned tag = random();
    SystemPath name = target + SystemPath::value_type('.');
    for (int shift = 28; shift >= 0; shift -= 4) name += SystemPath::value_type(kDigits[(tag >> shift) & 0xF]);
    name += SystemPath::value_type('.');
    for (const char* c = ending; *c; ++c) name += SystemPath::value_type(*c);
    return name;
}
