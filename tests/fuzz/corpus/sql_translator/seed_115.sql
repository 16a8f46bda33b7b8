CREATE TABLE [mst土質] (
    [xNo] Counter PRIMARY KEY,
    [土質名] String(20),
    [表示色] Long
);