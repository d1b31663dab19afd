// sincos in shader model 2 takes two constant registers besides its angle (the series constants,
// "sincos dst, src, c<a>, c<b>"), but the assembler the tool runs on takes only the angle and
// writes the instruction without them, which the runtime then reads into the next instruction.
// The tool therefore takes the two registers out of the text before assembling and puts them back
// into the bytecode after it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fxasm {

// The constant registers of one sincos of the text, in order; none (-1) where it named none.
struct SincosConstants {
  int first = -1;
  int second = -1;
};

// The text with every "sincos dst, src, c<a>, c<b>" cut to "sincos dst, src" (lines and their
// comments kept), and one entry per sincos in `found`. A sincos with three or more than four
// operands, or whose last two are not plain constant registers, is left for the assembler to
// refuse.
std::string SplitSincosOperands(const std::string& text, std::vector<SincosConstants>& found);

// Gives every sincos of shader-model-2 bytecode the constant registers the text named, in order
// (an instruction of two tokens grows to four). False, with the bytecode unchanged, when the
// sincos instructions do not match `found` or the bytecode is malformed.
bool InsertSincosOperands(std::vector<uint32_t>& bytecode, const std::vector<SincosConstants>& found);

}  // namespace fxasm
