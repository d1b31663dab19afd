// One music file of the slide show: a name (kept with the record; playback does not use it)
// and the whole file as a named block whose name is the path the file had when the document
// was made. The application writes it out and plays it.
#pragma once

#include <cstdint>
#include <memory>

#include "core/data/abobj_constructor.h"
#include "core/data/ds_named_blob.h"

class DS_AudioFile : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 1;

  // Header "DS_AudioFile" 1, the name, the named block.
  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in);
#ifdef _WIN32
  // Writes the bytes to the temporary directory (unless a file exists at the stored path) and
  // points the block's name at the file to play; the bytes are dropped.
  void ExtractToTempFile();
#endif

  ds_string name;
  DS_NamedBlob file;
};

// Header (name and version not used), then the record.
std::unique_ptr<DS_AudioFile> ReadAudioFileObject(DS_IOF_Virtual& in);
