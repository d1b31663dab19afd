// The device and frame texts of each output. Both are bounded: an adapter description can be far
// longer than the 90 characters the device text holds.
#include <cwchar>

#include "saver/saver_shell.h"

static const WCHAR* VertexProcessingText(DWORD behaviorFlags, bool hardwareDevice) {
  if ((behaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING) && (behaviorFlags & D3DCREATE_PUREDEVICE))
    return hardwareDevice ? L" (pure hw vp)" : L" (simulated pure hw vp)";
  if (behaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING)
    return hardwareDevice ? L" (hw vp)" : L" (simulated hw vp)";
  if (behaviorFlags & D3DCREATE_MIXED_VERTEXPROCESSING)
    return hardwareDevice ? L" (mixed vp)" : L" (simulated mixed vp)";
  if (behaviorFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) return L" (sw vp)";
  return L"";
}

static const WCHAR* DepthFormatText(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_D16: return L" (D16)";
    case D3DFMT_D15S1: return L" (D15S1)";
    case D3DFMT_D24X8: return L" (D24X8)";
    case D3DFMT_D24S8: return L" (D24S8)";
    case D3DFMT_D24X4S4: return L" (D24X4S4)";
    case D3DFMT_D32: return L" (D32)";
    default: return L"";
  }
}

void CSaverShell::DescribeDevice() {
  for (UINT i = 0; i < m_OutputCount; ++i) {
    DS_SaverOutput& output = m_Outputs[i];
    const bool hardware = output.deviceType == D3DDEVTYPE_HAL;
    WCHAR text[600];
    std::swprintf(text, 600, L"%ls%ls", hardware ? L"HAL" : L"SW", VertexProcessingText(output.behaviorFlags, hardware));
    if (hardware && output.adapter < m_AdapterCount && m_Adapters[output.adapter]) {
      WCHAR description[MAX_DEVICE_IDENTIFIER_STRING + 1];
      const D3DADAPTER_IDENTIFIER9& identifier = m_Adapters[output.adapter]->identifier;
      // The description may lack its terminator; convert at most its array's length.
      const int length = static_cast<int>(strnlen(identifier.Description, MAX_DEVICE_IDENTIFIER_STRING));
      const int written = MultiByteToWideChar(CP_ACP, 0, identifier.Description, length, description,
                                              MAX_DEVICE_IDENTIFIER_STRING);
      description[written > 0 ? written : 0] = 0;
      const size_t used = std::wcslen(text);
      std::swprintf(text + used, 600 - used, L": %ls", description);
    }
    lstrcpynW(output.deviceText, text, 90);
  }
}

void CSaverShell::MeasureFrameRate() {
  ++m_FramesSinceRate;
  const float elapsed = m_AppTime - m_LastRateTime;
  if (elapsed <= 1.0f) return;
  m_FrameRate = static_cast<float>(m_FramesSinceRate) / elapsed;
  m_FramesSinceRate = 0;
  m_LastRateTime = m_AppTime;
  for (UINT i = 0; i < m_OutputCount; ++i) {
    DS_SaverOutput& output = m_Outputs[i];
    D3DDISPLAYMODE mode = {};
    Direct3D().GetAdapterDisplayMode(output.adapter, &mode);
    WCHAR text[100];
    std::swprintf(text, 100, L"%.02f fps (%dx%dx%d)%ls", m_FrameRate, static_cast<int>(mode.Width),
                  static_cast<int>(mode.Height), mode.Format == D3DFMT_X8R8G8B8 ? 32 : 16,
                  m_DepthBufferWanted ? DepthFormatText(output.presentParameters.AutoDepthStencilFormat) : L"");
    lstrcpynW(output.frameText, text, 40);
  }
}
