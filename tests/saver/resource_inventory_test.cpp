// The resources of the built saver, read from the .scr files as data (the 32-bit product and
// the 64-bit test build): the icon, every string with its exact text, and its "DDS" resources.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> g_SaverFiles;

struct StringCase {
  UINT id;
  const wchar_t* text;
};

const StringCase kStrings[] = {
    {1000, L"Vorniquel"},
    {2100, L"There was an unspecified problem with this screen saver."},
    {2101, L"Direct3D 8.0 could not be initialized.  Please install the latest version of DirectX."},
    {2102, L"Could not initialize the screen saver."},
    {2103, L"Could not create the Direct3D device."},
    {2104, L"Could not find any compatible Direct3D devices."},
    {2105, L"No hardware-accelerated Direct3D devices were found."},
    {2106, L"This screen saver requires functionality that is not available on your Direct3D hardware accelerator."},
    {2107, L"This screen saver requires functionality that is not available on your Direct3D hardware accelerator with the current desktop display settings."},
    {2108, L"Could not load required media."},
    {2109, L"Could not reset the Direct3D device."},
    {2110, L"Not enough memory."},
    {2111, L"Not enough video memory."},
    {2112, L"No preview available"},
    {2200, L"This video adapter supports hardware 3D rendering.  This screen saver can be displayed on this monitor."},
    {2201, L"This video adapter supports hardware 3D rendering, but this screensaver requires functionality not available in hardware.  A software renderer will be used instead.  This screen saver can be displayed on this monitor."},
    {2202, L"This video adapter supports hardware 3D rendering, but this screensaver requires functionality not available in hardware or software.  This screen saver cannot be displayed on this monitor."},
    {2203, L"This video adapter supports hardware 3D rendering, but this screensaver requires functionality not available in hardware.  No software renderer is available.  This screen saver cannot be displayed on this monitor."},
    {2204, L"This video adapter does not support hardware 3D rendering.  A software renderer will be used instead.  This screen saver can be displayed on this monitor."},
    {2205, L"This video adapter does not support hardware 3D rendering.  This screensaver requires functionality not available in the software renderer.  This screen saver cannot be displayed on this monitor."},
    {2206, L"This video adapter does not support hardware 3D rendering.  No software renderer is available.  This screen saver cannot be displayed on this monitor."},
    {2207, L"The video adapter supports hardware 3D rendering, but it has been disabled.  A software renderer will be used instead.  This screen saver can be displayed on this monitor."},
    {2208, L"This video adapter supports hardware 3D rendering, but it has been disabled.  This screensaver requires functionality not available in the software renderer.  This screen saver cannot be displayed on this monitor."},
    {2209, L"This video adapter supports hardware 3D rendering, but it has been disabled.  No software renderer is available.  This screen saver cannot be displayed on this monitor."},
    {2210, L"The screen saver can use hardware 3D rendering on this monitor."},
    {2211, L"The screen saver can use software 3D rendering on this monitor."},
    {2212, L"The screen saver cannot be displayed on this monitor."},
};

class SaverResources : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ASSERT_LT(static_cast<size_t>(GetParam()), g_SaverFiles.size());
    path_ = g_SaverFiles[GetParam()];
    module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr) << "cannot read " << std::string(path_.begin(), path_.end());
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  std::wstring path_;
  HMODULE module_ = nullptr;
};

TEST_P(SaverResources, EveryStringHasItsExactText) {
  for (const StringCase& c : kStrings) {
    wchar_t text[600] = L"";
    const int length = LoadStringW(module_, c.id, text, 600);
    EXPECT_EQ(std::wstring(text), std::wstring(c.text)) << c.id;
    EXPECT_EQ(length, static_cast<int>(wcslen(c.text))) << c.id;
  }
  // No message outside the table (the unspecified-problem text covers every other code).
  wchar_t text[100] = L"";
  EXPECT_EQ(LoadStringW(module_, 2113, text, 100), 0);
}

TEST_P(SaverResources, HasTheWindowIcon) {
  HRSRC icon = FindResourceW(module_, MAKEINTRESOURCEW(101), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(icon, nullptr);
  EXPECT_GT(SizeofResource(module_, icon), 6u);
}

BOOL CALLBACK CollectId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids) {
  // Named (string) resources count as id -1.
  reinterpret_cast<std::vector<int>*>(ids)->push_back(IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<ULONG_PTR>(name)) : -1);
  return TRUE;
}

// The program's "DDS" resources are exactly the wave heights, the loading picture and the scene
// document: the ids 0, 54 to 57 and 61 must find nothing, and since meshes, containers, effects
// and sounds are looked up here when common_res.dll is missing, the program holds nothing else
// under a library id, and no RT_RCDATA at all.
TEST_P(SaverResources, HoldsOnlyItsOwnPicturesAndDocument) {
  std::vector<int> dds;
  EnumResourceNamesW(module_, L"DDS", CollectId, reinterpret_cast<LONG_PTR>(&dds));
  std::sort(dds.begin(), dds.end());
  EXPECT_EQ(dds, (std::vector<int>{2, 5, 107}));
  std::vector<int> rcdata;
  EnumResourceNamesW(module_, MAKEINTRESOURCEW(10), CollectId, reinterpret_cast<LONG_PTR>(&rcdata));  // RT_RCDATA
  EXPECT_TRUE(rcdata.empty()) << rcdata.size() << " RT_RCDATA resources";
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, SaverResources, ::testing::Values(0, 1));

}  // namespace

// Arguments after GoogleTest's own: the .scr files to inspect (Windows paths).
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string path = argv[i];
    g_SaverFiles.emplace_back(path.begin(), path.end());
  }
  return RUN_ALL_TESTS();
}
