-- Master lists and the schema version of the shipped survey database.
-- Soil colours are 0x00BBGGRR numbers written in decimal; the RGB value of
-- each colour stands beside it.

-- Soils in display order; the card's soil codes count from 1 in this order.
INSERT INTO mst土質 (土質名,表示色) VALUES ('砂質土', 8454143);   -- RGB 255,255,128 pale yellow
INSERT INTO mst土質 (土質名,表示色) VALUES ('粘性土', 3368601);   -- RGB 153,102,51 brown
INSERT INTO mst土質 (土質名,表示色) VALUES ('礫質土', 3381759);   -- RGB 255,153,51 orange
INSERT INTO mst土質 (土質名,表示色) VALUES ('腐植土', 2636880);   -- RGB 80,60,40 dark brown
INSERT INTO mst土質 (土質名,表示色) VALUES ('ローム', 2642112);   -- RGB 192,80,40 reddish brown

INSERT INTO mst天候 (天候名) VALUES ('晴れ');
INSERT INTO mst天候 (天候名) VALUES ('曇り');
INSERT INTO mst天候 (天候名) VALUES ('雨');
INSERT INTO mst天候 (天候名) VALUES ('雪');
INSERT INTO mst天候 (天候名) VALUES ('晴れ時々曇り');
INSERT INTO mst天候 (天候名) VALUES ('曇り時々雨');

INSERT INTO mst調査目的 (調査目的) VALUES ('住宅基礎の地盤調査');
INSERT INTO mst調査目的 (調査目的) VALUES ('構造物基礎の地盤調査');
INSERT INTO mst調査目的 (調査目的) VALUES ('擁壁基礎の地盤調査');
INSERT INTO mst調査目的 (調査目的) VALUES ('地盤改良後の確認調査');

-- Address labels (住所ラベル表記) offered for the report's place line.
INSERT INTO mst住所 (住所) VALUES ('調査現場');

-- The usual customer of new surveys, bound to series 1 of all three formula tables.
INSERT INTO mst得意先 (得意先名,Nd値計算式コード,Qa値計算式コード,qu値計算式コード,住所,TEL,FAX) VALUES ('一般', 1, 1, 1, '', '', '');

INSERT INTO SystemSetting ([Key], [Value]) VALUES ('DBVersion', '1.2');
