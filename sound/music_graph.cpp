#include "sound/music_graph.h"

#include <vector>

#include "core/com/ds_com_holder.h"
#include "sound/sound_settings.h"

// The one music graph of the process, which every output's music plays through.
IGraphBuilder* g_GraphBuilder = nullptr;
IMediaControl* g_MediaControl = nullptr;
IMediaSeeking* g_MediaSeeking = nullptr;
IMediaEventEx* g_MediaEvent = nullptr;
IBasicAudio* g_BasicAudio = nullptr;

namespace {

template <class T>
void ReleaseGlobal(T*& pointer) {
  if (pointer) {
    pointer->Release();
    pointer = nullptr;
  }
}

// Seeks to the start, leaving the stop position as it is.
void SeekToStart() {
  if (!g_MediaSeeking) return;
  LONGLONG start = 0;
  g_MediaSeeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}

// Every filter of the graph, each with its own reference.
std::vector<DS_ComHolder<IBaseFilter>> ListFilters() {
  std::vector<DS_ComHolder<IBaseFilter>> filters;
  DS_ComHolder<IEnumFilters> enumerator;
  if (FAILED(g_GraphBuilder->EnumFilters(enumerator.Receive())) || !enumerator) return filters;
  // Skip past the end answers S_FALSE, which is a success code: count only while it says S_OK.
  size_t count = 0;
  while (enumerator->Skip(1) == S_OK) ++count;
  enumerator->Reset();
  for (size_t i = 0; i < count; ++i) {
    DS_ComHolder<IBaseFilter> filter;
    if (enumerator->Next(1, filter.Receive(), nullptr) != S_OK || !filter) break;
    filters.push_back(std::move(filter));
  }
  return filters;
}

// Whether any pin of the filter is connected to another filter.
bool HasConnectedPin(IBaseFilter* filter) {
  DS_ComHolder<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.Receive())) || !pins) return false;
  DS_ComHolder<IPin> pin;
  while (pins->Next(1, pin.Receive(), nullptr) == S_OK && pin) {
    DS_ComHolder<IPin> peer;
    if (SUCCEEDED(pin->ConnectedTo(peer.Receive())) && peer) return true;
  }
  return false;
}

// Takes out the filters the file just connected does not go through: the sources (and any
// parser of another format) of earlier files. Kept, they would pile up one per file all night.
void RemoveUnusedFilters() {
  for (DS_ComHolder<IBaseFilter>& filter : ListFilters()) {
    if (!HasConnectedPin(filter.Get())) g_GraphBuilder->RemoveFilter(filter.Get());
  }
}

// Connects a new source through the filters already in the graph, so that the renderer of the
// first file is reused, and runs the graph from the start.
bool RebuildGraphAndRun(IBaseFilter* source) {
  if (!source || !g_GraphBuilder || !g_MediaControl || !g_MediaSeeking) return false;
  DS_ComHolder<IPin> output;
  if (FAILED(source->FindPin(L"Output", output.Receive())) || !output) return false;
  g_MediaControl->Stop();
  std::vector<DS_ComHolder<IBaseFilter>> filters = ListFilters();
  if (filters.empty()) return false;
  // Removing a filter disconnects its pins: the graph keeps every filter but no connection.
  for (DS_ComHolder<IBaseFilter>& filter : filters) {
    g_GraphBuilder->RemoveFilter(filter.Get());
    g_GraphBuilder->AddFilter(filter.Get(), nullptr);
  }
  try {
    g_GraphBuilder->Render(output.Get());
  } catch (...) {
    return false;
  }
  RemoveUnusedFilters();
  SeekToStart();
  g_MediaControl->Run();
  return true;
}

bool RenderFileAndRun(const wchar_t* path) {
  if (!g_GraphBuilder) return false;
  g_GraphBuilder->RenderFile(path, nullptr);
  // The chain of the previous file and a source that could not be connected stay behind otherwise.
  RemoveUnusedFilters();
  if (g_MediaSeeking) {
    LONGLONG duration = 0;
    g_MediaSeeking->GetDuration(&duration);
  }
  if (g_MediaControl) g_MediaControl->Run();
  return true;
}

}  // namespace

bool OpenMusicGraph(HWND window) {
  if (FAILED(CoInitialize(nullptr))) return false;
  if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                              reinterpret_cast<void**>(&g_GraphBuilder)))) {
    g_GraphBuilder = nullptr;
    return false;
  }
  if (FAILED(g_GraphBuilder->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&g_MediaControl)))) {
    g_MediaControl = nullptr;
    return false;
  }
  if (FAILED(g_GraphBuilder->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&g_MediaSeeking)))) {
    g_MediaSeeking = nullptr;
    return false;
  }
  if (FAILED(g_GraphBuilder->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&g_MediaEvent)))) {
    g_MediaEvent = nullptr;
    return false;
  }
  if (FAILED(g_GraphBuilder->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&g_BasicAudio)))) {
    g_BasicAudio = nullptr;
    return false;
  }
  return SUCCEEDED(g_MediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(window), kMusicNotifyMessage, 0));
}

void CloseMusicGraph() {
  ReleaseGlobal(g_BasicAudio);
  ReleaseGlobal(g_MediaEvent);
  ReleaseGlobal(g_MediaSeeking);
  ReleaseGlobal(g_MediaControl);
  ReleaseGlobal(g_GraphBuilder);
}

void StopAndCloseMusicGraph() {
  if (g_MediaControl) g_MediaControl->Stop();
  CloseMusicGraph();
}

void PlayMusicTrack(const wchar_t* path) {
  if (!g_GraphBuilder || !path) return;
  // The graph keeps its own reference to the source; ours goes with the holder.
  DS_ComHolder<IBaseFilter> source;
  if (FAILED(g_GraphBuilder->AddSourceFilter(path, path, source.Receive()))) source.Reset();
  if (RebuildGraphAndRun(source.Get())) return;
  if (g_MediaControl) g_MediaControl->Stop();
  RenderFileAndRun(path);
}

void RewindMusic() {
  if (!g_MediaControl) return;
  SeekToStart();
  g_MediaControl->Run();
}

void SetMusicVolume(bool muted) {
  if (!g_BasicAudio) return;
  g_BasicAudio->put_Volume(muted ? kSilentVolume : MusicVolumeFromSetting(g_SoundVolume));
}

long GetMusicEvent() {
  if (!g_MediaEvent) return -1;
  long code = 0;
  LONG_PTR first = 0, second = 0;
  if (FAILED(g_MediaEvent->GetEvent(&code, &first, &second, 0))) return -1;
  g_MediaEvent->FreeEventParams(code, first, second);
  return code;
}
