#pragma once
// Every setting the program keeps between runs, under its key's name, with
// the type and default of its key. Start-up reads them once (LoadSettings);
// the options dialog and the main window's close write them back (SaveSettings).

#include <QString>
#include <cstdint>

namespace vortan {

struct AppSettings {
    // [Com] serial link to the reader
    std::int16_t port = 1;
    std::int16_t timeout = 10;

    // [Data] kept and written back
    std::int16_t point = 22;
    std::int16_t maxcount = 64;

    // [土質] kept and written back
    QString 砂質土 = QStringLiteral("砂質土");
    QString 粘性土 = QStringLiteral("粘性土");

    // [etc]
    QString データ位置;           // default: program folder + "\VORTAN.MDB"
    QString 住所位置;             // default: program folder + "\Yuubin.MDB"
    QString csv位置 = QStringLiteral("a:\\test.csv");
    QString ini位置;              // default: program folder
    QString 通常の提出先 = QStringLiteral("一般");
    QString 単位系 = QStringLiteral("1");      // number-or-text, kept as decimal text
    float 重力加速度 = 10.0f;
    QString 高さ基準 = QStringLiteral("0");
    QString 住所名 = QStringLiteral("0");
    std::int16_t その他_ComboIndex = 0;
    QString 測点表示 = QStringLiteral("0");
    bool 打撃回数の下限 = false;
    std::int16_t 打撃回数の下限値 = 5;
    bool Nd値の上限を有効にする = false;
    float Nd値の上限値 = 50.0f;
    bool Ndのしきい値を有効にする = false;
    float Ndのしきい値 = 1.0f;
    bool qaのしきい値を有効にする = false;
    float qaのしきい値 = 8.0f;
    bool 試験名単位切替 = true;
    // Web hosts of the update page and the remote-support download; empty
    // until configured (keys "UpdateHost" and "RemoteSupportHost").
    QString UpdateHost;
    QString RemoteSupportHost;

    // [rep]
    QString 会社名;
    QString 会社マーク;
    std::int16_t レポートタイプ = 0;
    double Nd値グラフ同時表示数 = 5;
    double Max深度 = 15;
    float Nd値の最大表示値 = 20.0f;
    QString グラフ表示 = QStringLiteral("0");
    QString TopMargin = QStringLiteral("15");     // key "Top Margin"
    QString RightMargin = QStringLiteral("10");   // key "Right Margin"
    QString BottomMargin = QStringLiteral("15");  // key "Bottom Margin"
    QString LeftMargin = QStringLiteral("10");    // key "Left Margin"
    double レポート縦 = 190;
    double レポート横 = 275;
    bool Nd値表示 = true;
    bool Qa値表示 = false;
    bool qu値表示 = false;
    bool Mv値表示 = false;
    bool 標高 = true;
    bool 標高差 = false;
    bool 地下水位 = false;
    bool 記事 = false;
    QString グラフの色の選定基準 = QStringLiteral("0");
    QString SI深度表記 = QStringLiteral("1");
    QString Level1_0 = QStringLiteral("0");
    QString Level1_1 = QStringLiteral("3");
    QString Level2_0 = QStringLiteral("3");
    QString Level2_1 = QStringLiteral("5");
    QString Level3_0 = QStringLiteral("5");
    QString Level3_1 = QStringLiteral("99");
    QString Level1_Color = QStringLiteral("255");
    QString Level2_Color = QStringLiteral("65535");
    QString Level3_Color = QStringLiteral("16711680");
    QString PRType3Type = QStringLiteral("0");
    QString PRType3NMax = QStringLiteral("20");
    QString PRType3qaMax = QStringLiteral("200");
    QString PRType3quMax = QStringLiteral("200");
    QString PRType3MvMax = QStringLiteral("200");
};

} // namespace vortan
