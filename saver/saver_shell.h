// The screen-saver framework: run modes, saver windows, monitors, adapters and their devices,
// outputs, the main loop with its frame clock, device loss and reset, the error state and its
// display, and the password change. The application derives from it and fills the hooks.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "saver/direct3d_access.h"
#include "saver/run_mode.h"

constexpr int kMaxMonitors = 9;
constexpr int kMaxOutputs = 9;
constexpr int kMaxAdapters = 9;
constexpr int kMaxDeviceKinds = 3;
constexpr int kMaxDisplayModes = 150;
constexpr int kMaxCandidateModes = 100;

// Error codes of the framework and the application; shown through the string table.
constexpr HRESULT kErrNoDirect3D = static_cast<HRESULT>(0x82000001);
constexpr HRESULT kErrNoCompatibleDevices = static_cast<HRESULT>(0x82000003);
constexpr HRESULT kErrNoHardwareDevice = static_cast<HRESULT>(0x82000005);
constexpr HRESULT kErrDeviceLacksFeatures = static_cast<HRESULT>(0x82000006);
constexpr HRESULT kErrInitFailed = static_cast<HRESULT>(0x82000007);
constexpr HRESULT kErrDesktopModeLacksFeatures = static_cast<HRESULT>(0x82000009);
constexpr HRESULT kErrMediaNotFound = static_cast<HRESULT>(0x8200000B);
constexpr HRESULT kErrResetFailed = static_cast<HRESULT>(0x8200000C);
constexpr HRESULT kErrDeviceHookFailed = static_cast<HRESULT>(0x8200000D);
constexpr HRESULT kErrCreateDeviceFailed = static_cast<HRESULT>(0x8200000E);
constexpr HRESULT kErrNoPreview = static_cast<HRESULT>(0x8200000F);

// One display device of the desktop.
struct DS_SaverMonitor {
  WCHAR adapterDeviceString[128];
  WCHAR monitorDeviceString[128];
  HMONITOR monitor;   // null when the device is not attached to the desktop
  RECT screenRect;
  int adapterIndex;   // -1 until an adapter claims the monitor
  HWND saverWindow;
  // The drifting error box of this monitor, in client pixels and pixels per second.
  float errorBoxX, errorBoxY, errorBoxWidth, errorBoxHeight, errorBoxSpeedX, errorBoxSpeedY;
};

struct DS_SaverDisplayMode {
  UINT width;
  UINT height;
  D3DFORMAT format;
  DWORD behaviorFlags;
  D3DFORMAT depthStencilFormat;  // 0 when no depth buffer is wanted
};

// One device kind (HAL or software) of one adapter.
struct DS_SaverDevice {
  D3DDEVTYPE kind;
  D3DCAPS9 caps;
  WCHAR description[40];  // "HAL" or "SW"
  BOOL canDoWindowed;
  BOOL windowed;
  UINT modeCount;
  DS_SaverDisplayMode modes[kMaxDisplayModes];
  UINT chosenMode;
  D3DMULTISAMPLE_TYPE multiSampleType;
};

// One Direct3D adapter with its device kinds and the per-monitor settings that apply to it.
struct DS_SaverAdapter {
  int monitorIndex;  // -1 when no monitor of the framework's list is this adapter's
  D3DADAPTER_IDENTIFIER9 identifier;
  D3DDISPLAYMODE desktopMode;
  UINT deviceCount;
  DS_SaverDevice devices[kMaxDeviceKinds];
  BOOL hasHAL, hasUsableHAL, hasSW, hasUsableSW;
  UINT savedWidth, savedHeight, savedFormat;  // 0 = automatic
  BOOL leaveBlack;
  BOOL disableHardware;
  UINT chosenDevice;
  HWND deviceWindow;
};

// One drawing surface with its own device.
struct DS_SaverOutput {
  UINT adapter;
  UINT monitor;
  D3DDEVTYPE deviceType;
  DWORD behaviorFlags;
  IDirect3DDevice9* device;  // owned
  D3DPRESENT_PARAMETERS presentParameters;
  BOOL deviceObjectsCreated;  // OnDeviceCreated succeeded, OnDeviceDestroyed still due
  BOOL deviceObjectsReset;    // OnDeviceReset succeeded, OnDeviceLost still due
  WCHAR deviceText[90];
  WCHAR frameText[40];
};

class CSaverShell {
 public:
  CSaverShell();
  CSaverShell(const CSaverShell&) = delete;
  CSaverShell& operator=(const CSaverShell&) = delete;

