#include <string>

#include "scene/ds_audio_file.h"
#include "sound/music_file.h"

void DS_AudioFile::ExtractToTempFile() {
  // Windows wide strings are UTF-16 too: the units are copied.
  const std::wstring storedPath(file.name.begin(), file.name.end());
  std::wstring target;
  switch (ExtractMusicBytes(storedPath, file.Data(), file.bytes.size(), &target)) {
    case DS_MusicExtraction::Nothing:
      break;
    case DS_MusicExtraction::PlayInPlace:
      file.bytes.clear();
      break;
    case DS_MusicExtraction::Renamed:
      file.SetName(ds_string(target.begin(), target.end()));
      break;
  }
}
