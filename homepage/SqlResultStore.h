#pragma once

#include "homepage/Moderation.h"
#include "homepage/ResultStore.h"
#include "homepage/Schema.h"

#include <QString>

#include <chrono>
#include <memory>

class Metrics;
class WallClock;

// Opens the hall of fame in the database a URL names, creates its tables on
// first use and brings those of an earlier version up to date:
//   sqlite:PATH                             a file, its folder made as needed
//   postgresql://USER@HOST:PORT/DATABASE    a PostgreSQL server; the password
//                                           is `password`, else PGPASSWORD
// Throws StoreError, with the reason in one line, when the database cannot be
// reached, opened or written, is damaged, or is of a newer schema than this
// program's. Once open, a connection that fails is opened anew by the next
// request that needs it; the loss and the return go to the log, unless a
// second store on the same database already tells them. `metrics`, when
// given, count the database's errors and the connections opened again.
enum class Outages { Logged, Unlogged };
std::unique_ptr<ResultStore> openResultStore(const QString &url, const WallClock &clock,
                                             const QString &password = {}, Outages outages = Outages::Logged,
                                             Metrics *metrics = nullptr);

// The same database as the publisher keeps it, opened the same way; what
// goes wrong is thrown as StoreError and never retried.
std::unique_ptr<Moderation> openModeration(const QString &url, const WallClock &clock, const QString &password = {});

// Whether the URL names a database server rather than a file: asking it
// anything is a round trip.
bool databaseServer(const QString &url);

// sqlite:$XDG_DATA_HOME/suiranjuku-homepage/results.sqlite
QString defaultDatabaseUrl();

// The longest a request waits for the database to be reached or to answer a
// statement; past it the request is answered 503.
inline constexpr std::chrono::seconds databasePatience{5};
// After the database could not be reached, requests are answered 503 at once
// for this long before the next try, rather than each waiting on its own.
inline constexpr std::chrono::milliseconds reconnectPause{1000};