  virtual HRESULT Prepare(HINSTANCE instance);
  virtual HRESULT Execute();
  virtual void ShowConfiguration() {}
  virtual void LoadSettings() {}
  virtual void PaintWindow(HWND window, HDC dc);
  virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  virtual INT_PTR HandleDialogMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }
  virtual void DescribeDevice();
  virtual void MeasureFrameRate();
  virtual bool ErrorMessageText(HRESULT code, WCHAR* text, int capacity);
  virtual void SelectOutput(UINT) {}
  virtual HRESULT AddSoftwareRasterizer() { return 0; }
  virtual HRESULT AcceptDeviceCaps(const D3DCAPS9*, DWORD /*behaviorFlags*/, D3DFORMAT) { return 0; }
  virtual HRESULT AcceptDisplayMode(IDirect3DDevice9*) { return 0; }
  virtual HRESULT OnStartup() { return 0; }
  virtual HRESULT OnDeviceCreated() { return 0; }
  virtual HRESULT OnDeviceReset() { return 0; }
  virtual HRESULT OnDeviceLost() { return 0; }
  virtual HRESULT OnDeviceDestroyed() { return 0; }
  virtual HRESULT DrawFrame() { return 0; }
  virtual HRESULT OnShutdown() { return 0; }
  virtual void OnMusicEvent(long) {}

 protected:
  // Error state: once set it stays for the rest of the run.
  void SetError(HRESULT code);
  HRESULT ShowErrorMessage(HRESULT code);
  void MoveErrorBox();

  // Monitors and windows.
  void FindMonitors();
  HRESULT OpenSaverWindows();
  void HandleUserActivity();

  // Adapters, devices and display modes.
  HRESULT EnumerateDevices();
  int PickPreferredAdapter() const;
  HRESULT OpenFullScreenOutput(DS_SaverOutput& output);
  HRESULT OpenWindowedOutput(DS_SaverOutput& output);
  bool ChooseDepthFormat(UINT adapter, D3DDEVTYPE kind, D3DFORMAT format, D3DFORMAT* depthFormat) const;
  bool StepDownDisplayMode(DS_SaverDevice& device) const;
  // The Direct3D calls of the enumeration and the device choice (a table in tests).
  DS_Direct3DAccess& Direct3D() const;
  // The first vertex processing the device kind offers that AcceptDeviceCaps confirms for `format`.
  bool ChooseVertexProcessing(const D3DCAPS9& caps, D3DFORMAT format, DWORD* behaviorFlags);
  void DeleteAdapterRecords();

  // Outputs and the main loop.
  HRESULT MainLoop();
  HRESULT OpenOutputs();
  void MakeOutputCurrent(UINT index);
  HRESULT RenderOutputs();
  void CloseOutputs();
  void Quit();
  // One output's device calls in a frame; tests override them to reach loss and reset paths that
  // a windowed device under test never takes.
  virtual HRESULT TestOutputDevice(DS_SaverOutput& output);
  virtual HRESULT ResetOutputDevice(DS_SaverOutput& output);
  virtual HRESULT PresentOutputDevice(DS_SaverOutput& output);

  void RunPasswordChange();

  // Start-up helpers of Prepare and Execute.
  bool HasSaverWindowMode() const;  // preview, full screen or test window
  bool HasUsableAdapter() const;
  void WaitForPreviewTimer();
  // The error box's monitor record for one saver window, or null.
  DS_SaverMonitor* ErrorBoxMonitor(HWND window);

 public:
  DS_RunMode m_RunMode;
  UINT m_AllScreensSame;
  HWND m_MainWindow;
  HWND m_ParentWindow;
  HINSTANCE m_Instance;
  BOOL m_PreviewWait;
  UINT m_MouseMoveCount;
  BOOL m_Windowed;

  BOOL m_ErrorMode;
  HRESULT m_ErrorCode;
  WCHAR m_ErrorText[400];

  DS_SaverMonitor m_Monitors[kMaxMonitors];
  UINT m_MonitorCount;
  DS_SaverOutput m_Outputs[kMaxOutputs];
  UINT m_OutputCount;
  DS_SaverAdapter* m_Adapters[kMaxAdapters];
  UINT m_AdapterCount;

  IDirect3D9* m_D3D;
  IDirect3DDevice9* m_Device;  // the current output's device; a copy, not an owner

  RECT m_ScreenRect;
  RECT m_OutputRect;
  D3DSURFACE_DESC m_BackBufferDesc;

  WCHAR m_Description[200];
  BOOL m_DepthBufferWanted;
  WCHAR m_SettingsKeyPath[200];
  UINT m_MinDepthBits;
  UINT m_MinStencilBits;
  UINT m_FullScreenSwapEffect;
  UINT m_WindowedSwapEffect;

  float m_AppTime;
  float m_FrameRate;
  WCHAR m_DeviceText[90];
  WCHAR m_FrameText[40];

  // Null: the real Direct3D calls on m_D3D.
  DS_Direct3DAccess* m_Direct3DAccess = nullptr;
  mutable DS_Direct3DCalls m_Direct3DCalls{&m_D3D};
  // Frame-rate measurement: frames since, and application time of, the last measurement.
  UINT m_FramesSinceRate = 0;
  float m_LastRateTime = 0.0f;

  // ---- Per-monitor settings and the display settings dialogs (display_settings.cpp) ----
 public:
  // "AllScreensSame" and the "Screen %d" subkeys of the claimed monitors, under an open key.
  void LoadScreenSettings(HKEY settingsKey);
  void SaveScreenSettings(HKEY settingsKey) const;
  // Dialog 200 for fewer than two adapters, else 201; returns the dialog's result.
  INT_PTR ShowDisplaySettingsDialog(HWND owner);
  INT_PTR HandleDisplayDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void FillMonitorPage(HWND dialog);

 private:
  int SelectedMonitor(HWND dialog) const;
  DS_SaverAdapter* AdapterOfMonitor(int monitor) const;
};

// The framework object of the process, read by the window and dialog procedures.
extern CSaverShell* g_Saver;
