#pragma once
// Creating the tables of a database from their layouts.
#include <string>

#include "catalog/schema.h"

namespace kvf {

class TDatabase;

std::string CreateTableSql(const TTableDef& def);
// CREATE TABLE and its indexes (the primary key unique).
void CreateTable(TDatabase& db, const TTableDef& def);
// Every table of the alias ("KMDB_Catalog", ...).
void CreateAliasTables(TDatabase& db, const std::string& alias);

}  // namespace kvf
