-- Tables of the survey database VORTAN.MDB in its current layout (version 1.2).
-- Written in the program's own SQL dialect and run through the database layer
-- by tools/make_default_files.cpp; the version row of SystemSetting is
-- inserted by data/default_masters.sql.
--
-- Text lengths: point numbers are 4 characters; dates are eight digits
-- (yyyymmdd for surveys, YYMMDD or YYYYMMDD for points and records) and clock
-- times four digits HHMM (eight allowed, for files written by other tools);
-- the master values fit the survey columns they are copied into.

-- One row per survey.
CREATE TABLE [調査地区] (
    [調査地区No] Long PRIMARY KEY,
    [現場名] String(100),
    [住所] String(100),
    [調査目的] String(100),
    [調査責任者] String(30),
    [調査者] String(30),
    [調査開始時刻] String(8),
    [調査終了時刻] String(8),
    [調査日] String(8),
    [天候] String(30),
    [標高] String(20),
    [得意先名] String(50),
    [記事] String(255)
);

-- One row per test run at a measuring point of a survey.
CREATE TABLE [測点] (
    [調査地区No] Long,
    [測点No] String(4),
    [日付] String(8),
    [開始時刻] String(8),
    [終了時刻] String(8),
    [標高差] String(20),
    [地下水位] String(20),
    [記事] String(100),
    [印刷] YesNo DEFAULT True,   -- points stored without a mark of their own are printed
    [印刷測点No] String(4)
);

-- One row per penetration step of a run.
CREATE TABLE [測点データ] (
    [調査地区No] Long,
    [測点No] String(4),
    [日付] String(8),
    [開始時刻] String(8),
    [終了時刻] String(8),
    [貫入深さ] Single,
    [打撃回数] Integer,
    [トルク] Single,
    [推定土質] Long,
    [記事] String(100)
);

-- Soils in display order (xNo numbers the rows as they are inserted) and
-- their graph colours as 0x00BBGGRR numbers.
CREATE TABLE [mst土質] (
    [xNo] Counter PRIMARY KEY,
    [土質名] String(20),
    [表示色] Long
);

CREATE TABLE [mst天候] ( [天候名] String(30) );

CREATE TABLE [mst住所] ( [住所] String(8) PRIMARY KEY );

CREATE TABLE [mst調査目的] ( [調査目的] String(100) );

CREATE TABLE [mst調査地区記事] ( [記事] String(255) );

CREATE TABLE [mst姓名] ( [姓名] String(30) );

CREATE TABLE [mst測点記事] ( [記事] String(100) );

CREATE TABLE [mst測点データ記事] ( [記事] String(100) );

-- Customers and the formula series bound to them (0 = none): the torque
-- correction series in Nd値計算式コード, the blow count series in
-- qu値計算式コード, the bearing capacity series in Qa値計算式コード.
CREATE TABLE [mst得意先] (
    [得意先名] String(50),
    [Nd値計算式コード] Long,
    [Qa値計算式コード] Long,
    [qu値計算式コード] Long,
    [住所] String(100),
    [TEL] String(20),
    [FAX] String(20)
);

-- ⊿Nd = A + B·Mv^C
CREATE TABLE [mstRNd値計算式] (
    [計算式コード] Long,
    [土質名] String(20),
    [メモ] String(50),
    [A] Single,
    [B] Single,
    [C] Single
);

-- Nd = A + B·Ndm^C − D·⊿Nd^E
CREATE TABLE [mstNd値計算式] (
    [計算式コード] Long,
    [土質名] String(20),
    [メモ] String(50),
    [A] Single,
    [B] Single,
    [C] Single,
    [D] Single,
    [E] Single
);

-- The series code selects the records of qaTbl.tbl; A..G enter no formula.
CREATE TABLE [mstQa値計算式] (
    [計算式コード] Long,
    [土質名] String(20),
    [メモ] String(50),
    [A] Single,
    [B] Single,
    [C] Single,
    [D] Single,
    [E] Single,
    [F] Single,
    [G] Single
);

CREATE TABLE [SystemSetting] (
    [Key] String(50) PRIMARY KEY,
    [Value] String(50)
);

-- Lookup indexes: a survey's records point by point in depth order, its
-- points in the data sheet's order, and the points of one date (the stored
-- copies of a card run). Files written before they existed take them at the
-- next start.
CREATE INDEX [測点データの測点] ON [測点データ] ([調査地区No], [測点No], [貫入深さ]);
CREATE INDEX [測点の調査地区] ON [測点] ([調査地区No], [測点No], [日付], [開始時刻], [終了時刻]);
CREATE INDEX [測点の日付] ON [測点] ([日付], [測点No]);

-- The substring index of the survey search over 得意先名, 現場名, 住所 and 記事
-- of 調査地区 is no statement of this dialect: tools/make_default_files.cpp
-- has the database layer create it after these tables (SiteTextIndex in
-- db/schema_version.cpp).
