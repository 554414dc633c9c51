-- Upgrade from version 4 to version 5 of a server database.

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
