// A kind folder built by vq_add_kind() reaches the registry of a program that links it without
// naming its class, in both builds; on Windows the program links the product's libraries through
// vq_link_product_libraries() and finds the product's registered classes that it never names.
#include <gtest/gtest.h>

#include <vector>

#include "core/data/class_registry.h"
#include "core/layer/layer_registry.h"
#include "scene/slide_registry.h"
#include "tests/cmake/kinds/probe/vqtest_kind_probe.h"

namespace {

TEST(KindBuild, KindFolderRegistersItsClass) {
  VQTest_KindProbe written;
  written.value = -7;
  written.objectName = u"probe 1";
  DS_IOF_ByteWriter out;
  written.Write(out);
  const std::vector<uint8_t> bytes = out.Bytes();

  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader in(&buffer);
  const std::unique_ptr<DS_ABObj_Constructor> read = ReadConstructorObject(in);
  ASSERT_NE(read, nullptr) << "the kind folder's registration was not linked";
  const auto* probe = dynamic_cast<const VQTest_KindProbe*>(read.get());
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe->value, -7);
  EXPECT_EQ(probe->objectName, u"probe 1");
  EXPECT_EQ(in.Remaining(), 0u);
}

#ifdef _WIN32
TEST(KindBuild, ProgramsSeeEveryProductLibrary) {
  EXPECT_EQ(GetLightReaderMap().count(u"DS_2D_Light"), 1u);
  EXPECT_EQ(GetSlideReaderMap().count(u"DS_SlideContainer"), 1u);
}
#endif

}  // namespace
