#include <string>

#include "layers/slideshow/ds_audio_file.h"
#include "sound/music_file.h"

void DS_AudioFile::ExtractToTempFile() {
  const std::wstring storedPath = DsToWide(file.name);
  std::wstring target;
  switch (ExtractMusicBytes(storedPath, file.Data(), file.bytes.size(), &target)) {
    case DS_MusicExtraction::Nothing:
      break;
    case DS_MusicExtraction::PlayInPlace:
      file.bytes.clear();
      break;
    case DS_MusicExtraction::Renamed:
      file.SetName(DsFromWide(target.c_str()));
      break;
  }
}
