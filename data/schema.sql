-- Horalux database: created once when school.db is absent, never applied to an existing file.
-- Tables are STRICT so a wrong type is refused by the database itself; text columns compare
-- without regard to case, as the school's names are typed in any mix of letters.
-- Dates are yyyy-mm-dd; the "+0 days" makes SQLite normalise, so 30 February is refused.
PRAGMA user_version = 1;

CREATE TABLE libdtl (
    libname       TEXT COLLATE NOCASE,
    add1          TEXT COLLATE NOCASE,
    add2          TEXT COLLATE NOCASE,
    city          TEXT COLLATE NOCASE,
    state         TEXT COLLATE NOCASE,
    phone         TEXT COLLATE NOCASE,
    contactperson TEXT COLLATE NOCASE,
    logopath      TEXT
) STRICT;

CREATE TABLE Class (
    Class     TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    SortOrder INTEGER NOT NULL
) STRICT;

-- AUTOINCREMENT: a removed class-section's id is never handed to a new one, because
-- lessons and assignments that referred to it stay behind.
CREATE TABLE classsection (
    classid   INTEGER PRIMARY KEY AUTOINCREMENT,
    class     TEXT COLLATE NOCASE NOT NULL,
    section   TEXT COLLATE NOCASE CHECK (section IS NULL OR section IN ('', 'A', 'B', 'C', 'D', 'E', 'F', 'G')),
    sortorder INTEGER,
    UNIQUE (class, section)
) STRICT;

CREATE TABLE teachers (
    uniqueid      TEXT COLLATE NOCASE NOT NULL UNIQUE,
    Teachername   TEXT COLLATE NOCASE NOT NULL,
    shortname     TEXT COLLATE NOCASE,
    designation   TEXT COLLATE NOCASE,
    dom           TEXT CHECK (dom IS NULL OR date(dom, '+0 days') IS dom),
    gender        TEXT COLLATE NOCASE,
    address       TEXT COLLATE NOCASE,
    city          TEXT COLLATE NOCASE,
    state         TEXT COLLATE NOCASE,
    phone         TEXT COLLATE NOCASE,
    email         TEXT COLLATE NOCASE,
    doj           TEXT CHECK (doj IS NULL OR date(doj, '+0 days') IS doj),
    bloodgroup    TEXT COLLATE NOCASE,
    dob           TEXT CHECK (dob IS NULL OR date(dob, '+0 days') IS dob),
    maritalstatus TEXT COLLATE NOCASE,
    fathername    TEXT COLLATE NOCASE,
    mothername    TEXT COLLATE NOCASE,
    mothertongue  TEXT COLLATE NOCASE,
    qualification TEXT COLLATE NOCASE,
    religion      TEXT COLLATE NOCASE,
    teacherid     INTEGER NOT NULL UNIQUE CHECK (teacherid > 0),
    stillworking  TEXT COLLATE NOCASE,
    photopath     TEXT,
    husbandname   TEXT COLLATE NOCASE
) STRICT;

CREATE TABLE subjects (
    subname TEXT COLLATE NOCASE NOT NULL,
    subid   INTEGER NOT NULL PRIMARY KEY CHECK (subid > 0)
) STRICT;

CREATE TABLE subjtype (
    subid    INTEGER NOT NULL,
    subtype  TEXT COLLATE NOCASE,
    uniqueid INTEGER PRIMARY KEY AUTOINCREMENT
) STRICT;

CREATE TABLE periodsystem (
    periodsysid  INTEGER NOT NULL PRIMARY KEY CHECK (periodsysid > 0),
    ps_name      TEXT COLLATE NOCASE NOT NULL UNIQUE,
    p_no         INTEGER NOT NULL CHECK (p_no BETWEEN 1 AND 9),
    p_duration   INTEGER NOT NULL CHECK (p_duration > 0),
    p_start      TEXT NOT NULL,
    p_before_rec INTEGER NOT NULL CHECK (p_before_rec BETWEEN 1 AND 9),
    rec_duration INTEGER NOT NULL CHECK (rec_duration >= 0),
    amorpm       TEXT COLLATE NOCASE NOT NULL CHECK (amorpm IN ('AM', 'PM'))
) STRICT;

