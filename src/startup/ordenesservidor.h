#pragma once

#include <optional>

// The administrators' options for a PostgreSQL server, run without a display:
//   tarvo --preparar-servidor "host=… dbname=… user=…"
//       creates the program's objects, tables, views, stored queries and seed
//       rows in one transaction and stamps the schema version; run again it
//       upgrades or reports that the database is current;
//   tarvo --copiar-a-servidor RUTA.mdb "host=… dbname=… user=…"
//       copies every row of a database file (brought to the current version
//       first) into a prepared server that holds no quotes yet.
// Exit status 0 on success, 1 on failure, 2 for a wrong use; nullopt for any
// other command line.
std::optional<int> atenderOrdenesServidor(int argc, char** argv);
