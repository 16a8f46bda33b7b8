#include "sheet/master_definitions.h"

#include "core/number_text.h"
#include "db/database.h"

namespace vortan::sheet {

namespace {

using Kind = MasterColumn::Kind;

MasterDefinition single(const char16_t* caption, const char16_t* key, const char16_t* table,
                        const char16_t* field, const char16_t* heading, int width)
{
    const QString t = QString::fromUtf16(table);
    const QString f = QString::fromUtf16(field);
    return MasterDefinition{QString::fromUtf16(caption),
                            QString::fromUtf16(key),
                            t,
                            QStringLiteral("select %1.%2 from %1 ;").arg(t, f),
                            QStringLiteral("DELETE %1.*, %1.%2 FROM %1 ;").arg(t, f),
                            QStringLiteral("INSERT INTO %1 (%2) VALUES ('").arg(t, f),
                            {{QString::fromUtf16(heading), width, f, Kind::Text}}};
}

// A cell inserted as a number: its numeric value, 0 for an empty cell.
QString numberValue(const QString& cell)
{
    return numtext::shortestDouble(numtext::leadingNumber(cell));
}

} // namespace

int MasterDefinition::dataColumnCount() const
{
    int count = 0;
    for (const MasterColumn& column : columns)
        if (column.kind != Kind::Button)
            ++count;
    return count;
}

QString MasterDefinition::insertStatement(const QStringList& cells) const
{
    if (table == u"mst土質") {
        return insertPrefix + db::quoted(cells.value(0)) + QStringLiteral("',") + numberValue(cells.value(1)) +
               QStringLiteral(");");
    }
    QStringList values;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const MasterColumn& column = columns[static_cast<std::size_t>(c)];
        if (column.kind == Kind::Button)
            continue;
        values << (column.kind == Kind::Text ? db::quoted(cells.value(c)) : numberValue(cells.value(c)));
    }
    return insertPrefix + values.join(QStringLiteral("','")) + QStringLiteral("');");
}

const std::vector<MasterDefinition>& MasterDefinitions()
{
    static const std::vector<MasterDefinition> masters = [] {
        std::vector<MasterDefinition> m;
        m.push_back(single(u"姓名マスタの編集", u"tb_姓名マスタ", u"mst姓名", u"姓名", u"姓名", 20));
        m.push_back(single(u"天候マスタの編集", u"tb_天候マスタ", u"mst天候", u"天候名", u"天候名", 30));
        m.push_back(MasterDefinition{
            QStringLiteral("土質マスタの編集"),
            QStringLiteral("tb_土質マスタ"),
            QStringLiteral("mst土質"),
            QStringLiteral("select mst土質.* from mst土質 ORDER BY xNo ;"),
            QStringLiteral("DELETE mst土質.*, mst土質.土質名 FROM mst土質 ;"),
            QStringLiteral("INSERT INTO mst土質 (土質名,表示色) VALUES ('"),
            {{QStringLiteral("土質名"), 20, QStringLiteral("土質名"), Kind::Text},
             {QStringLiteral("表示色"), 10, QStringLiteral("表示色"), Kind::Colour},
             {QStringLiteral("色変更"), 6, QString(), Kind::Button}}});
        m.push_back(MasterDefinition{
            QStringLiteral("得意先マスタの編集"),
            QStringLiteral("tb_得意先マスタ"),
            QStringLiteral("mst得意先"),
            QStringLiteral("select mst得意先.* from mst得意先 ;"),
            QStringLiteral("DELETE mst得意先.*, mst得意先.得意先名 FROM mst得意先 ;"),
            QStringLiteral("INSERT INTO mst得意先 (得意先名,Nd値計算式コード,Qa値計算式コード,Qu値計算式コード,住所,TEL,FAX) "
                           "VALUES ('"),
            {{QStringLiteral("得意先名"), 40, QStringLiteral("得意先名"), Kind::Text},
             {QStringLiteral("⊿Nd値計算式コード"), 10, QStringLiteral("Nd値計算式コード"), Kind::Number},
             {QStringLiteral("qa値計算式コード"), 10, QStringLiteral("Qa値計算式コード"), Kind::Number},
             {QStringLiteral("Nd値計算式コード"), 10, QStringLiteral("Qu値計算式コード"), Kind::Number},
             {QStringLiteral("住所"), 40, QStringLiteral("住所"), Kind::Text},
             {QStringLiteral("TEL"), 15, QStringLiteral("TEL"), Kind::Text},
             {QStringLiteral("FAX"), 15, QStringLiteral("FAX"), Kind::Text}}});
        m.push_back(single(u"調査目的マスタの編集", u"tb_調査目的マスタ", u"mst調査目的", u"調査目的", u"調査目的", 50));
        m.push_back(single(u"調査地区記事マスタの編集", u"tb_調査地区記事マスタ", u"mst調査地区記事", u"記事",
                           u"調査地区記事", 100));
        m.push_back(single(u"測点記事マスタの編集", u"tb_測点記事マスタ", u"mst測点記事", u"記事", u"測点記事", 50));
        m.push_back(single(u"測点データ記事マスタの編集", u"tb_測点データ記事マスタ", u"mst測点データ記事", u"記事",
                           u"測点データ記事", 50));
        m.push_back(single(u"住所マスタの編集", u"tb_住所マスタ", u"mst住所", u"住所", u"住所ラベル表記", 20));
        return m;
    }();
    return masters;
}

const MasterDefinition* FindMasterByCaption(const QString& caption)
{
    for (const MasterDefinition& master : MasterDefinitions())
        if (master.caption == caption)
            return &master;
    return nullptr;
}

} // namespace vortan::sheet
