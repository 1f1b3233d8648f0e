#pragma once

// A readable listing of compiled code, for tests and debugging: one line
// per instruction, "address name [operand] [(constant)]", e.g.
// "1 pushc 0 (2)", "3 pop 0", "5 fcode".
#include <cstdint>
#include <string>
#include <vector>

#include "machine/machine_state.h"

namespace zelvo::machine {

// The instructions from `start` up to, not including, `end`.
std::vector<std::string> disassemble(const MachineState& state, uint32_t start, uint32_t end);

// The whole program store up to the program length, as one text of lines.
std::string disassemble_all(const MachineState& state);

}  // namespace zelvo::machine
