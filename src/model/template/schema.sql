-- The working store of one project: one row per module, one per routine or
-- external declaration. Names compare and sort without regard to case.
CREATE TABLE td_mod (
    mod_num    INTEGER NOT NULL PRIMARY KEY,
    mod_name   TEXT COLLATE VBTEXT,
    mod_typ    INTEGER,
    mod_zeilen INTEGER
);

CREATE TABLE td_rout (
    rou_num        INTEGER NOT NULL PRIMARY KEY,
    mod_num        INTEGER,
    rou_name       TEXT COLLATE VBTEXT,
    rou_typ        INTEGER,
    rou_open       INTEGER,
    anz_dec_zeilen INTEGER,
    rou_start      INTEGER,
    rou_ende       INTEGER
);

-- Routines are looked up by module and line. There is deliberately no index
-- on rou_name: every insert would compare names through the case-folding
-- collation, which made a build grow faster than its module; the few name
-- lookups scan a table of at most some thousand rows.
CREATE INDEX td_rout_mod ON td_rout (mod_num, rou_start);
