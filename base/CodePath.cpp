#include "base/CodePath.h"

namespace zf {

bool codePathAvailable(CodePath path) {
    switch (path) {
    case CodePath::Reference:
    case CodePath::Generic:
        return true;
    case CodePath::Avx2:
#if ZF_X86_DISPATCH
    {
        // __builtin_cpu_supports("avx2") also asks whether the system saves the 256-bit registers.
        static const bool avx2 = [] {
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
                   __builtin_cpu_supports("popcnt");
        }();
        return avx2;
    }
#else
        return false;
#endif
    }
    return false;
}

CodePath fastestCodePath() {
    static const CodePath fastest = codePathAvailable(CodePath::Avx2) ? CodePath::Avx2 : CodePath::Generic;
    return fastest;
}

std::vector<CodePath> availableCodePaths() {
    std::vector<CodePath> paths;
    for (CodePath p : {CodePath::Reference, CodePath::Generic, CodePath::Avx2})
        if (codePathAvailable(p)) paths.push_back(p);
    return paths;
}

const char* codePathName(CodePath path) {
    switch (path) {
    case CodePath::Reference:
        return "reference";
    case CodePath::Generic:
        return "generic";
    case CodePath::Avx2:
        return "avx2";
    }
    return "?";
}

} // namespace zf
