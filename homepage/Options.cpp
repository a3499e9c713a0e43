#include "homepage/Options.h"

#include "homepage/Release.h"
#include "homepage/SqlResultStore.h"
#include "homepage/Submission.h"

#include <QCommandLineParser>

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
    const QCommandLineOption database(u"database"_s, u"The hall of fame's database."_s, u"URL"_s,
                                      defaultDatabaseUrl());
    parser.addOption(listen);
    parser.addOption(database);
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
    command.options.database = parser.value(database);
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
