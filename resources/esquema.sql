-- Schema of the pristine bd2000.mdb.
--
-- Dates are day numbers counted from 30 December 1899 in columns declared DATE;
-- yes/no columns are declared BOOLEAN and hold 1 or 0; text columns ignore letter
-- case (COLLATE ESPANOL) so that comparisons, ordering and unique indexes do too.
-- Stored queries live in CONSULTAS_GUARDADAS: name, typed positional parameters
-- ("name TYPE" separated by commas, in call order) and the statement, which
-- refers to its parameters as :name.
--
-- The schema's version is kept in the file's header (user_version). A later
-- version is reached from this one by the upgrade steps in actualizaciones/.

PRAGMA foreign_keys = OFF;
BEGIN;

PRAGMA user_version = 5;

CREATE TABLE CATEGORIAS (
  CatId          INTEGER PRIMARY KEY AUTOINCREMENT,
  CatDescripcion VARCHAR(50) COLLATE ESPANOL NOT NULL,
  CatDesactivada BOOLEAN NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX CATEGORIAS_Descripcion ON CATEGORIAS (CatDescripcion);

CREATE TABLE vinculos (
  VinId          INTEGER PRIMARY KEY AUTOINCREMENT,
  VinDescripcion VARCHAR(50) COLLATE ESPANOL,
  VinDesactivado BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE CONTACTOS (
  EmpId              INTEGER PRIMARY KEY AUTOINCREMENT,
  EmpNombreFantasia  VARCHAR(30) COLLATE ESPANOL NOT NULL,
  EmpRazonSocial     VARCHAR(30) COLLATE ESPANOL,
  EmpRuc             VARCHAR(20) COLLATE ESPANOL,
  EmpDireccion       VARCHAR(50) COLLATE ESPANOL,
  EmpCodigoPostal    VARCHAR(10) COLLATE ESPANOL,
  EmpTelefono1       VARCHAR(20) COLLATE ESPANOL,
  EmpTelefono2       VARCHAR(20) COLLATE ESPANOL,
  EmpFax             VARCHAR(20) COLLATE ESPANOL,
  EmpEmail           VARCHAR(50) COLLATE ESPANOL,
  EmpURL             VARCHAR(50) COLLATE ESPANOL,
  EmpZona            VARCHAR(50) COLLATE ESPANOL,
  EmpCiudad          VARCHAR(50) COLLATE ESPANOL,
  EmpProvinciaEstado VARCHAR(50) COLLATE ESPANOL,
  EmpPais            VARCHAR(50) COLLATE ESPANOL,
  VinId              INTEGER DEFAULT 1,
  EmpDesactivado     BOOLEAN NOT NULL DEFAULT 0
);
CREATE INDEX CONTACTOS_NombreFantasia ON CONTACTOS (EmpNombreFantasia);

CREATE TABLE PRODUCTOS (
  ProId             INTEGER PRIMARY KEY AUTOINCREMENT,
  ProCodigo         VARCHAR(12) COLLATE ESPANOL,
  ProDescripcion    VARCHAR(100) COLLATE ESPANOL NOT NULL,
  CatId             INTEGER NOT NULL,
  ProUnidadMedida   VARCHAR(20) COLLATE ESPANOL,
  ProPrecio         DOUBLE DEFAULT 0,
  ProCosto          DOUBLE DEFAULT 0,
  ProIVA            DOUBLE DEFAULT 0,
  ProMoneda         VARCHAR(10) COLLATE ESPANOL,
  ProMinimo         INTEGER DEFAULT 0,
  EmpId             INTEGER,
  ProSinVencimiento BOOLEAN NOT NULL DEFAULT 0,
  ProDesactivado    BOOLEAN NOT NULL DEFAULT 0
);
-- A product already exists when another one has the same description, or the
-- same code when a code is given.
CREATE UNIQUE INDEX PRODUCTOS_Descripcion ON PRODUCTOS (ProDescripcion);
CREATE UNIQUE INDEX PRODUCTOS_Codigo ON PRODUCTOS (ProCodigo)
  WHERE ProCodigo IS NOT NULL AND ProCodigo <> '';
CREATE INDEX PRODUCTOS_Categoria ON PRODUCTOS (CatId);

CREATE TABLE PRESUPUESTOS (
  PreId            INTEGER PRIMARY KEY AUTOINCREMENT,
  PreNumero        VARCHAR(50) COLLATE ESPANOL,
  PreFecha         DATE,
  EmpId            INTEGER,
  PreSaludo        VARCHAR(255) COLLATE ESPANOL,
  PreLugar         VARCHAR(100) COLLATE ESPANOL,
  PreDescripcion1  TEXT COLLATE ESPANOL,
  PreDescripcion2  TEXT COLLATE ESPANOL,
  PreDescripcion3  TEXT COLLATE ESPANOL,
  PreOtroConcepto1 VARCHAR(100) COLLATE ESPANOL,
  PreOtroPrecio1   DOUBLE DEFAULT 0,
  PreOtroMoneda1   VARCHAR(10) COLLATE ESPANOL,
  PreOtroConcepto2 VARCHAR(100) COLLATE ESPANOL,
  PreOtroPrecio2   DOUBLE DEFAULT 0,
  PreOtroMoneda2   VARCHAR(10) COLLATE ESPANOL,
  PreOtroConcepto3 VARCHAR(100) COLLATE ESPANOL,
  PreOtroPrecio3   DOUBLE DEFAULT 0,
  PreOtroMoneda3   VARCHAR(10) COLLATE ESPANOL,
  PreDespedida     TEXT COLLATE ESPANOL,
  PreFirma         TEXT COLLATE ESPANOL,
  PreTextoVigencia VARCHAR(255) COLLATE ESPANOL,
  PreVigencia      INTEGER DEFAULT 0,
  UsuLogin         VARCHAR(20) COLLATE ESPANOL
);
CREATE INDEX PRESUPUESTOS_Contacto ON PRESUPUESTOS (EmpId);
CREATE INDEX PRESUPUESTOS_Fecha ON PRESUPUESTOS (PreFecha);
-- The quote list sorts by number, owner and customer on a header click: the
-- indexes give the order without sorting 100,000 wide rows.
CREATE INDEX PRESUPUESTOS_Numero ON PRESUPUESTOS (PreNumero);
CREATE INDEX PRESUPUESTOS_Usuario ON PRESUPUESTOS (UsuLogin);
-- The quotes whose validity runs out on a given day: the expiry notice counts
-- and lists them through this index instead of reading every quote.
CREATE INDEX PRESUPUESTOS_Vencimiento ON PRESUPUESTOS (PreFecha + PreVigencia)
  WHERE PreVigencia > 0;

CREATE TABLE PRESUPUESTOS_PRODUCTOS (
  PreId           INTEGER NOT NULL,
  ProId           INTEGER NOT NULL,
  PreProPrecio    DOUBLE DEFAULT 0,
  PreProMoneda    VARCHAR(10) COLLATE ESPANOL,
  PreProCantidad  DOUBLE DEFAULT 0,
  RemProBajaStock BOOLEAN NOT NULL DEFAULT 0
);
-- At most one line per product in a quote; also the index of the lines of a quote.
CREATE UNIQUE INDEX PRESUPUESTOS_PRODUCTOS_Linea ON PRESUPUESTOS_PRODUCTOS (PreId, ProId);
CREATE INDEX PRESUPUESTOS_PRODUCTOS_Producto ON PRESUPUESTOS_PRODUCTOS (ProId);

-- The history of each quote's status (Borrador, Enviado, Aceptado, Rechazado,
-- Anulado, Reemplazado): its newest row (highest EstId) is the current status,
-- and a quote without rows is "Borrador". EstFechaHora is a day number with
-- the time as its fraction; EstReemplazo is, for "Reemplazado", the PreId of
-- the quote that replaced it.
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
-- A quote's newest status row, read from this index alone.
CREATE INDEX PRESUPUESTOS_ESTADOS_Actual ON PRESUPUESTOS_ESTADOS (PreId, EstId, EstEstado);

-- Each quote's current status (the newest row of its history), kept by the
-- triggers below whoever writes the history, so that the quote list filters
-- and counts by status through an index. Only stored quotes have a row; a
-- quote without one is "Borrador".
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

CREATE TABLE USUARIOS (
  UsuLogin    VARCHAR(20) COLLATE ESPANOL NOT NULL PRIMARY KEY,
  UsuPassword VARCHAR(10) COLLATE ESPANOL,
  UsuNombre   VARCHAR(50) COLLATE ESPANOL
);

CREATE TABLE OPCIONES (
  OpcId               INTEGER PRIMARY KEY AUTOINCREMENT,
  OpcAvisoVencimiento INTEGER DEFAULT 0
);

CREATE TABLE SECTORES (
  SecId          INTEGER PRIMARY KEY AUTOINCREMENT,
  SecDescripcion VARCHAR(50) COLLATE ESPANOL,
  SecDesactivado BOOLEAN NOT NULL DEFAULT 0
);

-- Tables of the stock-control program that shares this file.
CREATE TABLE FACTURAS_PRODUCTOS (
  FacProId INTEGER PRIMARY KEY AUTOINCREMENT,
  FacId    INTEGER NOT NULL,
  ProId    INTEGER NOT NULL
);
CREATE INDEX FACTURAS_PRODUCTOS_Producto ON FACTURAS_PRODUCTOS (ProId);
CREATE TABLE REMITOS_PRODUCTOS (
  RemProId INTEGER PRIMARY KEY AUTOINCREMENT,
  RemId    INTEGER NOT NULL,
  ProId    INTEGER NOT NULL
);
CREATE INDEX REMITOS_PRODUCTOS_Producto ON REMITOS_PRODUCTOS (ProId);
CREATE TABLE LOTES (
  LotId INTEGER PRIMARY KEY AUTOINCREMENT,
  ProId INTEGER NOT NULL
);
CREATE INDEX LOTES_Producto ON LOTES (ProId);

-- Suggestion lists of the quote editor: the distinct non-blank values of the
-- columns they gather, compared as those columns compare. Each column's
-- values are stepped through its index (the least value, then the least one
-- greater than the last), and each value is then read back from a row that
-- holds it, so that it keeps its column's collation. A list therefore costs a
-- few index lookups per value, not a scan of every quote and line: the editor
-- reloads these lists each time it becomes the active window.
CREATE INDEX PRESUPUESTOS_Lugar ON PRESUPUESTOS (PreLugar);
CREATE INDEX PRESUPUESTOS_Saludo ON PRESUPUESTOS (PreSaludo);
CREATE INDEX PRESUPUESTOS_Concepto1 ON PRESUPUESTOS (PreOtroConcepto1);
CREATE INDEX PRESUPUESTOS_Concepto2 ON PRESUPUESTOS (PreOtroConcepto2);
CREATE INDEX PRESUPUESTOS_Concepto3 ON PRESUPUESTOS (PreOtroConcepto3);
CREATE INDEX PRESUPUESTOS_Moneda1 ON PRESUPUESTOS (PreOtroMoneda1);
CREATE INDEX PRESUPUESTOS_Moneda2 ON PRESUPUESTOS (PreOtroMoneda2);
CREATE INDEX PRESUPUESTOS_Moneda3 ON PRESUPUESTOS (PreOtroMoneda3);
CREATE INDEX PRESUPUESTOS_PRODUCTOS_Moneda ON PRESUPUESTOS_PRODUCTOS (PreProMoneda);
CREATE INDEX PRODUCTOS_Moneda ON PRODUCTOS (ProMoneda);

CREATE VIEW V_PRESUPUESTOS_CONCEPTOS AS
  WITH RECURSIVE
    c1(v) AS (SELECT MIN(PreOtroConcepto1) FROM PRESUPUESTOS
      UNION ALL SELECT (SELECT MIN(PreOtroConcepto1) FROM PRESUPUESTOS WHERE PreOtroConcepto1 > c1.v)
      FROM c1 WHERE c1.v IS NOT NULL),
    c2(v) AS (SELECT MIN(PreOtroConcepto2) FROM PRESUPUESTOS
      UNION ALL SELECT (SELECT MIN(PreOtroConcepto2) FROM PRESUPUESTOS WHERE PreOtroConcepto2 > c2.v)
      FROM c2 WHERE c2.v IS NOT NULL),
    c3(v) AS (SELECT MIN(PreOtroConcepto3) FROM PRESUPUESTOS
      UNION ALL SELECT (SELECT MIN(PreOtroConcepto3) FROM PRESUPUESTOS WHERE PreOtroConcepto3 > c3.v)
      FROM c3 WHERE c3.v IS NOT NULL)
  SELECT Concepto FROM (
    SELECT PreOtroConcepto1 AS Concepto FROM PRESUPUESTOS WHERE rowid IN
      (SELECT (SELECT rowid FROM PRESUPUESTOS WHERE PreOtroConcepto1 = c1.v LIMIT 1) FROM c1)
    UNION SELECT PreOtroConcepto2 FROM PRESUPUESTOS WHERE rowid IN
      (SELECT (SELECT rowid FROM PRESUPUESTOS WHERE PreOtroConcepto2 = c2.v LIMIT 1) FROM c2)
    UNION SELECT PreOtroConcepto3 FROM PRESUPUESTOS WHERE rowid IN
      (SELECT (SELECT rowid FROM PRESUPUESTOS WHERE PreOtroConcepto3 = c3.v LIMIT 1) FROM c3))
  WHERE Concepto IS NOT NULL AND TRIM(Concepto) <> '';

CREATE VIEW V_PRESUPUESTOS_MONEDAS AS
  WITH RECURSIVE
    m1(v) AS (SELECT MIN(PreOtroMoneda1) FROM PRESUPUESTOS
      UNION ALL SELECT (SELECT MIN(PreOtroMoneda1) FROM PRESUPUESTOS WHERE PreOtroMoneda1 > m1.v)
      FROM m1 WHERE m1.v IS NOT NULL),
    m2(v) AS (SELECT MIN(PreOtroMoneda2) FROM PRESUPUESTOS
      UNION ALL SELECT (SELECT MIN(PreOtroMoneda2) FROM PRESUPUESTOS WHERE PreOtroMoneda2 > m2.v)
      FROM m2 WHERE m2.v IS NOT NULL),
    m3(v) AS (SELECT MIN(PreOtroMoneda3) FROM PRESUPUESTOS
      UNION ALL SELECT (SELECT MIN(PreOtroMoneda3) FROM PRESUPUESTOS WHERE PreOtroMoneda3 > m3.v)
      FROM m3 WHERE m3.v IS NOT NULL),
    m4(v) AS (SELECT MIN(PreProMoneda) FROM PRESUPUESTOS_PRODUCTOS
      UNION ALL SELECT (SELECT MIN(PreProMoneda) FROM PRESUPUESTOS_PRODUCTOS WHERE PreProMoneda > m4.v)
      FROM m4 WHERE m4.v IS NOT NULL),
    m5(v) AS (SELECT MIN(ProMoneda) FROM PRODUCTOS
      UNION ALL SELECT (SELECT MIN(ProMoneda) FROM PRODUCTOS WHERE ProMoneda > m5.v)
      FROM m5 WHERE m5.v IS NOT NULL)
  SELECT Moneda FROM (
    SELECT PreOtroMoneda1 AS Moneda FROM PRESUPUESTOS WHERE rowid IN
      (SELECT (SELECT rowid FROM PRESUPUESTOS WHERE PreOtroMoneda1 = m1.v LIMIT 1) FROM m1)
    UNION SELECT PreOtroMoneda2 FROM PRESUPUESTOS WHERE rowid IN
      (SELECT (SELECT rowid FROM PRESUPUESTOS WHERE PreOtroMoneda2 = m2.v LIMIT 1) FROM m2)
    UNION SELECT PreOtroMoneda3 FROM PRESUPUESTOS WHERE rowid IN
      (SELECT (SELECT rowid FROM PRESUPUESTOS WHERE PreOtroMoneda3 = m3.v LIMIT 1) FROM m3)
    UNION SELECT PreProMoneda FROM PRESUPUESTOS_PRODUCTOS WHERE rowid IN
      (SELECT (SELECT rowid FROM PRESUPUESTOS_PRODUCTOS WHERE PreProMoneda = m4.v LIMIT 1) FROM m4)
    UNION SELECT ProMoneda FROM PRODUCTOS WHERE rowid IN
      (SELECT (SELECT rowid FROM PRODUCTOS WHERE ProMoneda = m5.v LIMIT 1) FROM m5))
  WHERE Moneda IS NOT NULL AND TRIM(Moneda) <> '';

-- Stored queries.
CREATE TABLE CONSULTAS_GUARDADAS (
  Nombre     VARCHAR(64) COLLATE ESPANOL NOT NULL PRIMARY KEY,
  Parametros TEXT NOT NULL,
  Sentencia  TEXT NOT NULL
);

INSERT INTO CONSULTAS_GUARDADAS VALUES ('Presupuesto_Insertar',
 'pNumero TEXT, pLugar TEXT, pFecha DATE, pSaludo TEXT, pEmpId INTEGER, pDescripcion1 TEXT, pDescripcion2 TEXT, pDescripcion3 TEXT, pOtroConcepto1 TEXT, pOtroPrecio1 DOUBLE, pOtroMoneda1 TEXT, pOtroConcepto2 TEXT, pOtroPrecio2 DOUBLE, pOtroMoneda2 TEXT, pOtroConcepto3 TEXT, pOtroPrecio3 DOUBLE, pOtroMoneda3 TEXT, pDespedida TEXT, pFirma TEXT, pTextoVigencia TEXT, pVigencia INTEGER, pUsuLogin TEXT',
 'INSERT INTO PRESUPUESTOS (PreNumero, PreLugar, PreFecha, PreSaludo, EmpId, PreDescripcion1, PreDescripcion2, PreDescripcion3, PreOtroConcepto1, PreOtroPrecio1, PreOtroMoneda1, PreOtroConcepto2, PreOtroPrecio2, PreOtroMoneda2, PreOtroConcepto3, PreOtroPrecio3, PreOtroMoneda3, PreDespedida, PreFirma, PreTextoVigencia, PreVigencia, UsuLogin) VALUES (:pNumero, :pLugar, :pFecha, :pSaludo, :pEmpId, :pDescripcion1, :pDescripcion2, :pDescripcion3, :pOtroConcepto1, :pOtroPrecio1, :pOtroMoneda1, :pOtroConcepto2, :pOtroPrecio2, :pOtroMoneda2, :pOtroConcepto3, :pOtroPrecio3, :pOtroMoneda3, :pDespedida, :pFirma, :pTextoVigencia, :pVigencia, :pUsuLogin)');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('Presupuesto_Actualizar',
 'pNumero TEXT, pLugar TEXT, pFecha DATE, pSaludo TEXT, pEmpId INTEGER, pDescripcion1 TEXT, pDescripcion2 TEXT, pDescripcion3 TEXT, pOtroConcepto1 TEXT, pOtroPrecio1 DOUBLE, pOtroMoneda1 TEXT, pOtroConcepto2 TEXT, pOtroPrecio2 DOUBLE, pOtroMoneda2 TEXT, pOtroConcepto3 TEXT, pOtroPrecio3 DOUBLE, pOtroMoneda3 TEXT, pDespedida TEXT, pFirma TEXT, pTextoVigencia TEXT, pVigencia INTEGER, pUsuLogin TEXT, pPreId INTEGER',
 'UPDATE PRESUPUESTOS SET PreNumero = :pNumero, PreLugar = :pLugar, PreFecha = :pFecha, PreSaludo = :pSaludo, EmpId = :pEmpId, PreDescripcion1 = :pDescripcion1, PreDescripcion2 = :pDescripcion2, PreDescripcion3 = :pDescripcion3, PreOtroConcepto1 = :pOtroConcepto1, PreOtroPrecio1 = :pOtroPrecio1, PreOtroMoneda1 = :pOtroMoneda1, PreOtroConcepto2 = :pOtroConcepto2, PreOtroPrecio2 = :pOtroPrecio2, PreOtroMoneda2 = :pOtroMoneda2, PreOtroConcepto3 = :pOtroConcepto3, PreOtroPrecio3 = :pOtroPrecio3, PreOtroMoneda3 = :pOtroMoneda3, PreDespedida = :pDespedida, PreFirma = :pFirma, PreTextoVigencia = :pTextoVigencia, PreVigencia = :pVigencia, UsuLogin = :pUsuLogin WHERE PreId = :pPreId');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('Presupuesto_Producto_Insertar',
 'pPreId INTEGER, pProId INTEGER, pPrecio DOUBLE, pMoneda TEXT, pCantidad DOUBLE',
 'INSERT INTO PRESUPUESTOS_PRODUCTOS (PreId, ProId, PreProPrecio, PreProMoneda, PreProCantidad) VALUES (:pPreId, :pProId, :pPrecio, :pMoneda, :pCantidad)');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('Presupuestos_Productos_Existe',
 'pPreId INTEGER, pProId INTEGER',
 'SELECT COUNT(*) AS Cantidad FROM PRESUPUESTOS_PRODUCTOS WHERE PreId = :pPreId AND ProId = :pProId');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('usuario_insertar',
 'pLogin TEXT, pPassword TEXT, pNombre TEXT',
 'INSERT INTO USUARIOS (UsuLogin, UsuPassword, UsuNombre) VALUES (:pLogin, :pPassword, :pNombre)');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('usuario_actualizar',
 'pLogin TEXT, pPassword TEXT, pNombre TEXT',
 'UPDATE USUARIOS SET UsuPassword = :pPassword, UsuNombre = :pNombre WHERE UsuLogin = :pLogin');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('categoria_insertar',
 'pDescripcion TEXT',
 'INSERT INTO CATEGORIAS (CatDescripcion) VALUES (:pDescripcion)');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('categoria_actualizar',
 'pCatId INTEGER, pDescripcion TEXT, pDesactivada BOOLEAN',
 'UPDATE CATEGORIAS SET CatDescripcion = :pDescripcion, CatDesactivada = :pDesactivada WHERE CatId = :pCatId');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('producto_insertar',
 'pCodigo TEXT, pDescripcion TEXT, pCatId INTEGER, pUnidadMedida TEXT, pPrecio DOUBLE, pCosto DOUBLE, pMoneda TEXT, pMinimo INTEGER, pEmpId INTEGER, pSinVencimiento BOOLEAN',
 'INSERT INTO PRODUCTOS (ProCodigo, ProDescripcion, CatId, ProUnidadMedida, ProPrecio, ProCosto, ProMoneda, ProMinimo, EmpId, ProSinVencimiento) VALUES (:pCodigo, :pDescripcion, :pCatId, :pUnidadMedida, :pPrecio, :pCosto, :pMoneda, :pMinimo, :pEmpId, :pSinVencimiento)');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('producto_actualizar',
 'pProId INTEGER, pCodigo TEXT, pDescripcion TEXT, pCatId INTEGER, pUnidadMedida TEXT, pPrecio DOUBLE, pCosto DOUBLE, pMoneda TEXT, pMinimo INTEGER, pEmpId INTEGER, pSinVencimiento BOOLEAN, pDesactivado BOOLEAN',
 'UPDATE PRODUCTOS SET ProCodigo = :pCodigo, ProDescripcion = :pDescripcion, CatId = :pCatId, ProUnidadMedida = :pUnidadMedida, ProPrecio = :pPrecio, ProCosto = :pCosto, ProMoneda = :pMoneda, ProMinimo = :pMinimo, EmpId = :pEmpId, ProSinVencimiento = :pSinVencimiento, ProDesactivado = :pDesactivado WHERE ProId = :pProId');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('sector_insertar',
 'pDescripcion TEXT',
 'INSERT INTO SECTORES (SecDescripcion) VALUES (:pDescripcion)');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('sector_actualizar',
 'pSecId INTEGER, pDescripcion TEXT, pDesactivado BOOLEAN',
 'UPDATE SECTORES SET SecDescripcion = :pDescripcion, SecDesactivado = :pDesactivado WHERE SecId = :pSecId');

-- Contacts that come from the stock-control program are its suppliers: the
-- constant 2 is the relation "Proveedor".
INSERT INTO CONSULTAS_GUARDADAS VALUES ('contacto_insertar',
 'pNombreFantasia TEXT, pRazonSocial TEXT, pRuc TEXT, pDireccion TEXT, pCodigoPostal TEXT, pTelefono1 TEXT, pTelefono2 TEXT, pFax TEXT, pEmail TEXT, pURL TEXT, pZona TEXT, pCiudad TEXT, pProvinciaEstado TEXT, pPais TEXT, pVinId INTEGER',
 'INSERT INTO CONTACTOS (EmpNombreFantasia, EmpRazonSocial, EmpRuc, EmpDireccion, EmpCodigoPostal, EmpTelefono1, EmpTelefono2, EmpFax, EmpEmail, EmpURL, EmpZona, EmpCiudad, EmpProvinciaEstado, EmpPais, VinId) VALUES (:pNombreFantasia, :pRazonSocial, :pRuc, :pDireccion, :pCodigoPostal, :pTelefono1, :pTelefono2, :pFax, :pEmail, :pURL, :pZona, :pCiudad, :pProvinciaEstado, :pPais, :pVinId)');

INSERT INTO CONSULTAS_GUARDADAS VALUES ('contacto_actualizar',
 'pEmpId INTEGER, pNombreFantasia TEXT, pRazonSocial TEXT, pRuc TEXT, pDireccion TEXT, pCodigoPostal TEXT, pTelefono1 TEXT, pTelefono2 TEXT, pFax TEXT, pEmail TEXT, pURL TEXT, pZona TEXT, pCiudad TEXT, pProvinciaEstado TEXT, pPais TEXT, pVinId INTEGER, pDesactivado BOOLEAN',
 'UPDATE CONTACTOS SET EmpNombreFantasia = :pNombreFantasia, EmpRazonSocial = :pRazonSocial, EmpRuc = :pRuc, EmpDireccion = :pDireccion, EmpCodigoPostal = :pCodigoPostal, EmpTelefono1 = :pTelefono1, EmpTelefono2 = :pTelefono2, EmpFax = :pFax, EmpEmail = :pEmail, EmpURL = :pURL, EmpZona = :pZona, EmpCiudad = :pCiudad, EmpProvinciaEstado = :pProvinciaEstado, EmpPais = :pPais, VinId = :pVinId, EmpDesactivado = :pDesactivado WHERE EmpId = :pEmpId');

-- Seed rows.
INSERT INTO USUARIOS (UsuLogin, UsuPassword, UsuNombre) VALUES ('admin', '', 'Administrador');
INSERT INTO USUARIOS (UsuLogin, UsuPassword, UsuNombre) VALUES ('super', '', 'Supervisor');
INSERT INTO vinculos (VinId, VinDescripcion, VinDesactivado) VALUES (1, 'Cliente', 0);
INSERT INTO vinculos (VinId, VinDescripcion, VinDesactivado) VALUES (2, 'Proveedor', 0);
INSERT INTO OPCIONES (OpcAvisoVencimiento) VALUES (0);

COMMIT;
