// The background layer of a slide, and the renderer through which every live object of the
// slide draws. In its base form it shows one picture, laid onto the screen by the user's
// picture-position mode and moved by its camera; the layer kinds derive from it and replace
// some of its virtual operations. It owns its device objects, survives device loss, and manages
// the off-screen target into which the scene is drawn when an object or the layer itself needs
// the finished picture as a texture.
#pragma once

#include <d3dx9.h>

#include <cstddef>
#include <cstdint>

#include "core/data/change_listeners.h"
#include "core/layer/draw_inputs.h"
#include "core/layer/ds_2d_light_params.h"
#include "core/layer/dsm_camera.h"
#include "core/render/quads.h"
#include "core/render/render_target_pair.h"
#include "core/resources/mask_entry.h"

class DS_ABObj;

// The abstract render interface that live objects are handed.
class DS_ABRender : public DS_IOF_Item {};

// The stored fields are a base, so that they outlive the picture listener.
class DS_2D_Light : public DS_ABRender, public DS_2D_LightParamsT<DSM_Camera> {
 public:
  using Texture = DS_ComHolder<IDirect3DTexture9>;
  using DS_2D_LightParamsT<DSM_Camera>::kVersion;
  using DS_2D_LightParamsT<DSM_Camera>::kMinVersion;
  static constexpr int kMarkerCount = 5;
  static const int kMarkerPictureIds[kMarkerCount];  // 54, 55, 56, 57, 61

  DS_2D_Light();
  ~DS_2D_Light() override;
  DS_2D_Light(const DS_2D_Light&) = delete;
  DS_2D_Light& operator=(const DS_2D_Light&) = delete;

