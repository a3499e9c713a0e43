#include "homepage/Options.h"

#include "homepage/Release.h"
#include "homepage/SqlResultStore.h"
#include "homepage/Submission.h"

#include <QCommandLineParser>

#include <limits>

using namespace Qt::StringLiterals;

CommandLine readCommandLine(const QStringList &arguments)
{
    const QString defaultListen = u"127.0.0.1:8080"_s;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"The home page of %1: winners register their result codes, everyone sees the hall of fame."_s.arg(
            QStringLiteral(SUIRANJUKU_TITLE)));
    const QCommandLineOption listen(u"listen"_s, u"Address and port to serve on (port 0: any free one)."_s,
                                    u"ADDRESS:PORT"_s, defaultListen);
    const QCommandLineOption database(
        u"database"_s, u"The hall of fame's database: sqlite:PATH or postgresql://USER@HOST:PORT/DATABASE."_s,
        u"URL"_s, defaultDatabaseUrl());
    const QCommandLineOption passwordFile(
        u"database-password-file"_s, u"A file holding the PostgreSQL password (else PGPASSWORD is used)."_s,
        u"FILE"_s);
    const QCommandLineOption limit(u"registration-limit"_s,
                                   u"Registrations a minute from one client address (0: no limit)."_s, u"N"_s,
                                   QString::number(registrationsPerMinute));
    const QCommandLineOption proxy(
        u"trusted-proxy"_s,
        u"A reverse proxy in front of the server, whose X-Forwarded-For names the client (repeatable)."_s,
        u"ADDRESS"_s);
    const QCommandLineOption idle(u"idle-timeout"_s,
                                  u"Seconds a connection may stay quiet before it is closed."_s, u"SECONDS"_s,
                                  QString::number(defaultIdleLimit.count()));
    const QCommandLineOption words(
        u"blocked-words"_s,
        u"A file of words refused in names (UTF-8, one a line, # comments); SIGHUP reads it again."_s, u"FILE"_s);
    const QCommandLineOption perAddress(
        u"connections-per-address"_s,
        u"Connections one client address may hold open at once; trusted proxies have no limit (0: none)."_s,
        u"N"_s, QString::number(defaultConnectionsPerAddress));
    const QCommandLineOption metrics(
        u"metrics-listen"_s,
        u"Address and port to serve GET /metrics on, for a monitor (Prometheus' text format); never the public "
         "one. Off unless given."_s,
        u"ADDRESS:PORT"_s);
    parser.addOptions({listen, database, passwordFile, limit, proxy, idle, words, perAddress, metrics});
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    CommandLine command{CommandLine::Run, {}, {}};
    if (!parser.parse(arguments))
        return {CommandLine::Bad, {}, parser.errorText()};
    if (parser.isSet(help))
        return {CommandLine::Help, {}, parser.helpText()};
    if (parser.isSet(version))
        return {CommandLine::Version, {}, u"suiranjuku-homepage "_s + QStringLiteral(SUIRANJUKU_VERSION)};
    if (!parser.positionalArguments().isEmpty())
        return {CommandLine::Bad, {}, u"unexpected argument: %1"_s.arg(parser.positionalArguments().first())};
    const auto endpoint = readListenAddress(parser.value(listen));
    if (!endpoint)
        return {CommandLine::Bad, {}, u"--listen takes ADDRESS:PORT, not %1"_s.arg(parser.value(listen))};
    std::tie(command.options.address, command.options.port) = *endpoint;
    if (parser.isSet(metrics)) {
        command.options.metrics = readListenAddress(parser.value(metrics));
        if (!command.options.metrics)
            return {CommandLine::Bad, {}, u"--metrics-listen takes ADDRESS:PORT, not %1"_s.arg(parser.value(metrics))};
        // Whoever reaches the public address must not read the metrics: they
        // tell how the server is doing, and which refusals work.
        if (*command.options.metrics == *endpoint && endpoint->second != 0)
            return {CommandLine::Bad, {},
                    u"--metrics-listen %1 is the public address: give the metrics an address of their own"_s.arg(
                        parser.value(metrics))};
    }
    command.options.database = parser.value(database);
    command.options.passwordFile = parser.value(passwordFile);
    command.options.blockedWords = parser.value(words);
    const std::optional<qint64> perMinute = submission::wholeNumber(parser.value(limit));
    if (!perMinute || *perMinute > std::numeric_limits<int>::max())
        return {CommandLine::Bad, {}, u"--registration-limit takes a whole number, not %1"_s.arg(parser.value(limit))};
    command.options.registrationLimit = int(*perMinute);
    const std::optional<qint64> idleSeconds = submission::wholeNumber(parser.value(idle));
    if (!idleSeconds || *idleSeconds < 1 || *idleSeconds > 86400)
        return {CommandLine::Bad, {}, u"--idle-timeout takes seconds from 1 to 86400, not %1"_s.arg(parser.value(idle))};
    command.options.idleLimit = std::chrono::seconds(*idleSeconds);
    const std::optional<qint64> connections = submission::wholeNumber(parser.value(perAddress));
    if (!connections || *connections > std::numeric_limits<int>::max())
        return {CommandLine::Bad, {},
                u"--connections-per-address takes a whole number, not %1"_s.arg(parser.value(perAddress))};
    command.options.connectionsPerAddress = int(*connections);
    for (const QString &text : parser.values(proxy)) {
        const QHostAddress address(text);
        if (address.isNull())
            return {CommandLine::Bad, {}, u"--trusted-proxy takes an IP address, not %1"_s.arg(text)};
        command.options.trustedProxies.append(address);
    }
    return command;
}

std::optional<std::pair<QHostAddress, quint16>> readListenAddress(const QString &text)
{
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon < 0)
        return std::nullopt;
    QString host = text.left(colon);
    const std::optional<qint64> port = submission::wholeNumber(QStringView(text).sliced(colon + 1));
    if (!port || *port > 65535)
        return std::nullopt;
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    else if (host.contains(u':'))
        return std::nullopt;   // IPv6 without brackets: where would the port be?
    const QHostAddress address = host == "localhost"_L1 ? QHostAddress(QHostAddress::LocalHost) : QHostAddress(host);
    if (address.isNull())
        return std::nullopt;
    return std::pair{address, static_cast<quint16>(*port)};
}

QString serverUrl(const QHostAddress &address, quint16 port)
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
        ? u"[%1]"_s.arg(address.toString())
        : address.toString();
    return u"http://%1:%2/"_s.arg(host).arg(port);
}
