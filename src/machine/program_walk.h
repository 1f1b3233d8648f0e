#pragma once

// Walking a program store instruction by instruction: each code word with
// the operand word that follows it when it takes one. The one place that
// knows how many words an instruction takes, for every reader of compiled
// code (the disassembler, the input analysis, the preparation of steps,
// zelvo check).
#include <cstdint>

#include "machine/machine_state.h"
#include "machine/opcodes.h"

namespace zelvo::machine {

// One instruction as the walk finds it.
struct Instruction {
  uint32_t address = 0;  // of the code word
  uint32_t code = 0;     // the code word; >= kOperatorCount: not an instruction
  uint32_t operand = 0;  // the operand word, when words is 2
  uint32_t words = 1;    // 2 for an instruction and its operand, else 1

  bool is_instruction() const { return code < kOperatorCount; }
  // REQUIRES: is_instruction().
  Op op() const { return static_cast<Op>(code); }
  // An instruction that takes an operand whose word lies at or past the end.
  bool operand_missing() const { return is_instruction() && has_operand(op()) && words == 1; }
};

// The instruction at `address` of a walk that ends before `end`. A word that
// is not an instruction takes one word and the walk goes on after it.
// REQUIRES: address < end <= kProgramSize.
inline Instruction instruction_at(const MachineState& state, uint32_t address, uint32_t end) {
  Instruction instruction;
  instruction.address = address;
  instruction.code = state.program[address];
  if (instruction.is_instruction() && has_operand(instruction.op()) && address + 1 < end) {
    instruction.operand = state.program[address + 1];
    instruction.words = 2;
  }
  return instruction;
}

// The instructions from `start` up to, not including, `end` (at most
// kProgramSize), in order:
//   for (const Instruction& instruction : ProgramWalk(state, start, end)) ...
// The store must not change during the walk.
class ProgramWalk {
 public:
  ProgramWalk(const MachineState& state, uint32_t start, uint32_t end)
      : state_(state), start_(start), end_(end < kProgramSize ? end : kProgramSize) {}

  class Iterator {
   public:
    Iterator(const MachineState& state, uint32_t address, uint32_t end)
        : state_(&state), end_(end) {
      if (address < end_) current_ = instruction_at(state, address, end_);
      else current_.address = end_;
    }
    const Instruction& operator*() const { return current_; }
    const Instruction* operator->() const { return &current_; }
    Iterator& operator++() {
      const uint32_t next = current_.address + current_.words;
      if (next < end_) current_ = instruction_at(*state_, next, end_);
      else current_ = Instruction{end_, 0, 0, 1};
      return *this;
    }
    bool operator==(const Iterator& other) const { return current_.address == other.current_.address; }

   private:
    const MachineState* state_;
    uint32_t end_;
    Instruction current_;
  };

  Iterator begin() const { return Iterator(state_, start_ < end_ ? start_ : end_, end_); }
  Iterator end() const { return Iterator(state_, end_, end_); }

 private:
  const MachineState& state_;
  uint32_t start_;
  uint32_t end_;
};

}  // namespace zelvo::machine
