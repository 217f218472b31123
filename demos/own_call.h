// A function marked OWN_CALL stays a call of its own, never inlined into its
// caller. The demonstrations' hot loops run in such a function once per
// window or row: V8 runs a WebAssembly function's optimized code only from
// its next call on, so a loop that went through a whole listing inside one
// call would never leave the baseline code. Natively it costs one call per
// window.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define OWN_CALL __attribute__((noinline))
#elif defined(_MSC_VER)
#define OWN_CALL __declspec(noinline)
#else
#define OWN_CALL
#endif
