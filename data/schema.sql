-- Tables of the program's database, each with the columns the program reads and writes.
-- Plain SQLite types: whole numbers INTEGER, doubles REAL, texts TEXT, moments TEXT (ISO 8601).
-- "Stored order" is the rowid order: nothing here may be declared WITHOUT ROWID.

-- Route sections of the pipeline, numbered 1..n without gaps. P_avto .. P_kab are the probabilities of the
-- four crossings as the engineer typed them (NULL: never typed); p_v is their capped sum that the run takes.
CREATE TABLE TPs (
  TPID INTEGER NOT NULL,
  Length REAL,
  Udal REAL,
  Azimut REAL,
  dpp1 INTEGER,
  dpp2 INTEGER,
  dpp3 INTEGER,
  dpp4 INTEGER,
  p_v REAL,
  G1 INTEGER,
  G2 INTEGER,
  G3 INTEGER,
  G4 INTEGER,
  Ground TEXT,
  P_avto REAL,
  P_LEP REAL,
  P_tr REAL,
  P_kab REAL
);

-- Calculation settings and the stored pipeline inputs: only the first row is used.
CREATE TABLE Adjustment (
  XLimit INTEGER,
  YLimit INTEGER,
  CStep INTEGER,
  Tfb REAL,
  Dola REAL,
  Tobl REAL,
  Dola_obl REAL,
  Skor_chel REAL,
  Gas INTEGER,
  Glubina REAL,
  Diametr REAL,
  DavlDown REAL,
  DavlUp REAL,
  Temp REAL,
  Ltrub REAL,
  Tsrab REAL,
  Lkr REAL
);

-- The moment of the main window's first activation.
CREATE TABLE tab_time (
  Time_nast TEXT
);

-- Gases. The name tells rows apart and the row order is the gas choice of the main window.
CREATE TABLE abc (
  VName TEXT,
  m REAL,
  qg REAL,
  a REAL,
  b REAL,
  DangerClass INTEGER
);

-- Regions.
CREATE TABLE Statistics (
  Region TEXT,
  lambda REAL,
  Kreg REAL
);

-- The four-level soil tree.
CREATE TABLE GroundType (
  GID INTEGER NOT NULL,
  grParent INTEGER NOT NULL,
  Ground TEXT,
  GroundCode TEXT
);

-- Jet-kind shares and the ignition base by composed ground code.
CREATE TABLE Ground3 (
  Ground TEXT,
  SP3_1 REAL,
  WP3_1 REAL,
  SP3_2 REAL,
  WP3_2 REAL,
  SP3_3 REAL,
  WP3_3 REAL,
  P4 REAL
);

-- Town wind data. The column order matters: the year-round assessment reads the 36 climate columns by
-- position.
CREATE TABLE Wind (
  idCity INTEGER NOT NULL,
  CityName TEXT,
  N1 REAL, NE1 REAL, E1 REAL, SE1 REAL, S1 REAL, SW1 REAL, W1 REAL, NW1 REAL, ST1 REAL,
  N2 REAL, NE2 REAL, E2 REAL, SE2 REAL, S2 REAL, SW2 REAL, W2 REAL, NW2 REAL, ST2 REAL,
  V11 REAL, V12 REAL, V13 REAL, V14 REAL, V15 REAL, V16 REAL, V17 REAL, V18 REAL, V19 REAL,
  V21 REAL, V22 REAL, V23 REAL, V24 REAL, V25 REAL, V26 REAL, V27 REAL, V28 REAL, V29 REAL,
  Tmedium REAL
);

-- Diameter coefficient, stored in descending order of Dy.
CREATE TABLE tabKoef_Dy (
  Dy REAL,
  kreg REAL
);

-- Pit length by pipe diameter (both in m).
CREATE TABLE Lp (
  D REAL,
  L REAL
);

-- Probit table.
CREATE TABLE TProbit (
  Zn_Probit REAL,
  Zn_Procent REAL
);

-- Opened by the models and never read, kept with the probit table's columns.
CREATE TABLE Probit (
  Zn_Probit REAL,
  Zn_Procent REAL
);

-- Gas properties at 1 .. 300 bar: temperature K, heat capacity kJ/(kg K), specific volume m3/kg.
CREATE TABLE "1b" (t REAL, cp REAL, v REAL);
CREATE TABLE "12b" (t REAL, cp REAL, v REAL);
CREATE TABLE "26b" (t REAL, cp REAL, v REAL);
CREATE TABLE "60b" (t REAL, cp REAL, v REAL);
CREATE TABLE "70b" (t REAL, cp REAL, v REAL);
CREATE TABLE "80b" (t REAL, cp REAL, v REAL);
CREATE TABLE "100b" (t REAL, cp REAL, v REAL);
CREATE TABLE "150b" (t REAL, cp REAL, v REAL);
CREATE TABLE "200b" (t REAL, cp REAL, v REAL);
CREATE TABLE "300b" (t REAL, cp REAL, v REAL);

-- Archive of report summaries, one row per report written.
CREATE TABLE tabOtchet (
  Date TEXT,
  dlit INTEGER,
  Mestn TEXT,
  scen TEXT,
  Grunt TEXT,
  Gr_grunt TEXT,
  Type_grunt TEXT,
  Vid_grunt TEXT,
  Dtr REAL,
  Davl_sr REAL,
  Vid_gaz TEXT,
  City TEXT,
  Region TEXT
);
