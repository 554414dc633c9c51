-- Settings of the server that a dump does not carry; applied by every
-- preparation of the server, so running it again after a restore mends them.

-- Integers used as conditions (WHERE 1 AND ..., INSTR(...) OR INSTR(...)):
-- the integer to boolean cast becomes usable where a condition is expected.
-- Needs a superuser; the program checks it on connecting.
UPDATE pg_catalog.pg_cast SET castcontext = 'a'
  WHERE castsource = 'integer'::regtype AND casttarget = 'boolean'::regtype
    AND castcontext <> 'a';
