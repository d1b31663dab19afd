// Turns a scene description (JSON) into a scene document. The description names slides with
// their layers, object lists and times, the pictures, effects and masks they use, and the music
// files; see README.md beside this file for its form.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct DS_ContentOptions {
  std::string descriptionPath;
  std::vector<std::string> searchDirs;  // further folders in which relative file names are found
  std::vector<std::string> recordFolders;  // folders of record descriptions (records.h)
  // Effects put into the saved resources under ("common_res.dll", id) unless the description's
  // "effects" name that key: (id, compiled file).
  std::vector<std::pair<int64_t, std::string>> carriedEffects;
};

// The document's bytes. Throws std::runtime_error whose text names the description file and the
// offending entry ("scene.json: slides[1].layer.picture: ..."), or the record description file.
std::vector<uint8_t> BuildSceneDocument(const DS_ContentOptions& options);
