// The seed corpus run once through the document fuzzer's entry, with every entry of the host's
// class registries replaced by one that notes the versions read through it: every registered
// class must be read in every version it reads, or a fuzzer run (however long) would have to
// find the way into that reader by itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/data/class_registry.h"
#include "core/layer/layer_parts.h"
#include "core/data/ds_string.h"
#include "core/layer/layer_registry.h"
#include "scene/ds_slide_container.h"
#include "scene/slide_registry.h"
#include "tests/support/host_standins.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// A registry entry that notes the version of every record it reads, then reads it with the
// class's own reader.
template <class B>
class NotingReader final : public IOF_Virtual_ReaderII<B> {
 public:
  explicit NotingReader(const IOF_Virtual_ReaderII<B>* reader) : m_Reader(reader) {}
  std::unique_ptr<B> Create(DS_IOF_Virtual& in, uint32_t version) const override {
    read.insert(version);
    return m_Reader->Create(in, version);
  }
  std::unique_ptr<B> CreateDefault() const override { return m_Reader->CreateDefault(); }
  uint32_t Version() const override { return m_Reader->Version(); }
  uint32_t MinVersion() const override { return m_Reader->MinVersion(); }
  DS_DeclaredRecords Describe() const override { return m_Reader->Describe(); }
  bool WriteDefault(DS_IOF_Virtual& out, uint32_t version) const override { return m_Reader->WriteDefault(out, version); }

  const IOF_Virtual_ReaderII<B>* Reader() const { return m_Reader; }
  mutable std::set<uint32_t> read;

 private:
  const IOF_Virtual_ReaderII<B>* m_Reader;
};

// Puts a noting reader in place of each entry of the registry for its lifetime.
template <class B>
class NotedRegistry {
 public:
  explicit NotedRegistry(DS_ReaderMap<B>& registry) : m_Registry(registry) {
    for (auto& entry : registry) {
      m_Noting.push_back(std::make_unique<NotingReader<B>>(entry.second));
      entry.second = m_Noting.back().get();
    }
  }
  ~NotedRegistry() {
    for (auto& entry : m_Registry) entry.second = static_cast<const NotingReader<B>*>(entry.second)->Reader();
  }
  NotedRegistry(const NotedRegistry&) = delete;
  NotedRegistry& operator=(const NotedRegistry&) = delete;

  // "class version" for every version a class reads and no seed had it read in.
  std::vector<std::string> Missed() const {
    std::vector<std::string> missed;
    for (const auto& entry : m_Registry) {
      const auto& noting = static_cast<const NotingReader<B>&>(*entry.second);
      const uint32_t newest = noting.Version();
      const uint32_t oldest = std::min(noting.MinVersion(), newest);
      if (newest == 0 && noting.read.empty()) missed.push_back(DsToUtf8(entry.first));
      for (uint32_t version = std::max(oldest, 1u); version <= newest; ++version)
        if (!noting.read.count(version)) missed.push_back(DsToUtf8(entry.first) + " " + std::to_string(version));
    }
    return missed;
  }
  size_t Size() const { return m_Registry.size(); }

 private:
  DS_ReaderMap<B>& m_Registry;
  std::vector<std::unique_ptr<NotingReader<B>>> m_Noting;
};

// The same for the layer kinds' parts, which the host reads a layer kind's own fields with.
class NotingPart final : public DS_LayerPartReader {
 public:
  explicit NotingPart(const DS_LayerPartReader* part) : m_Part(part) {}
  DS_DeclaredRecords Describe() const override { return m_Part->Describe(); }
  void ReadAndDrop(DS_IOF_Virtual& in, uint32_t version) const override {
    read.insert(version);
    m_Part->ReadAndDrop(in, version);
  }
  void WriteDefault(DS_IOF_Virtual& out, uint32_t version) const override { m_Part->WriteDefault(out, version); }
  uint32_t Version() const override { return m_Part->Version(); }
  uint32_t MinVersion() const override { return m_Part->MinVersion(); }

  const DS_LayerPartReader* Part() const { return m_Part; }
  mutable std::set<uint32_t> read;

 private:
  const DS_LayerPartReader* m_Part;
};

class NotedParts {
 public:
  NotedParts() {
    for (auto& entry : GetLayerPartMap()) {
      m_Noting.push_back(std::make_unique<NotingPart>(entry.second));
      entry.second = m_Noting.back().get();
    }
  }
  ~NotedParts() {
    for (auto& entry : GetLayerPartMap()) entry.second = static_cast<const NotingPart*>(entry.second)->Part();
  }
  NotedParts(const NotedParts&) = delete;
  NotedParts& operator=(const NotedParts&) = delete;

  std::vector<std::string> Missed() const {
    std::vector<std::string> missed;
    for (const auto& entry : GetLayerPartMap()) {
      const auto& noting = static_cast<const NotingPart&>(*entry.second);
      for (uint32_t version = std::max(noting.MinVersion(), 1u); version <= noting.Version(); ++version)
        if (!noting.read.count(version)) missed.push_back(DsToUtf8(entry.first) + " " + std::to_string(version));
    }
    return missed;
  }
  size_t Size() const { return m_Noting.size(); }

 private:
  std::vector<std::unique_ptr<NotingPart>> m_Noting;
};

size_t RunSeeds() {
  size_t seeds = 0;
  for (const auto& file : std::filesystem::directory_iterator(VQ_FUZZ_SEED_DIR)) {
    std::ifstream in(file.path(), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++seeds;
  }
  return seeds;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

TEST(DocumentFuzzSeeds, ReadEveryRegisteredClassInEveryVersionItReads) {
  const NotedRegistry<DS_ABObj_Constructor> constructors(GetConstructorReaderMap());
  const NotedRegistry<DS_SlideContainer> slides(GetSlideReaderMap());
  const NotedRegistry<DS_2D_Light> layers(GetLightReaderMap());
  const NotedParts layerKinds;
  ASSERT_GT(RunSeeds(), 0u) << "no seed in " << VQ_FUZZ_SEED_DIR;

  // The product's kinds are registered on the host too (the test classes beside them).
  EXPECT_GT(constructors.Size(), 30u);
  EXPECT_EQ(slides.Size(), 1u);
  EXPECT_EQ(Joined(constructors.Missed()), "") << "constructor classes (and versions) that no seed reads";
  EXPECT_EQ(Joined(slides.Missed()), "") << "slide classes (and versions) that no seed reads";
  EXPECT_EQ(Joined(layers.Missed()), "") << "layer classes (and versions) that no seed reads";
  // Every layer kind's own fields are read on the host too, in every version.
  EXPECT_EQ(layerKinds.Size(), 6u);
  EXPECT_EQ(Joined(layerKinds.Missed()), "") << "layer kinds (and versions) whose own fields no seed reads";
}

}  // namespace
