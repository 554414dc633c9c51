-- The indexes each order of the quote list walks, applied by every
-- preparation after the steps (they hold no data: a preparation can always
-- make them again). The list reads a page at a time in the order of a header,
-- the quote's key last so that no two rows tie, with Nulls first as the
-- program sorts them; the file's indexes hold the row's key after the value
-- by themselves, the server's need it named. Without them every page of the
-- list, and the first page of a search, sorts every quote.
CREATE INDEX IF NOT EXISTS PRESUPUESTOS_Lista_Fecha
  ON PRESUPUESTOS (PreFecha NULLS FIRST, PreId);
CREATE INDEX IF NOT EXISTS PRESUPUESTOS_Lista_Numero
  ON PRESUPUESTOS (PreNumero NULLS FIRST, PreId);
CREATE INDEX IF NOT EXISTS PRESUPUESTOS_Lista_Usuario
  ON PRESUPUESTOS (UsuLogin NULLS FIRST, PreId);
-- The customer's order: the contacts by name, and each one's quotes.
CREATE INDEX IF NOT EXISTS CONTACTOS_Lista_Nombre
  ON CONTACTOS (EmpNombreFantasia, EmpId);
CREATE INDEX IF NOT EXISTS PRESUPUESTOS_Lista_Contacto
  ON PRESUPUESTOS (EmpId, PreId);
