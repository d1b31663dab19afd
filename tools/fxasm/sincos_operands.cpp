#include "tools/fxasm/sincos_operands.h"

#include <cctype>

#include "core/effects/effect_format.h"

namespace fxasm {
namespace {

constexpr uint32_t kOpcodeMask = 0xFFFF;
constexpr uint32_t kSincos = 37;
constexpr int kLengthShift = 24;
constexpr uint32_t kLengthMask = 0x0F000000;

std::string Trimmed(const std::string& s) {
  size_t first = 0, last = s.size();
  while (first < last && std::isspace(static_cast<unsigned char>(s[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(s[last - 1]))) --last;
  return s.substr(first, last - first);
}

// "c12" -> 12; -1 for anything else.
int ConstantRegister(const std::string& operand) {
  const std::string text = Trimmed(operand);
  if (text.size() < 2 || (text[0] != 'c' && text[0] != 'C') || text.size() > 5) return -1;
  int number = 0;
  for (size_t i = 1; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
    number = number * 10 + (text[i] - '0');
  }
  return number;
}

// The source token of constant register n, read as .xyzw without modifier.
uint32_t ConstantSource(int n) { return 0x80000000u | (2u << 28) | (0xE4u << 16) | static_cast<uint32_t>(n); }

// Rewrites one line; whether it holds a sincos (then `constants` is set).
bool SplitLine(std::string& line, SincosConstants& constants) {
  const size_t commentAt = line.find("//");
  const std::string code = line.substr(0, commentAt);
  const std::string comment = commentAt == std::string::npos ? std::string() : line.substr(commentAt);
  size_t start = 0;
  while (start < code.size() && std::isspace(static_cast<unsigned char>(code[start]))) ++start;
  size_t end = start;
  while (end < code.size() && !std::isspace(static_cast<unsigned char>(code[end]))) ++end;
  std::string opcode = code.substr(start, end - start);
  for (char& c : opcode) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (opcode.compare(0, 6, "sincos") != 0 || (opcode.size() > 6 && opcode[6] != '_')) return false;

  std::vector<std::string> operands;
  size_t from = end;
  for (;;) {
    const size_t comma = code.find(',', from);
    operands.push_back(code.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  if (operands.size() != 4) return true;
  const int a = ConstantRegister(operands[2]), b = ConstantRegister(operands[3]);
  if (a < 0 || b < 0) return true;
  constants.first = a;
  constants.second = b;
  line = code.substr(0, end) + " " + Trimmed(operands[0]) + ", " + Trimmed(operands[1]) + (comment.empty() ? "" : " ") +
         comment;
  return true;
}

}  // namespace

std::string SplitSincosOperands(const std::string& text, std::vector<SincosConstants>& found) {
  found.clear();
  std::string out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    const bool last = end == std::string::npos;
    if (last) end = text.size();
    std::string line = text.substr(start, end - start);
    SincosConstants constants;
    if (SplitLine(line, constants)) found.push_back(constants);
    out += line;
    if (last) break;
    out += '\n';
    start = end + 1;
  }
  return out;
}

bool InsertSincosOperands(std::vector<uint32_t>& bytecode, const std::vector<SincosConstants>& found) {
  if (bytecode.empty() || ((bytecode[0] >> 8) & 0xFF) != 2) {
    // Other shader models write sincos with its angle alone: nothing to place.
    for (const SincosConstants& constants : found)
      if (constants.first >= 0) return false;
    return true;
  }
  std::vector<uint32_t> out{bytecode[0]};
  size_t next = 0;
  size_t i = 1;
  while (i < bytecode.size()) {
    const uint32_t token = bytecode[i];
    if (token == kShaderEndToken) {
      out.insert(out.end(), bytecode.begin() + static_cast<std::ptrdiff_t>(i), bytecode.end());
      if (next != found.size()) return false;
      bytecode.swap(out);
      return true;
    }
    const uint32_t opcode = token & kOpcodeMask;
    const size_t length = opcode == kCommentOpcode ? (token >> 16) & kMaxCommentLength : (token & kLengthMask) >> kLengthShift;
    if (i + 1 + length > bytecode.size()) return false;
    if (opcode == kSincos) {
      if (next >= found.size()) return false;
      const SincosConstants& constants = found[next++];
      if (constants.first >= 0) {
        if (length != 2) return false;
        out.push_back((token & ~kLengthMask) | (4u << kLengthShift));
        out.insert(out.end(), bytecode.begin() + static_cast<std::ptrdiff_t>(i + 1),
                   bytecode.begin() + static_cast<std::ptrdiff_t>(i + 3));
        out.push_back(ConstantSource(constants.first));
        out.push_back(ConstantSource(constants.second));
        i += 3;
        continue;
      }
    }
    out.insert(out.end(), bytecode.begin() + static_cast<std::ptrdiff_t>(i),
               bytecode.begin() + static_cast<std::ptrdiff_t>(i + 1 + length));
    i += 1 + length;
  }
  return false;  // no end token
}

}  // namespace fxasm
