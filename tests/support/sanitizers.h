#ifndef ZENTROVA_TESTS_SUPPORT_SANITIZERS_H_
#define ZENTROVA_TESTS_SUPPORT_SANITIZERS_H_

// Whether the tests and the programs they start are built with AddressSanitizer.

namespace zentrova::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

// Why a run out of memory cannot be shown there: AddressSanitizer reserves terabytes of
// address space for its shadow memory, so a program cannot start under a limit on address
// space (ulimit -v), and its allocator ends the program instead of letting new throw.
inline constexpr char kNoOutOfMemoryUnderAddressSanitizer[] =
    "AddressSanitizer cannot run under a limit on address space, nor let new throw bad_alloc";

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_SANITIZERS_H_
