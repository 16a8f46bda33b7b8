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