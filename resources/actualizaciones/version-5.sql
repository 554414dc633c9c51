-- Upgrade from version 4 to version 5 of the database.
--
-- Each quote's current status, kept beside its history, so that the quote
-- list filters and counts by status through an index instead of looking up
-- the newest history row of every quote. The engine keeps it, whoever
-- writes: a new history row becomes the current status unless a newer one
-- (higher EstId) is there; when rows go, the status is taken again from the
-- rows left, or the quote's row goes; a deleted quote takes its row along.
-- Only stored quotes have a row; a quote without one is "Borrador". The
-- table is filled from the history already stored.

CREATE TABLE PRESUPUESTOS_ESTADO_ACTUAL (
  PreId     INTEGER PRIMARY KEY,
  EstEstado VARCHAR(20) COLLATE ESPANOL NOT NULL,
  EstId     INTEGER NOT NULL
);
CREATE INDEX PRESUPUESTOS_ESTADO_ACTUAL_Estado ON PRESUPUESTOS_ESTADO_ACTUAL (EstEstado, PreId);

CREATE TRIGGER PRESUPUESTOS_ESTADOS_Alta AFTER INSERT ON PRESUPUESTOS_ESTADOS
BEGIN
  DELETE FROM PRESUPUESTOS_ESTADO_ACTUAL WHERE PreId = NEW.PreId AND EstId <= NEW.EstId;
  INSERT INTO PRESUPUESTOS_ESTADO_ACTUAL (PreId, EstEstado, EstId)
    SELECT NEW.PreId, NEW.EstEstado, NEW.EstId
    WHERE EXISTS (SELECT 1 FROM PRESUPUESTOS P WHERE P.PreId = NEW.PreId)
      AND NOT EXISTS (SELECT 1 FROM PRESUPUESTOS_ESTADO_ACTUAL A WHERE A.PreId = NEW.PreId);
END;

CREATE TRIGGER PRESUPUESTOS_ESTADOS_Baja AFTER DELETE ON PRESUPUESTOS_ESTADOS
BEGIN
  DELETE FROM PRESUPUESTOS_ESTADO_ACTUAL WHERE PreId = OLD.PreId;
  INSERT INTO PRESUPUESTOS_ESTADO_ACTUAL (PreId, EstEstado, EstId)
    SELECT E.PreId, E.EstEstado, E.EstId FROM PRESUPUESTOS_ESTADOS E
    WHERE E.PreId = OLD.PreId AND EXISTS (SELECT 1 FROM PRESUPUESTOS P WHERE P.PreId = OLD.PreId)
    ORDER BY E.EstId DESC LIMIT 1;
END;

CREATE TRIGGER PRESUPUESTOS_ESTADOS_Cambio
  AFTER UPDATE OF PreId, EstEstado, EstId ON PRESUPUESTOS_ESTADOS
BEGIN
  DELETE FROM PRESUPUESTOS_ESTADO_ACTUAL WHERE PreId IN (OLD.PreId, NEW.PreId);
  INSERT INTO PRESUPUESTOS_ESTADO_ACTUAL (PreId, EstEstado, EstId)
    SELECT E.PreId, E.EstEstado, E.EstId FROM PRESUPUESTOS_ESTADOS E
    WHERE E.PreId IN (OLD.PreId, NEW.PreId)
      AND E.EstId = (SELECT MAX(U.EstId) FROM PRESUPUESTOS_ESTADOS U WHERE U.PreId = E.PreId)
      AND EXISTS (SELECT 1 FROM PRESUPUESTOS P WHERE P.PreId = E.PreId);
END;

CREATE TRIGGER PRESUPUESTOS_EstadoActual_Baja AFTER DELETE ON PRESUPUESTOS
BEGIN
  DELETE FROM PRESUPUESTOS_ESTADO_ACTUAL WHERE PreId = OLD.PreId;
END;

INSERT INTO PRESUPUESTOS_ESTADO_ACTUAL (PreId, EstEstado, EstId)
  SELECT E.PreId, E.EstEstado, E.EstId FROM PRESUPUESTOS_ESTADOS E
  WHERE E.EstId = (SELECT MAX(U.EstId) FROM PRESUPUESTOS_ESTADOS U WHERE U.PreId = E.PreId)
    AND EXISTS (SELECT 1 FROM PRESUPUESTOS P WHERE P.PreId = E.PreId);