CREATE TABLE classperiods (
    classid     INTEGER NOT NULL,
    periodsysid INTEGER NOT NULL,
    days        TEXT NOT NULL CHECK (days <> '' AND days NOT GLOB '*[^0-6,]*')
) STRICT;

CREATE TABLE classsubjects (
    classid INTEGER NOT NULL,
    subid   INTEGER NOT NULL,
    hours   INTEGER NOT NULL CHECK (hours >= 0),
    level1  INTEGER NOT NULL CHECK (level1 BETWEEN 1 AND 12),
    UNIQUE (classid, subid)
) STRICT;

CREATE TABLE teachersubjects (
    teacherid INTEGER NOT NULL,
    subid     INTEGER NOT NULL,
    mostprf   INTEGER NOT NULL CHECK (mostprf BETWEEN 1 AND 12),
    leastprf  INTEGER NOT NULL CHECK (leastprf BETWEEN 1 AND 12),
    UNIQUE (teacherid, subid)
) STRICT;

CREATE TABLE timeschedule (
    teacherid  INTEGER NOT NULL,
    subid      INTEGER NOT NULL,
    classid    INTEGER NOT NULL,
    period     INTEGER NOT NULL CHECK (period BETWEEN 0 AND 8),
    weekday    INTEGER NOT NULL CHECK (weekday BETWEEN 0 AND 5),
    substitute INTEGER NOT NULL DEFAULT FALSE CHECK (substitute IN (FALSE, TRUE))
) STRICT;
CREATE INDEX timeschedule_class ON timeschedule (classid, weekday, period);
CREATE INDEX timeschedule_teacher ON timeschedule (teacherid, weekday, period);

CREATE TABLE Cummtimeschedule (
    ChangeDate TEXT NOT NULL CHECK (date(ChangeDate, '+0 days') IS ChangeDate),
    teacherid  INTEGER NOT NULL,
    subid      INTEGER NOT NULL,
    classid    INTEGER NOT NULL,
    period     INTEGER NOT NULL CHECK (period BETWEEN 0 AND 8),
    weekday    INTEGER NOT NULL CHECK (weekday BETWEEN 0 AND 5),
    substitute INTEGER NOT NULL DEFAULT FALSE CHECK (substitute IN (FALSE, TRUE))
) STRICT;

CREATE TABLE teacherattendence (
    teacherid  INTEGER NOT NULL,
    modetype   TEXT COLLATE NOCASE NOT NULL CHECK (modetype IN ('Leave', 'Absent')),
    fromperiod INTEGER NOT NULL CHECK (fromperiod BETWEEN 0 AND 8),
    toperiod   INTEGER NOT NULL CHECK (toperiod BETWEEN 0 AND 8),
    fromdate   TEXT NOT NULL CHECK (date(fromdate, '+0 days') IS fromdate),
    todate     TEXT NOT NULL CHECK (date(todate, '+0 days') IS todate)
) STRICT;
CREATE INDEX teacherattendence_teacher ON teacherattendence (teacherid, fromdate, todate);

CREATE TABLE substitute (
    teacherid INTEGER NOT NULL,
    period    INTEGER NOT NULL CHECK (period BETWEEN 0 AND 8),
    classid   INTEGER NOT NULL,
    weekday   INTEGER NOT NULL CHECK (weekday BETWEEN 0 AND 6),
    dt        TEXT NOT NULL CHECK (date(dt, '+0 days') IS dt),
    subid     INTEGER NOT NULL
) STRICT;
CREATE INDEX substitute_date ON substitute (dt, period);

INSERT INTO Class (Class, SortOrder) VALUES
    ('Nursery', 1), ('LKG', 2), ('UKG', 3),
    ('I', 4), ('II', 5), ('III', 6), ('IV', 7), ('V', 8), ('VI', 9),
    ('VII', 10), ('VIII', 11), ('IX', 12), ('X', 13), ('XI', 14), ('XII', 15);

INSERT INTO libdtl (libname, add1, add2, city, state, phone, contactperson, logopath)
VALUES ('Horalux Public School', 'Station Road', '', 'Jaipur', 'Rajasthan', '', '', '');
