-- Upgrade from version 3 to version 4 of a server database: the expiry
-- notice counts the quotes whose validity runs out between today and a few
-- days ahead through an index of their expiry day (only quotes that have a
-- validity).
CREATE INDEX PRESUPUESTOS_Vencimiento ON PRESUPUESTOS ((PreFecha + PreVigencia))
  WHERE PreVigencia > 0;
