// Enumeration, device-kind choice, full-screen step-down and the windowed device, over table
// adapters; the devices that "succeed" are small real ones.
#include <gtest/gtest.h>

#include <cstring>

#include "table_direct3d.h"
#include "test_shell.h"

namespace {

HMONITOR FakeMonitor(int n) { return reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(0x1000 + n)); }

class DeviceChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    shell.m_Direct3DAccess = &table;
    shell.m_DepthBufferWanted = TRUE;
  }
  // One monitor record per handle, in order; a null handle is a detached display.
  void Monitors(std::initializer_list<HMONITOR> handles) {
    for (HMONITOR handle : handles) {
      DS_SaverMonitor& m = shell.m_Monitors[shell.m_MonitorCount++];
      std::memset(&m, 0, sizeof(m));
      m.monitor = handle;
      m.adapterIndex = -1;
    }
  }
  TableAdapter& AddAdapter(HMONITOR monitor, std::vector<D3DDISPLAYMODE> modes) {
    table.adapters.emplace_back();
    table.adapters.back().monitor = monitor;
    table.adapters.back().modes = std::move(modes);
    return table.adapters.back();
  }
  DS_SaverAdapter& A(UINT i) { return *shell.m_Adapters[i]; }

  TableDirect3D table;  // outlives the shell, whose devices it made
  TestShell shell;
};

TEST_F(DeviceChoice, EnumerationListsSortedModesWithBehaviourAndDepth) {
  Monitors({FakeMonitor(1)});
  AddAdapter(FakeMonitor(1), {Mode(1024, 768), Mode(640, 480, D3DFMT_X8R8G8B8, 60), Mode(320, 200),
                              Mode(640, 480, D3DFMT_X8R8G8B8, 75), Mode(800, 600)});
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  ASSERT_EQ(shell.m_AdapterCount, 1u);
  const DS_SaverAdapter& a = A(0);
  EXPECT_EQ(a.monitorIndex, 0);
  EXPECT_EQ(shell.m_Monitors[0].adapterIndex, 0);
  EXPECT_TRUE(a.hasHAL && a.hasUsableHAL);
  EXPECT_FALSE(a.hasSW || a.hasUsableSW);
  ASSERT_EQ(a.deviceCount, 1u);
  const DS_SaverDevice& d = a.devices[0];
  EXPECT_EQ(d.kind, D3DDEVTYPE_HAL);
  EXPECT_STREQ(d.description, L"HAL");
  ASSERT_EQ(d.modeCount, 3u);
  EXPECT_EQ(d.modes[0].width, 640u);
  EXPECT_EQ(d.modes[1].width, 800u);
  EXPECT_EQ(d.modes[2].width, 1024u);
  EXPECT_EQ(d.modes[0].behaviorFlags, DWORD(D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE));
  EXPECT_EQ(d.modes[0].depthStencilFormat, D3DFMT_D16);
  EXPECT_EQ(d.chosenMode, 0u);  // the 640 x 480 mode
  EXPECT_TRUE(d.canDoWindowed && d.windowed);
  EXPECT_EQ(d.multiSampleType, D3DMULTISAMPLE_NONE);
}

TEST_F(DeviceChoice, DeviceKindsAndTheApplicationsCapsRule) {
  struct Case {
    const char* name;
    bool hal, sw, bump, v8u8;
    bool depth;
    UINT devices;
    BOOL usableHAL, usableSW, hasHAL;
  };
  const Case cases[] = {
      {"hal only", true, false, true, true, true, 1, TRUE, FALSE, TRUE},
      {"hal and sw", true, true, true, true, true, 2, TRUE, TRUE, TRUE},
      {"sw only", false, true, true, true, true, 1, FALSE, TRUE, FALSE},
      {"no bump mapping", true, false, false, true, true, 0, FALSE, FALSE, TRUE},
      {"no V8U8", true, true, true, false, true, 0, FALSE, FALSE, TRUE},
      {"no depth format", true, false, true, true, false, 0, FALSE, FALSE, TRUE},
      {"no device kind", false, false, true, true, true, 0, FALSE, FALSE, FALSE},
  };
  for (const Case& c : cases) {
    table.adapters.clear();
    TableAdapter& t = AddAdapter(nullptr, {Mode(640, 480), Mode(800, 600)});
    t.hal = c.hal;
    t.sw = c.sw;
    t.textureOpCaps = c.bump ? D3DTEXOPCAPS_BUMPENVMAP : 0;
    t.v8u8 = c.v8u8;
    if (!c.depth) t.depthFormats.clear();
    ASSERT_EQ(shell.EnumerateDevices(), S_OK) << c.name;
    EXPECT_EQ(A(0).deviceCount, c.devices) << c.name;
    EXPECT_EQ(A(0).hasUsableHAL, c.usableHAL) << c.name;
    EXPECT_EQ(A(0).hasUsableSW, c.usableSW) << c.name;
    EXPECT_EQ(A(0).hasHAL, c.hasHAL) << c.name;
    if (c.devices > 0) {
      EXPECT_EQ(A(0).devices[0].kind, c.usableHAL ? D3DDEVTYPE_HAL : D3DDEVTYPE_SW) << c.name;
    }
  }
}

