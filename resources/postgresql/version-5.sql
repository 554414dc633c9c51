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

-- Lines belong to their quote ---------------------------------------------
-- Deleting a quote deletes its lines in the same statement, also a line that
-- another desk or program adds while the deletion waits: the key holds the
-- quote's row until that line is stored or refused. Lines whose quote is
-- already gone belong to no quote and are deleted first, so that the key can
-- be checked.
DELETE FROM PRESUPUESTOS_PRODUCTOS L
  WHERE NOT EXISTS (SELECT 1 FROM PRESUPUESTOS P WHERE P.PreId = L.PreId);
ALTER TABLE PRESUPUESTOS_PRODUCTOS ADD CONSTRAINT PRESUPUESTOS_PRODUCTOS_Presupuesto
  FOREIGN KEY (PreId) REFERENCES PRESUPUESTOS ON DELETE CASCADE;
