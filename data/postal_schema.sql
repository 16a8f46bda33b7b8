-- The postal database Yuubin.MDB: one table of addresses, only read by the
-- address picker. Its rows come from postal_addresses.tsv.
CREATE TABLE [〒] (
    [都道府県名] String(10),
    [市区町村名] String(50),
    [町域名] String(100),
    [域名] String(100)
);
