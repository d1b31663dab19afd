#include "core/effects/effect_validator.h"

#include <cstring>
#include <set>
#include <stdexcept>
#include <vector>

#include "core/effects/effect_format.h"

namespace fxasm {
namespace {

struct Invalid : std::runtime_error {
  using std::runtime_error::runtime_error;
};

constexpr uint32_t kFirstLightOperation = 0x84, kLightEnableOperation = 0x91;

struct TypeInfo {
  uint32_t type = 0, parameterClass = 0, elements = 0, rows = 0, columns = 0;
  std::string name;
};

// A state whose object value a resource must fill in (shader, texture or sampler reference).
struct StateSlot {
  uint32_t type;    // of the state's typedef
  bool filled = false;
};

struct ParameterInfo {
  TypeInfo type;
  std::vector<StateSlot> blockStates;  // sampler parameters
};

class Validator {
 public:
  Validator(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}

  void Run() {
    if (m_Size < 8 || m_Size % 4) throw Invalid("file size " + std::to_string(m_Size) + " is not a whole header");
    if (Dword(0) != kEffectTag) throw Invalid("not an fx_2_0 effect (wrong tag)");
    m_PoolSize = Dword(4);
    if (m_PoolSize % 4 || m_PoolSize > m_Size - 8) throw Invalid("pool size runs past the end of the file");
    if (m_PoolSize < 4 || Pool(0) != 0) throw Invalid("the pool does not start with a zero DWORD");
    m_Cursor = 8 + m_PoolSize;

    const uint32_t parameterCount = Next("parameter count");
    const uint32_t techniqueCount = Next("technique count");
    Next("shader count");
    m_ObjectCount = Next("object count");
    if (m_ObjectCount == 0 || m_ObjectCount > m_Size) throw Invalid("object count is out of range");
    if (parameterCount > m_Size / 16 || techniqueCount > m_Size / 12) throw Invalid("counts exceed the file");

    std::set<std::string> names;
    for (uint32_t p = 0; p < parameterCount; ++p) {
      ParameterInfo info;
      const uint32_t typedefOffset = Next("parameter typedef");
      const uint32_t valueOffset = Next("parameter value");
      Next("parameter flags");
      if (Next("annotation count") != 0) throw Invalid("annotations are not supported");
      info.type = ReadTypedef(typedefOffset);
      if (info.type.name.empty()) throw Invalid("parameter " + std::to_string(p) + " has no name");
      if (!names.insert(info.type.name).second) throw Invalid("parameter '" + info.type.name + "' appears twice");
      ReadValue(info.type, valueOffset, &info.blockStates);
      m_Parameters.push_back(std::move(info));
    }

    for (uint32_t t = 0; t < techniqueCount; ++t) {
      if (ReadString(Next("technique name")).empty()) throw Invalid("technique " + std::to_string(t) + " has no name");
      if (Next("annotation count") != 0) throw Invalid("annotations are not supported");
      const uint32_t passCount = Next("pass count");
      if (passCount > m_Size / 12) throw Invalid("pass count exceeds the file");
      std::vector<std::vector<StateSlot>> passes;
      for (uint32_t p = 0; p < passCount; ++p) {
        if (ReadString(Next("pass name")).empty()) throw Invalid("a pass of technique " + std::to_string(t) + " has no name");
        if (Next("annotation count") != 0) throw Invalid("annotations are not supported");
        const uint32_t stateCount = Next("state count");
        if (stateCount > m_Size / 16) throw Invalid("state count exceeds the file");
        std::vector<StateSlot> states;
        for (uint32_t s = 0; s < stateCount; ++s) states.push_back(ReadState(false));
        passes.push_back(std::move(states));
      }
      m_Techniques.push_back(std::move(passes));
    }

    const uint32_t dataCount = Next("object data count");
    const uint32_t resourceCount = Next("resource count");
    for (uint32_t i = 0; i < dataCount; ++i) {
      const uint32_t id = Next("object id");
      if (id == 0 || id >= m_ObjectCount || !m_ObjectIds.count(id)) throw Invalid("object data for an unknown object id");
      Blob("object data");
    }
    for (uint32_t i = 0; i < resourceCount; ++i) ReadResource();

    if (m_Cursor != m_Size) throw Invalid("data after the last resource");
    for (size_t p = 0; p < m_Parameters.size(); ++p) {
      for (const StateSlot& slot : m_Parameters[p].blockStates) {
        if (!slot.filled) throw Invalid("a sampler state of '" + m_Parameters[p].type.name + "' has no resource");
      }
    }
    for (const auto& passes : m_Techniques) {
      for (const auto& states : passes) {
        for (const StateSlot& slot : states) {
          if (!slot.filled) throw Invalid("a shader, texture or sampler state has no resource");
        }
      }
    }
  }

