// The game's home page: serves it until SIGINT or SIGTERM; with `admin`
// first, one of the publisher's commands instead.

#include "homepage/Admin.h"
#include "homepage/Clocks.h"
#include "homepage/HttpFront.h"
#include "homepage/Journal.h"
#include "homepage/Metrics.h"
#include "homepage/Options.h"
#include "homepage/RateLimiter.h"
#include "homepage/Registrar.h"
#include "homepage/RevisionProbe.h"
#include "homepage/Site.h"
#include "homepage/SqlResultStore.h"
#include "homepage/StaticFiles.h"
#include "homepage/StopSignals.h"
#include "homepage/WarningThrottle.h"
#include "homepage/WordList.h"
#include "rules/Seams.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <systemd/sd-daemon.h>

#include <cstdio>
#include <cstdlib>

#include <optional>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

QtMessageHandler qtMessages = nullptr;
bool journal = false;
SteadyClock logClock;
WarningThrottle warnings(logClock);

// Qt's PostgreSQL driver complains once for every prepared statement it
// cannot free on a connection that is gone already; the store says once
// that the connection was lost, and that is all there is to it. Any other
// warning goes at most once a minute.
void throttledWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith("Unable to free statement:"_L1))
        return;
    QString line = text;
    if (type == QtWarningMsg) {
        const std::optional<QString> passed = warnings.pass(text);
        if (!passed)
            return;
        line = *passed;
    }
    if (!journal)
        return qtMessages(type, context, line);
    std::fprintf(stderr, "%s%s\n", journalPriority(type).constData(), qUtf8Printable(line));
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

int main(int argc, char *argv[])
{
    useUtf8Locale();
    QCoreApplication app(argc, argv);
    journal = stderrIsJournal();
    qtMessages = qInstallMessageHandler(throttledWarnings);
    QCoreApplication::setApplicationName(u"suiranjuku-homepage"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(SUIRANJUKU_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto fail = [&err](const QString &why, int status) {
        err << (journal ? journalPriority(QtCriticalMsg) : QByteArray()) << "suiranjuku-homepage: " << why << Qt::endl;
        return status;
    };

    if (app.arguments().value(1) == "admin"_L1)
        return runAdmin(app.arguments(), out, err);
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
    // Counted from the start, on every connection to the database.
    Metrics metrics;
    std::unique_ptr<ResultStore> store;
    try {
        store = openResultStore(options.database, wallClock, password, Outages::Logged, &metrics);
    } catch (const StoreError &error) {
        return fail(error.why(), 1);
    }
    WordList words;
    if (QString why; !options.blockedWords.isEmpty() && !words.load(options.blockedWords, why))
        return fail(u"cannot read the word list %1: %2"_s.arg(options.blockedWords, why), 1);
    QObject::connect(&stop, &StopSignals::reloadRequested, &app, [&words, &options] {
        QString why;
        if (options.blockedWords.isEmpty())
            return;
        if (words.load(options.blockedWords, why))
            qInfo("read the word list %s again: %lld words", qPrintable(options.blockedWords), qlonglong(words.size()));
        else
            qWarning("cannot read the word list %s again (%s): keeping the %lld words read before",
                     qPrintable(options.blockedWords), qPrintable(why), qlonglong(words.size()));
    });
    RateLimiter limiter(options.registrationLimit, steadyClock);
    const StaticFiles files;
    Site site(*store, limiter, files, options.trustedProxies, options.blockedWords.isEmpty() ? nullptr : &words,
              &metrics);
    // A database server is a round trip away: whether the hall of fame has
    // changed is asked on a connection of its own, opened with the first
    // question, while requests keep coming in.
    std::optional<RevisionProbe> probe;
    if (databaseServer(options.database))
        probe.emplace([&options, &wallClock, &metrics, password] {
            return openResultStore(options.database, wallClock, password, Outages::Unlogged, &metrics);
        });
    // Registrations on a connection of their own, so that one waiting for a
    // lock holds up nothing else.
    Registrar registrar([&options, &wallClock, &metrics, password] {
        return openResultStore(options.database, wallClock, password, Outages::Logged, &metrics);
    }, limiter, files, options.trustedProxies, options.blockedWords.isEmpty() ? nullptr : &words, &metrics);
    HttpFront front(site, options, probe ? &*probe : nullptr, &registrar);
    QString why;
    const quint16 port = front.listenOn(options.address, options.port, why);
    if (port == 0)
        return fail(u"cannot listen on %1: %2"_s.arg(serverUrl(options.address, options.port), why), 1);

    // The metrics on an address of their own, through the same HTTP as the
    // site, and listening before the server says it is ready.
    MetricsPage metricsPage(metrics, store.get());
    std::optional<HttpFront> metricsFront;
    if (options.metrics) {
        const auto &[address, wanted] = *options.metrics;
        const quint16 listening = metricsFront.emplace(metricsPage, options).listenOn(address, wanted, why);
        if (listening == 0)
            return fail(u"cannot listen for metrics on %1: %2"_s.arg(serverUrl(address, wanted), why), 1);
        out << "metrics on " << serverUrl(address, listening) << "metrics" << Qt::endl;
    }

    QObject::connect(&stop, &StopSignals::stopRequested, &front, [&front, &metricsFront] {
            sd_notify(0, "STOPPING=1");
            if (metricsFront)
                metricsFront->finish(1s);
            front.finish(10s);
        }, Qt::SingleShotConnection);
    QObject::connect(&front, &HttpFront::finished, &app, &QCoreApplication::quit);
    out << "listening on " << serverUrl(options.address, port) << Qt::endl;
    // The database is open and the address listens: systemd may start what
    // waits for the service (Type=notify).
    sd_notify(0, "READY=1");
    // The database closes as the store goes, after the last answer.
    return app.exec();
}
