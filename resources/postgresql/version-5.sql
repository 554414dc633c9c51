-- Upgrade from version 4 to version 5 of a server database.

-- Quotes being edited. A desk that opens a stored quote for changes holds a
-- session-level advisory lock on it (pg_try_advisory_lock(key, PreId)); the
-- server drops the lock when that desk's connection ends, crash included.
-- This table only says who holds it, for the message another desk shows: the
-- lock decides, so a row left behind by a desk that died does no harm.
CREATE TABLE TARVO_EDICIONES (
  PreId    integer PRIMARY KEY,
  UsuLogin texto,
  Puesto   texto,
  Desde    timestamptz NOT NULL DEFAULT now()
);

-- The start-of-day backup: the day of the last one a desk claimed. One row,
-- which a desk updates from an older day to today before it runs pg_dump,
-- so that only one desk a day makes it.
CREATE TABLE TARVO_COPIA_DIARIA (
  Dia date
);
INSERT INTO TARVO_COPIA_DIARIA (Dia) VALUES (NULL);
