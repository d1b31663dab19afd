#include "tests/support/brush_test_support.h"

#include <fstream>
#include <iterator>

#include "core/data/class_registry.h"
#include "core/render/view_state.h"
#include "core/resources/picture_decoders.h"

namespace brush_test {

std::vector<uint8_t> BuiltEffectBytes(int id) {
  std::ifstream in(std::string(VQ_EFFECT_DIR) + "/" + std::to_string(id) + ".fxo", std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> Written(const DS_IOF_Item& item) {
  DS_IOF_ByteWriter out;
  item.Write(out);
  return out.TakeBytes();
}

std::unique_ptr<DS_ABObj_Constructor> ReadConstructor(const std::vector<uint8_t>& bytes, size_t* left) {
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  std::unique_ptr<DS_ABObj_Constructor> object;
  try {
    object = DS_ReadRegisteredObject(GetConstructorReaderMap(), reader);
  } catch (const DS_DocumentError&) {
    object.reset();
  }
  if (left) *left = buffer.Remaining();
  return object;
}

std::vector<float> FloatsOf(ID3DXEffect* effect, const char* name, unsigned count) {
  std::vector<float> values(count, -12345.0f);
  if (!effect || FAILED(effect->GetFloatArray(name, values.data(), count))) values.clear();
  return values;
}

float FloatOf(ID3DXEffect* effect, const char* name) {
  float value = -12345.0f;
  if (effect) effect->GetFloat(name, &value);
  return value;
}

IDirect3DBaseTexture9* TextureOf(ID3DXEffect* effect, const char* name) {
  IDirect3DBaseTexture9* texture = nullptr;
  if (!effect || FAILED(effect->GetTexture(name, &texture)) || !texture) return nullptr;
  texture->Release();  // the effect still holds its own reference
  return texture;
}

std::string TechniqueOf(ID3DXEffect* effect) {
  D3DXTECHNIQUE_DESC desc{};
  if (!effect || FAILED(effect->GetTechniqueDesc(effect->GetCurrentTechnique(), &desc)) || !desc.Name) return {};
  return desc.Name;
}

DS_ResourceKey LibraryKey(int id) { return DS_ResourceKey{u"common_res.dll", id}; }

BrushBench::BrushBench() {
  if (!m_Device.Open(kWidth, kHeight, L"brush test")) return;
  m_Device.MakeCurrent();
  g_ViewState.mode = kPicturePositionStretch;
  g_ViewState.SetCamera(1.0f, 0.0f, 0.0f);
  m_Manager = std::make_unique<DS_DocResManager>();
  g_DocResManager = m_Manager.get();
}

BrushBench::~BrushBench() {
  g_ViewState.ReleaseBorders();
  if (g_DocResManager == m_Manager.get()) g_DocResManager = nullptr;
  m_Manager.reset();
}

void BrushBench::AddEffect(int id) { AddEffectBytes(id, BuiltEffectBytes(id)); }

void BrushBench::AddEffectBytes(int id, const std::vector<uint8_t>& bytes) {
  const DS_ResourceKey key = LibraryKey(id);
  DS_ResourceEntry entry = LibraryEntryOf(key);
  entry.SetData(static_cast<uint32_t>(bytes.size()), bytes.data());
  m_Manager->Store().rawEntries[key].assign(1, entry);
  m_Manager->Store().effects.erase(key);
}

void BrushBench::AddPicture(const DS_ResourceKey& key, const DS_ComHolder<IDirect3DTexture9>& texture, unsigned w,
                            unsigned h) {
  DS_ImageSet& set = m_Manager->Store().imageSets[key];
  set.textures.assign(1, texture);
  set.width = w;
  set.height = h;
  set.aspect = w == 0 ? 1.0f : static_cast<float>(h) / static_cast<float>(w);
}

void BrushBench::AddMask(const DS_MaskKey& key, const DS_ComHolder<IDirect3DTexture9>& texture) {
  AddMask(key, texture, MaskBoundsOfTexture(texture.Get()));
}

void BrushBench::AddMask(const DS_MaskKey& key, const DS_ComHolder<IDirect3DTexture9>& texture,
                         const DS_MaskBounds& bounds) {
  m_Manager->Store().maskTextures[key] = DS_MaskTexture{texture, bounds};
}

std::unique_ptr<DS_2D_Light> BrushBench::MakeLayer(const DS_ResourceKey& key) {
  auto layer = std::make_unique<DS_2D_Light>();
  layer->SetPictureLink(key);
  layer->CreateDeviceObjects();
  layer->OnDeviceReset();
  layer->Layout(kWidth, kHeight);
  return layer;
}

DS_PixelReadback BrushBench::Frame(DS_2D_Light& layer, const std::vector<DS_ABObj*>& objects, float time) {
  DS_PixelReadback pixels;
  if (FAILED(Device()->BeginScene())) return pixels;
  layer.Update(time);
  for (DS_ABObj* object : objects) object->Update(time);
  layer.RenderScene(objects.data(), objects.size());
  layer.PostRender();
  Device()->EndScene();
  pixels.ReadBackBuffer(Device());
  return pixels;
}

}  // namespace brush_test
