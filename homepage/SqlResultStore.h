#pragma once

#include "homepage/ResultStore.h"

#include <memory>

class WallClock;

// Opens the hall of fame in the database a URL names, "sqlite:PATH" (the
// folder is created as needed), and creates its tables on first use. Throws
// StoreError, with the reason in one line, when the database cannot be
// opened or written, is damaged, or is of a newer schema than this program's.
std::unique_ptr<ResultStore> openResultStore(const QString &url, const WallClock &clock);

// sqlite:$XDG_DATA_HOME/suiranjuku-homepage/results.sqlite
QString defaultDatabaseUrl();

// The version of the tables this program creates and reads, kept in the
// database itself for later changes.
inline constexpr int schemaVersion = 1;
