// Older records that are not a newer record less a run of its fields: a class whose older version
// holds other fields in the place of newer ones writes that older record here by hand, with the
// values of the class's defaults, so that it reads back to the default record.
#pragma once

#include <cstdint>
#include <vector>

#include "core/data/ds_string.h"

// An older record written by hand. When its older fields replace a nested brush effect's record,
// the effect read is a new one whose mask key is made afresh: the GUIDs then differ.
struct OlderRecord {
  std::vector<uint8_t> bytes;  // empty when the class has none written by hand
  bool freshGuids = false;
};

// The record of `version` for the class.
OlderRecord OlderRecordByHand(const ds_string& className, uint32_t version);
