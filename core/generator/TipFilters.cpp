#include "core/generator/TipFilters.h"

#include "core/stats/Statistics.h"

namespace zf {

bool hasPair(const uint8_t* tipp, int n) {
    for (int i = 1; i < n; ++i)
        if (tipp[i] + 1 == tipp[i + 1]) return true;
    return false;
}

bool hasTriple(const uint8_t* tipp, int n) {
    for (int i = 1; i + 2 <= n; ++i)
        if (tipp[i] + 1 == tipp[i + 1] && tipp[i + 1] + 1 == tipp[i + 2]) return true;
    return false;
}

int countEven(const uint8_t* tipp, int n) {
    int c = 0;
    for (int i = 1; i <= n; ++i) c += tipp[i] % 2 == 0;
    return c;
}

int countOdd(const uint8_t* tipp, int n) {
    int c = 0;
    for (int i = 1; i <= n; ++i) c += tipp[i] % 2 == 1;
    return c;
}

bool sameTen(const uint8_t* tipp, int n) {
    if (n < 1) return false;
    int a = tipp[1] / 10;
    for (int i = 2; i <= n; ++i) {
        if (tipp[i] / 10 == a) return true;
        a = tipp[i] / 10;
    }
    return false;
}

int countPrimes(const uint8_t* tipp, int count) {
    int c = 0;
    for (int i = 1; i <= count; ++i) c += stats::inPrimeSet(tipp[i]);
    return c;
}

int scaledCrossSum(int sum, int n) {
    if (sum == 0 || n <= 0) return 0;
    // 20 * sum / n exactly, rounded halves to even
    const long long num = 20LL * sum;
    long long q = num / n;
    const long long r2 = 2 * (num % n);
    if (r2 > n || (r2 == n && (q & 1))) ++q;
    return static_cast<int>(q);
}

int recentWindowWeeks(int draws) {
    if (draws <= 0) return 0;
    int q = draws / 6;
    const int r = draws % 6;
    if (r > 3 || (r == 3 && (q & 1))) ++q;
    return q;
}

} // namespace zf