TEST_F(DeviceChoice, VertexProcessingFallsBackInOrderUntilTheApplicationAccepts) {
  AddAdapter(nullptr, {Mode(640, 480)});
  shell.rejectedBehaviour = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  EXPECT_EQ(A(0).devices[0].modes[0].behaviorFlags, DWORD(D3DCREATE_HARDWARE_VERTEXPROCESSING));
  // The software kind has no transform and light: software vertex processing only.
  table.adapters[0].hal = false;
  table.adapters[0].sw = true;
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  EXPECT_EQ(A(0).devices[0].modes[0].behaviorFlags, DWORD(D3DCREATE_SOFTWARE_VERTEXPROCESSING));
}

TEST_F(DeviceChoice, DepthFormatIsTheFirstTheAdapterMatches) {
  AddAdapter(nullptr, {Mode(640, 480)}).depthFormats = {D3DFMT_D32, D3DFMT_D24S8, D3DFMT_D15S1};
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  D3DFORMAT depth = D3DFMT_UNKNOWN;
  ASSERT_TRUE(shell.ChooseDepthFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, &depth));
  EXPECT_EQ(depth, D3DFMT_D24S8);  // D15S1 has too few depth bits for the minimum 16
  shell.m_MinStencilBits = 1;
  table.adapters[0].depthFormats = {D3DFMT_D16, D3DFMT_D32};
  EXPECT_FALSE(shell.ChooseDepthFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, &depth));
}

TEST_F(DeviceChoice, AnUnknownDesktopFormatListsFullScreenModesButNoWindowedDevice) {
  // Wine's second monitor under Xinerama reports a 0 x 0 desktop of unknown format.
  AddAdapter(nullptr, {Mode(800, 600)}).desktop = Mode(0, 0, D3DFMT_UNKNOWN);
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  ASSERT_EQ(A(0).deviceCount, 1u);
  EXPECT_EQ(A(0).devices[0].modeCount, 1u);
  EXPECT_FALSE(A(0).devices[0].canDoWindowed);
}

TEST_F(DeviceChoice, MonitorsAreClaimedByHandleAndNeverByANullHandle) {
  Monitors({nullptr, FakeMonitor(1), FakeMonitor(2)});
  AddAdapter(nullptr, {Mode(640, 480)});         // no monitor: must not claim the detached record
  AddAdapter(FakeMonitor(2), {Mode(640, 480)});
  AddAdapter(FakeMonitor(7), {Mode(640, 480)});  // a monitor not in the list
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  EXPECT_EQ(A(0).monitorIndex, -1);
  EXPECT_EQ(A(1).monitorIndex, 2);
  EXPECT_EQ(A(2).monitorIndex, -1);
  EXPECT_EQ(shell.m_Monitors[0].adapterIndex, -1);
  EXPECT_EQ(shell.m_Monitors[1].adapterIndex, -1);
  EXPECT_EQ(shell.m_Monitors[2].adapterIndex, 1);
}

TEST_F(DeviceChoice, TablesStayWithinTheirBounds) {
  std::vector<D3DDISPLAYMODE> many;
  for (UINT i = 0; i < 260; ++i) many.push_back(Mode(640 + i, 480));
  for (int i = 0; i < 12; ++i) AddAdapter(nullptr, many);
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  EXPECT_EQ(shell.m_AdapterCount, UINT(kMaxAdapters));
  EXPECT_EQ(A(8).devices[0].modeCount, UINT(kMaxCandidateModes));
}

