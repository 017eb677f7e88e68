// One libFuzzer target: runs a check of checks.h on every input and stops at the first fault.

#include "fuzz/checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString problem = pagewick::fuzz::PAGEWICK_FUZZ_CHECK(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "pagewick fuzz check failed: %s\n", problem.toUtf8().constData());
        std::abort();
    }
    return 0;
}
