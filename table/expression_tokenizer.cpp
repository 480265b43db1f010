#include "table/expression_tokenizer.h"

#include <charconv>
#include <system_error>

namespace table {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsNameStart(char c)
{
    return IsLetter(c) || c == '_';
}

bool IsNameChar(char c)
{
    return IsNameStart(c) || IsDigit(c);
}

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    }
    return true;
}

class Tokenizer
{
public:
    Tokenizer(std::string_view text, std::vector<Token>* tokens, ExprError* error)
        : m_text(text)
        , m_tokens(tokens)
        , m_error(error)
    { }

    bool Run()
    {
        while (true) {
            while (m_pos < m_text.size() && IsSpace(m_text[m_pos]))
                ++m_pos;
            if (m_pos == m_text.size())
                break;
            if (!Next())
                return false;
        }
        Token end;
        end.kind = TokenKind::kEnd;
        end.position = m_text.size();
        m_tokens->push_back(end);
        return true;
    }

private:
    bool Fail(ExprErrorCode code, std::size_t position)
    {
        m_error->code = code;
        m_error->position = position;
        return false;
    }

    char At(std::size_t i) const { return i < m_text.size() ? m_text[i] : '\0'; }

    // A sign belongs to a number only where an expression starts or an operand follows an
    // operator; elsewhere it is the operator.
    bool SignMayStartNumber() const
    {
        if (m_tokens->empty())
            return true;
        const TokenKind last = m_tokens->back().kind;
        return last == TokenKind::kOperator || last == TokenKind::kLeftParen
            || last == TokenKind::kComma;
    }

    bool StartsUnsignedNumber(std::size_t i) const
    {
        return IsDigit(At(i)) || (At(i) == '.' && IsDigit(At(i + 1)));
    }

    bool Next()
    {
        const char c = m_text[m_pos];
        if (c == '\'' || c == '"')
            return QuotedText(c);
        if (StartsUnsignedNumber(m_pos))
            return Number(m_pos);
        if ((c == '-' || c == '+') && SignMayStartNumber() && StartsUnsignedNumber(m_pos + 1))
            return Number(m_pos + 1);
        if (c == '.')
            return DotWord();
        if (IsNameStart(c))
            return Name();
        return Punctuation();
    }

    bool QuotedText(char quote)
    {
        const std::size_t close = m_text.find(quote, m_pos + 1);
        if (close == std::string_view::npos)
            return Fail(ExprErrorCode::kUnterminatedQuote, m_pos);
        Token t;
        t.kind = TokenKind::kText;
        t.position = m_pos;
        t.text = m_text.substr(m_pos + 1, close - m_pos - 1);
        m_tokens->push_back(t);
        m_pos = close + 1;
        return true;
    }

    // Digits with at most one point. A point followed by a letter is left for the dot word
    // that follows (1.AND.), so "5." is five but "5.AND." is five and .AND.
    bool Number(std::size_t digitsStart)
    {
        const std::size_t start = m_pos;
        std::size_t i = digitsStart;
        while (IsDigit(At(i)))
            ++i;
        if (At(i) == '.' && !IsLetter(At(i + 1))) {
            ++i;
            while (IsDigit(At(i)))
                ++i;
        }
        if (IsNameChar(At(i)))
            return Fail(ExprErrorCode::kBadNumber, start);

        // from_chars takes a leading '-' but no '+'.
        const std::size_t parseFrom = m_text[start] == '+' ? digitsStart : start;
        Token t;
        t.kind = TokenKind::kNumber;
        t.position = start;
        t.text = m_text.substr(start, i - start);
        const char* first = m_text.data() + parseFrom;
        const char* last = m_text.data() + i;
        const auto [ptr, ec] = std::from_chars(first, last, t.number, std::chars_format::fixed);
        if (ec != std::errc() || ptr != last)
            return Fail(ExprErrorCode::kBadNumber, start);
        m_tokens->push_back(t);
        m_pos = i;
        return true;
    }

