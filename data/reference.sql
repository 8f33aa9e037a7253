-- Reference rows the program ships with. Values called placeholders in the manual (regional rate,
-- interior diameter coefficients, pit lengths, jet-kind shares, fireball and cloud settings) have no
-- published source at hand; the editors and the run dialog let the engineer replace them.

-- Gas: methane (lower heating value kJ/kg; jet-flame length L/d = 21*Fr^0.2 after Sonju and Hustad).
INSERT INTO abc (VName, m, qg, a, b, DangerClass) VALUES ('Метан', 16.043, 50000, 21, 0.2, 4);

-- Region: the program's own average rate, a placeholder for regional values.
INSERT INTO Statistics (Region, lambda, Kreg) VALUES ('Российская Федерация (в среднем)', 0.33, 1.0);

-- Diameter coefficient: the two end values; the scan interpolates between them (placeholder).
INSERT INTO tabKoef_Dy (Dy, kreg) VALUES (1420, 0.31);
INSERT INTO tabKoef_Dy (Dy, kreg) VALUES (529, 1.43);

-- Pit length of a guillotine rupture, L = 2R of the NEN 3651 crater formula at 7500 kPa (placeholder).
INSERT INTO Lp (D, L) VALUES (0.1, 3.5);
INSERT INTO Lp (D, L) VALUES (0.159, 5.5);
INSERT INTO Lp (D, L) VALUES (0.219, 7.4);
INSERT INTO Lp (D, L) VALUES (0.273, 9.2);
INSERT INTO Lp (D, L) VALUES (0.325, 10.8);
INSERT INTO Lp (D, L) VALUES (0.426, 14.0);
INSERT INTO Lp (D, L) VALUES (0.53, 17.3);
INSERT INTO Lp (D, L) VALUES (0.63, 20.4);
INSERT INTO Lp (D, L) VALUES (0.72, 23.3);
INSERT INTO Lp (D, L) VALUES (0.82, 26.4);
INSERT INTO Lp (D, L) VALUES (1.02, 32.6);
INSERT INTO Lp (D, L) VALUES (1.22, 38.9);
INSERT INTO Lp (D, L) VALUES (1.42, 45.2);
INSERT INTO Lp (D, L) VALUES (1.5, 47.7);

-- Probit table (Finney): Zn_Probit = 5 + inverse normal of P/100, two decimals, P = 1..99 %.
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (2.67, 1);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (2.95, 2);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.12, 3);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.25, 4);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.36, 5);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.45, 6);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.52, 7);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.59, 8);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.66, 9);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.72, 10);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.77, 11);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.82, 12);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.87, 13);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.92, 14);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (3.96, 15);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.01, 16);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.05, 17);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.08, 18);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.12, 19);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.16, 20);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.19, 21);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.23, 22);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.26, 23);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.29, 24);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.33, 25);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.36, 26);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.39, 27);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.42, 28);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.45, 29);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.48, 30);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.50, 31);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.53, 32);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.56, 33);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.59, 34);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.61, 35);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.64, 36);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.67, 37);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.69, 38);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.72, 39);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.75, 40);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.77, 41);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.80, 42);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.82, 43);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.85, 44);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.87, 45);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.90, 46);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.92, 47);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.95, 48);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (4.97, 49);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.00, 50);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.03, 51);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.05, 52);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.08, 53);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.10, 54);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.13, 55);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.15, 56);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.18, 57);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.20, 58);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.23, 59);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.25, 60);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.28, 61);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.31, 62);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.33, 63);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.36, 64);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.39, 65);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.41, 66);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.44, 67);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.47, 68);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.50, 69);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.52, 70);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.55, 71);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.58, 72);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.61, 73);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.64, 74);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.67, 75);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.71, 76);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.74, 77);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.77, 78);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.81, 79);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.84, 80);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.88, 81);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.92, 82);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.95, 83);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (5.99, 84);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.04, 85);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.08, 86);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.13, 87);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.18, 88);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.23, 89);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.28, 90);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.34, 91);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.41, 92);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.48, 93);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.55, 94);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.64, 95);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.75, 96);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (6.88, 97);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (7.05, 98);
INSERT INTO TProbit (Zn_Probit, Zn_Procent) VALUES (7.33, 99);