 private:
  uint32_t Dword(size_t at) const {
    uint32_t value;
    std::memcpy(&value, m_Data + at, 4);
    return value;
  }

  uint32_t Next(const char* what) {
    if (m_Cursor + 4 > m_Size) throw Invalid(std::string("file ends inside the ") + what);
    const uint32_t value = Dword(m_Cursor);
    m_Cursor += 4;
    return value;
  }

  // A length-prefixed blob in the stream; returns its offset in the file.
  size_t Blob(const char* what, uint32_t* length = nullptr) {
    const uint32_t size = Next(what);
    const size_t padded = (static_cast<size_t>(size) + 3) & ~static_cast<size_t>(3);
    if (padded > m_Size - m_Cursor) throw Invalid(std::string(what) + " runs past the end of the file");
    const size_t at = m_Cursor;
    m_Cursor += padded;
    if (length) *length = size;
    return at;
  }

  void CheckPoolRange(uint32_t offset, uint32_t dwords) const {
    if (offset % 4 || offset >= m_PoolSize || dwords > (m_PoolSize - offset) / 4) {
      throw Invalid("pool offset " + std::to_string(offset) + " points outside the pool");
    }
  }
  uint32_t Pool(uint32_t offset) const {
    CheckPoolRange(offset, 1);
    return Dword(8 + offset);
  }

  std::string ReadString(uint32_t offset) const {
    if (offset == 0) return {};
    const uint32_t length = Pool(offset);
    if (length == 0) return {};
    if (length > m_PoolSize - offset - 4) throw Invalid("a string runs past the end of the pool");
    const char* text = reinterpret_cast<const char*>(m_Data + 8 + offset + 4);
    if (text[length - 1] != '\0') throw Invalid("a string's length does not include its NUL");
    return std::string(text, std::strlen(text));
  }

  TypeInfo ReadTypedef(uint32_t offset) const {
    CheckPoolRange(offset, 5);
    TypeInfo info;
    info.type = Pool(offset);
    info.parameterClass = Pool(offset + 4);
    info.name = ReadString(Pool(offset + 8));
    ReadString(Pool(offset + 12));
    info.elements = Pool(offset + 16);
    if (info.elements != 0) throw Invalid("arrays are not supported");
    if (info.parameterClass <= kClassMatrixColumns) {
      CheckPoolRange(offset, 7);
      if (info.type != kTypeBool && info.type != kTypeInt && info.type != kTypeFloat) {
        throw Invalid("a numeric class with a non-numeric type");
      }
      const uint32_t a = Pool(offset + 20), b = Pool(offset + 24);
      const bool vector = info.parameterClass == kClassVector;
      info.rows = vector ? b : a;
      info.columns = vector ? a : b;
      if (info.rows == 0 || info.columns == 0 || info.rows > 16 || info.columns > 16) {
        throw Invalid("numeric type size out of range");
      }
    } else if (info.parameterClass == kClassObject) {
      if (info.type < 4 || info.type > kTypeVertexShader) throw Invalid("unknown object type");
    } else {
      throw Invalid("unsupported parameter class " + std::to_string(info.parameterClass));
    }
    return info;
  }

  void UseObject(uint32_t id) {
    if (id == 0 || id >= m_ObjectCount) throw Invalid("object id " + std::to_string(id) + " is out of range");
    if (!m_ObjectIds.insert(id).second) throw Invalid("object id " + std::to_string(id) + " is used twice");
  }

