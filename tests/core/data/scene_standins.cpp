#include "tests/core/data/scene_standins.h"

#include <utility>

DS_REGISTER_CONSTRUCTOR(VQTest_Sprite);
DS_REGISTER_CONSTRUCTOR(VQTest_Slide);

VQTest_ViewBase::VQTest_ViewBase() { speed.SetScale(0.02f, 0.0f); }

void VQTest_ViewBase::WriteViewPart(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"VQTest_ViewBase", kVersion);
  rect.WriteFields(out);
  out.WriteFloat(fraction);
  out.WriteByte(flagByte);
  speed.WriteValue(out);
  WriteObject(out);
}

void VQTest_ViewBase::ReadViewPart(DS_IOF_Virtual& in) {
  const uint32_t version = DS_ReadHeader(in).version;
  rect.ReadFields(in);
  in.ReadFloat(fraction);
  in.ReadByte(flagByte);
  if (version >= 2) speed.ReadValue(in);
  ReadBase(in);
}

VQTest_Sprite::VQTest_Sprite() {
  opacity.SetScale(-2.55f, 255.0f);
  anchor.Store(DS_Point{1, 2});
}

void VQTest_Sprite::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"VQTest_Sprite", kVersion);
  colour.WriteValue(out);
  opacity.WriteValue(out);
  out.WriteUInt(direction.Get());
  out.WriteBool(visible);
  WriteFileLink(picture, out);
  font.WriteFields(out);
  WriteParamValue(out, anchor);
  quad.WriteFields(out);
  out.WriteNamedBlob(mask);
  out.WriteResourceEntry(resource);
  WriteViewPart(out);
}

void VQTest_Sprite::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  colour.ReadValue(in);
  opacity.ReadValue(in);
  uint32_t angle = direction.Get();
  in.ReadUInt(angle);
  direction.Store(angle);
  direction.UpdateAxes();
  in.ReadBool(visible);
  ReadFileLink(in, picture);
  font.ReadFields(in);
  ReadParamValue(in, anchor);
  if (version >= 2) quad.ReadFields(in);
  if (version >= 3) {
    in.ReadNamedBlob(mask);
    in.ReadResourceEntry(resource);
  }
  ReadViewPart(in);
}

VQTest_Slide::VQTest_Slide() { display.SetDefault(10); }

void VQTest_Slide::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"VQTest_Slide", kVersion);
  WriteParamValue(out, display);
  WriteParamValue(out, name);
  out.WriteULong(static_cast<uint32_t>(objects.size()));
  for (const auto& object : objects) object->Write(out);
  WriteObject(out);
}

void VQTest_Slide::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  ReadParamValue(in, display);
  ReadParamValue(in, name);
  if (version >= 2) {
    const uint32_t count = DS_ReadCount(in, DS_MIN_HEADER_BYTES);
    for (uint32_t i = 0; i < count; ++i) {
      objects.push_back(DS_RequireRegistered(ReadConstructorObject(in)));
    }
  }
  ReadBase(in);
}

uint32_t ReadStandInDocument(const uint8_t* data, size_t size, VQTest_Show& show) {
  VQTest_Show read;
  try {
    ds_string tag;
    const size_t tagBytes = ParseArchiveString(data, size, tag);
    if (tagBytes == 0) return DS_E_DOCUMENT_UNUSABLE;
    ResourceBuffer buffer(data + tagBytes, size - tagBytes);
    auto reader = std::make_unique<DS_DocumentReader>(&buffer);
    DS_ReadHeader(*reader);
    const uint32_t count = DS_ReadCount(*reader, DS_MIN_HEADER_BYTES);
    for (uint32_t i = 0; i < count; ++i) {
      auto object = ReadConstructorObject(*reader);
      auto* slide = dynamic_cast<VQTest_Slide*>(object.get());
      if (!slide) return DS_E_DOCUMENT_UNUSABLE;
      object.release();
      read.slides.emplace_back(slide);
    }
  } catch (const DS_DocumentError& error) {
    return error.Code();
  }
  show = std::move(read);
  return 0;
}

std::vector<uint8_t> WriteStandInDocument(const VQTest_Show& show) {
  DS_IOF_ByteWriter out;
  out.WriteString(u"VQ test 1.0");
  DS_WriteHeader(out, u"VQTest_Show", 1);
  out.WriteULong(static_cast<uint32_t>(show.slides.size()));
  for (const auto& slide : show.slides) slide->Write(out);
  return out.TakeBytes();
}

VQTest_Show MakeSyntheticShow(int slides, int objectsPerSlide, uint32_t blobBytes) {
  VQTest_Show show;
  for (int s = 0; s < slides; ++s) {
    auto slide = std::make_unique<VQTest_Slide>();
    slide->display.SetDefault(static_cast<uint32_t>(5 + s % 7));
    slide->name.SetDefault(DsFromUtf8("Slide " + std::to_string(s)));
    slide->objectName = u"slide";
    for (int o = 0; o < objectsPerSlide; ++o) {
      auto sprite = std::make_unique<VQTest_Sprite>();
      const int k = s * objectsPerSlide + o;
      sprite->colour.SetDefault(static_cast<uint32_t>(k * 2654435761u) & 0xFFFFFFu);
      sprite->opacity.Set(static_cast<uint32_t>(k % 101));
      sprite->direction.SetDefault(static_cast<uint32_t>(k % 360));
      sprite->visible = (k % 3) != 0;
      sprite->picture.StoreKey(DS_ResourceKey{u"common_res.dll", 5 + k % 4});
      sprite->font.faceName = (k % 2) ? u"Arial" : u"Times New Roman";
      sprite->rect.left.SetDefault(k % 640);
      sprite->rect.right.SetDefault(k % 640 + 100);
      sprite->rect.top.SetDefault(k % 480);
      sprite->rect.bottom.SetDefault(k % 480 + 80);
      sprite->speed.Set(static_cast<uint32_t>(50 + k % 50));
      sprite->objectName = DsFromUtf8("Object " + std::to_string(k));
      std::vector<uint8_t> blob(blobBytes);
      for (uint32_t b = 0; b < blobBytes; ++b) blob[b] = static_cast<uint8_t>(b * 31 + static_cast<uint32_t>(k));
      sprite->mask.name = u"mask.png";
      sprite->mask.SetData(blobBytes, blob.data());
      sprite->resource.resourceId = 0;
      sprite->resource.name = u"embedded.png";
      sprite->resource.SetData(blobBytes / 2, blob.data());
      slide->objects.push_back(std::move(sprite));
    }
    show.slides.push_back(std::move(slide));
  }
  return show;
}
