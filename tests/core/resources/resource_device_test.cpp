// Decoding, the cache, the document resource manager and link resolution on a real device,
// with the resource library common_res.dll beside the test program and the program's own "DDS"
// pictures 2 and 5 (and a container, 250) in the test program's resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/resources/doc_res_manager.h"
#include "core/resources/mesh_decoders.h"
#include "core/resources/picture_decoders.h"
#include "tests/support/dds_texels.h"
#include "tests/core/resources/device_fixture.h"
#include "tests/support/test_bytes.h"

namespace {

const ds_string kLibrary = u"common_res.dll";
const ds_string kMissingLibrary = u"missing_res.dll";

DS_ResourceKey Key(const ds_string& name, int64_t stamp) {
  DS_ResourceKey key;
  key.name = name;
  key.stamp = stamp;
  return key;
}

D3DSURFACE_DESC LevelDesc(IDirect3DTexture9* texture) {
  D3DSURFACE_DESC desc{};
  texture->GetLevelDesc(0, &desc);
  return desc;
}

// A temporary file holding `bytes`; deleted with the object.
class TempFile {
 public:
  explicit TempFile(const std::vector<uint8_t>& bytes) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"vqp", 0, m_Path);
    if (FILE* file = _wfopen(m_Path, L"wb")) {
      fwrite(bytes.data(), 1, bytes.size(), file);
      fclose(file);
    }
  }
  ~TempFile() { DeleteFileW(m_Path); }
  ds_string Name() const { return ds_string(reinterpret_cast<const char16_t*>(m_Path)); }

 private:
  wchar_t m_Path[MAX_PATH] = {};
};

class ResourceDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device.Ok()) << "no Direct3D device";
    current = std::make_unique<CurrentDevice>(device.device.Get());
    manager = std::make_unique<DS_DocResManager>();
  }
  void TearDown() override {
    manager.reset();
    current.reset();
  }

  bool Read(const TestBytes& record, uint32_t version) {
    ResourceBuffer buffer(record.bytes.data(), record.bytes.size());
    DS_DocumentReader reader(&buffer);
    return manager->ReadFields(reader, version);
  }
  std::vector<uint8_t> Png(unsigned w, unsigned h) { return MakePng(device.device.Get(), w, h, 0xFF336699); }

  TestDevice device;
  std::unique_ptr<CurrentDevice> current;
  std::unique_ptr<DS_DocResManager> manager;
};

// A record of the given version with pictures, frame times, saved resources and masks.
TestBytes Record(uint32_t version, const std::vector<uint8_t>& small, const std::vector<uint8_t>& wide,
                const std::vector<uint8_t>& effect) {
  TestBytes r;
  r.U32(4);
  r.Key(u"anim", 1).U32(3).Entry(0, u"", small, u"f0.png").Entry(0, u"", small, u"f1.png").Entry(0, u"", wide, u"f2.png");
  r.Key(u"broken", 2).U32(1).Entry(0, u"", {1, 2, 3}, u"broken.png");
  r.Key(u"one", 3).U32(1).Entry(0, u"", wide, u"one.png");
  r.Key(u"untimed", 4).U32(2).Entry(0, u"", small, u"a.png").Entry(0, u"", small, u"b.png");
  r.U32(2);
  r.Key(u"anim", 1).U32(3).F32(0.1f).F32(0.2f).F32(0.4f);
  r.Key(u"one", 3).U32(2).F32(1.0f).F32(2.0f);
  if (version == 1) return r;
  r.U32(2);
  r.Key(u"common_res.dll", 77).U32(1).Entry(77, u"common_res.dll", effect, u"");
  r.Key(u"one", 3).U32(1).Entry(0, u"", {9}, u"saved.bin");  // table 1 keeps its own entries
  if (version == 2) return r;
  r.U32(3);
  r.Str(u"{00000001-0000-0000-0000-000000000000}").Str(u"first").U8(1).Blob(small, u"m.png");
  r.Str(u"{00000001-0000-0000-0000-000000000000}").Str(u"second").U8(1).Blob(wide, u"n.png");
  r.Str(u"{00000002-0000-0000-0000-000000000000}").Str(u"bad").U8(1).Blob({7, 7}, u"bad.png");
  return r;
}