-- Soil tree: class, group, type, kind (after GOST 25100). GroundCode is the position within the parent.
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (1, 0, 'Скальные', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (2, 1, 'Скальные', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (3, 2, 'Магматические (силикатные)', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (4, 3, 'Граниты, диориты', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (5, 3, 'Базальты, габбро', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (6, 2, 'Метаморфические', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (7, 6, 'Гнейсы, сланцы, кварциты', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (8, 6, 'Мраморы', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (9, 2, 'Осадочные', '3');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (10, 9, 'Песчаники, конгломераты', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (11, 9, 'Известняки, доломиты', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (12, 1, 'Полускальные', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (13, 12, 'Осадочные', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (14, 13, 'Аргиллиты, алевролиты', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (15, 13, 'Мел, мергель, опока', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (16, 13, 'Гипсы, ангидриты', '3');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (17, 12, 'Магматические эффузивные', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (18, 17, 'Вулканические туфы', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (19, 0, 'Дисперсные', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (20, 19, 'Связные', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (21, 20, 'Минеральные', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (22, 21, 'Супесь', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (23, 21, 'Суглинок', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (24, 21, 'Глина', '3');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (25, 20, 'Органо-минеральные', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (26, 25, 'Ил', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (27, 25, 'Сапропель', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (28, 25, 'Заторфованный грунт', '3');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (29, 20, 'Органические', '3');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (30, 29, 'Торф', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (31, 19, 'Несвязные', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (32, 31, 'Минеральные', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (33, 32, 'Песок гравелистый, крупный', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (34, 32, 'Песок средней крупности', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (35, 32, 'Песок мелкий, пылеватый', '3');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (36, 32, 'Крупнообломочный грунт', '4');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (37, 31, 'Органо-минеральные', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (38, 37, 'Заторфованный песок', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (39, 0, 'Мерзлые', '3');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (40, 39, 'Скальные мерзлые', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (41, 40, 'Скальные и полускальные', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (42, 41, 'Мерзлый скальный', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (43, 39, 'Дисперсные мерзлые', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (44, 43, 'Минеральные', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (45, 44, 'Мерзлый глинистый', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (46, 44, 'Мерзлый песок', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (47, 44, 'Мерзлый крупнообломочный', '3');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (48, 43, 'Органические', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (49, 48, 'Мерзлый торф', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (50, 39, 'Ледяные', '3');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (51, 50, 'Льды', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (52, 51, 'Подземный лед', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (53, 0, 'Техногенные', '4');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (54, 53, 'Дисперсные техногенные', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (55, 54, 'Природные перемещенные', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (56, 55, 'Насыпной, намывной грунт', '1');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (57, 54, 'Антропогенные', '2');
INSERT INTO GroundType (GID, grParent, Ground, GroundCode) VALUES (58, 57, 'Отходы производства (шлак, зола)', '1');

-- Jet-kind shares (equal thirds, placeholder) and ignition base 0.25 for every leaf path of the tree.
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('1.1.1.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Граниты, диориты
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('1.1.1.2', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Базальты, габбро
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('1.1.2.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Гнейсы, сланцы, кварциты
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('1.1.2.2', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Мраморы
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('1.1.3.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Песчаники, конгломераты
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('1.1.3.2', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Известняки, доломиты
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('1.2.1.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Аргиллиты, алевролиты
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('1.2.1.2', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Мел, мергель, опока
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('1.2.1.3', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Гипсы, ангидриты
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('1.2.2.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Вулканические туфы
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.1.1.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Супесь
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.1.1.2', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Суглинок
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.1.1.3', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Глина
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.1.2.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Ил
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.1.2.2', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Сапропель
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.1.2.3', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Заторфованный грунт
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.1.3.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Торф
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.2.1.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Песок гравелистый, крупный
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.2.1.2', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Песок средней крупности
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.2.1.3', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Песок мелкий, пылеватый
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.2.1.4', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Крупнообломочный грунт
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('2.2.2.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Заторфованный песок
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('3.1.1.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Мерзлый скальный
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('3.2.1.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Мерзлый глинистый
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('3.2.1.2', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Мерзлый песок
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('3.2.1.3', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Мерзлый крупнообломочный
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('3.2.2.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Мерзлый торф
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('3.3.1.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Подземный лед
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('4.1.1.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Насыпной, намывной грунт
INSERT INTO Ground3 (Ground, SP3_1, WP3_1, SP3_2, WP3_2, SP3_3, WP3_3, P4) VALUES ('4.1.2.1', 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 1.0/3, 0.25);  -- Отходы производства (шлак, зола)

-- Wind: January (winter) and July (summer) of the building-climatology code, Appendix 4; Tmedium = 365 -
-- days with a mean daily temperature <= 0 C. Calm is not given by the source copy: 0.
INSERT INTO Wind (idCity, CityName, N1, NE1, E1, SE1, S1, SW1, W1, NW1, ST1, N2, NE2, E2, SE2, S2, SW2, W2, NW2, ST2, V11, V12, V13, V14, V15, V16, V17, V18, V19, V21, V22, V23, V24, V25, V26, V27, V28, V29, Tmedium)
  VALUES (1, 'Хабаровск', 2, 7, 6, 2, 2, 74, 6, 1, 0, 3, 25, 17, 5, 4, 35, 7, 4, 0, 3.3, 5.7, 4.2, 2.7, 3.5, 5.9, 4.1, 2.2, 0, 3.4, 6.0, 4.6, 3.3, 3.6, 4.6, 3.6, 2.9, 0, 207);

-- Settings (fireball and cloud values are placeholders) and the stored pipeline inputs.
INSERT INTO Adjustment (XLimit, YLimit, CStep, Tfb, Dola, Tobl, Dola_obl, Skor_chel,
    Gas, Glubina, Diametr, DavlDown, DavlUp, Temp, Ltrub, Tsrab, Lkr)
  VALUES (1000, 1000, 10, 10, 0.5, 20, 0.3, 5, 1, 1.2, 1420, 7.4, 5.4, 10, 100, 300, 30);

-- One route section on Суглинок (2.1.1.2).
INSERT INTO TPs (TPID, Length, Udal, Azimut, dpp1, dpp2, dpp3, dpp4, p_v, G1, G2, G3, G4, Ground)
  VALUES (1, 1000, 0, 0, 0, 0, 0, 0, 0, 19, 20, 21, 23, '2.1.1.2');

INSERT INTO tab_time (Time_nast) VALUES (NULL);

