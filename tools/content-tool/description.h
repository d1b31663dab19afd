// Turns a scene description (JSON) into a scene document. The description names slides with
// their layers, object lists and times, the pictures, effects and masks they use, and the music
// files; see README.md beside this file for its form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DS_ContentOptions {
  std::string descriptionPath;
  std::vector<std::string> searchDirs;  // further folders in which relative file names are found
};

// The document's bytes. Throws std::runtime_error whose text names the description file and the
// offending entry ("scene.json: slides[1].layer.picture: ...").
std::vector<uint8_t> BuildSceneDocument(const DS_ContentOptions& options);