TEST_F(ResourceDeviceTest, RecordTablesAreReadAndDecodedByVersion) {
  const auto small = Png(4, 4), wide = Png(16, 8), effect = TinyEffectBinary();
  for (uint32_t version : {1u, 2u, 3u}) {
    manager = std::make_unique<DS_DocResManager>();
    ASSERT_TRUE(Read(Record(version, small, wide, effect), version)) << version;
    DS_ResourceStore& store = manager->Store();

    DS_ImageSet& anim = store.imageSets[Key(u"anim", 1)];
    ASSERT_EQ(anim.textures.size(), 3u);
    for (const auto& t : anim.textures) EXPECT_TRUE(t);
    EXPECT_EQ(anim.width, 16u);  // the last frame's size
    EXPECT_EQ(anim.height, 8u);
    EXPECT_FLOAT_EQ(anim.aspect, 0.5f);
    EXPECT_EQ(anim.frameTimes, (std::vector<float>{0.1f, 0.2f, 0.4f}));

    DS_ImageSet& broken = store.imageSets[Key(u"broken", 2)];
    ASSERT_EQ(broken.textures.size(), 1u);  // an undecodable picture leaves an empty slot
    EXPECT_FALSE(broken.textures[0]);
    EXPECT_EQ(broken.width, 0u);
    EXPECT_FLOAT_EQ(broken.aspect, 1.0f);
    EXPECT_EQ(broken.FirstTexture(), nullptr);

    EXPECT_TRUE(store.imageSets[Key(u"one", 3)].frameTimes.empty());  // one frame: no times
    EXPECT_TRUE(store.imageSets[Key(u"untimed", 4)].frameTimes.empty());
    EXPECT_EQ(store.rawEntries[Key(u"one", 3)].front().name, u"one.png");
    EXPECT_TRUE(store.pictureEntries.empty());
    EXPECT_FALSE(store.frameTimes.empty());
    EXPECT_TRUE(store.pendingMasks.empty());

    EXPECT_EQ(store.savedResources.size(), version >= 2 ? 2u : 0u) << version;
    EXPECT_EQ(store.rawEntries.count(Key(kLibrary, 77)), version >= 2 ? 1u : 0u) << version;
    EXPECT_EQ(store.maskTextures.size(), version >= 3 ? 2u : 0u) << version;
    if (version >= 3) {
      DS_MaskKey first, second;
      ASSERT_TRUE(DS_GuidFromString(u"{00000001-0000-0000-0000-000000000000}", first.id));
      ASSERT_TRUE(DS_GuidFromString(u"{00000002-0000-0000-0000-000000000000}", second.id));
      IDirect3DTexture9* mask = manager->GetMaskTexture(first);
      ASSERT_NE(mask, nullptr);
      EXPECT_EQ(LevelDesc(mask).Width, 4u);  // the first of two masks with one GUID
      EXPECT_EQ(manager->GetMaskTexture(second), nullptr);
    }
  }
}

TEST_F(ResourceDeviceTest, WritingAfterReadingCarriesSavedResourcesAndPreparedLinks) {
  ASSERT_TRUE(Read(Record(3, Png(4, 4), Png(16, 8), TinyEffectBinary()), 3));
  auto writeAndReadBack = [this](DS_ResourceRecordTables& tables) {
    DS_IOF_ByteWriter out;
    manager->Write(out);
    ResourceBuffer buffer(out.Bytes().data(), out.Bytes().size());
    DS_DocumentReader in(&buffer);
    const DS_ObjectHeader header = DS_ReadHeader(in);
    EXPECT_EQ(header.className, u"DS_DocResManager");
    EXPECT_EQ(header.version, 3u);
    ReadResourceRecordTables(in, header.version, tables);
    EXPECT_EQ(buffer.Remaining(), 0u);
  };
  DS_ResourceRecordTables written;
  writeAndReadBack(written);
  EXPECT_TRUE(written.pictureEntries.empty());  // nothing prepared yet
  EXPECT_TRUE(written.pendingMasks.empty());
  EXPECT_EQ(written.frameTimes.size(), 3u);  // kept, with an empty list made for "untimed"
  EXPECT_EQ(written.savedResources.size(), 2u);

  // A prepared picture link and a written effect link carry their resources.
  EXPECT_TRUE(manager->PrepareLinkForSave(Key(u"anim", 1)));
  g_DocResManager = manager.get();
  DS_IOF_ByteWriter links;
  WriteFileLink(DS_HLSLEffectFile(Key(u"untimed", 4)), links);
  DS_ResourceRecordTables again;
  writeAndReadBack(again);
  ASSERT_EQ(again.pictureEntries.size(), 1u);
  EXPECT_EQ(again.pictureEntries.begin()->second.size(), 3u);
  EXPECT_EQ(again.savedResources.count(Key(u"untimed", 4)), 1u);
  EXPECT_EQ(again.savedResources[Key(u"untimed", 4)].size(), 2u);
}

TEST_F(ResourceDeviceTest, TruncatedRecordsFailWithoutDecoding) {
  const TestBytes record = Record(3, Png(4, 4), Png(16, 8), TinyEffectBinary());
  for (size_t n : {size_t{0}, size_t{3}, record.bytes.size() / 3, record.bytes.size() - 1}) {
    manager = std::make_unique<DS_DocResManager>();
    std::vector<uint8_t> prefix(record.bytes.begin(), record.bytes.begin() + static_cast<long>(n));
    ResourceBuffer buffer(prefix.data(), prefix.size());
    DS_DocumentReader reader(&buffer);
    EXPECT_THROW(manager->ReadFields(reader, 3), DS_DocumentError) << n;
    EXPECT_TRUE(manager->Store().imageSets.empty()) << n;
  }
}

