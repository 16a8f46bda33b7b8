#pragma once
// Splits one statement text of the program's SQL dialect into tokens: words
// (keywords and names), bracketed names, text literals in single or double
// quotes, numbers and operator symbols. Tokens are views into the text, so
// tokenizing allocates nothing beyond the reused token vector.

#include <QStringView>
#include <vector>

namespace vortan::db {

enum class SqlTokenKind {
    Word,      // keyword or bare name: letters, digits, '_' and any non-ASCII character
    Name,      // [bracketed name]; text() is the name without the brackets
    Text,      // 'text' or "text"; text() is the content, doubled quotes not yet undone
    Number,    // 12, 0930, 1.5, .5, 2E3
    Symbol,    // ( ) , . ; * = < > <= >= <> + - / &
};

struct SqlToken {
    SqlTokenKind kind;
    QStringView text;
    bool hasDoubledQuote = false;   // a Text token whose content holds '' or ""
    QChar quote;                    // the quote character of a Text token
};

// Tokenizes `sql` into `out` (cleared first). An unterminated literal or
// name, or a character that the dialect does not know, throws Failure with
// the syntax error number.
void tokenizeSql(QStringView sql, std::vector<SqlToken>& out);

// True when the token is the word `word` (ASCII, any letter case).
bool isWord(const SqlToken& token, const char* word);
bool isSymbol(const SqlToken& token, char symbol);

} // namespace vortan::db
