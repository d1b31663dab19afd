// Older records that are not a newer record less a run of its fields: a class whose older version
// holds other fields in the place of newer ones writes that older record here by hand, with the
// values of the class's defaults, so that it reads back to the default record.
#pragma once

#include <cstdint>
#include <vector>

#include "core/data/ds_string.h"

// The record of `version` for the class, or empty when the class has none written by hand.
std::vector<uint8_t> OlderRecordByHand(const ds_string& className, uint32_t version);
