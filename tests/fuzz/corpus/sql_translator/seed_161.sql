CREATE TABLE [〒] (
    [都道府県名] String(10),
    [市区町村名] String(50),
    [町域名] String(100),
    [域名] String(100)
);