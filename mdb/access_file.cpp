#include "mdb/access_file.h"

// libmdb's header wraps <glib.h> inside extern "C", which C++ cannot compile;
// glib's own header, included first, keeps the second inclusion empty.
#include <glib.h>
#include <mdbtools.h>

#include <charconv>
#include <cstring>

namespace vortan::mdb {

namespace {

// Bytes libmdb uses as the row offset inside a page; the high bits are flags.
constexpr int kRowOffsetMask = 0x1fff;
// Room for the UTF-8 text of a whole page of compressed Jet 4 text.
constexpr std::size_t kTextBufferSize = 3 * 4096 + 16;

ColumnKind kindOf(int type)
{
    switch (type) {
    case MDB_BOOL: return ColumnKind::Boolean;
    case MDB_BYTE: return ColumnKind::Byte;
    case MDB_INT: return ColumnKind::Integer;
    case MDB_LONGINT: return ColumnKind::Long;
    case MDB_FLOAT: return ColumnKind::Single;
    case MDB_DOUBLE: return ColumnKind::Double;
    case MDB_MONEY: return ColumnKind::Currency;
    case MDB_DATETIME: return ColumnKind::DateTime;
    case MDB_TEXT: return ColumnKind::Text;
    case MDB_MEMO: return ColumnKind::Memo;
    default: return ColumnKind::Other;
    }
}

template <typename Number>
void writeNumber(std::string& out, Number value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.assign(text, result.ptr);
}

// Takes a string libmdb allocated with glib.
void takeGlibString(std::string& out, char* text)
{
    out.assign(text ? text : "");
    g_free(text);
}

} // namespace

const char* kindName(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Boolean: return "Boolean";
    case ColumnKind::Byte: return "Byte";
    case ColumnKind::Integer: return "Integer";
    case ColumnKind::Long: return "Long";
    case ColumnKind::Single: return "Single";
    case ColumnKind::Double: return "Double";
    case ColumnKind::Currency: return "Currency";
    case ColumnKind::DateTime: return "DateTime";
    case ColumnKind::Text: return "Text";
    case ColumnKind::Memo: return "Memo";
    case ColumnKind::Other: break;
    }
    return "Other";
}

struct AccessFile::Handle {
    MdbHandle* mdb = nullptr;
    std::vector<MdbCatalogEntry*> entries;   // the user tables, as tables() lists them
    std::vector<char> text = std::vector<char>(kTextBufferSize);

    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }

    // The value of one cracked field as text, at the page where the row stands.
    void convert(const MdbColumn& column, const MdbField& field, Field& out)
    {
        if (column.col_type == MDB_BOOL) {
            // A Yes/No value is its null bit: set means No.
            out.null = false;
            out.text = field.is_null ? "0" : "1";
            return;
        }
        out.null = field.is_null != 0;
        std::string& value = out.text;
        value.clear();
        if (out.null)
            return;
        unsigned char* page = mdb->pg_buf;
        const int start = field.start;
        switch (column.col_type) {
        case MDB_BYTE: writeNumber(value, int(mdb_get_byte(page, start))); break;
        case MDB_INT: writeNumber(value, static_cast<std::int16_t>(mdb_get_int16(page, start))); break;
        case MDB_LONGINT: writeNumber(value, static_cast<std::int32_t>(mdb_get_int32(page, start))); break;
        case MDB_FLOAT: writeNumber(value, mdb_get_single(page, start)); break;
        case MDB_DOUBLE:
        case MDB_DATETIME: writeNumber(value, mdb_get_double(page, start)); break;
        case MDB_MONEY: takeGlibString(value, mdb_money_to_string(mdb, start)); break;
        case MDB_TEXT: {
            if (field.siz <= 0)
                break;   // the empty text, which is not Null
            const int length = mdb_unicode2ascii(mdb, reinterpret_cast<const char*>(page) + start,
                                                 static_cast<std::size_t>(field.siz), text.data(), text.size());
            value.assign(text.data(), static_cast<std::size_t>(std::max(length, 0)));
            break;
        }
        case MDB_MEMO:
            takeGlibString(value, mdb_col_to_string(mdb, page, start, MDB_MEMO, field.siz));
            break;
        default:
            out.null = true;   // binary, OLE, replication ids: nothing the program stores
            break;
        }
    }
};

