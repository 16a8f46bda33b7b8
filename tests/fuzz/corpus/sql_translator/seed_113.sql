CREATE TABLE [測点] (
    [調査地区No] Long,
    [測点No] String(4),
    [日付] String(8),
    [開始時刻] String(8),
    [終了時刻] String(8),
    [標高差] String(20),
    [地下水位] String(20),
    [記事] String(100),
    [印刷] YesNo,
    [印刷測点No] String(4)
);