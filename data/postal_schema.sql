-- The postal database Yuubin.MDB: one table of addresses, only read by the
-- address picker. Its rows come from postal_addresses.tsv; 表示順 is the
-- line number there, which follows the local government codes and, within
-- a city, the postal codes: the picker lists cities and towns in that order.
CREATE TABLE [〒] (
    [都道府県名] String(10),
    [市区町村名] String(50),
    [町域名] String(100),
    [域名] String(100),
    [表示順] Long
);