  void ReadValue(const TypeInfo& type, uint32_t offset, std::vector<StateSlot>* blockStates) {
    if (type.parameterClass != kClassObject) {
      CheckPoolRange(offset, type.rows * type.columns);
    } else if (IsSamplerType(type.type)) {
      const uint32_t count = Pool(offset);
      if (count > m_PoolSize / 16) throw Invalid("sampler block state count exceeds the pool");
      CheckPoolRange(offset, 1 + 4 * count);
      for (uint32_t s = 0; s < count; ++s) {
        const StateSlot slot = ReadStateAt(offset + 4 + 16 * s, true);
        if (blockStates) {
          blockStates->push_back(slot);
        } else if (!slot.filled) {
          throw Invalid("a sampler state value holds a reference that nothing fills");
        }
      }
    } else {
      UseObject(Pool(offset));
    }
  }

  StateSlot ReadState(bool inBlock) {
    if (m_Cursor + 16 > m_Size) throw Invalid("file ends inside a state");
    const size_t at = m_Cursor;
    m_Cursor += 16;
    return CheckState(Dword(at), Dword(at + 4), Dword(at + 8), Dword(at + 12), inBlock);
  }

  StateSlot ReadStateAt(uint32_t poolOffset, bool inBlock) {
    return CheckState(Pool(poolOffset), Pool(poolOffset + 4), Pool(poolOffset + 8), Pool(poolOffset + 12), inBlock);
  }

  StateSlot CheckState(uint32_t operation, uint32_t index, uint32_t typedefOffset, uint32_t valueOffset, bool inBlock) {
    if (operation > kLastStateOperation) throw Invalid("state operation " + std::to_string(operation) + " is unknown");
    if (inBlock && operation != kOperationTexture &&
        (operation < kFirstSamplerStateOperation || operation > kLastSamplerStateOperation)) {
      throw Invalid("a sampler block holds a state that is not a sampler state");
    }
    if (operation >= kFirstLightOperation && operation <= kLightEnableOperation && index >= 8) {
      throw Invalid("light index out of range");
    }
    const TypeInfo type = ReadTypedef(typedefOffset);
    StateSlot slot{type.type, true};
    const bool shaderState = operation == kOperationVertexShader || operation == kOperationPixelShader;
    if (type.parameterClass == kClassObject) {
      const bool fits = shaderState ? (type.type == kTypePixelShader || type.type == kTypeVertexShader)
                        : operation == kOperationTexture ? IsTextureType(type.type)
                        : operation == kOperationSampler ? IsSamplerType(type.type)
                                                         : false;
      if (!fits) throw Invalid("a state's value type does not fit its operation");
      slot.filled = false;
      if (IsSamplerType(type.type)) {
        if (Pool(valueOffset) != 0) throw Invalid("a referenced sampler state value must be an empty block");
      } else {
        UseObject(Pool(valueOffset));
      }
    } else {
      if (shaderState && !(type.type == kTypeInt && type.rows * type.columns == 1 && Pool(valueOffset) == 0)) {
        throw Invalid("a shader state with a numeric value other than NULL");
      }
      CheckPoolRange(valueOffset, type.rows * type.columns);
    }
    return slot;
  }

  const ParameterInfo* FindParameter(const std::string& name) const {
    for (const ParameterInfo& parameter : m_Parameters) {
      if (parameter.type.name == name) return &parameter;
    }
    return nullptr;
  }

  void ReadResource() {
    const uint32_t technique = Next("resource"), pass = Next("resource"), element = Next("resource");
    const uint32_t state = Next("resource"), usage = Next("resource");
    uint32_t length;
    const size_t data = Blob("resource data", &length);
    StateSlot* slot;
    if (technique == kNoIndex) {
      if (pass >= m_Parameters.size() || !IsSamplerType(m_Parameters[pass].type.type)) {
        throw Invalid("a resource names a sampler parameter that does not exist");
      }
      if (element != 0 && element != kNoIndex) throw Invalid("a sampler resource names an array element");
      std::vector<StateSlot>& states = m_Parameters[pass].blockStates;
      if (state >= states.size()) throw Invalid("a resource names a sampler state that does not exist");
      slot = &states[state];
    } else {
      if (technique >= m_Techniques.size() || pass >= m_Techniques[technique].size() ||
          state >= m_Techniques[technique][pass].size()) {
        throw Invalid("a resource names a technique, pass or state that does not exist");
      }
      slot = &m_Techniques[technique][pass][state];
    }
    if (slot->filled) throw Invalid("a resource targets a state that needs none or already has one");
    slot->filled = true;

    if (usage == kUsageBytecode) {
      if (slot->type != kTypePixelShader && slot->type != kTypeVertexShader) {
        throw Invalid("shader bytecode for a state that is not a shader");
      }
      CheckShader(data, length, slot->type == kTypePixelShader);
    } else if (usage == kUsageReference) {
      if (length == 0 || m_Data[data + length - 1] != '\0') throw Invalid("a parameter reference is not NUL-terminated");
      const std::string name(reinterpret_cast<const char*>(m_Data + data));
      const ParameterInfo* target = FindParameter(name);
      if (!target) throw Invalid("a reference names no parameter ('" + name + "')");
      const uint32_t type = target->type.type;
      const bool fits = IsTextureType(slot->type) ? IsTextureType(type)
                        : IsSamplerType(slot->type) ? IsSamplerType(type)
                                                    : type == slot->type;
      if (!fits) throw Invalid("reference to '" + name + "' has the wrong type");
    } else {
      throw Invalid("resource usage " + std::to_string(usage) + " is not supported");
    }
  }

