#include "Lexer.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <charconv>
#include <cmath>
#include <limits>

#include "CalcError.h"
#include "TextOps.h"

namespace calc {

namespace {

constexpr char16_t kPilcrow = u'\u00B6';
constexpr char16_t kReturn = u'\r';

bool isNameStart(UChar32 c) { return c == '_' || c == '$' || u_isalpha(c) || (c > 0x7F && u_isalnum(c)); }
bool isNamePart(UChar32 c) { return isNameStart(c) || u_isdigit(c) || c == '.' || c == ':'; }

bool equalsIgnoringAsciiCase(std::u16string_view a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char16_t c = a[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != static_cast<char16_t>(b[i])) return false;
    }
    return i == a.size() && !b[i];
}

}  // namespace

void Lexer::skipSpaceAndComments() {
    while (pos_ < src_.size()) {
        char16_t c = src_[pos_];
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v' ||
            c == u'\u00A0' || c == u'\u3000') {
            ++pos_;
        } else if (c == u'/' && pos_ + 1 < src_.size() && src_[pos_ + 1] == u'/') {
            while (pos_ < src_.size() && src_[pos_] != u'\n' && src_[pos_] != u'\r') ++pos_;
        } else if (c == u'/' && pos_ + 1 < src_.size() && src_[pos_ + 1] == u'*') {
            std::size_t end = src_.find(u"*/", pos_ + 2);
            if (end == std::u16string_view::npos)
                throw CalcError(errc::kUnterminatedComment, "Comment is not terminated with \"*/\"");
            pos_ = end + 2;
        } else {
            return;
        }
    }
}

Token Lexer::next() {
    skipSpaceAndComments();
    Token t;
    t.position = pos_;
    if (pos_ >= src_.size()) return t;
    char16_t c = src_[pos_];
    auto single = [&](Token::Kind kind, std::size_t length = 1) {
        t.kind = kind;
        pos_ += length;
        return t;
    };
    auto peek = [&](std::size_t ahead) -> char16_t {
        return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : u'\0';
    };
    switch (c) {
    case u'(': return single(Token::Kind::LParen);
    case u')': return single(Token::Kind::RParen);
    case u'[': return single(Token::Kind::LBracket);
    case u']': return single(Token::Kind::RBracket);
    case u';': return single(Token::Kind::Separator);
    case u',': return single(Token::Kind::Separator);
    case u'+': return single(Token::Kind::Plus);
    case u'-': return single(Token::Kind::Minus);
    case u'*': return single(Token::Kind::Star);
    case u'/': return single(Token::Kind::Slash);
    case u'^': return single(Token::Kind::Caret);
    case u'&': return single(Token::Kind::Amp);
    case u'=': return single(Token::Kind::Eq);
    case u'\u2260': return single(Token::Kind::Ne);
    case u'\u2264': return single(Token::Kind::Le);
    case u'\u2265': return single(Token::Kind::Ge);
    case u'<':
        if (peek(1) == u'>') return single(Token::Kind::Ne, 2);
        if (peek(1) == u'=') return single(Token::Kind::Le, 2);
        return single(Token::Kind::Lt);
    case u'>':
        if (peek(1) == u'=') return single(Token::Kind::Ge, 2);
        return single(Token::Kind::Gt);
    case kPilcrow:
        t.kind = Token::Kind::Text;
        t.text = std::u16string(1, kReturn);
        ++pos_;
        return t;
    case u'"':
        return lexText();
    default:
        break;
    }
    if ((c >= u'0' && c <= u'9') || (c == u'.' && peek(1) >= u'0' && peek(1) <= u'9')) return lexNumber();
    UChar32 cp;
    std::size_t i = pos_;
    U16_NEXT(src_.data(), i, src_.size(), cp);
    if (isNameStart(cp)) return lexName();
    std::string shown = TextOps::toUtf8(src_.substr(pos_, i - pos_));
    throw CalcError(errc::kOperatorExpected,
                    "The character \"" + shown + "\" at position " + std::to_string(pos_ + 1) +
                        " is not expected here");
}

