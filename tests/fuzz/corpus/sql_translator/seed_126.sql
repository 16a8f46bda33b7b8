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