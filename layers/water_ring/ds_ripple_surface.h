// The water of the water-ring layer on the device: the ripple field (ripple_field.h) drawn as one
// long lit triangle strip. The vertices are rewritten every frame into a dynamic default-pool
// vertex buffer; the strip order sits in a dynamic default-pool index buffer, written once. Both
// die with the device: the owner releases them in its OnDeviceLost and the next Setup or
// CreateBuffers makes them again; until then Step only simulates and Draw draws nothing.
#pragma once

#include <d3d9.h>

#include "core/com/ds_com_holder.h"
#include "layers/water_ring/ripple_field.h"

class DS_RippleSurface : public DS_RippleField {
 public:
  // Points this surface at the process-wide refraction table.
  void BuildRefractionTable() { m_Table = RefractionTable(); }
  bool HasRefractionTable() const { return m_Table != nullptr; }

  // Sizes the grid for a surface of width x depth units (still water) and makes the buffers.
  void Setup(float width, float depth, float rowFactor, float columnFactor);

  // Device objects, side by side: CreateBuffers makes whichever buffer is missing (the device's
  // error code when one cannot be made, else 0); ReleaseBuffers releases both.
  HRESULT CreateBuffers();
  void ReleaseBuffers();
  bool HasBuffers() const { return m_IndexBuffer && m_VertexBuffer; }

  // One step of the water seen from `eye`: the simulation, then the vertices. The lock's error
  // code when the vertex buffer cannot be written, else 0.
  HRESULT Step(const float (&eye)[3]);
  // Binds the vertices and indices and draws the strip. The caller sets the states.
  void Draw() const;

 private:
  const DS_RefractionEntry* m_Table = nullptr;
  DS_ComHolder<IDirect3DIndexBuffer9> m_IndexBuffer;
  DS_ComHolder<IDirect3DVertexBuffer9> m_VertexBuffer;
};
