// The layer tests' document: one layer record ("DS_2D_Light" header and
// fields), optionally followed by the document's resource manager record ("DS_DocResManager"
// header and its tables).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/layer/ds_2d_light.h"
#include "core/resources/doc_res_manager.h"

struct LayerDocument {
  std::unique_ptr<DS_2D_Light> layer;
  std::unique_ptr<DS_DocResManager> manager;  // always made; empty when the file holds none
};

// Reads the bytes of a file; false when it cannot be read.
bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes);
// Parses the document; false with a message that says why when it is empty, begins with a class
// the layer registry does not hold, is cut short or has something other than a manager after
// the layer.
// Decoding happens here, so the device must be current.
bool LoadLayerDocument(const std::vector<uint8_t>& bytes, LayerDocument& document, std::wstring& error);
