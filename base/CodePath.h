#pragma once
// The code paths of the hot loops (the generator's random draws, its acceptance chain and the history
// search). The package is built for the plain x86-64 baseline, so population counts and vector
// instructions are chosen when the program runs: the fastest path the processor offers is the default,
// and every path gives the same results (the tests compare them on the same data).
//
// Reference is the plain way kept to check the others against: one random draw after another and
// every draw of the history looked at in turn.
#include <vector>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
// Functions with this attribute may use AVX2, BMI1/2 and POPCNT; they run only on the Avx2 path.
#define ZF_X86_DISPATCH 1
#define ZF_TARGET_AVX2 __attribute__((target("avx2,bmi,bmi2,popcnt")))
#else
#define ZF_X86_DISPATCH 0
#endif

namespace zf {

enum class CodePath {
    Reference, // one draw after another, portable
    Generic,   // draws made ahead in blocks, history columns in 64-bit words; portable
    Avx2,      // the same with 256-bit vectors, POPCNT and PDEP (x86-64 processors since about 2013)
};

// Whether this processor (and its operating system) can run the path.
bool codePathAvailable(CodePath path);
// The fastest path available: Avx2 where it runs, Generic elsewhere.
CodePath fastestCodePath();
// The paths that run here, slowest first.
std::vector<CodePath> availableCodePaths();
const char* codePathName(CodePath path);

// The number of set bits without the POPCNT instruction: a library call otherwise on the x86-64
// baseline. Functions of the Avx2 path use __builtin_popcountll, which is then the instruction.
inline int popcount64(unsigned long long x) {
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

} // namespace zf