TEST_F(ResourceDeviceTest, LibraryPicturesResolveOnceAndProgramPicturesByEmptyName) {
  DS_ImageSet& meadow = manager->GetImageSet(Key(kLibrary, 5));
  ASSERT_TRUE(meadow.HasTexture());
  EXPECT_EQ(meadow.width, 1280u);
  EXPECT_EQ(meadow.height, 720u);
  IDirect3DTexture9* first = meadow.FirstTexture();
  {
    // The generated meadow: a deep blue sky at the top, green grass at the bottom.
    const D3DSURFACE_DESC desc = LevelDesc(first);
    ASSERT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(first->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    auto pixel = [&](unsigned x, unsigned y) {
      return reinterpret_cast<const D3DCOLOR*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch)[x];
    };
    const D3DCOLOR sky = pixel(desc.Width / 2, 2), grass = pixel(desc.Width / 2, desc.Height - 3);
    first->UnlockRect(0);
    EXPECT_GT(sky & 0xFF, (sky >> 16) & 0xFF);             // blue above red
    EXPECT_GT((grass >> 8) & 0xFF, (grass >> 16) & 0xFF);  // green above red
    EXPECT_GT((grass >> 8) & 0xFF, grass & 0xFF);          // and above blue
  }
  DS_ImageSet& again = manager->GetImageSet(Key(kLibrary, 5));
  EXPECT_EQ(&again, &meadow);
  EXPECT_EQ(again.FirstTexture(), first);
  EXPECT_EQ(manager->Store().rawEntries[Key(kLibrary, 5)].size(), 1u);  // the library was read once

  // The cache decodes one library picture once: another entry naming it shares the texture.
  const DS_TextureInfo shared = manager->Cache().LoadImage(DS_ResourceEntry(5, kLibrary));
  EXPECT_EQ(shared.texture.Get(), first);
  // It lists what it keeps (the start-up bench decodes those pictures again).
  const auto kept = manager->Cache().LibraryPictures();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].second, 5);
  EXPECT_NE(kept[0].first, nullptr);
  // Embedded bytes are decoded every time.
  const auto png = Png(8, 8);
  DS_ResourceEntry embedded(u"e.png");
  embedded.SetData(static_cast<uint32_t>(png.size()), png.data());
  EXPECT_NE(manager->Cache().LoadImage(embedded).texture.Get(), manager->Cache().LoadImage(embedded).texture.Get());

  DS_ImageSet& border = manager->GetImageSet(Key(kLibrary, 6));
  ASSERT_TRUE(border.HasTexture());
  EXPECT_EQ(border.width, 256u);

  DS_ImageSet& loading = manager->GetImageSet(Key(u"", 5));
  ASSERT_TRUE(loading.HasTexture());
  EXPECT_EQ(loading.width, 512u);
  EXPECT_EQ(loading.height, 512u);

  DS_TextureInfo info;
  info.FromImageRecord(loading);
  EXPECT_EQ(info.texture.Get(), loading.FirstTexture());
  EXPECT_EQ(info.width, 512u);
}

TEST_F(ResourceDeviceTest, PicturesThatResolveToNothingGiveEmptySets) {
  struct Case {
    DS_ResourceKey key;
    size_t rawEntries;
  };
  const Case cases[] = {
      {Key(u"C:\\pictures\\absent.png", 1234), 0},  // a path the document lacks: an empty slot
      {Key(kLibrary, 999), 1},                       // an id the library lacks
      {Key(kMissingLibrary, 5), 1},                  // a library that cannot be loaded
      {Key(u"", 0), 1},                              // program "DDS" 0 does not exist
  };
  for (const Case& c : cases) {
    for (int attempt = 0; attempt < 2; ++attempt) {  // asked again, it is tried again
      DS_ImageSet& set = manager->GetImageSet(c.key);
      EXPECT_FALSE(set.HasTexture());
      EXPECT_EQ(set.TextureAt(3), nullptr);
      DS_TextureInfo info;
      info.FromImageRecord(set);
      EXPECT_FALSE(info.HasTexture());
    }
    ASSERT_EQ(manager->Store().rawEntries.count(c.key), 1u);
    EXPECT_EQ(manager->Store().rawEntries[c.key].size(), c.rawEntries * 2);
  }
  // A missing library keeps the preset picture size; a missing id reports 0 x 0.
  EXPECT_EQ(manager->GetImageSet(Key(kMissingLibrary, 5)).width, 800u);
  EXPECT_EQ(manager->GetImageSet(Key(kLibrary, 999)).width, 0u);
  EXPECT_FLOAT_EQ(manager->GetImageSet(Key(kLibrary, 999)).aspect, 1.0f);
}

TEST_F(ResourceDeviceTest, MissingLibraryWithEntryBytesDecodesAndCachesThem) {
  const auto png = Png(32, 16);
  DS_ResourceEntry entry(5, kMissingLibrary);
  entry.SetData(static_cast<uint32_t>(png.size()), png.data());
  const DS_TextureInfo first = manager->Cache().LoadImage(entry);
  ASSERT_TRUE(first.HasTexture());
  EXPECT_EQ(first.width, 32u);
  EXPECT_EQ(first.height, 16u);
  EXPECT_EQ(manager->Cache().LoadImage(entry).texture.Get(), first.texture.Get());
}

TEST_F(ResourceDeviceTest, MultiFramePicturesFromTheLibraryContainer) {
  DS_ImageSet& sparkle = manager->GetImageSetFromLibrary(Key(kLibrary, 240));
  ASSERT_EQ(sparkle.textures.size(), 3u);
  for (const auto& t : sparkle.textures) EXPECT_TRUE(t);
  EXPECT_EQ(sparkle.frameTimes, (std::vector<float>{0.15f, 0.15f, 0.3f}));
  EXPECT_EQ(sparkle.width, 64u);
  EXPECT_EQ(sparkle.TextureAt(4), sparkle.textures[1].Get());  // an index beyond wraps
  EXPECT_EQ(manager->Store().rawEntries[Key(kLibrary, 240)].size(), 3u);

  // Without the library the program's own resource of the same id is read.
  DS_ImageSet& fallback = manager->GetImageSetFromLibrary(Key(kMissingLibrary, 250));
  EXPECT_EQ(fallback.textures.size(), 3u);

  // A raw picture is not a container; a missing id gives nothing: both stay empty.
  EXPECT_TRUE(manager->GetImageSetFromLibrary(Key(kLibrary, 5)).textures.empty());
  EXPECT_TRUE(manager->GetImageSetFromLibrary(Key(kLibrary, 998)).textures.empty());
  EXPECT_TRUE(manager->GetImageSetFromLibrary(Key(kMissingLibrary, 998)).textures.empty());
}

