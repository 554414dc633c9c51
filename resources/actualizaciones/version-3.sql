-- Upgrade from version 2 to version 3 of the database.
--
-- Version 3 adds the history of each quote's status: one row per change, the
-- newest (highest EstId) being the quote's current status. A quote without
-- rows is "Borrador", so the quotes already stored need no rows. EstFechaHora
-- is a day number with the time of day as its fraction, like every date of the
-- database; EstReemplazo is, for "Reemplazado", the PreId of the new version.

CREATE TABLE PRESUPUESTOS_ESTADOS (
  EstId        INTEGER PRIMARY KEY AUTOINCREMENT,
  PreId        INTEGER NOT NULL,
  EstEstado    VARCHAR(20) COLLATE ESPANOL NOT NULL,
  EstFechaHora DATE NOT NULL,
  UsuLogin     VARCHAR(20) COLLATE ESPANOL,
  EstMotivo    VARCHAR(255) COLLATE ESPANOL,
  EstReemplazo INTEGER
);
CREATE INDEX PRESUPUESTOS_ESTADOS_Presupuesto ON PRESUPUESTOS_ESTADOS (PreId, EstId);
-- The quote list reads each quote's current status from this index alone,
-- without visiting the table's rows.
CREATE INDEX PRESUPUESTOS_ESTADOS_Actual ON PRESUPUESTOS_ESTADOS (PreId, EstId, EstEstado);
