#include "saver/run_mode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SwitchCase {
  const char16_t* commandLine;
  DS_RunMode mode;
  std::uintptr_t parent;
};

class RunModeTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(RunModeTest, ReadsModeAndParent) {
  const SwitchCase& c = GetParam();
  const DS_CommandLineSwitch s = ReadRunMode(c.commandLine);
  EXPECT_EQ(s.mode, c.mode) << std::u16string(c.commandLine).size();
  EXPECT_EQ(s.parentWindow, c.parent);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, RunModeTest,
    ::testing::Values(
        SwitchCase{u"", RunMode_Configure, 0},
        SwitchCase{u"vorniquel.scr", RunMode_Configure, 0},
        SwitchCase{u"vorniquel.scr   ", RunMode_Configure, 0},
        SwitchCase{u"vorniquel.scr /c", RunMode_Configure, 0},
        SwitchCase{u"vorniquel.scr /c:1234", RunMode_Configure, 1234},
        SwitchCase{u"vorniquel.scr /c 1234", RunMode_Configure, 1234},
        SwitchCase{u"vorniquel.scr /C:77", RunMode_Configure, 77},
        SwitchCase{u"vorniquel.scr /p 65802", RunMode_Preview, 65802},
        SwitchCase{u"vorniquel.scr /p", RunMode_Preview, 0},
        SwitchCase{u"vorniquel.scr /P:12", RunMode_Preview, 12},
        SwitchCase{u"vorniquel.scr /a 1234", RunMode_ChangePassword, 1234},
        SwitchCase{u"vorniquel.scr /a", RunMode_ChangePassword, 0},
        SwitchCase{u"vorniquel.scr /s", RunMode_FullScreen, 0},
        SwitchCase{u"vorniquel.scr -S", RunMode_FullScreen, 0},
        SwitchCase{u"vorniquel.scr /x", RunMode_FullScreen, 0},
        SwitchCase{u"vorniquel.scr /", RunMode_FullScreen, 0},
        SwitchCase{u"vorniquel.scr /s 1234", RunMode_FullScreen, 0},
        SwitchCase{u"vorniquel.scr /t", RunMode_TestWindow, 0},
        SwitchCase{u"vorniquel.scr /T", RunMode_TestWindow, 0},
        SwitchCase{u"vorniquel.scr /r", RunMode_Nothing, 0},
        // The switch may follow other words; the first '/' or '-' counts.
        SwitchCase{u"vorniquel.scr foo /t", RunMode_TestWindow, 0},
        // A quoted program name is skipped whole, '-' and '/' included.
        SwitchCase{u"\"C:\\my-saver/v.scr\" /t", RunMode_TestWindow, 0},
        SwitchCase{u"\"C:\\my-saver/v.scr\"", RunMode_Configure, 0},
        SwitchCase{u"\"C:\\Program Files\\v.scr\" /p 99", RunMode_Preview, 99},
        // An unquoted name is skipped only up to its first blank.
        SwitchCase{u"C:\\my-saver\\v.scr", RunMode_Configure, 0},
        SwitchCase{u"C:\\Program Files\\my-saver\\v.scr", RunMode_FullScreen, 0},
        // An unterminated quote ends at the terminator and is never read past.
        SwitchCase{u"\"C:\\s.scr", RunMode_Configure, 0},
        SwitchCase{u"\"", RunMode_Configure, 0}));

TEST(RunModeTest, NullLineIsConfigure) {
  const DS_CommandLineSwitch s = ReadRunMode(nullptr);
  EXPECT_EQ(s.mode, RunMode_Configure);
  EXPECT_EQ(s.parentWindow, 0u);
}

}  // namespace
