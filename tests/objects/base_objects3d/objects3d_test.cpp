// The 3D-object base: element trees follow the count (capped), parts name exactly the frames of
// the current trees, meshes and pictures that do not load leave a part that draws nothing, the
// marker flag of each kind, owned frame trees and the mesh assignment of the fire grid.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/render/device_utils.h"
#include "objects/butterfly/ds_butterfly_constructor.h"
#include "objects/clock/ds_clock_constructor.h"
#include "objects/base_objects3d/ds_3d_obj_ctrl.h"
#include "objects/base_objects3d/frame_tree.h"
#include "tests/objects/object_device.h"

namespace {

using Objects3D = ObjectDevice;

std::unique_ptr<DS_3DObjArray> LiveOf(const DS_3D_Obj_Ctrl& set) {
  return std::unique_ptr<DS_3DObjArray>(static_cast<DS_3DObjArray*>(set.CreateObject().release()));
}

std::vector<DS_Frame*> Roots(const DS_3DObjArray& live) {
  std::vector<DS_Frame*> roots;
  for (const auto& element : live.Elements()) roots.push_back(&element->Root());
  return roots;
}

TEST_F(Objects3D, TreesFollowTheCountAndThePartsNameExactlyTheirFrames) {
  DS_ButterflyConstructor set;
  set.count.SetDefault(3);
  const auto live = LiveOf(set);
  const std::vector<DS_Frame*> built = Roots(*live);
  ASSERT_EQ(built.size(), 3u);
  const auto& parts = live->Parts();
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0].frames, built);
  // Wings: each tree's two in front of those of the trees before it.
  const std::vector<DS_Frame*> wings = {built[2]->children.front(), built[2]->children.back(),
                                        built[1]->children.front(), built[1]->children.back(),
                                        built[0]->children.front(), built[0]->children.back()};
  EXPECT_EQ(parts[1].frames, wings);

  // Elements leave from the front: the last built stays.
  live->Ctrl().count.Set(1);
  EXPECT_EQ(Roots(*live), std::vector<DS_Frame*>{built[2]});
  EXPECT_EQ(parts[0].frames, std::vector<DS_Frame*>{built[2]});
  EXPECT_EQ(parts[1].frames.size(), 2u);

  live->Ctrl().count.Set(0);
  EXPECT_TRUE(live->Elements().empty());
  EXPECT_TRUE(parts[0].frames.empty());
  EXPECT_TRUE(parts[1].frames.empty());

  // A damaged count builds no more than the cap.
  live->Ctrl().count.Set(0xFFFFFFFFu);
  EXPECT_EQ(live->Elements().size(), DS_3D_Obj_Ctrl::kMaxElements);
  EXPECT_EQ(parts[0].frames.size(), DS_3D_Obj_Ctrl::kMaxElements);
}

TEST_F(Objects3D, PartsTakeMeshAndPictureOrStayEmptyAndDrawNothing) {
  const DS_ResourceKey missing{u"common_res.dll", 9999};
  DS_ButterflyConstructor loaded;
  loaded.image.StoreKey(DS_ResourceKey{u"common_res.dll", 202});
  DS_ButterflyConstructor broken;  // no body mesh or picture, a wing mesh that is not there
  broken.bodyMesh.StoreKey(missing);
  broken.bodyImage.StoreKey(missing);
  broken.mesh.StoreKey(missing);
  broken.image.StoreKey(DS_ResourceKey{u"no such picture.png", 3});

  const auto good = LiveOf(loaded);
  for (const DS_MeshPart& part : good->Parts()) {
    EXPECT_GT(part.triangleCount, 0);
    EXPECT_GT(part.vertexCount, 0);
    EXPECT_TRUE(part.vertexBuffer && part.indexBuffer);
    EXPECT_TRUE(part.texture);
    EXPECT_GT(part.scalar, 0.0f);  // the bounding sphere's radius
    EXPECT_EQ(part.primitiveType, D3DPT_TRIANGLELIST);
  }
  EXPECT_TRUE(good->Parts()[1].IsTranslucent());
  EXPECT_FALSE(good->Parts()[0].IsTranslucent());

  const auto bad = LiveOf(broken);
  for (const DS_MeshPart& part : bad->Parts()) {
    EXPECT_EQ(part.triangleCount, 0);
    EXPECT_EQ(part.vertexCount, 0);
    EXPECT_FALSE(part.vertexBuffer || part.indexBuffer || part.texture);
    EXPECT_EQ(part.scalar, 0.0f);
  }
  const auto layer = MakeLayer();
  const DS_PixelReadback alone = Draw(*layer, {}, 0.5f);
  EXPECT_EQ(DifferingPixels(alone, Draw(*layer, {bad.get()}, 0.5f)), 0);
  // The loaded butterfly is drawn.
  EXPECT_GT(DifferingPixels(alone, Draw(*layer, {good.get()}, 0.5f)), 0);
}

