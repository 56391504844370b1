#pragma once

// KORVANE_ADDRESS_SANITIZER is defined when building under AddressSanitizer: memory
// kept for reuse is then handed back at once, so use after free still faults.
#if defined(__SANITIZE_ADDRESS__)
#define KORVANE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVANE_ADDRESS_SANITIZER 1
#endif
#endif
