// The one DirectShow filter graph of the process that plays the music files, one after another.
// Every operation but OpenMusicGraph does nothing while the graph is not open; failures are
// silent (a file that cannot be played leaves the music quiet and produces no completion event).
#pragma once

#include <windows.h>
#include <dshow.h>

// Null until the graph is opened and again after it is closed.
extern IGraphBuilder* g_GraphBuilder;
extern IMediaControl* g_MediaControl;
extern IMediaSeeking* g_MediaSeeking;
extern IMediaEventEx* g_MediaEvent;
extern IBasicAudio* g_BasicAudio;

// Initialises COM (never uninitialised), creates the graph, takes its four interfaces and asks
// it to post kMusicNotifyMessage (lParam 0) to `window` whenever it has an event. The first
// failing step returns false; the interfaces already obtained stay.
bool OpenMusicGraph(HWND window);
// Releases the five interfaces; nothing opens the graph again afterwards.
void CloseMusicGraph();
// The device-lost step: stops the music and closes the graph, so the music stays silent.
void StopAndCloseMusicGraph();
// Plays the file at `path` from its start, reusing the renderer already in the graph; filters that
// the file does not go through (the sources of earlier files) leave the graph.
void PlayMusicTrack(const wchar_t* path);
// Plays the current file again from its start (a playlist of one file).
void RewindMusic();
// The music volume from g_SoundVolume, or silence when muted.
void SetMusicVolume(bool muted);
// One pending graph event (EC_COMPLETE is 1), or -1 when there is none or no graph.
long GetMusicEvent();