TEST_F(ResourceDeviceTest, RawEntriesForSoundsAndOtherData) {
  const DS_ResourceEntry& mesh = manager->GetRawEntry(Key(kLibrary, 70));
  EXPECT_GT(mesh.Size(), 100u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(mesh.Data()), 4), "xof ");
  // Without the library the program's own "DDS" resource of the id is read.
  EXPECT_GT(manager->GetRawEntry(Key(kMissingLibrary, 250)).Size(), 0u);
  // Not a library and not in the document: an empty entry.
  const DS_ResourceEntry& none = manager->GetRawEntry(Key(u"C:\\sounds\\rain.wav", 7));
  EXPECT_EQ(none.Size(), 0u);
  EXPECT_EQ(none.Data(), nullptr);
  EXPECT_TRUE(manager->Store().rawEntries[Key(u"C:\\sounds\\rain.wav", 7)].empty());
}

TEST_F(ResourceDeviceTest, MeshesFromTheLibraryAndFailures) {
  DS_MeshBuffers& square = manager->GetMesh(Key(kLibrary, 70), kMeshVertexSize);
  ASSERT_FALSE(square.IsEmpty());
  EXPECT_EQ(square.vertexCount, 4u);
  EXPECT_EQ(square.faceCount, 2u);
  EXPECT_NEAR(square.radius, 50.0f * std::sqrt(2.0f), 0.5f);
  EXPECT_NEAR(square.centre[0], 0.0f, 1e-3f);
  D3DVERTEXBUFFER_DESC vb{};
  square.vertexBuffer->GetDesc(&vb);
  EXPECT_EQ(vb.Size, 4u * kMeshVertexSize);
  EXPECT_EQ(vb.Pool, D3DPOOL_MANAGED);
  EXPECT_EQ(&manager->GetMesh(Key(kLibrary, 70), kMeshVertexSize), &square);

  // A library lacking the id: an entry without bytes is remembered and no mesh is built.
  EXPECT_TRUE(manager->GetMesh(Key(kLibrary, 997), kMeshVertexSize).IsEmpty());
  ASSERT_EQ(manager->Store().rawEntries[Key(kLibrary, 997)].size(), 1u);
  EXPECT_FALSE(manager->Store().rawEntries[Key(kLibrary, 997)].front().HasBytes());

  // Bytes that are not an X file, and an X file whose mesh is unusable.
  DS_MeshBuffers record;
  const char garbage[] = "xof 0303txt 0032\nMesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0, 1, 7;; }";
  EXPECT_FALSE(CreateMeshFromMemory(garbage, sizeof(garbage) - 1, kMeshVertexSize, record));
  EXPECT_TRUE(record.IsEmpty());
  EXPECT_FALSE(CreateMeshFromMemory("nonsense", 8, kMeshVertexSize, record));
  EXPECT_FALSE(LoadMeshFromFile(u"C:\\absent\\mesh.x", kMeshVertexSize, record));
  EXPECT_FALSE(LoadMeshResource(nullptr, 70, kMeshVertexSize, record));  // the program lacks it
  EXPECT_TRUE(record.IsEmpty());
}

TEST_F(ResourceDeviceTest, CacheMeshesAreKeyedByIdAndTheProgramIsTheEmptyPath) {
  DS_ResourceCache& cache = manager->Cache();
  const DS_MeshBuffers a = cache.LoadMesh(DS_ResourceEntry(70, kLibrary), kMeshVertexSize);
  ASSERT_FALSE(a.IsEmpty());
  const DS_MeshBuffers b = cache.LoadMesh(DS_ResourceEntry(70, kLibrary), kMeshVertexSize);
  EXPECT_EQ(a.vertexBuffer.Get(), b.vertexBuffer.Get());
  EXPECT_TRUE(cache.LoadMesh(DS_ResourceEntry(71, u""), kMeshVertexSize).IsEmpty());
  // A missing library decodes the entry's own bytes.
  const DS_ResourceEntry& x = manager->GetRawEntry(Key(kLibrary, 70));
  DS_ResourceEntry own(72, kMissingLibrary);
  own.SetData(x.Size(), x.Data());
  EXPECT_EQ(cache.LoadMesh(own, kMeshVertexSize).vertexCount, 4u);
  EXPECT_TRUE(LoadMeshThrough(nullptr, own, kMeshVertexSize).IsEmpty());
}

TEST_F(ResourceDeviceTest, EffectsCompileTheLastRawEntry) {
  const auto effect = TinyEffectBinary();
  TestBytes record;
  record.U32(0).U32(0).U32(2);
  record.Key(u"common_res.dll", 91).U32(2).Entry(91, u"common_res.dll", {1, 2, 3, 4}, u"").Entry(91, u"common_res.dll", effect, u"");
  record.Key(u"common_res.dll", 92).U32(1).Entry(92, u"common_res.dll", {1, 2, 3, 4}, u"");
  record.U32(0);
  ASSERT_TRUE(Read(record, 3));
  DS_ComHolder<ID3DXEffect> built = manager->GetEffect(Key(kLibrary, 91));
  ASSERT_TRUE(built);
  EXPECT_NE(built->GetParameterByName(nullptr, "Color"), nullptr);
  EXPECT_EQ(manager->GetEffect(Key(kLibrary, 91)).Get(), built.Get());
  EXPECT_EQ(manager->GetRawEntry(Key(kLibrary, 91)).Size(), 4u);  // sounds take the first

  EXPECT_FALSE(manager->GetEffect(Key(kLibrary, 92)));  // bytes the runtime rejects
  EXPECT_FALSE(manager->GetEffect(Key(kLibrary, 64)));  // no effect has this id (library_ids.cmake)
  EXPECT_FALSE(manager->GetEffect(Key(kMissingLibrary, 63)));
}

