-- The desks' role, applied by every preparation after the steps (a role
-- belongs to the whole server and a dump carries none, so after a restore
-- the preparation makes it again). The administrator makes each desk a login
-- of its own and grants it this role: GRANT tarvo_puestos TO ana;
-- The program's objects belong to whoever prepared the database; a desk
-- reads and writes every table, moves the key sequences (the key trigger
-- sets a sequence past a key given on insert) and takes the write lock. The
-- schema's version and the stored queries are only read.
DO $$
BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'tarvo_puestos') THEN
    CREATE ROLE tarvo_puestos NOLOGIN;
  END IF;
  EXECUTE format('GRANT CONNECT, TEMPORARY ON DATABASE %I TO tarvo_puestos',
                 current_database());
  EXECUTE format('GRANT USAGE ON SCHEMA %I TO tarvo_puestos', current_schema());
  EXECUTE format('GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA %I '
                 'TO tarvo_puestos', current_schema());
  EXECUTE format('GRANT USAGE, SELECT, UPDATE ON ALL SEQUENCES IN SCHEMA %I '
                 'TO tarvo_puestos', current_schema());
  EXECUTE format('GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA %I TO tarvo_puestos',
                 current_schema());
END $$;
REVOKE INSERT, UPDATE, DELETE ON TARVO_VERSION, CONSULTAS_GUARDADAS FROM tarvo_puestos;
