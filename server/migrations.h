// The schema's versions: numbered SQL files, built into the server.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace server {

// (file name, SQL) of each migration, in order; the number the name begins
// with is the schema version it makes.
std::vector<std::pair<std::string, std::string>> SqliteMigrations();
std::vector<std::pair<std::string, std::string>> PostgresqlMigrations();

// The version a migration's file name begins with ("0002_names.sql": 2).
int MigrationVersion(const std::string& fileName);

}  // namespace server
