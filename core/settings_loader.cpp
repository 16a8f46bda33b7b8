#include "core/settings_loader.h"

#include "core/bearing_factor_table.h"
#include "core/card_drive_file.h"
#include "core/failure.h"
#include "core/graph_type_file.h"
#include "core/number_text.h"

#include <variant>
#include <vector>

namespace vortan {

namespace {

using Member = std::variant<std::int16_t AppSettings::*, float AppSettings::*,
                            double AppSettings::*, bool AppSettings::*, QString AppSettings::*>;

// How a stored text becomes the value of its key.
enum class Rule {
    Strict,            // whole number, single, double or switch; failure when unreadable
    IntViaSingle,      // read as single, then rounded to a whole number
    Prefix,            // the leading number of the text, 0 when none
    PrefixAsText,      // the leading number, kept as its decimal text
    Text,              // the text as it is
};

struct Key {
    QString section;
    QString name;
    Member member;
    Rule rule;
    QString defaultText;
};

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// Every key in the order it is read and written.
std::vector<Key> settingKeys(const QString& programFolder)
{
    using S = AppSettings;
    const QString com = QStringLiteral("Com");
    const QString data = QStringLiteral("Data");
    const QString soil = QStringLiteral("土質");
    const QString etc = QStringLiteral("etc");
    const QString rep = QStringLiteral("rep");
    return {
        {com, QStringLiteral("port"), &S::port, Rule::Strict, QStringLiteral("1")},
        {com, QStringLiteral("timeout"), &S::timeout, Rule::Strict, QStringLiteral("10")},
        {data, QStringLiteral("point"), &S::point, Rule::Strict, QStringLiteral("22")},
        {data, QStringLiteral("maxcount"), &S::maxcount, Rule::Strict, QStringLiteral("64")},
        {soil, QStringLiteral("砂質土"), &S::砂質土, Rule::Text, QStringLiteral("砂質土")},
        {soil, QStringLiteral("粘性土"), &S::粘性土, Rule::Text, QStringLiteral("粘性土")},
        {etc, QStringLiteral("データ位置"), &S::データ位置, Rule::Text,
         defaultFileInProgramFolder(programFolder, u"VORTAN.MDB")},
        {etc, QStringLiteral("住所位置"), &S::住所位置, Rule::Text,
         defaultFileInProgramFolder(programFolder, u"Yuubin.MDB")},
        {etc, QStringLiteral("csv位置"), &S::csv位置, Rule::Text, QStringLiteral("a:\\test.csv")},
        {etc, QStringLiteral("ini位置"), &S::ini位置, Rule::Text, programFolder},
        {etc, QStringLiteral("通常の提出先"), &S::通常の提出先, Rule::Text, QStringLiteral("一般")},
        {etc, QStringLiteral("単位系"), &S::単位系, Rule::PrefixAsText, QStringLiteral("1")},
        {etc, QStringLiteral("重力加速度"), &S::重力加速度, Rule::Strict, QStringLiteral("10")},
        {etc, QStringLiteral("高さ基準"), &S::高さ基準, Rule::Text, QStringLiteral("0")},
        {etc, QStringLiteral("住所名"), &S::住所名, Rule::Text, QStringLiteral("0")},
        {etc, QStringLiteral("その他_ComboIndex"), &S::その他_ComboIndex, Rule::Strict,
         QStringLiteral("0")},
        {etc, QStringLiteral("測点表示"), &S::測点表示, Rule::Text, QStringLiteral("0")},
        {etc, QStringLiteral("打撃回数の下限"), &S::打撃回数の下限, Rule::Strict,
         QStringLiteral("False")},
        {etc, QStringLiteral("打撃回数の下限値"), &S::打撃回数の下限値, Rule::IntViaSingle,
         QStringLiteral("5")},
        {etc, QStringLiteral("Nd値の上限を有効にする"), &S::Nd値の上限を有効にする, Rule::Strict,
         QStringLiteral("False")},
        {etc, QStringLiteral("Nd値の上限値"), &S::Nd値の上限値, Rule::Strict, QStringLiteral("50")},
        {etc, QStringLiteral("Ndのしきい値を有効にする"), &S::Ndのしきい値を有効にする, Rule::Strict,
         QStringLiteral("False")},
        {etc, QStringLiteral("Ndのしきい値"), &S::Ndのしきい値, Rule::Strict, QStringLiteral("1")},
        {etc, QStringLiteral("qaのしきい値を有効にする"), &S::qaのしきい値を有効にする, Rule::Strict,
         QStringLiteral("False")},
        {etc, QStringLiteral("qaのしきい値"), &S::qaのしきい値, Rule::Strict, QStringLiteral("8")},
        {etc, QStringLiteral("試験名単位切替"), &S::試験名単位切替, Rule::Strict,
         QStringLiteral("True")},
        {etc, QStringLiteral("UpdateHost"), &S::UpdateHost, Rule::Text, QString()},
        {etc, QStringLiteral("RemoteSupportHost"), &S::RemoteSupportHost, Rule::Text, QString()},
        {rep, QStringLiteral("会社名"), &S::会社名, Rule::Text, QString()},
        {rep, QStringLiteral("会社マーク"), &S::会社マーク, Rule::Text, QString()},
        {rep, QStringLiteral("レポートタイプ"), &S::レポートタイプ, Rule::Prefix, QStringLiteral("0")},
        {rep, QStringLiteral("Nd値グラフ同時表示数"), &S::Nd値グラフ同時表示数, Rule::Prefix,
         QStringLiteral("5")},
        {rep, QStringLiteral("Max深度"), &S::Max深度, Rule::Prefix, QStringLiteral("15")},
        {rep, QStringLiteral("Nd値の最大表示値"), &S::Nd値の最大表示値, Rule::Prefix,
         QStringLiteral("20")},
        {rep, QStringLiteral("グラフ表示"), &S::グラフ表示, Rule::Text, QStringLiteral("0")},
        {rep, QStringLiteral("Top Margin"), &S::TopMargin, Rule::Text, QStringLiteral("15")},
        {rep, QStringLiteral("Right Margin"), &S::RightMargin, Rule::Text, QStringLiteral("10")},
        {rep, QStringLiteral("Bottom Margin"), &S::BottomMargin, Rule::Text, QStringLiteral("15")},
        {rep, QStringLiteral("Left Margin"), &S::LeftMargin, Rule::Text, QStringLiteral("10")},
        {rep, QStringLiteral("レポート縦"), &S::レポート縦, Rule::Strict, QStringLiteral("190")},
        {rep, QStringLiteral("レポート横"), &S::レポート横, Rule::Strict, QStringLiteral("275")},
        {rep, QStringLiteral("Nd値表示"), &S::Nd値表示, Rule::Strict, QStringLiteral("True")},
        {rep, QStringLiteral("Qa値表示"), &S::Qa値表示, Rule::Strict, QStringLiteral("False")},
        {rep, QStringLiteral("qu値表示"), &S::qu値表示, Rule::Strict, QStringLiteral("False")},
        {rep, QStringLiteral("Mv値表示"), &S::Mv値表示, Rule::Strict, QStringLiteral("False")},
        {rep, QStringLiteral("標高"), &S::標高, Rule::Strict, QStringLiteral("True")},
        {rep, QStringLiteral("標高差"), &S::標高差, Rule::Strict, QStringLiteral("False")},
        {rep, QStringLiteral("地下水位"), &S::地下水位, Rule::Strict, QStringLiteral("False")},
        {rep, QStringLiteral("記事"), &S::記事, Rule::Strict, QStringLiteral("False")},
        {rep, QStringLiteral("グラフの色の選定基準"), &S::グラフの色の選定基準, Rule::Text,
         QStringLiteral("0")},
        {rep, QStringLiteral("SI深度表記"), &S::SI深度表記, Rule::Text, QStringLiteral("1")},
        {rep, QStringLiteral("Level1_0"), &S::Level1_0, Rule::Text, QStringLiteral("0")},
        {rep, QStringLiteral("Level1_1"), &S::Level1_1, Rule::Text, QStringLiteral("3")},
        {rep, QStringLiteral("Level2_0"), &S::Level2_0, Rule::Text, QStringLiteral("3")},
        {rep, QStringLiteral("Level2_1"), &S::Level2_1, Rule::Text, QStringLiteral("5")},
        {rep, QStringLiteral("Level3_0"), &S::Level3_0, Rule::Text, QStringLiteral("5")},
        {rep, QStringLiteral("Level3_1"), &S::Level3_1, Rule::Text, QStringLiteral("99")},
        {rep, QStringLiteral("Level1_Color"), &S::Level1_Color, Rule::PrefixAsText,
         QStringLiteral("&H000000FF&")},
        {rep, QStringLiteral("Level2_Color"), &S::Level2_Color, Rule::PrefixAsText,
         QStringLiteral("&H0000FFFF&")},
        {rep, QStringLiteral("Level3_Color"), &S::Level3_Color, Rule::PrefixAsText,
         QStringLiteral("&H00FF0000&")},
        {rep, QStringLiteral("PRType3Type"), &S::PRType3Type, Rule::PrefixAsText,
         QStringLiteral("0")},
        {rep, QStringLiteral("PRType3NMax"), &S::PRType3NMax, Rule::Text, QStringLiteral("20")},
        {rep, QStringLiteral("PRType3qaMax"), &S::PRType3qaMax, Rule::Text, QStringLiteral("200")},
        {rep, QStringLiteral("PRType3quMax"), &S::PRType3quMax, Rule::Text, QStringLiteral("200")},
        {rep, QStringLiteral("PRType3MvMax"), &S::PRType3MvMax, Rule::Text, QStringLiteral("200")},
    };
}

void readKey(const Key& key, const QString& text, AppSettings& settings)
{
    struct Reader {
        const Key& key;
        const QString& text;
        AppSettings& settings;

        void operator()(std::int16_t AppSettings::*member) const
        {
            switch (key.rule) {
            case Rule::IntViaSingle:
                settings.*member = numtext::toInt16(numtext::toSingleStrict(text));
                break;
            case Rule::Prefix:
                settings.*member = numtext::toInt16(numtext::leadingNumber(text));
                break;
            default:
                settings.*member = numtext::toInt16Strict(text);
                break;
            }
        }
        void operator()(float AppSettings::*member) const
        {
            settings.*member = key.rule == Rule::Prefix
                                   ? static_cast<float>(numtext::leadingNumber(text))
                                   : numtext::toSingleStrict(text);
        }
        void operator()(double AppSettings::*member) const
        {
            settings.*member = key.rule == Rule::Prefix ? numtext::leadingNumber(text)
                                                        : numtext::toDoubleStrict(text);
        }
        void operator()(bool AppSettings::*member) const
        {
            settings.*member = numtext::toBoolStrict(text);
        }
        void operator()(QString AppSettings::*member) const
        {
            settings.*member = key.rule == Rule::PrefixAsText
                                   ? numtext::shortestDouble(numtext::leadingNumber(text))
                                   : text;
        }
    };
    std::visit(Reader{key, text, settings}, key.member);
}

QString keyText(const Key& key, const AppSettings& settings)
{
    struct Writer {
        const AppSettings& settings;
        QString operator()(std::int16_t AppSettings::*member) const
        {
            return QString::number(settings.*member);
        }
        QString operator()(float AppSettings::*member) const
        {
            return numtext::shortestSingle(settings.*member);
        }
        QString operator()(double AppSettings::*member) const
        {
            return numtext::shortestDouble(settings.*member);
        }
        QString operator()(bool AppSettings::*member) const { return boolText(settings.*member); }
        QString operator()(QString AppSettings::*member) const { return settings.*member; }
    };
    return std::visit(Writer{settings}, key.member);
}

} // namespace

QString defaultFileInProgramFolder(QStringView programFolder, QStringView fileName,
                                   platform::PathStyle style)
{
    return platform::joinPath(programFolder, fileName, style);
}

void LoadSettings(const SettingsStore& store, ProgramState& state, const QString& programFolder)
{
    for (const Key& key : settingKeys(programFolder)) {
        const QString text = store.value(key.section, key.name, key.defaultText);
        try {
            readKey(key, text, state.settings);
        } catch (const Failure& failure) {
            // Name the key, so that the user can find the text to mend.
            throw Failure(failure.number(),
                          failure.description() + QStringLiteral(" ([") + key.section
                              + QStringLiteral("] ") + key.name + QStringLiteral(")"),
                          QStringLiteral("LoadSettings"));
        }
    }

    const QString folder = state.settings.ini位置;
    readGraphTypeFile(folder, state);
    readCardDriveFile(folder, state.cardDrive);
    LoadBearingFactorTable(folder, state.bearingFactorTable);
}

void storeSettings(SettingsStore& store, const AppSettings& settings)
{
    for (const Key& key : settingKeys(QString()))
        store.setValue(key.section, key.name, keyText(key, settings));
}

void SaveSettings(SettingsStore& store, const AppSettings& settings)
{
    storeSettings(store, settings);
    store.save();
}

} // namespace vortan