    bool DotWord()
    {
        std::size_t i = m_pos + 1;
        while (IsLetter(At(i)))
            ++i;
        if (i == m_pos + 1 || At(i) != '.')
            return Fail(ExprErrorCode::kBadDotWord, m_pos);
        const std::string_view word = m_text.substr(m_pos + 1, i - m_pos - 1);
        Token t;
        t.position = m_pos;
        if (EqualsNoCase(word, "T") || EqualsNoCase(word, "F")) {
            t.kind = TokenKind::kLogical;
            t.logical = Upper(word[0]) == 'T';
        } else if (EqualsNoCase(word, "TRUE") || EqualsNoCase(word, "FALSE")) {
            // Long spellings are not logical constants: they stand for their own text.
            t.kind = TokenKind::kText;
            t.text = m_text.substr(m_pos, i + 1 - m_pos);
        } else if (EqualsNoCase(word, "AND")) {
            t.kind = TokenKind::kOperator;
            t.op = Operator::kAnd;
        } else if (EqualsNoCase(word, "OR")) {
            t.kind = TokenKind::kOperator;
            t.op = Operator::kOr;
        } else if (EqualsNoCase(word, "NOT")) {
            t.kind = TokenKind::kOperator;
            t.op = Operator::kNot;
        } else {
            return Fail(ExprErrorCode::kBadDotWord, m_pos);
        }
        m_tokens->push_back(t);
        m_pos = i + 1;
        return true;
    }

    bool Name()
    {
        std::size_t i = m_pos;
        while (IsNameChar(At(i)))
            ++i;
        Token t;
        t.kind = TokenKind::kName;
        t.position = m_pos;
        t.text = m_text.substr(m_pos, i - m_pos);
        t.call = At(i) == '(';
        m_tokens->push_back(t);
        m_pos = i;
        return true;
    }

    bool Punctuation()
    {
        const char c = m_text[m_pos];
        const char n = At(m_pos + 1);
        Token t;
        t.position = m_pos;
        t.kind = TokenKind::kOperator;
        std::size_t length = 1;
        switch (c) {
        case '(':
            t.kind = TokenKind::kLeftParen;
            break;
        case ')':
            t.kind = TokenKind::kRightParen;
            break;
        case ',':
            t.kind = TokenKind::kComma;
            break;
        case '+':
            t.op = Operator::kPlus;
            break;
        case '-':
            t.op = Operator::kMinus;
            break;
        case '*':
            t.op = n == '*' ? Operator::kPower : Operator::kMultiply;
            length = n == '*' ? 2 : 1;
            break;
        case '^':
            t.op = Operator::kPower;
            break;
        case '/':
            t.op = Operator::kDivide;
            break;
        case '=':
            t.op = Operator::kEqual;
            break;
        case '#':
            t.op = Operator::kNotEqual;
            break;
        case '$':
            t.op = Operator::kContains;
            break;
        case '<':
            t.op = n == '>' ? Operator::kNotEqual
                : n == '='  ? Operator::kLessEqual
                            : Operator::kLess;
            length = (n == '>' || n == '=') ? 2 : 1;
            break;
        case '>':
            t.op = n == '=' ? Operator::kGreaterEqual : Operator::kGreater;
            length = n == '=' ? 2 : 1;
            break;
        default:
            return Fail(ExprErrorCode::kUnexpectedCharacter, m_pos);
        }
        t.text = m_text.substr(m_pos, length);
        m_tokens->push_back(t);
        m_pos += length;
        return true;
    }

    std::string_view m_text;
    std::vector<Token>* m_tokens;
    ExprError* m_error;
    std::size_t m_pos = 0;
};

} // namespace

bool Tokenize(std::string_view text, std::vector<Token>* tokens, ExprError* error)
{
    tokens->clear();
    return Tokenizer(text, tokens, error).Run();
}

} // namespace table
