// The device utilities: the buffer makers replace and share their buffers, and texture copies
// fill level 0 of a managed texture.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include "core/render/device_utils.h"
#include "core/render/mesh_ops.h"
#include "core/render/quads.h"
#include "tests/core/render/render_device_fixture.h"

namespace render_test {
namespace {

TEST_F(RenderDevice, BufferMakersReplaceAndShareBuffers) {
  DS_SimpleMesh<DX_V::PT> mesh;
  ASSERT_TRUE(CreateQuadBufferPT(mesh));
  IDirect3DVertexBuffer9* first = mesh.vertexBuffer.Get();
  first->AddRef();
  ASSERT_TRUE(CreateQuadBufferPT(mesh));
  EXPECT_NE(mesh.vertexBuffer.Get(), first);
  EXPECT_EQ(first->Release(), 0u);  // the maker released the old buffer
  EXPECT_EQ(mesh.vertexCount, 4);
  EXPECT_EQ(mesh.primitiveCount, 2);
  D3DVERTEXBUFFER_DESC vd;
  mesh.vertexBuffer->GetDesc(&vd);
  EXPECT_EQ(vd.Size, 80u);
  EXPECT_EQ(vd.FVF, 0x102u);
  EXPECT_EQ(vd.Pool, D3DPOOL_MANAGED);
  EXPECT_EQ(vd.Usage & D3DUSAGE_WRITEONLY, static_cast<DWORD>(D3DUSAGE_WRITEONLY));

  // Copies share by AddRef; self-assignment keeps the buffer.
  {
    DS_SimpleMesh<DX_V::PT> copy(mesh);
    EXPECT_EQ(RefCount(mesh.vertexBuffer.Get()), 2u);
    copy = copy;
    EXPECT_EQ(RefCount(mesh.vertexBuffer.Get()), 2u);
  }
  EXPECT_EQ(RefCount(mesh.vertexBuffer.Get()), 1u);

  // A count of 0 makes no buffer, and the count is stored.
  EXPECT_FALSE(CreateVertexBufferTPCT(0, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
  EXPECT_FALSE(mesh.vertexBuffer);
  EXPECT_EQ(mesh.vertexCount, 0);
  EXPECT_FALSE(CanDraw(mesh));

  DS_IndexBufferRecord grid;
  CreateGridIndices8x8(grid);
  ASSERT_TRUE(grid.indexBuffer);
  EXPECT_EQ(grid.triangleCount, 128);
  EXPECT_EQ(grid.indexLockPointer, nullptr);
  D3DINDEXBUFFER_DESC id;
  grid.indexBuffer->GetDesc(&id);
  EXPECT_EQ(id.Size, 2048u);
  EXPECT_EQ(id.Format, D3DFMT_INDEX16);

  D3DSURFACE_DESC bb;
  GetBackBufferDesc(bb);
  EXPECT_EQ(bb.Width, static_cast<UINT>(kWidth));
  EXPECT_EQ(bb.Height, static_cast<UINT>(kHeight));
}

TEST_F(RenderDevice, CopyTextureFillsLevelZeroOfAManagedCopy) {
  const DS_ComHolder<IDirect3DTexture9> source = MakeSolidTexture(Device(), 0xFF00FF00, 16);
  const DS_ComHolder<IDirect3DTexture9> copy = CopyTexture(source, 128, 128, D3DFMT_A8R8G8B8);
  ASSERT_TRUE(copy);
  D3DSURFACE_DESC desc;
  copy->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Width, 128u);
  EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
  EXPECT_EQ(copy->GetLevelCount(), 8u);
  D3DLOCKED_RECT r;
  ASSERT_EQ(copy->LockRect(0, &r, nullptr, D3DLOCK_READONLY), D3D_OK);
  EXPECT_EQ(static_cast<const std::uint32_t*>(r.pBits)[64 * r.Pitch / 4 + 64] & 0xFFFFFF, kGreen);
  copy->UnlockRect(0);
  EXPECT_FALSE(CopyTexture(DS_ComHolder<IDirect3DTexture9>(), 128, 128, D3DFMT_A8R8G8B8));

  DS_PictureQuad quad;
  CreateSquareTextureCopy(1, quad, source);
  ASSERT_TRUE(quad.picture.texture);
  quad.picture.texture->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Width, 256u);
}

}  // namespace
}  // namespace render_test
