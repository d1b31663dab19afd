// The records of the sound objects (platform-free); playing is in ds_sound.cpp.
#include "sound/wav_sound/ds_wav_constructor.h"

#include "core/data/class_registry.h"

#ifndef _WIN32
std::unique_ptr<DS_ABObj> DS_Sound_Ctrl::CreateObject() const { return nullptr; }
#endif

void DS_WAV_Constructor::ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }

void DS_WAV_Constructor::Write(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_WAV_Constructor"); }

std::unique_ptr<DS_Sound_Ctrl> DS_WAV_Constructor::Clone() const { return std::make_unique<DS_WAV_Constructor>(*this); }

DS_REGISTER_CONSTRUCTOR(DS_WAV_Constructor);
