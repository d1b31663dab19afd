// Damaged effect binaries give no effect. D3DXCreateEffect itself refuses some damage; under
// Wine it loads truncated binaries and takes offsets and ids on trust, so effects are created
// through CreateCheckedEffect, which refuses every damage before the loader sees it.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/support/effect_test_support.h"
#include "core/effects/checked_effect.h"
#include "core/effects/effect_validator.h"

namespace effect_test {
namespace {

uint32_t DwordAt(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t value;
  std::memcpy(&value, &bytes[at], 4);
  return value;
}
void SetDword(std::vector<uint8_t>& bytes, size_t at, uint32_t value) { std::memcpy(&bytes[at], &value, 4); }

// The stream follows the pool: parameter count, technique count, shader count, object count,
// then the first parameter's typedef offset.
size_t StreamStart(const std::vector<uint8_t>& bytes) { return 8 + DwordAt(bytes, 4); }

struct Damage {
  const char* what;
  bool loaderRefuses;  // D3DXCreateEffect fails on it by itself (safe to hand over)
  std::function<void(std::vector<uint8_t>&)> apply;
};

void RenameLastReference(std::vector<uint8_t>& b) {
  // The last resource is Common's Texture[0] = <Texture1>: make it name no parameter.
  const char name[] = "Texture1";
  for (size_t at = b.size() - sizeof name; at > 0; --at) {
    if (std::memcmp(&b[at], name, sizeof name) == 0) {
      b[at] = 'X';
      return;
    }
  }
}

const Damage kDamages[] = {
    {"empty", true, [](std::vector<uint8_t>& b) { b.clear(); }},
    {"wrong tag", true, [](std::vector<uint8_t>& b) { SetDword(b, 0, 0xFEFF0902); }},
    {"effect text instead of a binary", true,
     [](std::vector<uint8_t>& b) {
       const char text[] = "technique T { pass P { } }";
       b.assign(text, text + sizeof text);
     }},
    {"a reference names no parameter", true, RenameLastReference},
    {"tag only", false, [](std::vector<uint8_t>& b) { b.resize(4); }},
    {"header only", false, [](std::vector<uint8_t>& b) { b.resize(8); }},
    {"cut inside the pool", false, [](std::vector<uint8_t>& b) { b.resize(64); }},
    {"cut inside the last shader", false, [](std::vector<uint8_t>& b) { b.resize(b.size() - 40); }},
    {"pool size past the end", false, [](std::vector<uint8_t>& b) { SetDword(b, 4, 0x10000); }},
    {"technique count too high", false, [](std::vector<uint8_t>& b) { SetDword(b, StreamStart(b) + 4, 5); }},
    {"object count too small", false, [](std::vector<uint8_t>& b) { SetDword(b, StreamStart(b) + 12, 2); }},
    {"typedef offset outside the pool", false,
     [](std::vector<uint8_t>& b) { SetDword(b, StreamStart(b) + 16, 0xFFFF0); }},
    {"bytes after the last resource", false, [](std::vector<uint8_t>& b) { b.insert(b.end(), 4, 0); }},
};

TEST(DamagedEffect, NoDamagedBinaryBecomesAnEffect) {
  DS_WindowDevice testDevice;
  ASSERT_TRUE(OpenEffectTestDevice(testDevice));
  IDirect3DDevice9* const device = testDevice.Device();
  const std::vector<uint8_t> good = ReadFileBytes(VQ_EFFECT_DIR "/97.fxo");
  ASSERT_GT(good.size(), 200u);
  DS_ComHolder<ID3DXEffect> effect;
  ASSERT_HRESULT_SUCCEEDED(fxasm::CreateCheckedEffect(device, good.data(), good.size(), effect.Receive()));

  for (const Damage& damage : kDamages) {
    SCOPED_TRACE(damage.what);
    std::vector<uint8_t> bytes = good;
    damage.apply(bytes);
    bytes.reserve(1);  // a valid pointer even for no bytes
    DS_ComHolder<ID3DXEffect> checked;
    EXPECT_EQ(fxasm::CreateCheckedEffect(device, bytes.data(), bytes.size(), checked.Receive()), D3DXERR_INVALIDDATA);
    EXPECT_FALSE(checked);
    if (damage.loaderRefuses) {
      DS_ComHolder<ID3DXEffect> raw;
      EXPECT_TRUE(FAILED(CreateEffect(device, bytes, raw)));
      EXPECT_FALSE(raw);
    }
  }
}

}  // namespace
}  // namespace effect_test
