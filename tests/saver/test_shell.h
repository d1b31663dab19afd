// A framework object for tests: the protected steps made callable, hooks that log their calls in
// order, and the application's device-caps rule (bump-environment mapping and V8U8 textures).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/render/device_globals.h"
#include "saver/saver_shell.h"

class TestShell : public CSaverShell {
 public:
  using CSaverShell::ChooseDepthFormat;
  using CSaverShell::CloseOutputs;
  using CSaverShell::DeleteAdapterRecords;
  using CSaverShell::EnumerateDevices;
  using CSaverShell::MainLoop;
  using CSaverShell::MakeOutputCurrent;
  using CSaverShell::OpenFullScreenOutput;
  using CSaverShell::OpenOutputs;
  using CSaverShell::OpenWindowedOutput;
  using CSaverShell::PickPreferredAdapter;
  using CSaverShell::Quit;
  using CSaverShell::RenderOutputs;
  using CSaverShell::StepDownDisplayMode;

  ~TestShell() {
    CloseOutputs();
    DeleteAdapterRecords();
    g_Device = nullptr;
  }

  std::vector<std::string> log;
  std::vector<DWORD> acceptedBehaviours;  // every AcceptDeviceCaps question, in order
  DWORD rejectedBehaviour = 0;            // AcceptDeviceCaps refuses this exact behaviour
  HRESULT startupResult = 0;
  HRESULT createdResult = 0;
  HRESULT resetResult = 0;
  HRESULT displayModeResult = 0;
  UINT current = 0;
  std::function<void(UINT output)> draw;
  // Scripted device tests: when set, they replace the device's own answers.
  std::function<HRESULT(UINT output)> testDevice;
  std::function<HRESULT(UINT output)> resetDevice;

  void SelectOutput(UINT index) override {
    current = index;
    g_Device = m_Device;
  }
  HRESULT AcceptDeviceCaps(const D3DCAPS9* caps, DWORD behaviour, D3DFORMAT adapterFormat) override {
    acceptedBehaviours.push_back(behaviour);
    if (behaviour == rejectedBehaviour) return E_FAIL;
    if (!(caps->TextureOpCaps & D3DTEXOPCAPS_BUMPENVMAP)) return E_FAIL;
    return Direct3D().CheckDeviceFormat(caps->AdapterOrdinal, caps->DeviceType, adapterFormat, 0, D3DRTYPE_TEXTURE,
                                        D3DFMT_V8U8);
  }
  HRESULT AcceptDisplayMode(IDirect3DDevice9*) override { return displayModeResult; }
  HRESULT OnStartup() override { return Log("startup", startupResult); }
  HRESULT OnDeviceCreated() override { return Log("created" + Index(), createdResult); }
  HRESULT OnDeviceReset() override { return Log("devicereset" + Index(), resetResult); }
  HRESULT DrawFrame() override {
    log.push_back("draw" + Index());
    if (draw) draw(current);
    return 0;
  }
  HRESULT OnDeviceLost() override { return Log("lost" + Index(), 0); }
  HRESULT OnDeviceDestroyed() override { return Log("destroyed" + Index(), 0); }
  HRESULT OnShutdown() override { return Log("shutdown", 0); }

  HRESULT TestOutputDevice(DS_SaverOutput& output) override {
    log.push_back("test" + Index());
    return testDevice ? testDevice(current) : CSaverShell::TestOutputDevice(output);
  }
  HRESULT ResetOutputDevice(DS_SaverOutput& output) override {
    log.push_back("reset" + Index());
    return resetDevice ? resetDevice(current) : CSaverShell::ResetOutputDevice(output);
  }
  HRESULT PresentOutputDevice(DS_SaverOutput& output) override {
    log.push_back("present" + Index());
    return CSaverShell::PresentOutputDevice(output);
  }

  std::string Index() const { return std::to_string(current); }

 private:
  HRESULT Log(const std::string& what, HRESULT result) {
    log.push_back(what);
    return result;
  }
};
