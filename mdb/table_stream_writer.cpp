#include "mdb/table_stream_writer.h"

namespace vortan::mdb {

void TableStreamWriter::finishLine()
{
    line_ += '\n';
    std::fwrite(line_.data(), 1, line_.size(), out_);
    line_.clear();
}

void TableStreamWriter::number(long value)
{
    line_ += '\t';
    line_ += std::to_string(value);
}

void TableStreamWriter::escaped(const std::string& text)
{
    for (const char c : text) {
        switch (c) {
        case '\\': line_ += "\\\\"; break;
        case '\t': line_ += "\\t"; break;
        case '\n': line_ += "\\n"; break;
        case '\r': line_ += "\\r"; break;
        default: line_ += c; break;
        }
    }
}

void TableStreamWriter::catalog(const AccessFile& file)
{
    for (const AccessTable& table : file.tables()) {
        put("T\t");
        escaped(table.name);
        number(table.definitionRows);
        finishLine();
        for (const AccessColumn& column : table.columns) {
            put("C\t");
            escaped(column.name);
            line_ += '\t';
            line_ += kindName(column.kind);
            number(column.size);
            finishLine();
        }
    }
    put("S");
    finishLine();
}

void TableStreamWriter::beginTable(const AccessTable& table)
{
    put("D\t");
    escaped(table.name);
    finishLine();
}

void TableStreamWriter::row(const std::vector<Field>& fields)
{
    put("R");
    for (const Field& field : fields) {
        line_ += '\t';
        if (field.null)
            line_ += "\\N";
        else
            escaped(field.text);
    }
    finishLine();
}

void TableStreamWriter::endTable(const AccessTable& table, long rowsRead)
{
    put("E\t");
    escaped(table.name);
    number(rowsRead);
    finishLine();
}

void TableStreamWriter::end()
{
    put("Z");
    finishLine();
}

bool TableStreamWriter::flush()
{
    return std::fflush(out_) == 0 && !std::ferror(out_);
}

} // namespace vortan::mdb