TEST_F(ResourceDeviceTest, OwnTexturesAndFilePictures) {
  DS_ComHolder<IDirect3DTexture9> waves = manager->Cache().GetResourceTexture(2);
  ASSERT_TRUE(waves);
  EXPECT_EQ(LevelDesc(waves.Get()).Width, 256u);
  EXPECT_GT(waves->GetLevelCount(), 1u);  // a full mip chain
  EXPECT_EQ(manager->Cache().GetResourceTexture(2).Get(), waves.Get());
  EXPECT_FALSE(manager->Cache().GetResourceTexture(54));

  wchar_t folder[MAX_PATH], path[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"vqp", 0, path);
  const auto png = Png(12, 6);
  FILE* file = _wfopen(path, L"wb");
  ASSERT_NE(file, nullptr);
  fwrite(png.data(), 1, png.size(), file);
  fclose(file);
  const DS_TextureInfo picture = manager->Cache().LoadImage(DS_ResourceEntry(ds_string(reinterpret_cast<const char16_t*>(path))));
  EXPECT_TRUE(picture.HasTexture());
  EXPECT_EQ(picture.width, 12u);
  EXPECT_FLOAT_EQ(picture.aspect, 0.5f);
  DeleteFileW(path);
  const DS_TextureInfo absent = manager->Cache().LoadImage(DS_ResourceEntry(ds_string(u"C:\\absent.png")));
  EXPECT_FALSE(absent.HasTexture());
  EXPECT_EQ(absent.width, 0u);
}

TEST_F(ResourceDeviceTest, BumpDdsFilesAreReadInTheirFormatWithTheirTexels) {
  TestDds v8;
  v8.width = 8;
  v8.height = 4;
  TestDds v16;
  v16.format = test_dds::kV16U16;
  v16.width = 4;
  v16.height = 8;
  v16.seed = 200;
  TestDds chain = v8;
  chain.mipCount = 4;
  struct Case {
    const char* name;
    TestDds dds;
    D3DFORMAT format;
  };
  for (const Case& c : {Case{"V8U8", v8, D3DFMT_V8U8}, Case{"V16U16", v16, D3DFMT_V16U16},
                        Case{"V8U8 with levels", chain, D3DFMT_V8U8}}) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> file = c.dds.Bytes();
    // Embedded bytes, as a mask or a picture entry holds them: level 0 only.
    const DS_TextureInfo decoded = LoadTextureInfoFromMemory(file.data(), static_cast<uint32_t>(file.size()));
    ASSERT_TRUE(decoded.HasTexture());
    EXPECT_EQ(decoded.width, c.dds.width);
    EXPECT_EQ(decoded.height, c.dds.height);
    EXPECT_FLOAT_EQ(decoded.aspect, static_cast<float>(c.dds.height) / static_cast<float>(c.dds.width));
    EXPECT_EQ(LevelDesc(decoded.texture.Get()).Format, c.format);
    EXPECT_EQ(LevelDesc(decoded.texture.Get()).Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(decoded.texture->GetLevelCount(), 1u);
    EXPECT_TRUE(HoldsFileTexels(decoded.texture.Get(), c.dds, file));
    // With a full chain asked for: every level the file holds.
    DS_Texture full;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(CreateTextureFromBumpDds(file.data(), file.size(), true, &info, full), S_OK);
    EXPECT_EQ(full->GetLevelCount(), c.dds.mipCount);
    EXPECT_EQ(info.MipLevels, c.dds.mipCount);
    EXPECT_EQ(info.Format, c.format);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_DDS);
    EXPECT_TRUE(HoldsFileTexels(full.Get(), c.dds, file));
    // A file that an entry names.
    const TempFile named(file);
    const DS_TextureInfo fromFile = manager->Cache().LoadImage(DS_ResourceEntry(named.Name()));
    ASSERT_TRUE(fromFile.HasTexture());
    EXPECT_EQ(fromFile.width, c.dds.width);
    EXPECT_EQ(LevelDesc(fromFile.texture.Get()).Format, c.format);
    EXPECT_TRUE(HoldsFileTexels(fromFile.texture.Get(), c.dds, file));
  }
  // A document's mask in the bump format becomes its mask texture.
  TestBytes record;
  record.U32(0).U32(0).U32(0).U32(1);
  record.Str(u"{00000003-0000-0000-0000-000000000000}").Str(u"waves").U8(1).Blob(v8.Bytes(), u"waves.dds");
  ASSERT_TRUE(Read(record, 3));
  DS_MaskKey key;
  key.id.data1 = 3;
  IDirect3DTexture9* mask = manager->GetMaskTexture(key);
  ASSERT_NE(mask, nullptr);
  EXPECT_EQ(LevelDesc(mask).Format, D3DFMT_V8U8);
  EXPECT_TRUE(HoldsFileTexels(mask, v8, v8.Bytes()));
}

