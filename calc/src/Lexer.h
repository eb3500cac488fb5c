// Splits a calculation's source into tokens: numbers, text literals (with FileMaker's escapes
// for quotes, backslashes and pilcrows; ¶ and line breaks as the paragraph mark), names, operators and punctuation.
// Comments are skipped. Owned by one Parser; single thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace calc {

struct Token {
    enum class Kind {
        End, Number, Text, Name, LParen, RParen, LBracket, RBracket, Separator,
        Plus, Minus, Star, Slash, Caret, Amp, Eq, Ne, Lt, Gt, Le, Ge, And, Or, Xor, Not,
    };
    Kind kind = Kind::End;
    double number = 0;
    std::u16string text;  // a literal's content, or a name as written
    std::size_t position = 0;
};

class Lexer {
public:
    explicit Lexer(std::u16string_view source) : src_(source) {}
    // The next token; throws CalcError for an unterminated text or comment.
    Token next();

private:
    void skipSpaceAndComments();
    Token lexNumber();
    Token lexText();
    Token lexName();

    std::u16string_view src_;
    std::size_t pos_ = 0;
};

}  // namespace calc
