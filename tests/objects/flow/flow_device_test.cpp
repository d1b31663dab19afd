// A flow's live object on a device, one edge mode at a time: its single particle streams across
// the view until it reaches the edge, and the frames show what that edge does with it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "objects/flow/ds_flow_constructor.h"
#include "objects/base_particles/ds_sprite_array_obj.h"
#include "tests/support/layer_fixture.h"

namespace {

// The particle as one frame left it.
struct Seen {
  float x, y, fade, signX;
  int32_t boundEdge;
  bool waiting;
  uint32_t alpha;  // of the sprite's first vertex in the vertex buffer
};

class FlowOnDevice : public ObjectLayerFixture {
 protected:
  // A flow of one 20-pixel sprite (half size 10) at 200 pixels per unit of phase to the right,
  // whose right edge has the given mode.
  static void RightwardFlow(DS_FlowConstructor& flow, int32_t rightMode) {
    flow.count.Set(1);
    flow.baseSize.Set(20);
    flow.flowSpeed = 200.0f;
    flow.bounds[3].mode.Set(rightMode);
    flow.bounds[3].minDelay.Set(100);
    flow.bounds[3].maxDelay.Set(100);  // 0.1 units of phase: five frames
  }

  // Frames 0.02 s apart (a step of 0.02 at speed 50), each drawn through the layer.
  std::vector<Seen> Play(const DS_FlowConstructor& flow, int frames) {
    std::vector<Seen> seen;
    std::unique_ptr<DS_ABObj> made = flow.CreateObject();
    auto* object = dynamic_cast<DS_SpriteArrayObj*>(made.get());
    EXPECT_NE(object, nullptr);
    if (!object || object->particles.size() != 1) return seen;
    DS_Particle& p = *object->particles[0];
    right = object->control->PixelRight();
    EXPECT_EQ(object->control->PixelLeft(), 0.0f);
    p.position.x = right - 60.0f;  // a known start inside the view
    p.position.y = object->control->PixelBottom() * 0.5f;
    p.velocity.z = 0.0f;  // no drift
    IDirect3DDevice9* d = Device();
    for (int i = 1; i <= frames; ++i) {
      const float t = static_cast<float>(i) * 0.02f;
      m_Layer->Update(t);
      object->Update(t);
      DS_ABObj* objects[1] = {object};
      EXPECT_EQ(d->BeginScene(), D3D_OK);
      m_Layer->RenderScene(objects, 1);
      m_Layer->PostRender();
      EXPECT_EQ(d->EndScene(), D3D_OK);
      seen.push_back({p.position.x, p.position.y, p.fade, p.flowSign.x, p.boundEdge, p.waiting, FirstAlpha(*object)});
    }
    return seen;
  }

  static uint32_t FirstAlpha(DS_SpriteArrayObj& object) {
    if (!object.vertexBuffer) return 0xFFFFFFFFu;
    void* data = nullptr;
    if (FAILED(object.vertexBuffer->Lock(0, 0, &data, D3DLOCK_READONLY)) || !data) return 0xFFFFFFFFu;
    const uint32_t alpha = static_cast<const DX_V::PCT*>(data)->colour >> 24;
    object.vertexBuffer->Unlock();
    return alpha;
  }

  // The first frame in which the particle is taken by the right edge.
  static size_t FirstTaken(const std::vector<Seen>& seen) {
    for (size_t i = 0; i < seen.size(); ++i)
      if (seen[i].boundEdge == 3) return i;
    return seen.size();
  }