class MarkerLayer : public DS_2D_Light {
 public:
  void DrawMarkers(const DS_SimpleMesh<DX_V::PC>& bounds, int mode, bool) override {
    modes.push_back(mode);
    vertexCount = bounds.vertexCount;
  }
  std::vector<int> modes;
  int vertexCount = 0;
};

TEST_F(Objects3D, BoundsCarryTheKindsMarkerFlagAndOnlyTheClockIsHit) {
  MarkerLayer layer;
  const auto butterflies = LiveOf(DS_ButterflyConstructor());
  const auto clock = LiveOf(DS_ClockConstructor());
  butterflies->DrawBounds(layer, 0);
  clock->DrawBounds(layer, 0);
  EXPECT_EQ(layer.modes, (std::vector<int>{0, 1}));
  EXPECT_EQ(layer.vertexCount, 4);
  for (float x : {0.0f, 100.0f, 512.0f}) EXPECT_FALSE(butterflies->HitTest(x, 384.0f));
}

class CountedController final : public DS_AnimationBase {
 public:
  explicit CountedController(int& alive) : m_Alive(alive) { ++m_Alive; }
  ~CountedController() override { --m_Alive; }
  void Animate(DS_Frame& frame) override { frame.world = frame.local; }

 private:
  int& m_Alive;
};

TEST(FrameTrees, OwnTheirChildrenAndControllersAndKeepTheParentsListInStep) {
  int alive = 0;
  {
    DS_FrameTree tree;
    tree.Root().SetController(std::make_unique<CountedController>(alive));
    std::vector<DS_Frame*> added;
    for (int i = 0; i < 3; ++i) {
      DS_Frame& child = tree.Children().Append();
      child.SetController(std::make_unique<CountedController>(alive));
      added.push_back(&child);
    }
    EXPECT_EQ(alive, 4);
    tree.Children().EraseFirst();
    EXPECT_EQ(alive, 3);
    EXPECT_EQ(std::vector<DS_Frame*>(tree.Root().children.begin(), tree.Root().children.end()),
              (std::vector<DS_Frame*>{added[1], added[2]}));
    // A copied frame shares its controller: the controller lives until both are gone.
    auto copy = std::make_unique<DS_Frame>(*added[1]);
    tree.Children().EraseFirst();
    EXPECT_EQ(alive, 3);
    copy.reset();
    EXPECT_EQ(alive, 2);
  }
  EXPECT_EQ(alive, 0);
}

TEST_F(Objects3D, TheFireGridAssignmentSharesTheIndexBuffer) {
  DS_IndexedMeshPNT source, target;
  CreateIndexBuffer(64, source);
  ASSERT_TRUE(source.indexBuffer);
  source.triangleCount = 8;
  source.columns = 3;
  source.rows = 5;
  source.primitiveCount = 8;
  const ULONG before = RefCount(source.indexBuffer.Get());
  AssignIndexedMeshPNT(target, source);
  EXPECT_EQ(target.indexBuffer.Get(), source.indexBuffer.Get());
  EXPECT_EQ(RefCount(source.indexBuffer.Get()), before + 1);
  EXPECT_EQ(target.triangleCount, 8);
  EXPECT_EQ(target.columns, 3);
  EXPECT_EQ(target.rows, 5);
  EXPECT_EQ(target.primitiveCount, 8);
  AssignIndexedMeshPNT(target, target);
  EXPECT_EQ(RefCount(source.indexBuffer.Get()), before + 1);
  EXPECT_EQ(target.columns, 3);
}

}  // namespace
