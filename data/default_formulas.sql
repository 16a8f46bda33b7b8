-- Formula series 1, bound to the customer 一般, with one row per soil.
--
-- Torque correction: ⊿Nd = A + B·Mv^C = 0 + 0.40·Mv^1, Mv in kN·cm
-- (0.04 per N·m).
INSERT INTO mstRNd値計算式 (計算式コード,土質名,メモ,A,B,C) VALUES (1, '砂質土', '⊿Nd=0.40Mv', 0, 0.4, 1);
INSERT INTO mstRNd値計算式 (計算式コード,土質名,メモ,A,B,C) VALUES (1, '粘性土', '⊿Nd=0.40Mv', 0, 0.4, 1);
INSERT INTO mstRNd値計算式 (計算式コード,土質名,メモ,A,B,C) VALUES (1, '礫質土', '⊿Nd=0.40Mv', 0, 0.4, 1);
INSERT INTO mstRNd値計算式 (計算式コード,土質名,メモ,A,B,C) VALUES (1, '腐植土', '⊿Nd=0.40Mv', 0, 0.4, 1);
INSERT INTO mstRNd値計算式 (計算式コード,土質名,メモ,A,B,C) VALUES (1, 'ローム', '⊿Nd=0.40Mv', 0, 0.4, 1);

-- Corrected blow count: Nd = A + B·Ndm^C − D·⊿Nd^E = 0 + 1·Ndm^1 − 1·⊿Nd^1.
INSERT INTO mstNd値計算式 (計算式コード,土質名,メモ,A,B,C,D,E) VALUES (1, '砂質土', 'Nd=Ndm-⊿Nd', 0, 1, 1, 1, 1);
INSERT INTO mstNd値計算式 (計算式コード,土質名,メモ,A,B,C,D,E) VALUES (1, '粘性土', 'Nd=Ndm-⊿Nd', 0, 1, 1, 1, 1);
INSERT INTO mstNd値計算式 (計算式コード,土質名,メモ,A,B,C,D,E) VALUES (1, '礫質土', 'Nd=Ndm-⊿Nd', 0, 1, 1, 1, 1);
INSERT INTO mstNd値計算式 (計算式コード,土質名,メモ,A,B,C,D,E) VALUES (1, '腐植土', 'Nd=Ndm-⊿Nd', 0, 1, 1, 1, 1);
INSERT INTO mstNd値計算式 (計算式コード,土質名,メモ,A,B,C,D,E) VALUES (1, 'ローム', 'Nd=Ndm-⊿Nd', 0, 1, 1, 1, 1);

-- Bearing capacity: the series code picks the records of qaTbl.tbl (see
-- qa_parameters.tsv); the coefficients A..G enter no formula and stay 0.
INSERT INTO mstQa値計算式 (計算式コード,土質名,メモ,A,B,C,D,E,F,G) VALUES (1, '砂質土', '告示1113号 連続基礎', 0, 0, 0, 0, 0, 0, 0);
INSERT INTO mstQa値計算式 (計算式コード,土質名,メモ,A,B,C,D,E,F,G) VALUES (1, '粘性土', '告示1113号 連続基礎', 0, 0, 0, 0, 0, 0, 0);
INSERT INTO mstQa値計算式 (計算式コード,土質名,メモ,A,B,C,D,E,F,G) VALUES (1, '礫質土', '告示1113号 連続基礎', 0, 0, 0, 0, 0, 0, 0);
INSERT INTO mstQa値計算式 (計算式コード,土質名,メモ,A,B,C,D,E,F,G) VALUES (1, '腐植土', '告示1113号 連続基礎', 0, 0, 0, 0, 0, 0, 0);
INSERT INTO mstQa値計算式 (計算式コード,土質名,メモ,A,B,C,D,E,F,G) VALUES (1, 'ローム', '告示1113号 連続基礎', 0, 0, 0, 0, 0, 0, 0);
