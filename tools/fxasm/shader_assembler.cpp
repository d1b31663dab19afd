#include "tools/fxasm/shader_assembler.h"

#include <d3dx9shader.h>

#include <cstdio>
#include <cstring>

#include "core/com/ds_com_holder.h"
#include "tools/fxasm/sincos_operands.h"

namespace fxasm {
namespace {

// The assembler counts lines from the start of the asm block and writes "Line <n>: ...";
// messages of the tool name the effect source's own lines.
std::string NameSourceLines(const std::string& messages, const std::string& fileName, int firstLine) {
  std::string out;
  size_t start = 0;
  while (start < messages.size()) {
    size_t end = messages.find('\n', start);
    if (end == std::string::npos) end = messages.size();
    std::string text = messages.substr(start, end - start);
    int blockLine = 0;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "Line %d: %n", &blockLine, &consumed) == 1 && consumed > 0) {
      text = fileName + ":" + std::to_string(firstLine + blockLine - 1) + ": " + text.substr(static_cast<size_t>(consumed));
    }
    out += text;
    if (end < messages.size()) out += '\n';
    start = end + 1;
  }
  return out;
}

}  // namespace

bool AssembleShader(const std::string& text, const std::string& fileName, int line, std::vector<uint32_t>& bytecode,
                    std::string& errors) {
  std::vector<SincosConstants> sincos;
  const std::string source = SplitSincosOperands(text, sincos);

  DS_ComHolder<ID3DXBuffer> shader;
  DS_ComHolder<ID3DXBuffer> messages;
  const HRESULT hr = D3DXAssembleShader(source.c_str(), static_cast<UINT>(source.size()), nullptr, nullptr, 0,
                                        shader.Receive(), messages.Receive());
  if (messages && messages->GetBufferSize() > 0) {
    std::string raw(static_cast<const char*>(messages->GetBufferPointer()), messages->GetBufferSize());
    while (!raw.empty() && (raw.back() == '\0' || raw.back() == '\n')) raw.pop_back();
    errors = NameSourceLines(raw, fileName, line);
  }
  if (FAILED(hr) || !shader || shader->GetBufferSize() % 4 != 0) {
    if (errors.empty()) errors = "the assembler failed without a message";
    return false;
  }
  bytecode.resize(shader->GetBufferSize() / 4);
  std::memcpy(bytecode.data(), shader->GetBufferPointer(), shader->GetBufferSize());
  if (!InsertSincosOperands(bytecode, sincos)) {
    errors = fileName + ":" + std::to_string(line) + ": the sincos constants could not be placed in the bytecode";
    return false;
  }
  return true;
}

}  // namespace fxasm
