#pragma once
// The stream the reader program writes: UTF-8 lines ending in LF, fields
// separated by TAB, the first field a one-letter tag.
//
//   T <table> <rows of its definition>      one per user table, catalog order
//   C <column> <kind> <characters>          its columns, in table order
//   S                                       end of the catalog
//   D <table>                               the rows of a table follow
//   R <field> <field> ...                   one row, its fields in column order
//   E <table> <rows read>                   end of that table's rows
//   Z                                       end: every requested table was read
//
// A field is \N for Null, otherwise its text with "\" written "\\" and TAB,
// LF and CR written "\t", "\n", "\r"; an empty field is the empty text.
// ReaderStream cuts the bytes as they arrive into such lines.

#include <QByteArray>
#include <QString>
#include <vector>

namespace vortan::migrate {

struct StreamField {
    bool null = false;
    QString text;
};

struct StreamLine {
    char tag = 0;
    std::vector<StreamField> fields;   // the fields after the tag
};

class ReaderStream {
public:
    void append(const QByteArray& bytes);

    // Takes the next complete line into `line`; false when no complete line
    // is left. A line that is not of the stream's form throws Failure 3343
    // (the reader's output can only be garbled when the file made it so).
    bool next(StreamLine& line);

    // True when bytes of an unfinished line are waiting.
    bool hasPartialLine() const { return position_ < buffer_.size(); }

private:
    QByteArray buffer_;
    qsizetype position_ = 0;
};

} // namespace vortan::migrate
