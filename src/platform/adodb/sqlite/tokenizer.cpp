#include "platform/adodb/sqlite/tokenizer.h"

#include "platform/adodb/sqlite/dialect_error.h"

namespace adodb::sqlite {
namespace {

bool IsWordStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool IsWordChar(unsigned char c) {
    return IsWordStart(c) || (c >= '0' && c <= '9') || c == '$';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

class Scanner {
  public:
    explicit Scanner(std::string_view sql) : sql_(sql) {}

    std::vector<Token> Run() {
        std::vector<Token> out;
        while (true) {
            SkipBlanksAndComments();
            if (pos_ >= sql_.size()) break;
            out.push_back(Next());
        }
        out.push_back(Token{TokenKind::End, {}, sql_.size()});
        return out;
    }

  private:
    char At(std::size_t i) const { return i < sql_.size() ? sql_[i] : '\0'; }

    void SkipBlanksAndComments() {
        while (pos_ < sql_.size()) {
            const char c = sql_[pos_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
                ++pos_;
            } else if (c == '-' && At(pos_ + 1) == '-') {
                while (pos_ < sql_.size() && sql_[pos_] != '\n') ++pos_;
            } else if (c == '/' && At(pos_ + 1) == '*') {
                const std::size_t end = sql_.find("*/", pos_ + 2);
                if (end == std::string_view::npos) ThrowSyntax("comentario sin cerrar");
                pos_ = end + 2;
            } else {
                return;
            }
        }
    }

    // Reads up to the closing `close`; a doubled `close` stands for one.
    std::string Delimited(char close, const char* what) {
        const std::size_t start = pos_;
        ++pos_;
        std::string value;
        while (true) {
            if (pos_ >= sql_.size()) {
                ThrowSyntax(std::string(what) + " sin cerrar desde la posición " +
                            std::to_string(start + 1));
            }
            const char c = sql_[pos_++];
            if (c == close) {
                if (At(pos_) == close) {
                    value += close;
                    ++pos_;
                    continue;
                }
                return value;
            }
            value += c;
        }
    }

    Token Next() {
        const std::size_t start = pos_;
        const char c = sql_[pos_];
        const auto uc = static_cast<unsigned char>(c);
        if (c == '\'') return Token{TokenKind::String, Delimited('\'', "texto"), start};
        if ((c == 'N' || c == 'n') && At(pos_ + 1) == '\'') {
            ++pos_;
            return Token{TokenKind::String, Delimited('\'', "texto"), start};
        }
        if (c == '[') return Token{TokenKind::QuotedName, Delimited(']', "nombre"), start};
        if (c == '"') return Token{TokenKind::QuotedName, Delimited('"', "nombre"), start};
        if (IsDigit(c) || (c == '.' && IsDigit(At(pos_ + 1)))) return NumberToken();
        if (IsWordStart(uc)) {
            while (pos_ < sql_.size() && IsWordChar(static_cast<unsigned char>(sql_[pos_]))) ++pos_;
            return Token{TokenKind::Word, std::string(sql_.substr(start, pos_ - start)), start};
        }
        static constexpr std::string_view kTwoChar[] = {"<>", "!=", "<=", ">=", "!<", "!>"};
        for (std::string_view op : kTwoChar) {
            if (sql_.substr(pos_, 2) == op) {
                pos_ += 2;
                return Token{TokenKind::Symbol, std::string(op), start};
            }
        }
        static constexpr std::string_view kOneChar = "(),.;*=<>+-/%&|^~";
        if (kOneChar.find(c) != std::string_view::npos) {
            ++pos_;
            return Token{TokenKind::Symbol, std::string(1, c), start};
        }
        if (c == '@') ThrowUnsupported("variables (@) en la posición " + std::to_string(start + 1));
        if (c == '#') {
            ThrowUnsupported("fechas entre # o tablas temporales (#) en la posición " +
                             std::to_string(start + 1));
        }
        ThrowSyntax(std::string("carácter inesperado '") + c + "' en la posición " +
                    std::to_string(start + 1));
    }

    Token NumberToken() {
        const std::size_t start = pos_;
        while (IsDigit(At(pos_))) ++pos_;
        if (At(pos_) == '.') {
            ++pos_;
            while (IsDigit(At(pos_))) ++pos_;
        }
        if ((At(pos_) == 'e' || At(pos_) == 'E') &&
            (IsDigit(At(pos_ + 1)) ||
             ((At(pos_ + 1) == '+' || At(pos_ + 1) == '-') && IsDigit(At(pos_ + 2))))) {
            pos_ += 2;
            while (IsDigit(At(pos_))) ++pos_;
        }
        if (IsWordChar(static_cast<unsigned char>(At(pos_)))) {
            ThrowSyntax("número mal formado en la posición " + std::to_string(start + 1));
        }
        return Token{TokenKind::Number, std::string(sql_.substr(start, pos_ - start)), start};
    }

    std::string_view sql_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<Token> Tokenize(std::string_view sql) {
    return Scanner(sql).Run();
}

}  // namespace adodb::sqlite
