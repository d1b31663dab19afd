#include "scene/ds_audio_file.h"

void DS_AudioFile::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_AudioFile", kVersion);
  out.WriteString(name);
  out.WriteNamedBlob(file);
}

void DS_AudioFile::ReadFields(DS_IOF_Virtual& in) {
  in.ReadString(name);
  in.ReadNamedBlob(file);
}

std::unique_ptr<DS_AudioFile> ReadAudioFileObject(DS_IOF_Virtual& in) {
  DS_ReadHeader(in);
  auto audio = std::make_unique<DS_AudioFile>();
  audio->ReadFields(in);
  return audio;
}
