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

-- ---------------------------------------------------------------------------
-- Each quote's current status, kept beside its history.
-- ---------------------------------------------------------------------------
-- The quote list filters and counts by status through this table's index
-- instead of looking up the newest history row of every quote. Triggers on
-- the history keep it, whoever writes: a new row becomes the current status
-- unless a newer one (higher EstId) is there; when rows go (a quote's
-- deletion takes its history along) the status is taken again from the rows
-- left, or the quote's row goes. A quote without a row is "Borrador". The
-- table is filled from the history already stored.

CREATE TABLE PRESUPUESTOS_ESTADO_ACTUAL (
  PreId     integer PRIMARY KEY,
  EstEstado texto NOT NULL,
  EstId     integer NOT NULL
);
CREATE INDEX PRESUPUESTOS_ESTADO_ACTUAL_Estado ON PRESUPUESTOS_ESTADO_ACTUAL (EstEstado, PreId);

-- The quote's status from its newest history row; no row, no status. Two
-- desks writing the same quote's history at once meet on its key.
CREATE FUNCTION tarvo_recalcular_estado(presupuesto integer) RETURNS void
  LANGUAGE plpgsql AS $$
DECLARE
  ultimo record;
BEGIN
  SELECT EstEstado, EstId INTO ultimo FROM PRESUPUESTOS_ESTADOS
    WHERE PreId = presupuesto ORDER BY EstId DESC LIMIT 1;
  IF NOT FOUND THEN
    DELETE FROM PRESUPUESTOS_ESTADO_ACTUAL WHERE PreId = presupuesto;
  ELSE
    INSERT INTO PRESUPUESTOS_ESTADO_ACTUAL (PreId, EstEstado, EstId)
      VALUES (presupuesto, ultimo.EstEstado, ultimo.EstId)
      ON CONFLICT (PreId) DO UPDATE SET EstEstado = EXCLUDED.EstEstado, EstId = EXCLUDED.EstId;
  END IF;
END $$;

CREATE FUNCTION tarvo_estados_alta() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  INSERT INTO PRESUPUESTOS_ESTADO_ACTUAL AS A (PreId, EstEstado, EstId)
    VALUES (NEW.PreId, NEW.EstEstado, NEW.EstId)
    ON CONFLICT (PreId) DO UPDATE SET EstEstado = EXCLUDED.EstEstado, EstId = EXCLUDED.EstId
    WHERE A.EstId <= EXCLUDED.EstId;
  RETURN NULL;
END $$;

CREATE FUNCTION tarvo_estados_baja() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  PERFORM tarvo_recalcular_estado(OLD.PreId);
  RETURN NULL;
END $$;

CREATE FUNCTION tarvo_estados_cambio() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  PERFORM tarvo_recalcular_estado(OLD.PreId);
  IF NEW.PreId <> OLD.PreId THEN
    PERFORM tarvo_recalcular_estado(NEW.PreId);
  END IF;
  RETURN NULL;
END $$;

CREATE TRIGGER PRESUPUESTOS_ESTADOS_Alta AFTER INSERT ON PRESUPUESTOS_ESTADOS
  FOR EACH ROW EXECUTE FUNCTION tarvo_estados_alta();
CREATE TRIGGER PRESUPUESTOS_ESTADOS_Baja AFTER DELETE ON PRESUPUESTOS_ESTADOS
  FOR EACH ROW EXECUTE FUNCTION tarvo_estados_baja();
CREATE TRIGGER PRESUPUESTOS_ESTADOS_Cambio
  AFTER UPDATE OF PreId, EstEstado, EstId ON PRESUPUESTOS_ESTADOS
  FOR EACH ROW EXECUTE FUNCTION tarvo_estados_cambio();

INSERT INTO PRESUPUESTOS_ESTADO_ACTUAL (PreId, EstEstado, EstId)
  SELECT DISTINCT ON (PreId) PreId, EstEstado, EstId FROM PRESUPUESTOS_ESTADOS
  ORDER BY PreId, EstId DESC;
