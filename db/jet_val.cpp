#include "db/jet_val.h"

#include "core/number_text.h"

#include <QStringView>
#include <sqlite3.h>

namespace vortan::db {

namespace {

void valFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc < 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER || sqlite3_value_type(argv[0]) == SQLITE_FLOAT) {
        sqlite3_result_double(context, sqlite3_value_double(argv[0]));
        return;
    }
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(argv[0]));
    const int bytes = sqlite3_value_bytes16(argv[0]);
    sqlite3_result_double(context, numtext::leadingNumber(QStringView(text, bytes / 2)));
}

} // namespace

void registerJetVal(sqlite3* connection)
{
    sqlite3_create_function_v2(connection, "jet_val", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                               valFunction, nullptr, nullptr, nullptr);
}

} // namespace vortan::db
