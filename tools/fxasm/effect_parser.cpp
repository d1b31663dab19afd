#include "tools/fxasm/effect_parser.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>

#include "tools/fxasm/source_lexer.h"
#include "tools/fxasm/state_table.h"

namespace fxasm {

const Parameter* EffectSource::FindParameter(const std::string& name) const {
  const int index = ParameterIndex(name);
  return index < 0 ? nullptr : &parameters[static_cast<size_t>(index)];
}

int EffectSource::ParameterIndex(const std::string& name) const {
  for (size_t i = 0; i < parameters.size(); ++i) {
    if (parameters[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

const Shader* EffectSource::FindShader(const std::string& name) const {
  for (const Shader& shader : shaders) {
    if (shader.name == name) return &shader;
  }
  return nullptr;
}

namespace {

uint32_t FloatBits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Numeric parameter types: float, float1..4, floatRxC, int, bool.
bool ParseNumericType(const std::string& word, Parameter& parameter) {
  std::string rest;
  if (word.rfind("float", 0) == 0) {
    parameter.type = kTypeFloat;
    rest = word.substr(5);
  } else if (word.rfind("int", 0) == 0) {
    parameter.type = kTypeInt;
    rest = word.substr(3);
  } else if (word.rfind("bool", 0) == 0) {
    parameter.type = kTypeBool;
    rest = word.substr(4);
  } else {
    return false;
  }
  auto dimension = [](char c) { return c >= '1' && c <= '4'; };
  if (rest.empty()) {
    parameter.parameterClass = kClassScalar;
    parameter.rows = parameter.columns = 1;
  } else if (rest.size() == 1 && dimension(rest[0])) {
    parameter.parameterClass = kClassVector;
    parameter.rows = 1;
    parameter.columns = static_cast<uint32_t>(rest[0] - '0');
  } else if (rest.size() == 3 && dimension(rest[0]) && rest[1] == 'x' && dimension(rest[2])) {
    // Matrices are stored as MATRIX_ROWS whatever the shader's packing (the CTAB decides that).
    parameter.parameterClass = kClassMatrixRows;
    parameter.rows = static_cast<uint32_t>(rest[0] - '0');
    parameter.columns = static_cast<uint32_t>(rest[2] - '0');
  } else {
    return false;
  }
  return true;
}

class Parser {
 public:
  Parser(std::vector<Token> tokens, const std::string& fileName) : m_Tokens(std::move(tokens)) {
    m_Effect.fileName = fileName;
  }

  EffectSource Run() {
    while (Peek().kind != TokenKind::End) {
      const Token& word = Peek();
      if (word.kind != TokenKind::Identifier) Fail(word, "expected a parameter, shader or technique");
      if (word.text == "technique") {
        ParseTechnique();
      } else if (word.text == "pixelshader" || word.text == "vertexshader") {
        ParseShader();
      } else {
        ParseParameter();
      }
    }
    if (m_Effect.techniques.empty()) throw SourceError(Peek().line, "the effect has no technique");
    ResolveReferences();
    return std::move(m_Effect);
  }

 private:
  [[noreturn]] static void Fail(const Token& at, const std::string& message) {
    throw SourceError(at.line, message + (at.kind == TokenKind::End ? " at end of file" : " before '" + at.text + "'"));
  }

  const Token& Peek() const { return m_Tokens[m_Next]; }
  const Token& Take() {
    const Token& token = m_Tokens[m_Next];
    if (token.kind != TokenKind::End) ++m_Next;
    return token;
  }
  bool TakeIf(const char* punctuation) {
    if (Peek().kind == TokenKind::Punctuation && Peek().text == punctuation) {
      ++m_Next;
      return true;
    }
    return false;
  }
  void Expect(const char* punctuation) {
    if (!TakeIf(punctuation)) Fail(Peek(), std::string("expected '") + punctuation + "'");
  }
  const Token& ExpectIdentifier(const char* what) {
    if (Peek().kind != TokenKind::Identifier) Fail(Peek(), std::string("expected ") + what);
    return Take();
  }
  void ExpectKeyword(const char* keyword) {
    if (Peek().kind != TokenKind::Identifier || Peek().text != keyword) {
      Fail(Peek(), std::string("expected '") + keyword + "'");
    }
    Take();
  }

  uint32_t ParseUnsigned(const Token& token) {
    if (token.kind != TokenKind::Number || token.text.find_first_of(".eE") != std::string::npos ||
        (token.text.find_first_of("xX") == std::string::npos && token.text.find_first_of("fF") != std::string::npos)) {
      Fail(token, "expected a whole number");
    }
    errno = 0;
    const unsigned long long value = std::strtoull(token.text.c_str(), nullptr, 0);
    if (errno != 0 || value > 0xFFFFFFFFull) Fail(token, "number out of range");
    return static_cast<uint32_t>(value);
  }

  // A number of the parameter's component type, optionally negative.
  uint32_t ParseComponent(uint32_t type) {
    const bool negative = TakeIf("-");
    const Token& token = Take();
    if (type == kTypeBool && !negative && token.kind == TokenKind::Identifier) {
      if (token.text == "true" || token.text == "TRUE") return 1;
      if (token.text == "false" || token.text == "FALSE") return 0;
    }
    if (token.kind != TokenKind::Number) Fail(token, "expected a number");
    if (type == kTypeFloat) {
      std::string text = token.text;
      if (!text.empty() && (text.back() == 'f' || text.back() == 'F') && text.find_first_of("xX") == std::string::npos) {
        text.pop_back();
      }
      char* end = nullptr;
      const double value = text.find_first_of("xX") != std::string::npos
                               ? static_cast<double>(std::strtoull(text.c_str(), &end, 0))
                               : std::strtod(text.c_str(), &end);
      if (!end || *end != '\0') Fail(token, "malformed number");
      return FloatBits(static_cast<float>(negative ? -value : value));
    }
    const uint32_t value = ParseUnsigned(token);
    if (type == kTypeBool) {
      if (negative || value > 1) Fail(token, "a bool is 0 or 1");
      return value;
    }
    return negative ? static_cast<uint32_t>(-static_cast<int64_t>(value)) : value;
  }

  void CheckNewName(const std::string& name, const Token& at) {
    if (!m_TopLevelNames.insert(name).second) throw SourceError(at.line, "'" + name + "' is declared twice");
  }

  void ParseParameter() {
    const Token& typeToken = Take();
    Parameter parameter;
    parameter.line = typeToken.line;
    const std::string& type = typeToken.text;
    if (type == "texture" || type == "texture2D" || type == "Texture2D") {
      parameter.type = type == "texture" ? kTypeTexture : kTypeTexture2D;
      parameter.parameterClass = kClassObject;
    } else if (type == "sampler" || type == "sampler2D") {
      parameter.type = type == "sampler" ? kTypeSampler : kTypeSampler2D;
      parameter.parameterClass = kClassObject;
    } else if (!ParseNumericType(type, parameter)) {
      throw SourceError(typeToken.line, "unknown type '" + type + "'");
    }
    const Token& nameToken = ExpectIdentifier("a parameter name");
    parameter.name = nameToken.text;
    CheckNewName(parameter.name, nameToken);
    if (TakeIf(":")) parameter.semantic = ExpectIdentifier("a semantic").text;

    if (parameter.IsNumeric()) {
      const size_t count = parameter.rows * parameter.columns;
      if (TakeIf("=")) {
        const int line = Peek().line;
        if (TakeIf("{")) {
          do {
            parameter.value.push_back(ParseComponent(parameter.type));
          } while (TakeIf(","));
          Expect("}");
        } else {
          parameter.value.push_back(ParseComponent(parameter.type));
        }
        if (parameter.value.size() != count) {
          throw SourceError(line, "'" + parameter.name + "' needs " + std::to_string(count) + " initial values, not " +
                                      std::to_string(parameter.value.size()));
        }
      } else {
        parameter.value.assign(count, 0);
      }
    } else if (IsSamplerType(parameter.type)) {
      Expect("=");
      ExpectKeyword("sampler_state");
      Expect("{");
      while (!TakeIf("}")) parameter.samplerStates.push_back(ParseState(true));
    } else if (Peek().text == "=") {
      Fail(Peek(), "a texture has no initial value");
    }
    Expect(";");
    m_Effect.parameters.push_back(std::move(parameter));
  }

  void ParseShader() {
    Shader shader;
    const Token& kind = Take();
    shader.isPixelShader = kind.text == "pixelshader";
    shader.line = kind.line;
    const Token& nameToken = ExpectIdentifier("a shader name");
    shader.name = nameToken.text;
    CheckNewName(shader.name, nameToken);
    Expect("(");
    if (!TakeIf(")")) {
      do {
        Binding binding;
        const Token& parameter = ExpectIdentifier("a parameter name");
        binding.parameter = parameter.text;
        binding.line = parameter.line;
        Expect(":");
        const Token& reg = ExpectIdentifier("a register such as c0 or s1");
        const std::string& text = reg.text;
        if (text.size() < 2 || std::string("cibs").find(text[0]) == std::string::npos ||
            text.find_first_not_of("0123456789", 1) != std::string::npos || text.size() > 4) {
          Fail(reg, "expected a register such as c0 or s1");
        }
        binding.registerKind = text[0];
        binding.registerIndex = static_cast<uint32_t>(std::strtoul(text.c_str() + 1, nullptr, 10));
        shader.bindings.push_back(binding);
      } while (TakeIf(","));
      Expect(")");
    }
    ExpectKeyword("asm");
    if (Peek().kind != TokenKind::Assembly) Fail(Peek(), "expected '{' and the shader assembly");
    const Token& assembly = Take();
    shader.assembly = assembly.text;
    shader.assemblyLine = assembly.line;
    TakeIf(";");
    m_Effect.shaders.push_back(std::move(shader));
  }

  void ParseTechnique() {
    Technique technique;
    technique.line = Take().line;
    const Token& nameToken = ExpectIdentifier("a technique name");
    technique.name = nameToken.text;
    for (const Technique& other : m_Effect.techniques) {
      if (other.name == technique.name) Fail(nameToken, "technique '" + technique.name + "' is declared twice");
    }
    Expect("{");
    while (!TakeIf("}")) {
      Pass pass;
      pass.line = Peek().line;
      ExpectKeyword("pass");
      const Token& passName = ExpectIdentifier("a pass name");
      pass.name = passName.text;
      for (const Pass& other : technique.passes) {
        if (other.name == pass.name) Fail(passName, "pass '" + pass.name + "' is declared twice");
      }
      Expect("{");
      while (!TakeIf("}")) pass.states.push_back(ParseState(false));
      technique.passes.push_back(std::move(pass));
    }
    if (technique.passes.empty()) throw SourceError(technique.line, "technique '" + technique.name + "' has no pass");
    m_Effect.techniques.push_back(std::move(technique));
  }

  StateAssignment ParseState(bool inSamplerBlock) {
    const Token& nameToken = ExpectIdentifier("a state name");
    const StateInfo* info = FindState(nameToken.text);
    if (!info) throw SourceError(nameToken.line, "unknown state '" + nameToken.text + "'");
    StateAssignment state;
    state.name = info->name;
    state.operation = info->operation;
    state.line = nameToken.line;

    const bool blockState = info->place == StatePlace::Texture || info->place == StatePlace::SamplerState;
    if (inSamplerBlock && !blockState) Fail(nameToken, std::string("'") + info->name + "' cannot be set in a sampler_state");
    bool indexed = false;
    if (TakeIf("[")) {
      indexed = true;
      state.index = ParseUnsigned(Take());
      Expect("]");
    }
    const bool needsIndex = !inSamplerBlock && (info->place == StatePlace::Stage || info->place == StatePlace::Sampler ||
                                                info->place == StatePlace::Texture || info->place == StatePlace::SamplerState);
    if (needsIndex && !indexed) Fail(Peek(), std::string("'") + info->name + "' needs a stage or sampler number [n]");
    if (!needsIndex && indexed) throw SourceError(state.line, std::string("'") + info->name + "' takes no [n] here");
    const uint32_t limit = info->place == StatePlace::Stage ? 8 : 16;
    if (indexed && state.index >= limit) {
      throw SourceError(state.line, std::string("'") + info->name + "' index " + std::to_string(state.index) +
                                        " is out of range (below " + std::to_string(limit) + ")");
    }
    if (inSamplerBlock) state.index = kSamplerBlockStateIndex;

    Expect("=");
    ParseStateValue(*info, state);
    Expect(";");
    return state;
  }

  void ParseStateValue(const StateInfo& info, StateAssignment& state) {
    StateValue& value = state.value;
    switch (info.valueType) {
      case StateValueType::Int: {
        value.kind = ValueKind::Int;
        uint32_t combined = 0;
        do {
          const Token& term = Take();
          uint32_t part = 0;
          if (term.kind == TokenKind::Identifier) {
            if (!FindEnumValue(info.enumSet, term.text, part)) {
              throw SourceError(term.line, "'" + term.text + "' is not a value of " + info.name);
            }
          } else {
            part = ParseUnsigned(term);
          }
          combined |= part;
        } while (TakeIf("|"));
        value.dwords = {combined};
        break;
      }
      case StateValueType::Float:
        value.kind = ValueKind::Float;
        value.dwords = {ParseComponent(kTypeFloat)};
        break;
      case StateValueType::Texture:
      case StateValueType::Sampler:
        value.kind = ValueKind::Reference;
        Expect("<");
        value.name = ExpectIdentifier("a parameter name").text;
        Expect(">");
        break;
      case StateValueType::Shader: {
        const Token& name = ExpectIdentifier("a shader name or NULL");
        if (name.text == "NULL") {
          value.kind = ValueKind::Null;
          value.dwords = {0};
        } else {
          value.kind = ValueKind::Shader;
          value.name = name.text;
        }
        break;
      }
    }
  }

  // Names that may be used before their declaration are checked once everything is read.
  void ResolveReferences() {
    for (const Parameter& parameter : m_Effect.parameters) {
      for (const StateAssignment& state : parameter.samplerStates) CheckReference(state);
    }
    for (const Technique& technique : m_Effect.techniques) {
      for (const Pass& pass : technique.passes) {
        for (const StateAssignment& state : pass.states) CheckReference(state);
      }
    }
    for (const Shader& shader : m_Effect.shaders) CheckBindings(shader);
  }

  void CheckReference(const StateAssignment& state) {
    const StateValue& value = state.value;
    if (value.kind == ValueKind::Reference) {
      const Parameter* target = m_Effect.FindParameter(value.name);
      if (!target) throw SourceError(state.line, "no parameter named '" + value.name + "'");
      const bool wantsTexture = state.operation == kOperationTexture;
      if (wantsTexture && !IsTextureType(target->type)) {
        throw SourceError(state.line, "'" + value.name + "' is not a texture");
      }
      if (!wantsTexture && !IsSamplerType(target->type)) {
        throw SourceError(state.line, "'" + value.name + "' is not a sampler");
      }
    } else if (value.kind == ValueKind::Shader) {
      const Shader* shader = m_Effect.FindShader(value.name);
      if (!shader) throw SourceError(state.line, "no shader named '" + value.name + "'");
      const bool wantsPixel = state.operation == kOperationPixelShader;
      if (shader->isPixelShader != wantsPixel) {
        throw SourceError(state.line, "'" + value.name + "' is a " + (shader->isPixelShader ? "pixel" : "vertex") +
                                          " shader, assigned to " + state.name);
      }
    }
  }

  void CheckBindings(const Shader& shader) {
    std::set<std::string> bound;
    std::set<std::pair<char, uint32_t>> registers;
    for (const Binding& binding : shader.bindings) {
      const Parameter* parameter = m_Effect.FindParameter(binding.parameter);
      if (!parameter) throw SourceError(binding.line, "no parameter named '" + binding.parameter + "'");
      if (!bound.insert(binding.parameter).second) {
        throw SourceError(binding.line, "'" + binding.parameter + "' is bound twice in shader '" + shader.name + "'");
      }
      const char kind = binding.registerKind;
      const std::string where = "'" + binding.parameter + "' cannot be read from a " + std::string(1, kind) + " register";
      if (IsTextureType(parameter->type)) {
        throw SourceError(binding.line, "'" + binding.parameter + "' is a texture: bind a sampler over it instead");
      }
      if (IsSamplerType(parameter->type) != (kind == 's')) throw SourceError(binding.line, where);
      if (parameter->type == kTypeFloat && kind != 'c') throw SourceError(binding.line, where);
      if (parameter->type == kTypeInt && kind != 'c' && kind != 'i') throw SourceError(binding.line, where);
      if (parameter->type == kTypeBool && kind != 'c' && kind != 'b') throw SourceError(binding.line, where);
      // Matrices fill one register per column (the shader computes p x M with m4x4).
      const uint32_t count = parameter->parameterClass == kClassMatrixRows ? parameter->columns : 1;
      const uint32_t limit = kind == 's' ? 16 : kind == 'c' ? 256 : 16;
      if (binding.registerIndex + count > limit) {
        throw SourceError(binding.line, "register " + std::string(1, kind) + std::to_string(binding.registerIndex) +
                                            " is out of range");
      }
      for (uint32_t r = 0; r < count; ++r) {
        if (!registers.insert({kind, binding.registerIndex + r}).second) {
          throw SourceError(binding.line, "register " + std::string(1, kind) + std::to_string(binding.registerIndex + r) +
                                              " is bound twice in shader '" + shader.name + "'");
        }
      }
    }
  }

  std::vector<Token> m_Tokens;
  size_t m_Next = 0;
  EffectSource m_Effect;
  std::set<std::string> m_TopLevelNames;
};

}  // namespace

EffectSource ParseEffectSource(const std::string& text, const std::string& fileName) {
  return Parser(Tokenize(text), fileName).Run();
}

}  // namespace fxasm
