CREATE TABLE [mst得意先] (
    [得意先名] String(50),
    [Nd値計算式コード] Long,
    [Qa値計算式コード] Long,
    [qu値計算式コード] Long,
    [住所] String(100),
    [TEL] String(20),
    [FAX] String(20)
);