  float right = 0.0f;  // the view's right edge in picture pixels
};

TEST_F(FlowOnDevice, AWrappingParticleFadesOutAndBackInAtTheLeftEdge) {
  DS_FlowConstructor flow;
  RightwardFlow(flow, DS_BoundControl::kWrap);
  flow.bounds[3].fadeOutTime.Set(40);  // 0.5 per frame
  flow.bounds[3].fadeInTime.Set(80);   // 0.25 per frame
  const std::vector<Seen> seen = Play(flow, 60);
  size_t i = FirstTaken(seen);
  ASSERT_LT(i + 20, seen.size()) << "never wholly beyond the right edge";
  EXPECT_GT(seen[i].x - 10.0f, right);
  // Fading out while it keeps moving, until it is invisible.
  for (++i; i < seen.size() && seen[i].fade > 0.0f; ++i) {
    EXPECT_LT(seen[i].fade, seen[i - 1].fade);
    EXPECT_NEAR(seen[i].fade, seen[i - 1].fade - 0.5f, 1e-4f);
    EXPECT_GT(seen[i].x, seen[i - 1].x);
  }
  ASSERT_LT(i + 12, seen.size());
  EXPECT_EQ(seen[i].alpha, 0u);
  EXPECT_EQ(seen[i].boundEdge, 3);
  // Released to wait, then just inside the left edge, where it waits out the delay.
  ++i;
  EXPECT_EQ(seen[i].boundEdge, -1);
  EXPECT_TRUE(seen[i].waiting);
  const size_t arrived = ++i;
  EXPECT_FLOAT_EQ(seen[arrived].x, 1.0f);
  EXPECT_EQ(seen[arrived].boundEdge, 3);
  while (i < seen.size() && seen[i].fade == 0.0f) {
    EXPECT_FLOAT_EQ(seen[i].x, 1.0f) << i;
    ++i;
  }
  ASSERT_LT(i + 6, seen.size());
  EXPECT_GE(i - arrived, 4u);  // the delay of five frames
  // Fading in, in the vertex buffer too, then released and moving right again.
  for (; i < seen.size() && seen[i].boundEdge == 3; ++i) {
    EXPECT_GT(seen[i].fade, seen[i - 1].fade - 1e-6f);
    EXPECT_NEAR(static_cast<float>(seen[i].alpha), 255.0f * seen[i].fade, 1.0f) << i;
  }
  ASSERT_LT(i + 1, seen.size());
  EXPECT_FLOAT_EQ(seen[i].fade, 1.0f);
  EXPECT_EQ(seen[i].alpha, 255u);
  EXPECT_GT(seen[i + 1].x, seen[i].x);
  EXPECT_EQ(seen[i + 1].boundEdge, -1);
}

TEST_F(FlowOnDevice, ABouncingParticleTurnsInConsecutiveFrames) {
  DS_FlowConstructor flow;
  RightwardFlow(flow, DS_BoundControl::kBounce);
  const std::vector<Seen> seen = Play(flow, 40);
  const size_t taken = FirstTaken(seen);
  ASSERT_LT(taken + 3, seen.size()) << "never touched the right edge";
  EXPECT_GT(seen[taken].x + 10.0f, right);
  EXPECT_FLOAT_EQ(seen[taken].signX, -1.0f);
  EXPECT_GT(seen[taken].x, seen[taken - 1].x);      // still on its way in the frame it touched
  EXPECT_LT(seen[taken + 1].x, seen[taken].x);      // on its way back in the next
  EXPECT_LE(seen[taken + 1].x, right - 10.0f - 1.0f);  // wholly inside
  EXPECT_EQ(seen[taken + 1].boundEdge, -1);
  for (size_t i = taken + 2; i < seen.size(); ++i) EXPECT_LT(seen[i].x, seen[i - 1].x) << i;
}

TEST_F(FlowOnDevice, AReturningParticleWaitsJustOutsideAndComesBack) {
  DS_FlowConstructor flow;
  RightwardFlow(flow, DS_BoundControl::kReturn);
  const std::vector<Seen> seen = Play(flow, 50);
  const size_t taken = FirstTaken(seen);
  ASSERT_LT(taken + 10, seen.size()) << "never wholly beyond the right edge";
  EXPECT_TRUE(seen[taken].waiting);
  size_t held = taken + 1;
  while (held < seen.size() && seen[held].waiting) {
    EXPECT_FLOAT_EQ(seen[held].x, right + 10.0f - 1.0f) << held;  // one pixel short of wholly outside
    ++held;
  }
  EXPECT_GE(held - taken, 5u);
  EXPECT_LE(held - taken, 6u);
  ASSERT_LT(held + 6, seen.size());
  EXPECT_EQ(seen[held].boundEdge, -1);
  EXPECT_LT(seen[held + 1].x, seen[held].x);  // back in, leftwards
  EXPECT_LT(seen[held + 6].x + 10.0f, right);  // wholly inside again (4 pixels a frame)
}

}  // namespace
