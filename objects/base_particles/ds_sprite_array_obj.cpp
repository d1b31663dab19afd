#include "objects/base_particles/ds_sprite_array_obj.h"

#include "core/layer/draw_inputs.h"
#include "core/layer/ds_2d_light.h"
#include "core/render/image_set_frames.h"
#include "core/render/quads.h"
#include "core/resources/doc_res_manager.h"
#include "objects/base_particles/ds_particle_system_ctrl.h"

namespace {
bool NamesSomething(const DS_FileLink3& link) { return !link.Key().name.empty() || link.Key().stamp != 0; }
}  // namespace

std::unique_ptr<DS_ABObj> DS_ParticleSystemCtrl::CreateObject() const {
  // The clone turns the pictures of an old record into links; the stored set stays as read.
  std::unique_ptr<DS_ParticleSystemCtrl> clone = Clone();
  clone->PrepareImageLinks();
  return std::make_unique<DS_SpriteArrayObj>(std::move(clone));
}

DS_SpriteArrayObj::DS_SpriteArrayObj(std::unique_ptr<DS_ParticleSystemCtrl> set) : DS_ABObj(std::move(set)) {
  auto* ctrl = static_cast<DS_ParticleSystemCtrl*>(Control());
  if (g_DocResManager && NamesSomething(ctrl->image)) {
    const DS_ImageSet& picture = ctrl->imageSource == 1 ? g_DocResManager->GetImageSetFromLibrary(ctrl->image)
                                                        : g_DocResManager->GetImageSet(ctrl->image);
    textures = picture.textures;
    frameTimes = picture.frameTimes;
    width = static_cast<int32_t>(picture.width);
    height = static_cast<int32_t>(picture.height);
    aspect = picture.aspect;
  }
  pictureAspect = aspect;
  control = ctrl;
  AttachCountListener();
  if (g_DocResManager && !ctrl->overlayImage.GetName().empty())
    overlay = FirstTextureOf(g_DocResManager->GetImageSet(ctrl->overlayImage));
}

DS_SpriteArrayObj::~DS_SpriteArrayObj() = default;

void DS_SpriteArrayObj::Render(DS_2D_Light& layer) {
  DS_SpriteArrayView view;
  view.geometry = this;
  view.frameTextures = textures.data();
  view.frameTextureCount = textures.size();
  view.frameIndex = frame;
  view.overlay = overlay.Get();
  view.blendMode = control->blendMode.Get();
  layer.DrawSpriteArray(view);
}

void DS_SpriteArrayObj::DrawBounds(DS_2D_Light& layer, int mode) {
  DS_ScreenQuad quad;
  control->PixelQuad(quad);
  DS_SimpleMesh<DX_V::PC> bounds;
  MakeColouredQuadPC(bounds, 0x88000000, quad);
  // Still pictures show the corner markers; the highlight is the caller's.
  layer.DrawMarkers(bounds, isStatic != 0 ? 1 : 0, mode != 0);
}

void DS_SpriteArrayObj::Update(float time) {
  ParticleGeomArray::Update(time);
  const bool changed = AdvanceFrame(control->Phase());
  // Static geometry is rewritten only when the picture frame changes, and once at the start so
  // that a single-frame picture shows at all.
  if (control->staticGeometry.Get() == 0 || changed || !m_Filled) {
    FillVertices();
    m_Filled = true;
  }
}

void DS_SpriteArrayObj::SyncRect() { control->PushRectToParams(); }

bool DS_SpriteArrayObj::HitTest(float x, float y) { return control->HitTest(x, y); }
