#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz/Targets.h"

// One libFuzzer program per target; FINPLAN_FUZZ_TARGET names it as the folders do.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const finplan::fuzz::TargetFunction function = [] {
        for (const finplan::fuzz::Target& target : finplan::fuzz::targets())
            if (std::string_view(target.name) == FINPLAN_FUZZ_TARGET)
                return target.function;
        std::fprintf(stderr, "no fuzz target named %s\n", FINPLAN_FUZZ_TARGET);
        std::abort();
    }();
    return function(data, size);
}
