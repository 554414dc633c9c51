-- Upgrade from version 3 to version 4 of the database.
--
-- The expiry notice counts the quotes whose validity runs out between today
-- and a few days ahead (PreFecha + PreVigencia, with PreVigencia > 0). Without
-- an index on that expression every quote is read at each count, which the
-- main window runs at every activation. The index holds only the quotes that
-- have a validity, keyed by their expiry day.
CREATE INDEX PRESUPUESTOS_Vencimiento ON PRESUPUESTOS (PreFecha + PreVigencia)
  WHERE PreVigencia > 0;
