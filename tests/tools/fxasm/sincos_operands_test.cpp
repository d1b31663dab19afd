// The effect tool's handling of sincos's two constant registers: taken out of the text before the
// assembler sees it, put back into the shader-model-2 bytecode after it.
#include <gtest/gtest.h>

#include "tools/fxasm/sincos_operands.h"

namespace {

using fxasm::SincosConstants;

TEST(SincosOperands, TheTextLosesTheConstantsAndKeepsItsLines) {
  const std::string text =
      "ps_2_0\n"
      "    sincos r3.y, r2.x, c6, c7       // s\n"
      "    SINCOS_PP r1.xy, r0.x, c11 , c12\n"
      "    sincos r1.x, r0.x\n"
      "    sincos r1.x, r0.x, r4, c2\n"
      "    mov oC0, r1  // sincos in a comment\n";
  std::vector<SincosConstants> found;
  const std::string split = fxasm::SplitSincosOperands(text, found);
  EXPECT_EQ(split,
            "ps_2_0\n"
            "    sincos r3.y, r2.x // s\n"
            "    SINCOS_PP r1.xy, r0.x\n"
            "    sincos r1.x, r0.x\n"
            "    sincos r1.x, r0.x, r4, c2\n"
            "    mov oC0, r1  // sincos in a comment\n");
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].first, 6);
  EXPECT_EQ(found[0].second, 7);
  EXPECT_EQ(found[1].first, 11);
  EXPECT_EQ(found[1].second, 12);
  EXPECT_EQ(found[2].first, -1);  // no constants named: left to the assembler
  EXPECT_EQ(found[3].first, -1);  // not constant registers: left to the assembler to refuse
}

// ps_2_0: def c6, a comment, sincos r3.y, r2.x (two tokens after the opcode), mov oC0, r3, end.
std::vector<uint32_t> Assembled() {
  return {0xFFFF0200, 0x05000051, 0xA00F0006, 0, 0, 0, 0, 0x0002FFFE, 0x11111111, 0x22222222,
          0x02000025, 0x80020003, 0x80000002, 0x02000001, 0x800F0800, 0x80E40003, 0x0000FFFF};
}

TEST(SincosOperands, TheBytecodeGetsTheConstantsAsTwoMoreSources) {
  std::vector<uint32_t> bytecode = Assembled();
  ASSERT_TRUE(fxasm::InsertSincosOperands(bytecode, {{6, 7}}));
  std::vector<uint32_t> expected = Assembled();
  expected[10] = 0x04000025;
  expected.insert(expected.begin() + 13, {0xA0E40006, 0xA0E40007});
  EXPECT_EQ(bytecode, expected);
}

TEST(SincosOperands, MismatchedOrMalformedBytecodeIsRefusedUnchanged) {
  struct Case {
    const char* what;
    std::vector<uint32_t> bytecode;
    std::vector<SincosConstants> found;
  };
  std::vector<uint32_t> noEnd = Assembled();
  noEnd.pop_back();
  std::vector<uint32_t> cut = Assembled();
  cut.resize(12);
  std::vector<uint32_t> model3 = Assembled();
  model3[0] = 0xFFFF0300;
  const Case cases[] = {
      {"more sincos in the text", Assembled(), {{6, 7}, {8, 9}}},
      {"none in the text", Assembled(), {}},
      {"no end token", noEnd, {{6, 7}}},
      {"cut inside the sincos", cut, {{6, 7}}},
      {"constants in shader model 3", model3, {{6, 7}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint32_t> bytecode = c.bytecode;
    EXPECT_FALSE(fxasm::InsertSincosOperands(bytecode, c.found));
    EXPECT_EQ(bytecode, c.bytecode);
  }
  std::vector<uint32_t> plain = model3;
  EXPECT_TRUE(fxasm::InsertSincosOperands(plain, {SincosConstants{}}));
  EXPECT_EQ(plain, model3);
}

}  // namespace
