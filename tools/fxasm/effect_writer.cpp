#include "tools/fxasm/effect_writer.h"

#include <cstring>

#include "tools/fxasm/state_table.h"

namespace fxasm {
namespace {

struct Resource {
  uint32_t technique;  // or kNoIndex for a state inside a sampler parameter's block
  uint32_t pass;       // or the sampler parameter's index
  uint32_t element;
  uint32_t state;
  uint32_t usage;
  std::vector<uint8_t> data;
};

std::vector<uint8_t> NameData(const std::string& name) {
  std::vector<uint8_t> data(name.begin(), name.end());
  data.push_back(0);
  return data;
}

std::vector<uint8_t> BytecodeData(const std::vector<uint32_t>& tokens) {
  std::vector<uint8_t> data(tokens.size() * 4);
  std::memcpy(data.data(), tokens.data(), data.size());
  return data;
}

class Writer {
 public:
  Writer(const EffectSource& effect, const std::map<std::string, std::vector<uint32_t>>& bytecode)
      : m_Effect(effect), m_Bytecode(bytecode) {}

  std::vector<uint8_t> Run() {
    m_Pool.push_back(0);  // offset 0 reads as "no string"
    for (size_t i = 0; i < m_Effect.parameters.size(); ++i) WriteParameter(static_cast<uint32_t>(i));
    for (size_t t = 0; t < m_Effect.techniques.size(); ++t) WriteTechnique(static_cast<uint32_t>(t));

    std::vector<uint32_t> stream;
    uint32_t passCount = 0;
    for (const Technique& technique : m_Effect.techniques) passCount += static_cast<uint32_t>(technique.passes.size());
    stream.push_back(static_cast<uint32_t>(m_Effect.parameters.size()));
    stream.push_back(static_cast<uint32_t>(m_Effect.techniques.size()));
    stream.push_back((m_NextObject - 1) + passCount);  // ignored by the loader; what fxc writes
    stream.push_back(m_NextObject);                    // object count: highest id + 1
    stream.insert(stream.end(), m_Records.begin(), m_Records.end());

    // Object data: an empty entry per texture object, as fxc writes.
    stream.push_back(static_cast<uint32_t>(m_TextureObjects.size()));
    stream.push_back(static_cast<uint32_t>(m_Resources.size()));
    for (uint32_t id : m_TextureObjects) {
      stream.push_back(id);
      stream.push_back(0);
    }
    for (const Resource& resource : m_Resources) {
      stream.insert(stream.end(), {resource.technique, resource.pass, resource.element, resource.state, resource.usage});
      AppendBlob(stream, resource.data);
    }

    std::vector<uint32_t> file;
    file.push_back(kEffectTag);
    file.push_back(static_cast<uint32_t>(m_Pool.size() * 4));
    file.insert(file.end(), m_Pool.begin(), m_Pool.end());
    file.insert(file.end(), stream.begin(), stream.end());
    std::vector<uint8_t> bytes(file.size() * 4);
    std::memcpy(bytes.data(), file.data(), bytes.size());
    return bytes;
  }

 private:
  static void AppendBlob(std::vector<uint32_t>& out, const std::vector<uint8_t>& data) {
    out.push_back(static_cast<uint32_t>(data.size()));
    std::vector<uint32_t> padded((data.size() + 3) / 4, 0);
    if (!data.empty()) std::memcpy(padded.data(), data.data(), data.size());
    out.insert(out.end(), padded.begin(), padded.end());
  }

  uint32_t PoolOffset() const { return static_cast<uint32_t>(m_Pool.size() * 4); }

  uint32_t PoolDwords(const std::vector<uint32_t>& dwords) {
    const uint32_t at = PoolOffset();
    m_Pool.insert(m_Pool.end(), dwords.begin(), dwords.end());
    return at;
  }

  uint32_t PoolString(const std::string& text) {
    if (text.empty()) return 0;
    const std::vector<uint8_t> data = NameData(text);
    const uint32_t at = PoolOffset();
    AppendBlob(m_Pool, data);
    return at;
  }

  uint32_t NewObject() { return m_NextObject++; }

  uint32_t ObjectTypedef(uint32_t type) { return PoolDwords({type, kClassObject, 0, 0, 0}); }

  // Literal state values in the form fxc writes: class MATRIX_ROWS, components x 1.
  uint32_t LiteralTypedef(uint32_t type, uint32_t components) {
    return PoolDwords({type, kClassMatrixRows, 0, 0, 0, components, 1});
  }

