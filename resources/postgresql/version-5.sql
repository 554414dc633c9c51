-- Upgrade from version 4 to version 5 of a server database.

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