AccessFile::AccessFile(std::unique_ptr<Handle> handle, std::vector<AccessTable> tables)
    : handle_(std::move(handle)), tables_(std::move(tables))
{
}

AccessFile::~AccessFile() = default;

std::unique_ptr<AccessFile> AccessFile::open(const std::string& path, std::string& problem)
{
    // Read by libmdb when it opens the file: texts in UTF-8, Jet 3 files in
    // the Japanese code page (its default, code page 1252, would turn ①, ～
    // and ㈱ into "?").
    g_setenv("MDB_ICONV", "UTF-8", TRUE);
    g_setenv("MDB_JET3_CHARSET", "CP932", TRUE);

    auto handle = std::make_unique<Handle>();
    handle->mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!handle->mdb) {
        problem = "libmdb cannot open " + path;
        return nullptr;
    }
    MdbHandle* mdb = handle->mdb;
    if (!mdb_read_catalog(mdb, MDB_TABLE)) {
        problem = "the catalog of " + path + " cannot be read";
        return nullptr;
    }
    const bool jet3 = mdb->f->jet_version == MDB_VER_JET3;

    std::vector<AccessTable> tables;
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (!entry || !mdb_is_user_table(entry))
            continue;
        MdbTableDef* definition = mdb_read_table(entry);
        if (!definition || !mdb_read_columns(definition)) {
            if (definition)
                mdb_free_tabledef(definition);
            problem = std::string("the definition of table ") + entry->object_name + " cannot be read";
            return nullptr;
        }
        AccessTable& table = tables.emplace_back();
        table.name = entry->object_name;
        table.definitionRows = static_cast<long>(definition->num_rows);
        for (unsigned int c = 0; c < definition->num_cols; ++c) {
            const auto* column = static_cast<const MdbColumn*>(g_ptr_array_index(definition->columns, c));
            AccessColumn& out = table.columns.emplace_back();
            out.name = column->name;
            out.kind = kindOf(column->col_type);
            if (out.kind == ColumnKind::Text)
                out.size = jet3 ? column->col_size : column->col_size / 2;
        }
        mdb_free_tabledef(definition);
        handle->entries.push_back(entry);
    }
    return std::unique_ptr<AccessFile>(new AccessFile(std::move(handle), std::move(tables)));
}

int AccessFile::jetVersion() const
{
    switch (handle_->mdb->f->jet_version) {
    case MDB_VER_JET3: return 3;
    case MDB_VER_JET4: return 4;
    default: return 5;
    }
}

long AccessFile::readRows(std::size_t index, const std::function<void(const std::vector<Field>&)>& visit)
{
    if (index >= handle_->entries.size())
        return -1;
    MdbHandle* mdb = handle_->mdb;
    MdbTableDef* table = mdb_read_table(handle_->entries[index]);
    if (!table)
        return -1;
    if (!mdb_read_columns(table)) {
        mdb_free_tabledef(table);
        return -1;
    }
    const unsigned int columns = table->num_cols;
    std::vector<MdbField> fields(columns + 1);
    std::vector<Field> row(columns);
    long count = 0;
    mdb_rewind_table(table);
    // Nothing is bound, so fetching converts nothing; the row just fetched
    // is cracked once more here, where the null bits tell Null from an
    // empty text.
    while (mdb_fetch_row(table)) {
        int start = 0;
        std::size_t length = 0;
        if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &length) != 0)
            continue;
        const int cracked = mdb_crack_row(table, start & kRowOffsetMask, length, fields.data());
        if (cracked < 0)
            continue;
        for (Field& field : row) {
            field.null = true;
            field.text.clear();
        }
        for (int f = 0; f < cracked && f < static_cast<int>(columns); ++f) {
            const int c = fields[static_cast<std::size_t>(f)].colnum;
            if (c < 0 || c >= static_cast<int>(columns))
                continue;
            const auto* column = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, c));
            handle_->convert(*column, fields[static_cast<std::size_t>(f)], row[static_cast<std::size_t>(c)]);
        }
        visit(row);
        ++count;
    }
    mdb_free_tabledef(table);
    return count;
}

} // namespace vortan::mdb
