#include "objects/base_particles/particle_geom_array.h"

#include <algorithm>

#include "core/render/device_utils.h"
#include "objects/base_particles/ds_particle_system_ctrl.h"

ParticleGeomArray::ParticleGeomArray() { listeners.SetOwner(this, false); }

ParticleGeomArray::~ParticleGeomArray() = default;

void ParticleGeomArray::AttachCountListener() {
  if (control) DS_AttachListener(listeners, control->count, &ParticleGeomArray::OnCountChanged);
}

uint32_t ParticleGeomArray::SpriteCount() const {
  return control ? std::min(control->count.Get(), kMaxSpritesPerSystem) : 0u;
}

void ParticleGeomArray::OnCountChanged(uint32_t count) {
  if (count == 0 || !control) return;
  // 16-bit indices reach 16383 sprites; a larger stored count draws that many.
  const uint32_t n = std::min(count, kMaxSpritesPerSystem);
  if (CreateBuffers(static_cast<int>(4 * n), static_cast<int>(6 * n))) FillIndices(n);
  while (particles.size() < n) {
    auto particle = std::make_unique<DS_Particle>(*control, pictureAspect);
    particle->Reset(*control);
    DS_Particle& added = *particle;
    particles.push_back(std::move(particle));
    control->SpawnParticle(added);
  }
}

bool ParticleGeomArray::CreateBuffers(int vertices, int indices) {
  primitiveType = D3DPT_TRIANGLELIST;
  primitiveCount = 0;
  triangleCount = indices / 3;
  const bool madeVertices = CreateVertexBufferOf<DX_V::PCT>(vertices, *this, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
  // 32 bytes per sprite, of which the six indices use 12.
  const bool madeIndices = CreateIndexBuffer(static_cast<UINT>(16 * (indices / 3)), *this);
  if (!madeVertices || !madeIndices) {
    vertexBuffer.Reset();
    indexBuffer.Reset();
    vertexCount = 0;
    triangleCount = 0;
    return false;
  }
  return true;
}

void ParticleGeomArray::FillIndices(uint32_t n) {
  LockIndexBuffer(*this);
  auto* indices = static_cast<uint16_t*>(indexLockPointer);
  if (!indices) return;
  WriteSpriteIndices(n, indices);
  UnlockIndexBuffer(*this);
}

void ParticleGeomArray::Update(float time) {
  if (!control) return;
  control->Step(time);
  for (const auto& particle : particles) control->UpdateParticle(*particle);
}

void ParticleGeomArray::FillVertices() {
  if (!control) return;
  const uint32_t n = SpriteCount();
  if (n == 0 || static_cast<uint32_t>(vertexCount / 4) != n || particles.size() < n) return;
  auto* vertices = static_cast<DX_V::PCT*>(LockVertexBuffer(*this));
  if (!vertices) return;
  // All particles of a system show the same sheet frame.
  sheet.Advance(*control, control->Phase());
  for (uint32_t i = 0; i < n; ++i) WriteSpriteVertices(*particles[i], *control, sheet, vertices + 4 * i);
  UnlockVertexBuffer(*this);
}