TEST_F(ResourceDeviceTest, ShortOrLyingBumpDdsFilesGiveTheEmptyPicture) {
  struct Case {
    const char* name;
    void (*change)(TestDds&);
  };
  const Case cases[] = {
      {"one byte short", [](TestDds& d) { d.texelBytes = static_cast<std::int64_t>(d.LevelBytes()) - 1; }},
      {"header only", [](TestDds& d) { d.texelBytes = 0; }},
      {"levels beyond the bytes", [](TestDds& d) {
         d.mipCount = 3;
         d.texelBytes = 4 * 4 * 2;  // level 0 alone
       }},
      {"more levels than the chain", [](TestDds& d) {
         d.mipCount = 5;
         d.texelBytes = 4096;
       }},
      {"pitch of another width", [](TestDds& d) { d.pitch = 4; }},
      {"height beyond the bytes", [](TestDds& d) {
         d.height = 4096;
         d.texelBytes = 4 * 4 * 2;
       }},
      {"header size lies", [](TestDds& d) { d.headerSize = 100; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDds dds;
    c.change(dds);
    const std::vector<uint8_t> file = dds.Bytes();
    const DS_TextureInfo decoded = LoadTextureInfoFromMemory(file.data(), static_cast<uint32_t>(file.size()));
    EXPECT_FALSE(decoded.HasTexture());
    EXPECT_EQ(decoded.width, 0u);
    EXPECT_EQ(decoded.height, 0u);
    EXPECT_FLOAT_EQ(decoded.aspect, 1.0f);
    D3DXIMAGE_INFO info{};
    info.Width = 321;
    DS_Texture texture;
    EXPECT_TRUE(FAILED(CreateTextureFromMemory(info, static_cast<uint32_t>(file.size()), file.data(), texture)));
    EXPECT_FALSE(texture);
    EXPECT_EQ(info.Width, 321u) << "the information is left as it was";
    const TempFile named(file);
    EXPECT_FALSE(manager->Cache().LoadImage(DS_ResourceEntry(named.Name())).HasTexture());
  }
}

TEST_F(ResourceDeviceTest, LinkMakersAndPreparingLinksForSave) {
  const auto png = Png(8, 4);
  DS_ResourceEntry a(u"a.png"), b(u"b.png");
  a.SetData(static_cast<uint32_t>(png.size()), png.data());
  b.SetData(static_cast<uint32_t>(png.size()), png.data());
  DS_ImageFileLink singleLink, libraryLink, multiLink, noneLink, fileLink;
  const DS_ResourceKey single = manager->MakeImageLink(a, singleLink).Key();
  EXPECT_EQ(single.name, u"a.png");
  EXPECT_TRUE(manager->GetImageSet(singleLink).HasTexture());
  const DS_ResourceKey library = manager->MakeImageLink(DS_ResourceEntry(6, kLibrary), libraryLink).Key();
  EXPECT_EQ(library.name, kLibrary);
  EXPECT_EQ(library.stamp, 6);

  const DS_ResourceKey multi = manager->MakeMultiFrameImageLink({0.5f, 0.25f}, multiLink, {a, b}).Key();
  DS_ImageSet& set = manager->GetImageSet(multi);
  EXPECT_EQ(set.textures.size(), 2u);
  EXPECT_EQ(set.frameTimes.size(), 2u);
  EXPECT_EQ(multi.stamp, single.stamp + 1);  // embedded keys take running numbers
  EXPECT_TRUE(manager->MakeMultiFrameImageLink({}, noneLink, {}).Key().name.empty());

  EXPECT_TRUE(manager->PrepareLinkForSave(multi));
  EXPECT_EQ(manager->Store().pictureEntries[multi].size(), 2u);
  EXPECT_EQ(manager->Store().frameTimes[multi].size(), 2u);
  const size_t before = manager->Store().pictureEntries.size();
  EXPECT_TRUE(manager->PrepareLinkForSave(Key(u"", 5)));
  EXPECT_EQ(manager->Store().pictureEntries.size(), before);

  const DS_ResourceKey file = manager->MakeImageLinkFromFile(u"C:\\absent\\photo.jpg", fileLink).Key();
  EXPECT_EQ(file.stamp, 0);
  EXPECT_FALSE(manager->GetImageSet(file).HasTexture());
}

TEST_F(ResourceDeviceTest, DeviceLossAndResetKeepManagedResourcesAndRestoreEffects) {
  DS_ImageSet& meadow = manager->GetImageSet(Key(kLibrary, 5));
  DS_MeshBuffers& square = manager->GetMesh(Key(kLibrary, 70), kMeshVertexSize);
  TestBytes record;
  record.U32(0).U32(0).U32(1).Key(u"common_res.dll", 77).U32(1).Entry(77, u"common_res.dll", TextureEffectBinary(), u"").U32(0);
  ASSERT_TRUE(Read(record, 3));
  DS_ComHolder<ID3DXEffect> effect = manager->GetEffect(Key(kLibrary, 77));
  ASSERT_TRUE(effect);
  const D3DXVECTOR4 green(0, 1, 0, 1);
  ASSERT_EQ(effect->SetVector("Color", &green), D3D_OK);

  // A default-pool render target left set on an effect parameter or a stage would keep Reset
  // from succeeding: the effect holds its own reference.
  DS_ComHolder<IDirect3DTexture9> target;
  ASSERT_EQ(device.device->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                         target.Receive(), nullptr), D3D_OK);
  ASSERT_EQ(effect->SetTexture("Tex", target.Get()), D3D_OK);
  device.device->SetTexture(0, target.Get());
  auto references = [](IUnknown* object) {
    object->AddRef();
    return object->Release();
  };
  ASSERT_GT(references(target.Get()), 1u);

  manager->OnDeviceLost();
  EXPECT_EQ(references(target.Get()), 1u);  // only this test's own reference is left
  DS_ComHolder<IDirect3DBaseTexture9> bound;
  device.device->GetTexture(0, bound.Receive());
  EXPECT_FALSE(bound);
  target.Reset();
  EXPECT_EQ(device.Reset(), D3D_OK);
  manager->OnDeviceReset();

  ASSERT_TRUE(meadow.HasTexture());
  D3DLOCKED_RECT locked{};
  EXPECT_EQ(meadow.FirstTexture()->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
  meadow.FirstTexture()->UnlockRect(0);
  void* vertices = nullptr;
  EXPECT_EQ(square.vertexBuffer->Lock(0, 0, &vertices, D3DLOCK_READONLY), D3D_OK);
  square.vertexBuffer->Unlock();
  D3DXVECTOR4 colour;
  EXPECT_EQ(effect->GetVector("Color", &colour), D3D_OK);
  EXPECT_EQ(colour.y, 1.0f);
  UINT passes = 0;
  EXPECT_EQ(effect->Begin(&passes, 0), D3D_OK);
  EXPECT_EQ(passes, 1u);
  effect->End();
}

TEST_F(ResourceDeviceTest, NoOutputReceivesAnotherOutputsObjects) {
  TestDevice other;
  ASSERT_TRUE(other.Ok());
  DS_DocResManager* first = manager.get();
  ASSERT_TRUE(first->GetImageSet(Key(kLibrary, 5)).HasTexture());
  DS_ComHolder<IDirect3DTexture9> own = first->Cache().GetResourceTexture(5);

  // A second output's manager is constructed last: g_ResourceCache names its cache.
  CurrentDevice second(other.device.Get());
  DS_DocResManager secondManager;
  EXPECT_EQ(g_ResourceCache, secondManager.CacheHolder());

  // The first output's cache asked while the second device is current decodes for that device.
  auto deviceOf = [](auto* resource) {
    DS_ComHolder<IDirect3DDevice9> owner;
    if (resource) resource->GetDevice(owner.Receive());
    return owner.Get();
  };
  const DS_TextureInfo forSecond = first->Cache().LoadImage(DS_ResourceEntry(5, kLibrary));
  ASSERT_TRUE(forSecond.HasTexture());
  EXPECT_EQ(deviceOf(forSecond.texture.Get()), other.device.Get());
  DS_ComHolder<IDirect3DTexture9> ownForSecond = first->Cache().GetResourceTexture(5);
  ASSERT_TRUE(ownForSecond);
  EXPECT_EQ(deviceOf(ownForSecond.Get()), other.device.Get());
  EXPECT_EQ(deviceOf(secondManager.GetImageSet(Key(kLibrary, 5)).FirstTexture()), other.device.Get());
  ASSERT_FALSE(first->Cache().LoadMesh(DS_ResourceEntry(70, kLibrary), kMeshVertexSize).IsEmpty());  // cached
  CurrentDevice back(device.device.Get());
  const DS_MeshBuffers cachedMesh = first->Cache().LoadMesh(DS_ResourceEntry(70, kLibrary), kMeshVertexSize);
  {
    CurrentDevice again(other.device.Get());
    const DS_MeshBuffers otherMesh = first->Cache().LoadMesh(DS_ResourceEntry(70, kLibrary), kMeshVertexSize);
    EXPECT_EQ(deviceOf(otherMesh.vertexBuffer.Get()), other.device.Get());
    EXPECT_NE(otherMesh.vertexBuffer.Get(), cachedMesh.vertexBuffer.Get());
  }
  EXPECT_EQ(deviceOf(cachedMesh.vertexBuffer.Get()), device.device.Get());
}

// Resource libraries are read as data and never run: a library with an entry point that would
// leave a mark is read along every path that reads a library (pictures, multi-frame pictures,
// raw entries, effects) under ids the program itself lacks, and the mark never appears. A bare
// name is looked up in the program's folder only: a library of that name in the current folder
// is not used.
class ResourceLibraryTest : public ResourceDeviceTest {
 protected:
  void SetUp() override {
    ResourceDeviceTest::SetUp();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_Mark = std::wstring(temp) + L"vq-entry-point-ran-" + std::to_wstring(GetCurrentProcessId());
    DeleteFileW(m_Mark.c_str());
    SetEnvironmentVariableW(L"VQ_ENTRY_POINT_MARK", m_Mark.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"VQ_ENTRY_POINT_MARK", nullptr);
    DeleteFileW(m_Mark.c_str());
    ResourceDeviceTest::TearDown();
  }
  bool EntryPointRan() const { return GetFileAttributesW(m_Mark.c_str()) != INVALID_FILE_ATTRIBUTES; }
  static std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring program(path, length);
    return program.substr(0, program.find_last_of(L"\\/") + 1);
  }
  static ds_string Ds(const std::wstring& text) { return ds_string(text.begin(), text.end()); }

  // Whether each of the four paths finds the library's resource under `name`: pictures 7 and 8
  // (copies of the program's own 5), container 251 (of the program's own 250), effect 261.
  struct Found {
    bool picture, frames, entry, effect;
  };
  Found ReadLibrary(const ds_string& name) {
    Found found{};
    const DS_ImageSet& picture = manager->GetImageSet(Key(name, 7));
    found.picture = picture.HasTexture();
    if (found.picture) {
      const DS_ImageSet& own = manager->GetImageSet(Key(u"", 5));
      EXPECT_EQ(picture.width, own.width);
      EXPECT_EQ(picture.height, own.height);
    }
    const DS_ImageSet& frames = manager->GetImageSetFromLibrary(Key(name, 251));
    found.frames = frames.HasTexture();
    if (found.frames) {
      EXPECT_EQ(frames.textures.size(), manager->GetImageSetFromLibrary(Key(u"", 250)).textures.size());
    }
    const DS_ResourceEntry& entry = manager->GetRawEntry(Key(name, 8));
    found.entry = entry.HasBytes();
    if (found.entry) {
      const void* own = nullptr;
      DWORD size = 0;
      EXPECT_TRUE(FindModuleResource(nullptr, 5, L"DDS", own, size));
      EXPECT_EQ(entry.bytes, std::vector<uint8_t>(static_cast<const uint8_t*>(own), static_cast<const uint8_t*>(own) + size));
    }
    found.effect = static_cast<bool>(manager->GetEffect(Key(name, 261)));
    return found;
  }

  std::wstring m_Mark;
};

TEST_F(ResourceLibraryTest, ALibraryIsReadForItsResourcesAndItsEntryPointNeverRuns) {
  const struct {
    const char* what;
    ds_string name;
  } names[] = {{"a bare name, beside the program", u"vq_entry_point.dll"},
               {"a full path", Ds(ProgramFolder() + L"vq_entry_point.dll")},
               {"a full path in another case", Ds(ProgramFolder() + L"VQ_Entry_Point.DLL")}};
  for (const auto& n : names) {
    SCOPED_TRACE(n.what);
    const Found found = ReadLibrary(n.name);
    EXPECT_TRUE(found.picture);
    EXPECT_TRUE(found.frames);
    EXPECT_TRUE(found.entry);
    EXPECT_TRUE(found.effect);
    EXPECT_FALSE(EntryPointRan()) << "the library's entry point ran";
  }
}

TEST_F(ResourceLibraryTest, ALibraryOfThatNameInTheCurrentFolderOnlyIsNotUsed) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"vq-current-folder-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring copy = folder + L"\\vq_current_only.dll";
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"vq_entry_point.dll").c_str(), copy.c_str(), FALSE));
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));

  const Found bare = ReadLibrary(u"vq_current_only.dll");
  EXPECT_FALSE(bare.picture || bare.frames || bare.entry || bare.effect) << "a library in the current folder was used";
  EXPECT_FALSE(EntryPointRan()) << "the library's entry point ran";
  // Named by its full path, the same file is read (and still not run).
  const Found full = ReadLibrary(Ds(copy));
  EXPECT_TRUE(full.picture && full.frames && full.entry && full.effect);
  EXPECT_FALSE(EntryPointRan()) << "the library's entry point ran";

  SetCurrentDirectoryW(previous);
  manager.reset();
  DeleteFileW(copy.c_str());  // still mapped for the process: may stay until it ends
  RemoveDirectoryW(folder.c_str());
}

