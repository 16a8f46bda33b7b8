#include "migrate/legacy_layout.h"

#include "core/failure.h"

namespace vortan::migrate {

namespace {

LayoutColumn text(const char16_t* name)
{
    return LayoutColumn{QString::fromUtf16(name), ValueKind::Text};
}

LayoutColumn whole(const char16_t* name)
{
    return LayoutColumn{QString::fromUtf16(name), ValueKind::Whole};
}

LayoutColumn single(const char16_t* name)
{
    return LayoutColumn{QString::fromUtf16(name), ValueKind::Single};
}

LayoutColumn optional(LayoutColumn column)
{
    column.optional = true;
    return column;
}

LayoutColumn primaryKey(LayoutColumn column)
{
    column.primaryKey = true;
    return column;
}

LayoutTable table(const char16_t* name, std::vector<LayoutColumn> columns, bool isOptional = false)
{
    return LayoutTable{QString::fromUtf16(name), isOptional, std::move(columns)};
}

std::vector<LayoutTable> buildLayout()
{
    const auto list = [](const char16_t* name, const char16_t* column) { return table(name, {text(column)}); };
    LayoutColumn soilNumber = primaryKey(whole(u"xNo"));
    soilNumber.counter = true;
    LayoutColumn printed{QStringLiteral("印刷"), ValueKind::YesNo, true};
    return {
        table(u"調査地区",
              {primaryKey(whole(u"調査地区No")), text(u"現場名"), text(u"住所"), text(u"調査目的"), text(u"調査責任者"),
               text(u"調査者"), text(u"調査開始時刻"), text(u"調査終了時刻"), text(u"調査日"), text(u"天候"),
               text(u"標高"), text(u"得意先名"), text(u"記事")}),
        table(u"測点",
              {whole(u"調査地区No"), text(u"測点No"), text(u"日付"), text(u"開始時刻"), text(u"終了時刻"),
               text(u"標高差"), text(u"地下水位"), text(u"記事"), printed, optional(text(u"印刷測点No"))}),
        table(u"測点データ",
              {whole(u"調査地区No"), text(u"測点No"), text(u"日付"), text(u"開始時刻"), text(u"終了時刻"),
               single(u"貫入深さ"), whole(u"打撃回数"), single(u"トルク"), whole(u"推定土質"), text(u"記事")}),
        table(u"mst土質", {soilNumber, text(u"土質名"), whole(u"表示色")}),
        list(u"mst天候", u"天候名"),
        table(u"mst住所", {primaryKey(text(u"住所"))}, true),
        list(u"mst調査目的", u"調査目的"),
        list(u"mst調査地区記事", u"記事"),
        list(u"mst姓名", u"姓名"),
        list(u"mst測点記事", u"記事"),
        list(u"mst測点データ記事", u"記事"),
        table(u"mst得意先",
              {text(u"得意先名"), whole(u"Nd値計算式コード"), whole(u"Qa値計算式コード"), whole(u"qu値計算式コード"),
               text(u"住所"), text(u"TEL"), text(u"FAX")}),
        table(u"mstRNd値計算式",
              {whole(u"計算式コード"), text(u"土質名"), text(u"メモ"), single(u"A"), single(u"B"), single(u"C")}),
        table(u"mstNd値計算式",
              {whole(u"計算式コード"), text(u"土質名"), text(u"メモ"), single(u"A"), single(u"B"), single(u"C"),
               single(u"D"), single(u"E")}),
        table(u"mstQa値計算式",
              {whole(u"計算式コード"), text(u"土質名"), text(u"メモ"), single(u"A"), single(u"B"),
               optional(single(u"C")), optional(single(u"D")), single(u"E"), single(u"F"), single(u"G")}),
        table(u"SystemSetting", {primaryKey(text(u"Key")), text(u"Value")}, true),
    };
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Whether a column of the file's kind can hold the layout's values.
bool holds(ValueKind kind, const QString& fileKind)
{
    switch (kind) {
    case ValueKind::Text: return fileKind == u"Text" || fileKind == u"Memo";
    case ValueKind::Whole: return fileKind == u"Long" || fileKind == u"Integer" || fileKind == u"Byte";
    case ValueKind::Single: return fileKind == u"Single" || fileKind == u"Double";
    case ValueKind::YesNo: return fileKind == u"Boolean";
    }
    return false;
}

const LayoutColumn* findColumn(const LayoutTable& layout, const QString& name)
{
    for (const LayoutColumn& column : layout.columns) {
        if (sameName(column.name, name))
            return &column;
    }
    return nullptr;
}

// The column's type in the program's SQL dialect, as the file declares it.
QString declarationOf(const LayoutColumn& layout, const CatalogColumn& file)
{
    QString type;
    if (layout.counter)
        type = QStringLiteral("Counter");
    else if (file.kind == u"Text" && file.size > 0 && file.size <= 255)
        type = QStringLiteral("String(%1)").arg(file.size);
    else if (file.kind == u"Text" || file.kind == u"Memo")
        type = QStringLiteral("Memo");
    else if (file.kind == u"Integer")
        type = QStringLiteral("Short");
    else if (file.kind == u"Boolean")
        type = QStringLiteral("YesNo");
    else
        type = file.kind;   // Long, Byte, Single, Double are words of the dialect too
    return layout.primaryKey ? type + QStringLiteral(" PRIMARY KEY") : type;
}

[[noreturn]] void badValue(const QString& table, const QString& column)
{
    throw Failure(err::DbNotDatabase,
                  QStringLiteral("The reader of the Access file sent no readable value of %1.%2.")
                      .arg(table, column),
                  QStringLiteral("MigrateLegacyDatabase"));
}

// A number as the reader writes it: digits with a sign, a decimal point and
// an exponent, nothing else (no blanks, no "inf" or "nan").
bool isPlainNumber(const QString& text, bool whole)
{
    if (text.isEmpty() || text.size() > 40)
        return false;
    for (const QChar c : text) {
        const bool digit = c >= u'0' && c <= u'9';
        if (!digit && c != u'-' && (whole || (c != u'.' && c != u'e' && c != u'E' && c != u'+')))
            return false;
    }
    return true;
}

} // namespace

const std::vector<LayoutTable>& LegacyTables()
{
    static const std::vector<LayoutTable> layout = buildLayout();
    return layout;
}

const CatalogTable* findTable(const std::vector<CatalogTable>& catalog, const QString& name)
{
    for (const CatalogTable& table : catalog) {
        if (sameName(table.name, name))
            return &table;
    }
    return nullptr;
}

QStringList MissingFromLegacyLayout(const std::vector<CatalogTable>& catalog)
{
    QStringList missing;
    for (const LayoutTable& layout : LegacyTables()) {
        const CatalogTable* file = findTable(catalog, layout.name);
        if (!file) {
            if (!layout.optional)
                missing.append(layout.name);
            continue;
        }
        for (const LayoutColumn& column : layout.columns) {
            const CatalogColumn* found = nullptr;
            for (const CatalogColumn& candidate : file->columns) {
                if (sameName(candidate.name, column.name))
                    found = &candidate;
            }
            if ((!found && !column.optional) || (found && !holds(column.kind, found->kind)))
                missing.append(layout.name + u'.' + column.name);
        }
    }
    return missing;
}

TableCopy::TableCopy(const LayoutTable& layout, const CatalogTable& catalog)
    : name_(catalog.name), definitionRows_(catalog.definitionRows)
{
    for (qsizetype i = 0; i < qsizetype(catalog.columns.size()); ++i) {
        const CatalogColumn& file = catalog.columns[std::size_t(i)];
        const LayoutColumn* known = findColumn(layout, file.name);
        if (!known)
            continue;   // a column of the file's own: the program has no use for it
        columns_.push_back(Column{i, file.name, known->kind, declarationOf(*known, file)});
    }
}

QString TableCopy::createStatement() const
{
    QStringList definitions;
    for (const Column& column : columns_)
        definitions.append(u'[' + column.name + QStringLiteral("] ") + column.declaration);
    return QStringLiteral("CREATE TABLE [%1] (%2);").arg(name_, definitions.join(QStringLiteral(", ")));
}

QStringList TableCopy::columnNames() const
{
    QStringList names;
    for (const Column& column : columns_)
        names.append(column.name);
    return names;
}

void TableCopy::values(const std::vector<StreamField>& fields, std::vector<db::Value>& out) const
{
    out.clear();
    for (const Column& column : columns_) {
        if (column.source >= qsizetype(fields.size()))
            badValue(name_, column.name);
        const StreamField& field = fields[std::size_t(column.source)];
        if (field.null) {
            out.emplace_back();
            continue;
        }
        bool ok = false;
        switch (column.kind) {
        case ValueKind::Text:
            out.emplace_back(field.text);
            continue;
        case ValueKind::Whole:
            if (isPlainNumber(field.text, true))
                out.emplace_back(field.text.toLongLong(&ok));
            break;
        case ValueKind::Single:
            if (isPlainNumber(field.text, false))
                out.emplace_back(field.text.toDouble(&ok));
            break;
        case ValueKind::YesNo:
            ok = field.text == u"0" || field.text == u"1";
            out.emplace_back(qint64(field.text == u"1" ? -1 : 0));
            break;
        }
        if (!ok)
            badValue(name_, column.name);
    }
}

} // namespace vortan::migrate