TEST_F(DeviceChoice, PreferredAdapterSkipsUnclaimedMonitors) {
  Monitors({nullptr, FakeMonitor(1), FakeMonitor(2), FakeMonitor(3)});
  AddAdapter(FakeMonitor(1), {Mode(640, 480)}).hal = false;
  table.adapters[0].sw = true;
  AddAdapter(FakeMonitor(2), {Mode(640, 480)}).textureOpCaps = 0;  // nothing usable
  AddAdapter(FakeMonitor(3), {Mode(640, 480)});
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  EXPECT_EQ(shell.PickPreferredAdapter(), 2);  // the HAL adapter wins over an earlier software one
  table.adapters[2].hal = false;
  table.adapters[2].sw = true;
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  EXPECT_EQ(shell.PickPreferredAdapter(), 2);  // else the last software one
  table.adapters[0].sw = false;
  table.adapters[2].sw = false;
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  EXPECT_EQ(shell.PickPreferredAdapter(), -1);
}

// Full screen ------------------------------------------------------------------------------

std::vector<D3DDISPLAYMODE> DesktopModes() {
  return {Mode(640, 480), Mode(800, 600), Mode(1280, 720), Mode(1366, 768), Mode(1920, 1080)};
}

TEST_F(DeviceChoice, FullScreenStartsAtTheDesktopSizeWithThePresentParameters) {
  Monitors({FakeMonitor(1)});
  AddAdapter(FakeMonitor(1), DesktopModes()).desktop = Mode(1920, 1080);
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  table.createResult = [](const CreateCall&) { return D3D_OK; };
  A(0).deviceWindow = reinterpret_cast<HWND>(0x1234);
  DS_SaverOutput output = {};
  ASSERT_EQ(shell.OpenFullScreenOutput(output), S_OK);
  ASSERT_NE(output.device, nullptr);
  ASSERT_EQ(table.createCalls.size(), 1u);
  const D3DPRESENT_PARAMETERS& pp = output.presentParameters;
  EXPECT_EQ(pp.BackBufferWidth, 1920u);
  EXPECT_EQ(pp.BackBufferHeight, 1080u);
  EXPECT_EQ(pp.BackBufferFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(pp.BackBufferCount, 1u);
  EXPECT_EQ(pp.SwapEffect, D3DSWAPEFFECT_DISCARD);
  EXPECT_EQ(pp.hDeviceWindow, reinterpret_cast<HWND>(0x1234));
  EXPECT_FALSE(pp.Windowed);
  EXPECT_TRUE(pp.EnableAutoDepthStencil);
  EXPECT_EQ(pp.AutoDepthStencilFormat, D3DFMT_D16);
  EXPECT_EQ(pp.PresentationInterval, D3DPRESENT_INTERVAL_ONE);
  EXPECT_EQ(output.deviceType, D3DDEVTYPE_HAL);
  EXPECT_EQ(output.behaviorFlags, DWORD(D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE));
  EXPECT_EQ(output.monitor, 0u);
  output.device->Release();
}

TEST_F(DeviceChoice, SavedModeIsUsedAndAMissingOneFallsBackToTheAutomaticRule) {
  AddAdapter(nullptr, DesktopModes()).desktop = Mode(1366, 768);
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  A(0).savedWidth = 800;
  A(0).savedHeight = 600;
  A(0).savedFormat = D3DFMT_X8R8G8B8;
  DS_SaverOutput output = {};
  shell.OpenFullScreenOutput(output);  // every creation fails; the first try is what counts
  ASSERT_FALSE(table.createCalls.empty());
  EXPECT_EQ(table.createCalls[0].parameters.BackBufferWidth, 800u);
  table.createCalls.clear();
  A(0).savedWidth = 1600;  // no longer offered
  A(0).savedHeight = 1200;
  shell.OpenFullScreenOutput(output);
  ASSERT_FALSE(table.createCalls.empty());
  EXPECT_EQ(table.createCalls[0].parameters.BackBufferWidth, 1366u);
}

TEST_F(DeviceChoice, DisableHardwareTakesTheSoftwareDeviceAtItsLowestMode) {
  TableAdapter& t = AddAdapter(nullptr, {Mode(640, 400), Mode(640, 480), Mode(1024, 768)});
  t.sw = true;
  t.desktop = Mode(1024, 768);
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  A(0).disableHardware = TRUE;
  table.createResult = [](const CreateCall&) { return D3D_OK; };
  DS_SaverOutput output = {};
  ASSERT_EQ(shell.OpenFullScreenOutput(output), S_OK);
  EXPECT_EQ(table.createCalls[0].kind, D3DDEVTYPE_SW);
  EXPECT_EQ(table.createCalls[0].parameters.BackBufferHeight, 480u);  // 640 x 400 is never chosen
  EXPECT_EQ(output.deviceType, D3DDEVTYPE_SW);
  output.device->Release();
  // Without a software device there is no suitable kind.
  table.adapters[0].sw = false;
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  A(0).disableHardware = TRUE;
  DS_SaverOutput none = {};
  EXPECT_EQ(shell.OpenFullScreenOutput(none), kErrNoHardwareDevice);
  DS_SaverOutput missing = {};
  missing.adapter = 5;
  EXPECT_EQ(shell.OpenFullScreenOutput(missing), E_FAIL);
}

TEST_F(DeviceChoice, EveryModeFailingTriesEachOnceAndReturnsTheLastFailure) {
  AddAdapter(nullptr, DesktopModes()).desktop = Mode(1920, 1080);
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  table.createResult = [](const CreateCall& call) {
    return call.parameters.BackBufferWidth == 640 ? D3DERR_OUTOFVIDEOMEMORY : D3DERR_NOTAVAILABLE;
  };
  DS_SaverOutput output = {};
  EXPECT_EQ(shell.OpenFullScreenOutput(output), D3DERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(output.device, nullptr);
  std::vector<UINT> widths;
  for (const CreateCall& c : table.createCalls) widths.push_back(c.parameters.BackBufferWidth);
  EXPECT_EQ(widths, (std::vector<UINT>{1920, 1366, 1280, 800, 640}));
}

TEST_F(DeviceChoice, ARejectedDisplayModeReleasesItsDeviceAndStepsDown) {
  AddAdapter(nullptr, DesktopModes()).desktop = Mode(1920, 1080);
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  table.createResult = [](const CreateCall&) { return D3D_OK; };
  table.keepCreated = true;
  shell.displayModeResult = E_FAIL;
  DS_SaverOutput output = {};
  EXPECT_EQ(shell.OpenFullScreenOutput(output), E_FAIL);
  EXPECT_EQ(output.device, nullptr);
  ASSERT_EQ(table.kept.size(), 5u);  // one device per mode, each refused
  for (IDirect3DDevice9* device : table.kept) EXPECT_EQ(device->Release(), 0u) << "the framework kept a reference";
  table.kept.clear();
}

// The settings written after a step-down, read back from the registry of the current user.
DWORD ReadDword(HKEY key, const wchar_t* name) {
  DWORD value = 0, size = sizeof(value), type = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) return 0xFFFFFFFF;
  return type == REG_DWORD ? value : 0xFFFFFFFE;
}

TEST_F(DeviceChoice, SteppingDownSavesTheWorkingModeUnderTheMonitorsScreenKey) {
  const wchar_t* kKey = L"Software\\VorniquelTests\\Devices\\";
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VorniquelTests");
  lstrcpynW(shell.m_SettingsKeyPath, kKey, 200);
  Monitors({FakeMonitor(1), FakeMonitor(2)});
  AddAdapter(FakeMonitor(1), DesktopModes());
  TableAdapter& second = AddAdapter(FakeMonitor(2), DesktopModes());
  second.desktop = Mode(1920, 1080);
  second.id = GUID{0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  table.createResult = [](const CreateCall& call) {
    return call.parameters.BackBufferWidth * call.parameters.BackBufferHeight >= 1366u * 768u ? D3DERR_NOTAVAILABLE
                                                                                                : D3D_OK;
  };
  DS_SaverOutput output = {};
  output.adapter = 1;
  ASSERT_EQ(shell.OpenFullScreenOutput(output), S_OK);
  EXPECT_EQ(output.presentParameters.BackBufferWidth, 1280u);
  EXPECT_EQ(A(1).savedWidth, 1280u);
  EXPECT_EQ(A(1).savedHeight, 720u);
  EXPECT_EQ(A(1).savedFormat, UINT(D3DFMT_X8R8G8B8));
  output.device->Release();

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VorniquelTests\\Devices\\Screen 2", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(ReadDword(key, L"Width"), 1280u);
  EXPECT_EQ(ReadDword(key, L"Height"), 720u);
  EXPECT_EQ(ReadDword(key, L"Format"), DWORD(D3DFMT_X8R8G8B8));
  GUID stored = {};
  DWORD size = sizeof(stored), type = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"Adapter ID", nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD(REG_BINARY));
  EXPECT_EQ(size, 16u);
  EXPECT_EQ(std::memcmp(&stored, &second.id, 16), 0);
  RegCloseKey(key);
  HKEY first = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VorniquelTests\\Devices\\Screen 1", 0, KEY_READ, &first),
            ERROR_SUCCESS);

  // A device made at the first try writes nothing; neither does a step-down without a key path.
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VorniquelTests");
  shell.m_SettingsKeyPath[0] = 0;
  DS_SaverOutput again = {};
  again.adapter = 1;
  ASSERT_EQ(shell.OpenFullScreenOutput(again), S_OK);  // starts at the saved 1280 x 720
  again.device->Release();
  A(1).savedWidth = 0;
  DS_SaverOutput stepped = {};
  stepped.adapter = 1;
  ASSERT_EQ(shell.OpenFullScreenOutput(stepped), S_OK);
  stepped.device->Release();
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VorniquelTests", 0, KEY_READ, &first), ERROR_SUCCESS);
}

