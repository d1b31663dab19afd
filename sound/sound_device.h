// The one DirectSound device of the process and its looping primary buffer. Opened by the
// application's device-reset hook, once per process; released by the program that ran the
// application once the application is gone (ReleaseSoundDevice), before the process ends. Without a
// sound server the device cannot be created and everything that plays sound stays silent.
#pragma once

#include <windows.h>
#include <dsound.h>

extern IDirectSound8* g_SoundDevice;              // null until opened
extern IDirectSoundBuffer* g_PrimarySoundBuffer;  // its primary buffer, whose volume the application sets
extern DWORD g_SoundBufferFlags;                  // extra flags of every sound buffer

// Opens the device with `window` as its cooperative window and starts the primary buffer
// looping. Does nothing and answers true when the device is already open.
bool OpenSoundDevice(HWND window);

// The primary buffer's volume from the volume setting 0..100, or silence; no-op without a buffer.
void SetPrimarySoundVolume(DWORD volume, bool muted);
// The device-lost step: the primary buffer's volume to 0 and stopped; the device stays open.
void StopPrimarySoundBuffer();

// Releases the primary buffer, then the device; the device may be opened again afterwards.
// Every program that runs the application calls it after the application is gone: nothing
// releases the device at exit, where the audio driver's own teardown may already have run.
void ReleaseSoundDevice();
