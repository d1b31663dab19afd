#include "tools/fxasm/source_lexer.h"

#include <cctype>

namespace fxasm {
namespace {

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

class Lexer {
 public:
  explicit Lexer(const std::string& source) : m_Source(source) {}

  std::vector<Token> Run() {
    std::vector<Token> tokens;
    for (;;) {
      SkipSpaceAndComments();
      if (m_Pos >= m_Source.size()) break;
      const char c = m_Source[m_Pos];
      if (IsIdentifierStart(c)) {
        tokens.push_back(Identifier());
        if (tokens.back().text == "asm") {
          SkipSpaceAndComments();
          if (m_Pos < m_Source.size() && m_Source[m_Pos] == '{') tokens.push_back(AssemblyBlock());
        }
      } else if (IsDigit(c) || (c == '.' && m_Pos + 1 < m_Source.size() && IsDigit(m_Source[m_Pos + 1]))) {
        tokens.push_back(Number());
      } else if (std::string("{}()[]<>=;,:|-").find(c) != std::string::npos) {
        tokens.push_back({TokenKind::Punctuation, std::string(1, c), m_Line});
        ++m_Pos;
      } else {
        throw SourceError(m_Line, std::string("unexpected character '") + c + "'");
      }
    }
    tokens.push_back({TokenKind::End, "end of file", m_Line});
    return tokens;
  }

 private:
  void SkipSpaceAndComments() {
    while (m_Pos < m_Source.size()) {
      const char c = m_Source[m_Pos];
      if (c == '\n') {
        ++m_Line;
        ++m_Pos;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++m_Pos;
      } else if (m_Source.compare(m_Pos, 2, "//") == 0) {
        while (m_Pos < m_Source.size() && m_Source[m_Pos] != '\n') ++m_Pos;
      } else if (m_Source.compare(m_Pos, 2, "/*") == 0) {
        const int startLine = m_Line;
        m_Pos += 2;
        while (m_Pos < m_Source.size() && m_Source.compare(m_Pos, 2, "*/") != 0) {
          if (m_Source[m_Pos] == '\n') ++m_Line;
          ++m_Pos;
        }
        if (m_Pos >= m_Source.size()) throw SourceError(startLine, "comment is not closed");
        m_Pos += 2;
      } else {
        return;
      }
    }
  }

  Token Identifier() {
    const size_t start = m_Pos;
    while (m_Pos < m_Source.size() && IsIdentifierChar(m_Source[m_Pos])) ++m_Pos;
    return {TokenKind::Identifier, m_Source.substr(start, m_Pos - start), m_Line};
  }

  Token Number() {
    const size_t start = m_Pos;
    if (m_Source.compare(m_Pos, 2, "0x") == 0 || m_Source.compare(m_Pos, 2, "0X") == 0) {
      m_Pos += 2;
      while (m_Pos < m_Source.size() && std::isxdigit(static_cast<unsigned char>(m_Source[m_Pos]))) ++m_Pos;
    } else {
      while (m_Pos < m_Source.size() && (IsDigit(m_Source[m_Pos]) || m_Source[m_Pos] == '.')) ++m_Pos;
      if (m_Pos < m_Source.size() && (m_Source[m_Pos] == 'e' || m_Source[m_Pos] == 'E')) {
        ++m_Pos;
        if (m_Pos < m_Source.size() && (m_Source[m_Pos] == '-' || m_Source[m_Pos] == '+')) ++m_Pos;
        while (m_Pos < m_Source.size() && IsDigit(m_Source[m_Pos])) ++m_Pos;
      }
      if (m_Pos < m_Source.size() && (m_Source[m_Pos] == 'f' || m_Source[m_Pos] == 'F')) ++m_Pos;
    }
    if (m_Pos < m_Source.size() && IsIdentifierChar(m_Source[m_Pos])) {
      throw SourceError(m_Line, "malformed number '" + m_Source.substr(start, m_Pos + 1 - start) + "'");
    }
    return {TokenKind::Number, m_Source.substr(start, m_Pos - start), m_Line};
  }

  // The text between the braces of an asm block; its line is that of the first character.
  Token AssemblyBlock() {
    const int openLine = m_Line;
    ++m_Pos;  // '{'
    const size_t start = m_Pos;
    const int startLine = m_Line;
    while (m_Pos < m_Source.size() && m_Source[m_Pos] != '}') {
      if (m_Source[m_Pos] == '{') {
        throw SourceError(openLine, "asm block is not closed with '}' before the '{' at line " + std::to_string(m_Line));
      }
      if (m_Source[m_Pos] == '\n') ++m_Line;
      ++m_Pos;
    }
    if (m_Pos >= m_Source.size()) throw SourceError(openLine, "asm block is not closed with '}'");
    Token token{TokenKind::Assembly, m_Source.substr(start, m_Pos - start), startLine};
    ++m_Pos;  // '}'
    return token;
  }

  const std::string& m_Source;
  size_t m_Pos = 0;
  int m_Line = 1;
};

}  // namespace

std::vector<Token> Tokenize(const std::string& source) { return Lexer(source).Run(); }

}  // namespace fxasm
