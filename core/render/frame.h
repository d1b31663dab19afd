// A transform node: a local and a world matrix (D3DX row-vector convention, p x M), children
// and an optional animation controller. Frame trees are at most a root and its direct children.
#pragma once

#include <d3dx9math.h>
#include <windows.h>

#include <list>
#include <memory>

#include "core/render/animation_base.h"

class DS_Frame {
 public:
  DS_Frame();

  // world := the controller's result when one is set, else the local matrix; then world x
  // parent when a parent is given; then every child in list order with this world as parent.
  void UpdateWorld(const D3DXMATRIX* parent);

  // Deletes every child frame (not their children) and then this frame, which must have been
  // allocated with new.
  void DeleteWithChildren();

  // Takes ownership of a controller, deleting the previous one.
  void SetController(std::unique_ptr<DS_AnimationBase> controller);
  DS_AnimationBase* Controller() const { return controller.get(); }

  float scalar = 0.0f;  // not read by the rendering base
  D3DXVECTOR3 position;  // not read by the rendering base
  D3DXMATRIX world;
  D3DXMATRIX local;
  // Copies share the controller, as they share the children; the controller goes when the last
  // frame holding it does, so a copied frame never deletes it twice.
  std::shared_ptr<DS_AnimationBase> controller;
  BYTE frontFace = 1;  // 1: drawn with counter-clockwise culling, 0: clockwise
  std::list<DS_Frame*> children;  // not owned; see DeleteWithChildren
};

// For each non-null child of the range: deletes its controller, its list and the child itself;
// grandchildren are not visited.
void DeleteFrameRange(std::list<DS_Frame*>::iterator first, std::list<DS_Frame*>::iterator last);
