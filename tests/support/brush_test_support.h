// What the brush tests share (and the tests of later brush kinds reuse): a device with a resource
// manager made current, the built effects and pictures and masks put into that manager, a layer
// on a picture of the test's own, one frame of a live brush drawn through the layer's scene path,
// and the parameters the brush left in its real effect read back from it.
#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brushes/base_fx/ds_fx_device.h"
#include "core/data/ds_stream.h"
#include "core/layer/ds_2d_light.h"
#include "core/resources/doc_res_manager.h"
#include "tools/device/window_device.h"

namespace brush_test {

// The bytes of a built effect (build/<cfg>/resources/effects/<id>.fxo); empty when missing.
std::vector<uint8_t> BuiltEffectBytes(int id);

// A record written to bytes, and read back through the constructor registry (null for a class
// the registry lacks or a record it refuses); `left` is what the reader did not consume.
std::vector<uint8_t> Written(const DS_IOF_Item& item);
std::unique_ptr<DS_ABObj_Constructor> ReadConstructor(const std::vector<uint8_t>& bytes, size_t* left = nullptr);

// Values a brush's Render left in its effect, read from the effect itself.
std::vector<float> FloatsOf(ID3DXEffect* effect, const char* name, unsigned count);
float FloatOf(ID3DXEffect* effect, const char* name);
IDirect3DBaseTexture9* TextureOf(ID3DXEffect* effect, const char* name);  // no reference kept
std::string TechniqueOf(ID3DXEffect* effect);

// A windowed device of width x height made current with a resource manager of its own
// (g_DocResManager), for the life of the bench.
class BrushBench {
 public:
  static constexpr int kWidth = 128, kHeight = 96;

  BrushBench();
  ~BrushBench();
  BrushBench(const BrushBench&) = delete;
  BrushBench& operator=(const BrushBench&) = delete;

  bool Ok() const { return m_Device.Device() != nullptr; }
  IDirect3DDevice9* Device() const { return m_Device.Device(); }
  DS_WindowDevice& TestDevice() { return m_Device; }
  DS_DocResManager& Manager() { return *m_Manager; }

  // The effect bytes as the manager's raw entry of ("common_res.dll", id): the built effect, or
  // the given (damaged) bytes.
  void AddEffect(int id);
  void AddEffectBytes(int id, const std::vector<uint8_t>& bytes);
  // A one-frame picture under `key`.
  void AddPicture(const DS_ResourceKey& key, const DS_ComHolder<IDirect3DTexture9>& texture, unsigned w, unsigned h);
  // A mask texture under the key's GUID in the manager's mask table.
  // Its bounds are found as the manager finds a decoded mask's, or given.
  void AddMask(const DS_MaskKey& key, const DS_ComHolder<IDirect3DTexture9>& texture);
  void AddMask(const DS_MaskKey& key, const DS_ComHolder<IDirect3DTexture9>& texture, const DS_MaskBounds& bounds);
  // A layer set up as a slide does, on the picture of `key`, laid out over the whole back buffer.
  std::unique_ptr<DS_2D_Light> MakeLayer(const DS_ResourceKey& key);

  // One frame at `time`: the layer and the objects updated, the scene drawn (objects from last
  // to first, as a slide does) and finished; the back buffer read back.
  DS_PixelReadback Frame(DS_2D_Light& layer, const std::vector<DS_ABObj*>& objects, float time);

 private:
  DS_WindowDevice m_Device;
  std::unique_ptr<DS_DocResManager> m_Manager;
};

// The key of resource `id` of the library.
DS_ResourceKey LibraryKey(int id);

}  // namespace brush_test
