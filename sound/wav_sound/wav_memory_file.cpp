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

// PCM that DirectSound can mix: 1 to 8 channels of 8 to 32 bits, a rate in its range, and a block
// that holds exactly one sample per channel. The byte rate is made to agree.
bool UsablePcm(WAVEFORMATEX& format) {
  if (format.wFormatTag != WAVE_FORMAT_PCM) return false;
  if (format.nChannels < 1 || format.nChannels > 8) return false;
  const WORD bits = format.wBitsPerSample;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (format.nSamplesPerSec < 100 || format.nSamplesPerSec > 200000) return false;
  if (format.nBlockAlign != format.nChannels * bits / 8) return false;
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  format.cbSize = 0;
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
  // A plain PCM chunk ends before cbSize; the structure is read whole all the same.
  if (wav.format.size() < sizeof(WAVEFORMATEX)) wav.format.resize(sizeof(WAVEFORMATEX), 0);
  WAVEFORMATEX format;
  std::memcpy(&format, wav.format.data(), sizeof(format));
  if (!UsablePcm(format)) return false;
  std::memcpy(wav.format.data(), &format, sizeof(format));

  if (!file.DescendTo(mmioFOURCC('d', 'a', 't', 'a'), chunk)) return false;
  if (!file.ReadChunk(chunk, size, wav.samples)) return false;
  wav.samples.resize(wav.samples.size() - wav.samples.size() % format.nBlockAlign);
  return wav.samples.size() >= 4;
}

}  // namespace

bool ReadWavFromMemory(const void* bytes, size_t size, DS_WavData& wav) {
  if (Read(bytes, size, wav)) return true;
  wav = DS_WavData();
  return false;
}
