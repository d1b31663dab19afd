// Picture decoders: resource bytes into managed textures through D3DX's texture loaders on the
// current device, with the source picture's pixel size. A failed decode gives no texture and a
// picture size of 0 x 0 (aspect 1.0). Uncompressed DDS files of the bump formats V8U8 and
// V16U16, which the device takes but this D3DX does not decode (it answers E_NOTIMPL), are read
// by our own reader when D3DX fails on them.
#pragma once

#include <windows.h>
#include <d3dx9.h>

#include <cstdint>

#include "core/resources/mask_entry.h"
#include "core/render/texture_info.h"

using DS_Texture = DS_ComHolder<IDirect3DTexture9>;

// The bytes of resource `id` (low 16 bits) of type `type` in `module` (null: the program). False
// when the resource is missing, empty, or cannot be loaded or locked.
bool FindModuleResource(HMODULE module, int id, const wchar_t* type, const void*& data, DWORD& size);

// Decodes `size` bytes into a texture with its picture's size.
DS_TextureInfo LoadTextureInfoFromMemory(const void* bytes, uint32_t size);
// Decodes into `texture` and, on success only, `info`. The loader's failure code, E_FAIL when it
// reports success without a texture, else S_OK.
HRESULT CreateTextureFromMemory(D3DXIMAGE_INFO& info, uint32_t size, const void* bytes, DS_Texture& texture);
// "DDS" resource `id` of `module`, decoded. E_FAIL when there is no texture (missing resource too).
HRESULT LoadModuleTextureResource(HMODULE module, int id, DS_Texture& texture, D3DXIMAGE_INFO& info);
// The program's own "DDS" resource `id`, unfiltered, with a full mip chain or one level.
HRESULT LoadResourceTexture(DS_Texture& texture, int id, bool fullChain);

// A bump-format DDS file (dds_layout.h) as a managed texture of the file's format and size,
// with level 0 only or every level the file holds, and `info` (when given) as D3DX reports a
// file. E_FAIL, no texture and `info` untouched, when the bytes are no such file (short or lying
// ones included); the device's code when it cannot make or lock the texture.
HRESULT CreateTextureFromBumpDds(const void* bytes, size_t size, bool fullChain, D3DXIMAGE_INFO* info,
                                 DS_Texture& texture);
// The same over a file's bytes (at most 64 MiB), level 0 only.
HRESULT CreateTextureFromBumpDdsFile(const wchar_t* path, D3DXIMAGE_INFO* info, DS_Texture& texture);
// The part of the picture where a decoded mask's alpha is above 0 (its first level read back as
// A8R8G8B8, so that formats without alpha count as opaque). The whole picture for a mask of
// several levels (a filtered sample of a smaller level reaches further), or one that cannot be read.
DS_MaskBounds MaskBoundsOfTexture(IDirect3DTexture9* texture);
