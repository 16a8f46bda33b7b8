// vortan-mdb-reader FILE: reads an Access database file for the program, in a
// process of its own, so that a file that makes libmdb crash or hang cannot
// take the program down with it.
//
// It writes the catalog of FILE's user tables to standard output, then reads
// table names from standard input, one per line (UTF-8), and writes the rows
// of each such table that the file has, until standard input ends. The
// stream is described in mdb/table_stream_writer.h.
//
// Exit codes: 0 done, 2 usage, 3 the file cannot be opened or its table
// definitions cannot be read, 4 a table's rows cannot be read, 5 the output
// cannot be written.

#include "mdb/access_file.h"
#include "mdb/table_stream_writer.h"

#include <cstdio>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv)
{
    using namespace vortan::mdb;
    if (argc != 2) {
        std::fputs("usage: vortan-mdb-reader FILE  (table names on standard input)\n", stderr);
        return 2;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);

    std::string problem;
    const auto file = AccessFile::open(argv[1], problem);
    if (!file) {
        std::fprintf(stderr, "vortan-mdb-reader: %s\n", problem.c_str());
        return 3;
    }
    TableStreamWriter out(stdout);
    out.catalog(*file);
    if (!out.flush())
        return 5;

    std::string name;
    while (std::getline(std::cin, name)) {
        if (!name.empty() && name.back() == '\r')
            name.pop_back();
        const auto& tables = file->tables();
        for (std::size_t i = 0; i < tables.size(); ++i) {
            if (tables[i].name != name)
                continue;
            out.beginTable(tables[i]);
            const long rows = file->readRows(i, [&out](const std::vector<Field>& fields) { out.row(fields); });
            if (rows < 0) {
                out.flush();
                std::fprintf(stderr, "vortan-mdb-reader: the rows of %s cannot be read\n", name.c_str());
                return 4;
            }
            out.endTable(tables[i], rows);
            break;
        }
        if (!out.flush())
            return 5;
    }
    out.end();
    return out.flush() ? 0 : 5;
}
