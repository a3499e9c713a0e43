#pragma once

#include "homepage/RateLimiter.h"

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>
#include <utility>

// How long a connection may stay quiet before it is closed: kept open
// between requests with nothing asked, or with a request that has not come
// in whole by then.
inline constexpr std::chrono::seconds defaultIdleLimit{60};

// Connections one client address may hold open at once: a browser opens six
// to a site, a household or an office behind one address a few times that.
// Past it, one client could take every descriptor the server has.
inline constexpr int defaultConnectionsPerAddress = 32;

// How the server is to run, from its command line.
struct Options {
    QHostAddress address{QHostAddress::LocalHost};
    quint16 port = 8080;
    QString database;       // a database URL
    QString passwordFile;   // holds the database's password; empty: PGPASSWORD
    int registrationLimit = registrationsPerMinute;   // 0: none
    // Reverse proxies whose X-Forwarded-For names the client.
    QList<QHostAddress> trustedProxies;
    std::chrono::seconds idleLimit = defaultIdleLimit;
    QString blockedWords;   // a word list file; empty: none
    int connectionsPerAddress = defaultConnectionsPerAddress;   // 0: none; trusted proxies have none
    // Where GET /metrics is served, apart from the public address; none when
    // not asked for.
    std::optional<std::pair<QHostAddress, quint16>> metrics;
};

struct CommandLine {
    enum Kind { Run, Help, Version, Bad } kind;
    Options options;
    QString text;   // the help, the version, or what is wrong (one line)
};

CommandLine readCommandLine(const QStringList &arguments);

// ADDRESS:PORT, the address an IP address ([...] around IPv6) or localhost.
std::optional<std::pair<QHostAddress, quint16>> readListenAddress(const QString &text);

// The address a browser opens for the server.
QString serverUrl(const QHostAddress &address, quint16 port);