// Windowed ---------------------------------------------------------------------------------

TEST_F(DeviceChoice, WindowedBackBufferFormatsAreTriedInOrder) {
  TableAdapter& t = AddAdapter(nullptr, {Mode(640, 480)});
  t.windowedFormats = {D3DFMT_A1R5G5B5, D3DFMT_R5G6B5};
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  table.windowedChecks.clear();
  table.createResult = [](const CreateCall&) { return D3D_OK; };
  A(0).deviceWindow = reinterpret_cast<HWND>(0x99);
  DS_SaverOutput output = {};
  ASSERT_EQ(shell.OpenWindowedOutput(output), S_OK);
  EXPECT_EQ(table.windowedChecks,
            (std::vector<D3DFORMAT>{D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A1R5G5B5}));
  const D3DPRESENT_PARAMETERS& pp = output.presentParameters;
  EXPECT_EQ(pp.BackBufferFormat, D3DFMT_A1R5G5B5);
  EXPECT_EQ(pp.BackBufferWidth, 0u);
  EXPECT_EQ(pp.BackBufferHeight, 0u);
  EXPECT_EQ(pp.SwapEffect, D3DSWAPEFFECT_COPY);
  EXPECT_TRUE(pp.Windowed);
  EXPECT_EQ(pp.hDeviceWindow, reinterpret_cast<HWND>(0x99));
  EXPECT_EQ(pp.PresentationInterval, D3DPRESENT_INTERVAL_DEFAULT);
  EXPECT_EQ(pp.AutoDepthStencilFormat, D3DFMT_D16);
  output.device->Release();

  table.adapters[0].windowedFormats.clear();
  DS_SaverOutput none = {};
  EXPECT_EQ(shell.OpenWindowedOutput(none), E_FAIL);
}

TEST_F(DeviceChoice, WindowedDeviceKindFollowsDisableHardware) {
  AddAdapter(nullptr, {Mode(640, 480)}).sw = true;
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  table.createResult = [](const CreateCall&) { return D3D_OK; };
  A(0).disableHardware = TRUE;
  DS_SaverOutput output = {};
  ASSERT_EQ(shell.OpenWindowedOutput(output), S_OK);
  EXPECT_EQ(output.deviceType, D3DDEVTYPE_SW);
  EXPECT_EQ(A(0).chosenDevice, 1u);
  output.device->Release();
  // A desktop format no kind accepts leaves no windowed device.
  table.adapters[0].desktop = Mode(0, 0, D3DFMT_UNKNOWN);
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  DS_SaverOutput none = {};
  EXPECT_EQ(shell.OpenWindowedOutput(none), kErrNoHardwareDevice);
}

}  // namespace
