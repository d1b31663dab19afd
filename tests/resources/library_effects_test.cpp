// The compiled effects as the saver finds them: every resource effect in common_res.dll as
// RT_RCDATA under its id, and the effects a scene carries in the default scene document's saved
// resources under ("common_res.dll", id), both with the bytes the effect tool wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/resources/doc_res_manager.h"
#include "tests/resources/device_fixture.h"

namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

DS_ResourceKey LibraryKey(int64_t id) {
  DS_ResourceKey key;
  key.name = u"common_res.dll";
  key.stamp = id;
  return key;
}

// The archive string of `text` as the document stores a short string.
std::vector<uint8_t> ArchiveString(const std::u16string& text) {
  std::vector<uint8_t> bytes = {0xFF, 0xFE, 0xFF, static_cast<uint8_t>(text.size())};
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

class LibraryEffects : public ::testing::Test {
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

  TestDevice device;
  std::unique_ptr<CurrentDevice> current;
  std::unique_ptr<DS_DocResManager> manager;
};

TEST_F(LibraryEffects, EveryResourceEffectIsInTheLibraryAsRcdata) {
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
  DS_ComHolder<ID3DXEffect> glow = manager->GetEffect(LibraryKey(97));
  ASSERT_TRUE(glow);
  for (const char* technique : {"Blend_Max", "Blend_Normal", "Blend_Screen", "Common"})
    EXPECT_NE(glow->GetTechniqueByName(technique), nullptr) << technique;
}

TEST_F(LibraryEffects, TheDefaultSceneCarriesEffect97) {
  const std::vector<uint8_t> document = FileBytes(VQ_DEFAULT_SCENE);
  ASSERT_FALSE(document.empty()) << VQ_DEFAULT_SCENE;
  // The manager's record closes the document.
  const std::vector<uint8_t> header = ArchiveString(u"DS_DocResManager");
  const auto at = std::find_end(document.begin(), document.end(), header.begin(), header.end());
  ASSERT_NE(at, document.end());
  ResourceBuffer buffer(&*at, static_cast<size_t>(document.end() - at));
  DS_DocumentReader reader(&buffer);
  const DS_ObjectHeader record = DS_ReadHeader(reader);
  ASSERT_TRUE(manager->ReadFields(reader, record.version));

  const DS_ResourceEntry& saved = manager->GetRawEntry(LibraryKey(97));
  const std::vector<uint8_t> compiled = FileBytes(VQ_EFFECT_DIR "/97.fxo");
  ASSERT_GT(compiled.size(), 16u);
  EXPECT_EQ(saved.bytes, compiled);
  EXPECT_EQ(saved.libraryPath, u"common_res.dll");
  EXPECT_EQ(saved.resourceId, 97);
  EXPECT_TRUE(manager->GetEffect(LibraryKey(97)));
}

}  // namespace
