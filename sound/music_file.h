// Music files of the scene are embedded whole, under the path they had when the document was
// made. Before playing, each is written to the temporary directory, unless a file exists at its
// stored path, which is then played from there.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class DS_MusicExtraction {
  Nothing,      // the entry held no bytes
  PlayInPlace,  // a file exists at the stored path: drop the bytes, keep the path
  Renamed,      // the entry's name becomes the target path, which drops the bytes
};

// The file-name part of a stored path: the text after its last '\\' or '/', empty without one.
std::wstring MusicFileNamePart(const std::wstring& storedPath);

// Decides where the music file of `storedPath` plays from and writes its bytes when needed. On
// Renamed, `*target` is the temporary directory followed by the file-name part. A name that is
// empty, "." or "..", holds ':' or a NUL, or is a device name ("CON", "NUL", "COM1", "lpt3.mp3"
// and the like) is not written: the target is the directory itself, which does not play. Write
// failures are not reported.
DS_MusicExtraction ExtractMusicBytes(const std::wstring& storedPath, const unsigned char* bytes, size_t size,
                                     std::wstring* target);

// One music file as the playlist needs it: its current path and its bytes until extracted.
struct DS_MusicFileData {
  std::wstring path;
  std::vector<unsigned char> bytes;

  void ExtractToTempFile();
};
