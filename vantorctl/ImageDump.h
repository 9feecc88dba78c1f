// A configuration image written out for people (text) or for programs (JSON).
#pragma once

#include <cstdint>
#include <ostream>

void DumpImageText(const uint8_t* image, std::ostream& out);
void DumpImageJson(const uint8_t* image, std::ostream& out);
