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