// The compiled effects as the saver finds them: every resource effect in common_res.dll as
// RT_RCDATA under its id, and the effects a scene carries in the default scene document's saved
// resources under ("common_res.dll", id), both with the bytes the effect tool wrote.
std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST_F(ResourceDeviceTest, EveryResourceEffectIsInTheLibraryAsRcdata) {
  HMODULE library = LoadLibraryExW(L"common_res.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(library, nullptr);
  for (int id : {VQ_RESOURCE_EFFECT_IDS}) {
    SCOPED_TRACE(id);
    const std::vector<uint8_t> compiled = FileBytes(VQ_EFFECT_DIR "/" + std::to_string(id) + ".fxo");
    ASSERT_GT(compiled.size(), 16u);
    HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(library, found)));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(data, data + SizeofResource(library, found)), compiled);
  }
  FreeLibrary(library);

  // With no document entry the manager compiles the library's copy.
  DS_ComHolder<ID3DXEffect> glow = manager->GetEffect(Key(kLibrary, 97));
  ASSERT_TRUE(glow);
  for (const char* technique : {"Blend_Max", "Blend_Normal", "Blend_Screen", "Common"})
    EXPECT_NE(glow->GetTechniqueByName(technique), nullptr) << technique;
}

TEST_F(ResourceDeviceTest, TheDefaultSceneCarriesEffect97) {
  const std::vector<uint8_t> document = FileBytes(VQ_DEFAULT_SCENE);
  ASSERT_FALSE(document.empty()) << VQ_DEFAULT_SCENE;
  // The manager's record closes the document.
  const std::vector<uint8_t> header = TestBytes().Str(u"DS_DocResManager").bytes;
  const auto at = std::find_end(document.begin(), document.end(), header.begin(), header.end());
  ASSERT_NE(at, document.end());
  ResourceBuffer buffer(&*at, static_cast<size_t>(document.end() - at));
  DS_DocumentReader reader(&buffer);
  const DS_ObjectHeader record = DS_ReadHeader(reader);
  ASSERT_TRUE(manager->ReadFields(reader, record.version));

  const DS_ResourceEntry& saved = manager->GetRawEntry(Key(kLibrary, 97));
  const std::vector<uint8_t> compiled = FileBytes(VQ_EFFECT_DIR "/97.fxo");
  ASSERT_GT(compiled.size(), 16u);
  EXPECT_EQ(saved.bytes, compiled);
  EXPECT_EQ(saved.libraryPath, u"common_res.dll");
  EXPECT_EQ(saved.resourceId, 97);
  EXPECT_TRUE(manager->GetEffect(Key(kLibrary, 97)));
}

}  // namespace
