// Wide texts of the interface as the 8-bit paths and addresses the system calls take.
#pragma once

#include <cstddef>
#include <string>

namespace qav::link {

std::size_t WideLength(const char16_t* text);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(const char16_t* text);

}  // namespace qav::link
