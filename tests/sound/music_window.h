// Test fixture: a hidden window that collects the music graph's notifications, as the saver's
// main window receives them, fetching one event per message.
#pragma once

#include <windows.h>

#include <vector>

#include "sound/music_graph.h"
#include "sound/sound_settings.h"

class MusicTestWindow {
 public:
  MusicTestWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &MusicTestWindow::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VqMusicTestWindow";
    RegisterClassW(&windowClass);
    m_Window = CreateWindowW(L"VqMusicTestWindow", L"music", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                             windowClass.hInstance, this);
  }
  ~MusicTestWindow() { DestroyWindow(m_Window); }
  MusicTestWindow(const MusicTestWindow&) = delete;
  MusicTestWindow& operator=(const MusicTestWindow&) = delete;

  HWND Handle() const { return m_Window; }

  // Pumps messages until the graph reports `code` or `timeoutMs` passes; true when it came.
  bool WaitForEvent(long code, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      for (size_t i = m_Seen; i < events.size(); ++i) {
        if (events[i] == code) {
          m_Seen = i + 1;
          return true;
        }
      }
      m_Seen = events.size();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
  }

  std::vector<long> events;          // every code fetched, in order
  int notifications = 0;             // kMusicNotifyMessage messages that reached this window
  bool wrongParameters = false;      // a notification with lParam other than 0
  void (*onEvent)(long code) = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<MusicTestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == kMusicNotifyMessage) {
      ++self->notifications;
      if (lParam != 0) self->wrongParameters = true;
      const long code = GetMusicEvent();
      if (code != -1) {
        self->events.push_back(code);
        if (self->onEvent) self->onEvent(code);
      }
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND m_Window = nullptr;
  size_t m_Seen = 0;
};
