// The event's schema as numbered migrations (server/migrations/NNN_*.sql), carried in the
// server: each is applied once, in order, and noted in the table schema_migrations.
#pragma once

#include <string>
#include <vector>

struct Migration {
    int number;
    const char* file;
    const char* sql;
};

extern const std::vector<Migration> kMigrations;