Token Lexer::lexNumber() {
    Token t;
    t.kind = Token::Kind::Number;
    t.position = pos_;
    std::string digits;
    auto isDigit = [&](std::size_t p) { return p < src_.size() && src_[p] >= u'0' && src_[p] <= u'9'; };
    while (isDigit(pos_)) digits += static_cast<char>(src_[pos_++]);
    if (pos_ < src_.size() && src_[pos_] == u'.') {
        digits += '.';
        ++pos_;
        while (isDigit(pos_)) digits += static_cast<char>(src_[pos_++]);
    }
    if (pos_ < src_.size() && (src_[pos_] == u'e' || src_[pos_] == u'E')) {
        std::size_t p = pos_ + 1;
        if (p < src_.size() && (src_[p] == u'+' || src_[p] == u'-')) ++p;
        if (isDigit(p)) {
            digits += 'e';
            for (std::size_t q = pos_ + 1; q < p; ++q) digits += static_cast<char>(src_[q]);
            pos_ = p;
            while (isDigit(pos_)) digits += static_cast<char>(src_[pos_++]);
        }
    }
    if (digits.front() == '.') digits.insert(digits.begin(), '0');
    double value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        value = digits.find("e-") != std::string::npos ? 0.0 : std::numeric_limits<double>::infinity();
    if (!std::isfinite(value))
        throw CalcError(errc::kNumberNotEvaluable, "The number at position " + std::to_string(t.position + 1) +
                                                       " is too large");
    t.number = value;
    // Whole numbers with more digits than a double holds keep their digits as written.
    if (digits.size() > 15 && digits.find_first_of(".e") == std::string::npos) {
        std::size_t first = digits.find_first_not_of('0');
        if (first != std::string::npos && digits.size() - first > 15) t.text = TextOps::fromAscii(digits.substr(first));
    }
    return t;
}

Token Lexer::lexText() {
    Token t;
    t.kind = Token::Kind::Text;
    t.position = pos_;
    ++pos_;
    std::u16string& out = t.text;
    while (true) {
        if (pos_ >= src_.size())
            throw CalcError(errc::kUnterminatedText, "Text constant must end with a quotation mark");
        char16_t c = src_[pos_++];
        if (c == u'"') return t;
        if (c == u'\\' && pos_ < src_.size()) {
            char16_t e = src_[pos_];
            if (e == u'"' || e == u'\\' || e == kPilcrow) {
                out += e;
                ++pos_;
                continue;
            }
            out += c;
            continue;
        }
        if (c == kPilcrow) {
            out += kReturn;
        } else if (c == u'\r') {
            // A line break inside a text literal is the paragraph mark, whatever its form.
            out += kReturn;
            if (pos_ < src_.size() && src_[pos_] == u'\n') ++pos_;
        } else if (c == u'\n') {
            out += kReturn;
        } else {
            out += c;
        }
    }
}

Token Lexer::lexName() {
    Token t;
    t.kind = Token::Kind::Name;
    t.position = pos_;
    std::size_t start = pos_;
    while (pos_ < src_.size()) {
        std::size_t i = pos_;
        UChar32 cp;
        U16_NEXT(src_.data(), i, src_.size(), cp);
        if (!isNamePart(cp)) break;
        pos_ = i;
    }
    std::u16string_view name = src_.substr(start, pos_ - start);
    if (equalsIgnoringAsciiCase(name, "and")) t.kind = Token::Kind::And;
    else if (equalsIgnoringAsciiCase(name, "or")) t.kind = Token::Kind::Or;
    else if (equalsIgnoringAsciiCase(name, "xor")) t.kind = Token::Kind::Xor;
    else if (equalsIgnoringAsciiCase(name, "not")) t.kind = Token::Kind::Not;
    t.text = std::u16string(name);
    return t;
}

}  // namespace calc
