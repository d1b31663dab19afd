#include "tests/conformance/older_records.h"

#include "core/data/class_registry.h"
#include "core/data/ds_stream.h"
#include "core/layer/ds_2d_light.h"

namespace {

void WriteLink(DS_IOF_ByteWriter& out, int id) {
  out.WriteString(u"common_res.dll");
  out.WriteInt64(id);
}

// The flame layer's version 1: the fire's speed after the fire offset, and two links (read and
// dropped) where version 2 nests the fire record.
std::vector<uint8_t> FlameLightVersion1() {
  DS_IOF_ByteWriter out;
  DS_WriteHeader(out, u"DS_FlameLight", 1);
  out.WriteInt(1);     // fire on
  out.WriteInt(1);     // distortion on
  out.WriteUInt(0);    // fire offset
  out.WriteUInt(50);   // the fire's speed
  WriteLink(out, 62);  // bump
  WriteLink(out, 63);  // effect
  out.WriteUInt(50);   // drift speed
  out.WriteUInt(25);   // strength
  out.WriteUInt(88);   // bump scale
  WriteLink(out, 7);   // dropped
  WriteLink(out, 8);   // dropped
  GetLightReaderMap().at(u"DS_2D_Light")->CreateDefault()->Write(out);
  return out.TakeBytes();
}

// The underwater layer's version 1: the effect's speed, stored doubled (50 reads as the default
// 25), where version 2 nests the effect record.
std::vector<uint8_t> UnderwaterVersion1() {
  DS_IOF_ByteWriter out;
  DS_WriteHeader(out, u"FakeUndervater", 1);
  out.WriteUInt(50);
  GetLightReaderMap().at(u"DS_2D_Light")->CreateDefault()->Write(out);
  return out.TakeBytes();
}

const struct {
  const char16_t* name;
  uint32_t version;
  std::vector<uint8_t> (*write)();
  bool freshGuids;
} kOlderRecords[] = {
    {u"DS_FlameLight", 1, FlameLightVersion1, false},
    {u"FakeUndervater", 1, UnderwaterVersion1, true},
};

}  // namespace

OlderRecord OlderRecordByHand(const ds_string& className, uint32_t version) {
  for (const auto& entry : kOlderRecords)
    if (className == entry.name && version == entry.version) return {entry.write(), entry.freshGuids};
  return {};
}
