// The records of the sound objects (platform-free); playing is in ds_sound.cpp.
#include "sound/wav_sound/ds_wav_constructor.h"

#include "core/data/class_registry.h"

#ifndef _WIN32
std::unique_ptr<DS_ABObj> DS_Sound_Ctrl::CreateObject() const { return nullptr; }
#endif

void DS_Sound_Ctrl::WriteCtrl(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_Sound_Ctrl", kCtrlVersion);
  out.WriteUInt(volume.Get());
  out.WriteUInt(balance.Get());
  out.WriteInt(randomReplay.Get());
  out.WriteUInt(minInterval.Get());
  out.WriteUInt(maxInterval.Get());
  WriteObject(out);
}

void DS_Sound_Ctrl::ReadCtrl(DS_IOF_Virtual& in) {
  DS_ReadHeader(in);  // the part's version adds nothing to read
  uint32_t u = 0;
  int32_t i = 0;
  in.ReadUInt(u);
  volume.Store(u);
  in.ReadUInt(u);
  balance.Store(u);
  in.ReadInt(i);
  randomReplay.Store(i);
  in.ReadUInt(u);
  minInterval.Store(u);
  in.ReadUInt(u);
  maxInterval.Store(u);
  ReadBase(in);
}

void DS_WAV_Constructor::ReadFields(DS_IOF_Virtual& in, uint32_t) {
  ReadFileLink(in, wav);
  ReadCtrl(in);
}

void DS_WAV_Constructor::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_WAV_Constructor", kVersion);
  WriteFileLink(wav, out);
  WriteCtrl(out);
}

std::unique_ptr<DS_Sound_Ctrl> DS_WAV_Constructor::Clone() const { return std::make_unique<DS_WAV_Constructor>(*this); }

DS_REGISTER_CONSTRUCTOR(DS_WAV_Constructor);
