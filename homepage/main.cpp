// The game's home page: serves it until SIGINT or SIGTERM.

#include "homepage/Clocks.h"
#include "homepage/HttpFront.h"
#include "homepage/Options.h"
#include "homepage/RateLimiter.h"
#include "homepage/Registrar.h"
#include "homepage/RevisionProbe.h"
#include "homepage/Site.h"
#include "homepage/SqlResultStore.h"
#include "homepage/StaticFiles.h"
#include "homepage/StopSignals.h"
#include "homepage/WarningThrottle.h"
#include "rules/Seams.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <optional>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

QtMessageHandler qtMessages = nullptr;
SteadyClock logClock;
WarningThrottle warnings(logClock);

// Qt's PostgreSQL driver complains once for every prepared statement it
// cannot free on a connection that is gone already; the store says once
// that the connection was lost, and that is all there is to it. Any other
// warning goes at most once a minute.
void throttledWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtWarningMsg)
        return qtMessages(type, context, text);
    if (text.startsWith("Unable to free statement:"_L1))
        return;
    if (const std::optional<QString> line = warnings.pass(text))
        qtMessages(type, context, *line);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qtMessages = qInstallMessageHandler(throttledWarnings);
    QCoreApplication::setApplicationName(u"suiranjuku-homepage"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(SUIRANJUKU_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto fail = [&err](const QString &why, int status) {
        err << "suiranjuku-homepage: " << why << Qt::endl;
        return status;
    };

    const CommandLine command = readCommandLine(app.arguments());
    switch (command.kind) {
    case CommandLine::Help:
        out << command.text << Qt::flush;
        return 0;
    case CommandLine::Version:
        out << command.text << Qt::endl;
        return 0;
    case CommandLine::Bad:
        return fail(command.text, 2);
    case CommandLine::Run:
        break;
    }
    const Options &options = command.options;

    // Caught from here on: a stop asked for during start-up is taken up as
    // soon as the server runs.
    StopSignals stop;
    SystemWallClock wallClock;
    SteadyClock steadyClock;
    QString password;
    if (!options.passwordFile.isEmpty()) {
        QFile file(options.passwordFile);
        if (!file.open(QIODevice::ReadOnly))
            return fail(u"cannot read the password file %1: %2"_s.arg(options.passwordFile, file.errorString()), 1);
        // The first line, as editors and `echo` leave it.
        password = QString::fromUtf8(file.readLine()).remove(u'\n').remove(u'\r');
    }
    std::unique_ptr<ResultStore> store;
    try {
        store = openResultStore(options.database, wallClock, password);
    } catch (const StoreError &error) {
        return fail(error.why(), 1);
    }
    RateLimiter limiter(options.registrationLimit, steadyClock);
    const StaticFiles files;
    Site site(*store, limiter, files, options.trustedProxies);
    // A database server is a round trip away: whether the hall of fame has
    // changed is asked on a connection of its own, opened with the first
    // question, while requests keep coming in.
    std::optional<RevisionProbe> probe;
    if (databaseServer(options.database))
        probe.emplace([&options, &wallClock, password] {
            return openResultStore(options.database, wallClock, password, Outages::Unlogged);
        });
    // Registrations on a connection of their own, so that one waiting for a
    // lock holds up nothing else.
    Registrar registrar([&options, &wallClock, password] {
        return openResultStore(options.database, wallClock, password);
    }, limiter, files, options.trustedProxies);
    HttpFront front(site, options, probe ? &*probe : nullptr, &registrar);
    QString why;
    const quint16 port = front.listenOn(options.address, options.port, why);
    if (port == 0)
        return fail(u"cannot listen on %1: %2"_s.arg(serverUrl(options.address, options.port), why), 1);

    QObject::connect(&stop, &StopSignals::stopRequested, &front, [&front] { front.finish(10s); },
                     Qt::SingleShotConnection);
    QObject::connect(&front, &HttpFront::finished, &app, &QCoreApplication::quit);
    out << "listening on " << serverUrl(options.address, port) << Qt::endl;
    // The database closes as the store goes, after the last answer.
    return app.exec();
}
