// Any byte string gives a loaded part program or a PartProgramError with a
// message, never a crash or another exception.
#include "vormesa-sim/part_program.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto program = vormesa_sim::parse_part_program(text, "fuzz.json");
        (void)program.commands.size();
    } catch (const vormesa_sim::PartProgramError& error) {
        if (error.problem().empty())
            __builtin_trap();
    }
    return 0;
}
