// Splits an effect source into tokens with their line numbers. The body of an `asm { ... }`
// block is kept as one raw token, since shader assembly has a syntax of its own.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace fxasm {

// A fault in the source at a line; the tool prints it as "file:line: error: message".
struct SourceError : std::runtime_error {
  SourceError(int atLine, const std::string& message) : std::runtime_error(message), line(atLine) {}
  int line;
};

enum class TokenKind { Identifier, Number, Punctuation, Assembly, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;
  int line = 0;
};

std::vector<Token> Tokenize(const std::string& source);

}  // namespace fxasm