  // Writes one state's typedef and value; `resource` is filled in when the state needs one.
  void WriteStateValue(const StateAssignment& state, uint32_t& typedefOffset, uint32_t& valueOffset,
                       Resource& resource, bool& needsResource) {
    const StateValue& value = state.value;
    needsResource = false;
    switch (value.kind) {
      case ValueKind::Int:
      case ValueKind::Null:
        valueOffset = PoolDwords(value.dwords);
        typedefOffset = LiteralTypedef(kTypeInt, static_cast<uint32_t>(value.dwords.size()));
        return;
      case ValueKind::Float:
        valueOffset = PoolDwords(value.dwords);
        typedefOffset = LiteralTypedef(kTypeFloat, static_cast<uint32_t>(value.dwords.size()));
        return;
      case ValueKind::Shader: {
        const bool pixel = state.operation == kOperationPixelShader;
        valueOffset = PoolDwords({NewObject()});
        typedefOffset = ObjectTypedef(pixel ? kTypePixelShader : kTypeVertexShader);
        resource.usage = kUsageBytecode;
        resource.data = BytecodeData(m_Bytecode.at(value.name));
        needsResource = true;
        return;
      }
      case ValueKind::Reference: {
        const Parameter& target = *m_Effect.FindParameter(value.name);
        if (state.operation == kOperationTexture) {
          valueOffset = PoolDwords({NewObject()});  // a slot of its own, not the texture's id
          typedefOffset = ObjectTypedef(target.type);
        } else {
          valueOffset = PoolDwords({0});  // an empty sampler block; the reference fills it
          typedefOffset = ObjectTypedef(kTypeSampler);
        }
        resource.usage = kUsageReference;
        resource.data = NameData(value.name);
        needsResource = true;
        return;
      }
    }
  }

  void WriteParameter(uint32_t index) {
    const Parameter& parameter = m_Effect.parameters[index];
    const uint32_t name = PoolString(parameter.name);
    const uint32_t semantic = PoolString(parameter.semantic);
    uint32_t typedefOffset;
    if (parameter.IsNumeric()) {
      // Vectors store columns before rows; scalars and matrices rows before columns.
      const bool vector = parameter.parameterClass == kClassVector;
      typedefOffset = PoolDwords({parameter.type, parameter.parameterClass, name, semantic, 0,
                                  vector ? parameter.columns : parameter.rows,
                                  vector ? parameter.rows : parameter.columns});
    } else {
      typedefOffset = PoolDwords({parameter.type, kClassObject, name, semantic, 0});
    }

    uint32_t valueOffset;
    if (parameter.IsNumeric()) {
      valueOffset = PoolDwords(parameter.value);
    } else if (IsTextureType(parameter.type)) {
      const uint32_t id = NewObject();
      m_TextureObjects.push_back(id);
      valueOffset = PoolDwords({id});
    } else {
      std::vector<uint32_t> block{static_cast<uint32_t>(parameter.samplerStates.size())};
      for (size_t s = 0; s < parameter.samplerStates.size(); ++s) {
        const StateAssignment& state = parameter.samplerStates[s];
        uint32_t stateTypedef, stateValue;
        Resource resource{kNoIndex, index, 0, static_cast<uint32_t>(s), 0, {}};
        bool needsResource;
        WriteStateValue(state, stateTypedef, stateValue, resource, needsResource);
        if (needsResource) m_Resources.push_back(resource);
        block.insert(block.end(), {state.operation, kSamplerBlockStateIndex, stateTypedef, stateValue});
      }
      valueOffset = PoolDwords(block);
    }
    m_Records.insert(m_Records.end(), {typedefOffset, valueOffset, 0u /* flags */, 0u /* annotations */});
  }

  void WriteTechnique(uint32_t techniqueIndex) {
    const Technique& technique = m_Effect.techniques[techniqueIndex];
    m_Records.insert(m_Records.end(), {PoolString(technique.name), 0u, static_cast<uint32_t>(technique.passes.size())});
    for (size_t p = 0; p < technique.passes.size(); ++p) {
      const Pass& pass = technique.passes[p];
      m_Records.insert(m_Records.end(), {PoolString(pass.name), 0u, static_cast<uint32_t>(pass.states.size())});
      for (size_t s = 0; s < pass.states.size(); ++s) {
        const StateAssignment& state = pass.states[s];
        uint32_t typedefOffset, valueOffset;
        Resource resource{techniqueIndex, static_cast<uint32_t>(p), kNoIndex, static_cast<uint32_t>(s), 0, {}};
        bool needsResource;
        WriteStateValue(state, typedefOffset, valueOffset, resource, needsResource);
        if (needsResource) m_Resources.push_back(resource);
        m_Records.insert(m_Records.end(), {state.operation, state.index, typedefOffset, valueOffset});
      }
    }
  }

  const EffectSource& m_Effect;
  const std::map<std::string, std::vector<uint32_t>>& m_Bytecode;
  std::vector<uint32_t> m_Pool;
  std::vector<uint32_t> m_Records;  // parameter and technique records, in stream order
  std::vector<Resource> m_Resources;
  std::vector<uint32_t> m_TextureObjects;
  uint32_t m_NextObject = 1;  // id 0 is the loader's scratch slot
};

}  // namespace

std::vector<uint8_t> WriteEffectBinary(const EffectSource& effect,
                                       const std::map<std::string, std::vector<uint32_t>>& bytecode) {
  return Writer(effect, bytecode).Run();
}

}  // namespace fxasm
