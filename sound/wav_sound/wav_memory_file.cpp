#include "sound/wav_sound/wav_memory_file.h"

#include <climits>
#include <cstring>

namespace {

// An open memory file, closed when it goes.
class MemoryFile {
 public:
  MemoryFile(const void* bytes, size_t size) {
    MMIOINFO info = {};
    info.fccIOProc = FOURCC_MEM;
    // Opened for reading only: the multimedia functions never write through this pointer.
    info.pchBuffer = static_cast<HPSTR>(const_cast<void*>(bytes));
    info.cchBuffer = static_cast<LONG>(size);
    m_File = mmioOpenW(nullptr, &info, MMIO_READ);
  }
  ~MemoryFile() {
    if (m_File) mmioClose(m_File, 0);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  HMMIO Get() const { return m_File; }

  // From the start of the file into its RIFF chunk of form "WAVE", then into its chunk `id`.
  bool DescendTo(FOURCC id, MMCKINFO& chunk) {
    if (mmioSeek(m_File, 0, SEEK_SET) != 0) return false;
    MMCKINFO riff = {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(m_File, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR) return false;
    chunk = MMCKINFO();
    chunk.ckid = id;
    return mmioDescend(m_File, &chunk, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR;
  }

  // The chunk's whole contents, which must lie within the `size` bytes of the file.
  bool ReadChunk(const MMCKINFO& chunk, size_t size, std::vector<uint8_t>& contents) {
    if (chunk.dwDataOffset > size || chunk.cksize > size - chunk.dwDataOffset) return false;
    contents.assign(chunk.cksize, 0);
    if (chunk.cksize == 0) return true;
    const LONG wanted = static_cast<LONG>(chunk.cksize);
    return mmioRead(m_File, reinterpret_cast<HPSTR>(contents.data()), wanted) == wanted;
  }

 private:
  HMMIO m_File = nullptr;
};

constexpr WORD kFloatTag = 3;             // WAVE_FORMAT_IEEE_FLOAT
constexpr WORD kExtensibleTag = 0xFFFE;   // WAVE_FORMAT_EXTENSIBLE
constexpr WORD kExtensibleExtra = 22;     // the bytes the extensible form adds after cbSize
constexpr size_t kExtensibleSize = sizeof(WAVEFORMATEX) + kExtensibleExtra;

// The extensible form's fields after cbSize.
#pragma pack(push, 1)
struct ExtensibleFields {
  WORD validBitsPerSample;
  DWORD channelMask;
  uint32_t subFormatData1;
  uint8_t subFormatRest[12];
};
#pragma pack(pop)
static_assert(sizeof(ExtensibleFields) == kExtensibleExtra, "the extensible form adds 22 bytes");

// Every sub-format GUID of a format tag is the tag followed by these twelve bytes
// ({xxxxxxxx-0000-0010-8000-00AA00389B71}).
constexpr uint8_t kSubFormatBase[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Sample sizes DirectSound mixes: integer PCM of 8 to 32 bits, IEEE float of 32 bits.
bool UsableSampleBits(WORD tag, WORD bits) {
  if (tag == kFloatTag) return bits == 32;
  return tag == WAVE_FORMAT_PCM && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

// 1 to 8 channels, a rate in DirectSound's range, and a block that holds exactly one sample per
// channel. The byte rate is made to agree.
bool UsableLayout(WAVEFORMATEX& format) {
  if (format.nChannels < 1 || format.nChannels > 8) return false;
  if (format.nSamplesPerSec < 100 || format.nSamplesPerSec > 200000) return false;
  if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8) return false;
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  return true;
}

// Checks the format in `chunk` (the whole "fmt " chunk, at least a WAVEFORMATEX long) and bounds
// what DirectSound will read of it: PCM and IEEE float as the structure alone (cbSize 0, so
// nothing after it is read), the extensible form with a PCM or float sub-format as exactly its
// 40 bytes (cbSize 22). Anything else DirectSound does not play.
bool UsableFormat(std::vector<uint8_t>& chunk) {
  WAVEFORMATEX format;
  std::memcpy(&format, chunk.data(), sizeof(format));
  if (format.wFormatTag == kExtensibleTag) {
    if (chunk.size() < kExtensibleSize || format.cbSize < kExtensibleExtra) return false;
    ExtensibleFields fields;
    std::memcpy(&fields, chunk.data() + sizeof(WAVEFORMATEX), sizeof(fields));
    if (std::memcmp(fields.subFormatRest, kSubFormatBase, sizeof(kSubFormatBase)) != 0) return false;
    if (fields.subFormatData1 > 0xFFFF) return false;
    const WORD subFormat = static_cast<WORD>(fields.subFormatData1);
    if (!UsableSampleBits(subFormat, format.wBitsPerSample)) return false;
    if (fields.validBitsPerSample > format.wBitsPerSample) return false;
    if (fields.validBitsPerSample == 0) fields.validBitsPerSample = format.wBitsPerSample;
    if (!UsableLayout(format)) return false;
    format.cbSize = kExtensibleExtra;
    chunk.resize(kExtensibleSize);
    std::memcpy(chunk.data() + sizeof(WAVEFORMATEX), &fields, sizeof(fields));
  } else {
    if (!UsableSampleBits(format.wFormatTag, format.wBitsPerSample) || !UsableLayout(format)) return false;
    format.cbSize = 0;
  }
  std::memcpy(chunk.data(), &format, sizeof(format));
  return true;
}

bool Read(const void* bytes, size_t size, DS_WavData& wav) {
  if (!bytes || size == 0 || size > static_cast<size_t>(LONG_MAX)) return false;
  MemoryFile file(bytes, size);
  if (!file.Get()) return false;

  MMCKINFO chunk;
  if (!file.DescendTo(mmioFOURCC('f', 'm', 't', ' '), chunk)) return false;
  if (!file.ReadChunk(chunk, size, wav.format)) return false;
  if (wav.format.size() < sizeof(PCMWAVEFORMAT)) return false;
  // A plain chunk ends before cbSize; the structure is read whole all the same.
  if (wav.format.size() < sizeof(WAVEFORMATEX)) wav.format.resize(sizeof(WAVEFORMATEX), 0);
  if (!UsableFormat(wav.format)) return false;
  const WORD blockAlign = wav.Format()->nBlockAlign;

  if (!file.DescendTo(mmioFOURCC('d', 'a', 't', 'a'), chunk)) return false;
  if (!file.ReadChunk(chunk, size, wav.samples)) return false;
  wav.samples.resize(wav.samples.size() - wav.samples.size() % blockAlign);
  return wav.samples.size() >= 4;
}

}  // namespace

bool ReadWavFromMemory(const void* bytes, size_t size, DS_WavData& wav) {
  if (Read(bytes, size, wav)) return true;
  wav = DS_WavData();
  return false;
}