  void CheckShader(size_t at, uint32_t length, bool pixel) {
    if (length < 8 || length % 4) throw Invalid("shader bytecode is not a whole number of tokens");
    const size_t tokens = length / 4;
    const uint32_t version = Dword(at);
    if ((version >> 16) != ShaderVersionKind(pixel)) throw Invalid("shader version does not fit its state");
    if (Dword(at + length - 4) != kShaderEndToken) throw Invalid("shader bytecode does not end with the end token");
    // Walk the comments that follow the version token; check any constant table among them.
    size_t token = 1;
    while (token < tokens && (Dword(at + 4 * token) & 0xFFFF) == kCommentOpcode) {
      const uint32_t comment = (Dword(at + 4 * token) >> 16) & kMaxCommentLength;
      if (comment > tokens - token - 1) throw Invalid("a shader comment runs past the bytecode");
      if (comment >= 1 && Dword(at + 4 * (token + 1)) == kFourccCtab) {
        CheckConstantTable(at + 4 * (token + 2), (comment - 1) * 4);
      }
      token += 1 + comment;
    }
  }

  void CheckConstantTable(size_t at, size_t size) {
    if (size < 28 || Dword(at) != 28) throw Invalid("a constant table header is malformed");
    auto stringAt = [&](uint32_t offset) {
      if (offset >= size) throw Invalid("a constant table string is outside the table");
      const void* end = std::memchr(m_Data + at + offset, 0, size - offset);
      if (!end) throw Invalid("a constant table string is not terminated");
      return std::string(reinterpret_cast<const char*>(m_Data + at + offset));
    };
    const uint32_t count = Dword(at + 12), infos = Dword(at + 16);
    if (infos > size || count > (size - infos) / 20) throw Invalid("constant table entries run past the table");
    for (uint32_t i = 0; i < count; ++i) {
      const size_t entry = at + infos + 20 * i;
      const std::string name = stringAt(Dword(entry));
      const uint32_t typeInfo = Dword(entry + 12);
      if (typeInfo > size || size - typeInfo < 16) throw Invalid("constant table type info is outside the table");
      const ParameterInfo* parameter = FindParameter(name);
      if (!parameter) throw Invalid("the constant table names no parameter ('" + name + "')");
      const bool samplerRegister = (Dword(entry + 4) & 0xFFFF) == 3;
      if (samplerRegister != IsSamplerType(parameter->type.type)) {
        throw Invalid("constant table entry '" + name + "' uses the wrong register set");
      }
    }
  }

  const uint8_t* m_Data;
  size_t m_Size;
  uint32_t m_PoolSize = 0;
  size_t m_Cursor = 0;
  uint32_t m_ObjectCount = 0;
  std::set<uint32_t> m_ObjectIds;
  std::vector<ParameterInfo> m_Parameters;
  std::vector<std::vector<std::vector<StateSlot>>> m_Techniques;
};

}  // namespace

bool ValidateEffectBinary(const uint8_t* data, size_t size, std::string& problem) {
  try {
    Validator(data, size).Run();
    return true;
  } catch (const Invalid& error) {
    problem = error.what();
    return false;
  }
}

}  // namespace fxasm