  // Record ---------------------------------------------------------------------------------------
  // The stored fields' list (DS_2D_LightParamsT), named as the layer's own so that the registry
  // finds it.
  template <class R>
  void Record(R& r) {
    DS_WalkRecord(static_cast<DS_2D_LightParamsT<DSM_Camera>&>(*this), r);
  }
  void Write(DS_IOF_Virtual& out) const override { WriteObject(out); }
  void WriteObject(DS_IOF_Virtual& out) const;
  // A base layer read from its record of `version` (after the header): the picture link from
  // version 2, the camera from version 3. A record cut short throws DS_DocumentError.
  static std::unique_ptr<DS_2D_Light> CreateFromStream(DS_IOF_Virtual& in, uint32_t version);
  // For the kinds' readers: the nested base part's header (the name is not compared) and the
  // same fields with that header's version.
  static void ReadBase(DS_IOF_Virtual& in, DS_2D_Light& layer);
  // What the layer registry calls. Observers of the picture link are not told.
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);

  // Nested renders into an object's own target ---------------------------------------------------
  virtual void BeginNestedRender(const DS_RenderTargetPair& target, int mode);
  virtual void EndNestedRender();
  virtual void DrawMarkers(const DS_SimpleMesh<DX_V::PC>& bounds, int mode, bool highlighted);

  // Drawing interface ------------------------------------------------------------------------
  void DrawIndexedPT(const DS_IndexedMesh<DX_V::PT>& mesh, ID3DXEffect* effect);
  void DrawMeshPT(const DS_SimpleMesh<DX_V::PT>& mesh, ID3DXEffect* effect);
  // The picture quad through `effect`, drawn only over the target's pixels that `part` (a part of
  // the picture, in fractions of it) can reach, with the scissor test; where the part cannot be
  // bounded on the target, over the whole quad. A pass that `replaces` what is below it over the
  // whole quad ("MainFX", over the scene texture) puts the scene texture itself there first, as
  // that pass leaves it outside the part. Every pixel the effect draws is what the whole quad
  // would draw there.
  void DrawPicturePart(ID3DXEffect* effect, const DS_MaskBounds& part, bool replaces);
  void DrawIndexedPCT(const DS_IndexedMesh<DX_V::PCT>& mesh, ID3DXEffect* effect);
  virtual void DrawObject3D(const DS_Object3DPartView& part);
  virtual void DrawSpriteArray(const DS_SpriteArrayView& sprites);
  virtual void DrawFrameTree(const DS_SpriteArrayT<DX_V::PNT>& geometry);
  void DrawPulsing(DS_TexturedQuad& quad, const D3DXMATRIX* parent, bool pulse);
  const Texture& SceneTexture() const { return m_SceneTexture; }
  // The scene texture over the picture quad as the picture itself is drawn (its world, the
  // picture's states), on the transforms the device holds; then unbound, as the target it belongs
  // to must go on a device reset.
  void DrawSceneTexture();
  DS_PictureQuad& BackgroundQuad() { return m_Background; }
  unsigned PictureWidth() const { return m_Background.picture.width; }
  unsigned PictureHeight() const { return m_Background.picture.height; }

  // Device objects -----------------------------------------------------------------------------
  // Managed-pool objects (the picture quad, the border image, the markers), made once.
  virtual void CreateDeviceObjects();
  // Default-pool objects and device states: OnDeviceLost releases the target pair and the scene
  // texture (on a device loss, and when the layer's slide stops being current); OnDeviceReset
  // sets the default states and makes the pair again at the back-buffer size. Neither tells the
  // resource manager: its owner does, once for the whole scene.
  virtual void OnDeviceReset();
  virtual void OnDeviceLost();
  // The camera's border image on the view's border quads. The view belongs to the output, so a
  // layer applies its own border again whenever its slide becomes current.
  void ApplyBorderImage();

  // Frame ----------------------------------------------------------------------------------------
  virtual void PostRender();
  virtual void RenderBackground(bool flag);
  // Whether the background picture, as RenderBackground draws it with the current transforms and
  // viewport, covers every pixel of the target (then nothing of the clear under it would show).
  bool PictureCoversTarget() const;
  virtual void Update(float time);
  virtual void Layout(int width, int height);
  virtual void SetPicturePosition(int mode);
  int ReservedQuery(int, int, int) { return 0; }
  int ReservedValue(int) { return 0; }
  bool ReservedFlag() { return false; }
  bool ReservedEnabled() { return true; }
  bool IsRandomPan() const { return m_Camera.panKind.Get() == DSM_Camera::kPanKindWander; }
  // Pan kind := wander (observers are not told), wander state zeroed; whether it was already on.
  bool EnableRandomPan();
  virtual void DrawColouredQuad(const DS_MeshBase& quad);
  virtual void BeginTargetRender();
  virtual const DS_RenderTargetPair& EndTargetRender(bool clear);
  virtual bool HasDistortion() { return false; }
  virtual void OnPictureChanged();

  // The scene of a slide up to the layer's post render: counts the objects that need the scene
  // texture (and the layer's own distortion), begins the target render when any does, draws the
  // background and then the objects. The one drawing path of the saver, the viewer and the tests;
  // PostRender follows it.
  void RenderScene(DS_ABObj* const* objects, size_t count);
  // The objects that need the scene texture, plus one when the layer has a distortion.
  int CountSceneTextureUsers(DS_ABObj* const* objects, size_t count);
  // The slide's first object list, drawn from last to first; n counts the scene-texture users
  // (plus one for a layer with a distortion) and the target render was begun when n > 0.
  void RenderObjects(DS_ABObj* const* objects, size_t count, int n);

  // Whether the scene is being drawn into the target pair (BeginTargetRender found textures).
  bool InTargetRender() const { return m_InTargetRender; }
  // Sets the picture link through its change path: the layer's listener reloads the picture
  // and lays the layer out again.
  void SetPictureLink(const DS_ResourceKey& key) { m_Picture.SetKey(key); }
  int PicturePosition() const { return m_PicturePosition; }
  int LayerWidth() const { return m_LayerWidth; }
  int LayerHeight() const { return m_LayerHeight; }
  DS_RenderTargetPair& Targets() { return m_Targets; }

 protected:
  // The picture resolved through the current resource manager: its first frame, or the empty
  // picture when there is no manager or the set has no frame.
  DS_TextureInfo ResolvePicture() const;

  DS_PictureQuad m_Background;
  Texture m_SceneTexture;
  Texture m_Markers[kMarkerCount];
  int m_PicturePosition = 1;
  int m_SavedViewMode = 1;
  DS_RenderTargetPair m_Targets;
  int m_LayerWidth = 0, m_LayerHeight = 0;
  bool m_InTargetRender = false;
  // Last, so that it goes first: the picture listener leaves the link before anything else dies.
  DS_ListenerSet m_Listeners;
};

