#include "homepage/Admin.h"

#include "homepage/Clocks.h"
#include "homepage/Moderation.h"
#include "homepage/SqlResultStore.h"
#include "homepage/Submission.h"
#include "homepage/WordList.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <limits>

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString usage = u"usage: suiranjuku-homepage admin list [--recent N] [--name TEXT] [--blocked --blocked-words FILE]\n"
                       "       suiranjuku-homepage admin show ID\n"
                       "       suiranjuku-homepage admin hide ID --reason TEXT\n"
                       "       suiranjuku-homepage admin unhide ID [--reason TEXT]\n"
                       "       suiranjuku-homepage admin log\n"
                       "       suiranjuku-homepage admin backup FILE\n"
                       "       suiranjuku-homepage admin export --format csv|json\n"
                       "each with --database URL and --database-password-file FILE as the server takes them\n"_s;

// Who the log names where the database names nobody: the user who ran the
// command, also through sudo.
QString osUser()
{
    const QString sudo = qEnvironmentVariable("SUDO_USER");
    if (geteuid() == 0 && !sudo.isEmpty())
        return sudo;
    const passwd *user = getpwuid(geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString::number(geteuid());
}

QString timeOf(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs).toUTC().toString(Qt::ISODate);
}

// One entry a line, fields apart by tabs: what scripts and eyes both read.
QString line(const Moderation::Kept &entry)
{
    return QStringList{QString::number(entry.id), entry.rank > 0 ? QString::number(entry.rank) : u"hidden"_s,
                       QString::number(entry.days), entry.code, timeOf(entry.registered), entry.name}
        .join(u'\t');
}

QString line(const Moderation::Action &action)
{
    return QStringList{timeOf(action.at), action.actor, action.action, QString::number(action.entry), action.reason}
        .join(u'\t');
}

// Every entry, oldest first, with its state, and the moderation log.
QString exported(Moderation &keeper, bool asJson)
{
    QList<Moderation::Kept> entries = keeper.recent(std::numeric_limits<int>::max(), {});
    std::reverse(entries.begin(), entries.end());
    const QList<Moderation::Action> log = keeper.log();
    const auto state = [](const Moderation::Kept &entry) { return entry.rank > 0 ? u"shown"_s : u"hidden"_s; };
    if (asJson) {
        QJsonArray shown;
        for (const Moderation::Kept &entry : entries)
            shown.append(QJsonObject{{u"id"_s, entry.id}, {u"name"_s, entry.name}, {u"code"_s, entry.code},
                                     {u"days"_s, entry.days}, {u"state"_s, state(entry)},
                                     {u"rank"_s, entry.rank}, {u"registered"_s, timeOf(entry.registered)}});
        QJsonArray actions;
        for (const Moderation::Action &action : log)
            actions.append(QJsonObject{{u"at"_s, timeOf(action.at)}, {u"actor"_s, action.actor},
                                       {u"action"_s, action.action}, {u"entry"_s, action.entry},
                                       {u"reason"_s, action.reason}});
        return QString::fromUtf8(
            QJsonDocument(QJsonObject{{u"entries"_s, shown}, {u"moderation"_s, actions}}).toJson());
    }
    // Two tables, each under its own header, a blank line between them.
    const auto row = [](const QStringList &fields) {
        QStringList quoted;
        for (QString field : fields)
            quoted.append(u'"' + field.replace(u'"', "\"\""_L1) + u'"');
        return quoted.join(u',') + u"\r\n"_s;
    };
    QString text = row({u"id"_s, u"name"_s, u"code"_s, u"days"_s, u"state"_s, u"rank"_s, u"registered"_s});
    for (const Moderation::Kept &entry : entries)
        text += row({QString::number(entry.id), entry.name, entry.code, QString::number(entry.days), state(entry),
                     QString::number(entry.rank), timeOf(entry.registered)});
    text += u"\r\n"_s + row({u"at"_s, u"actor"_s, u"action"_s, u"entry"_s, u"reason"_s});
    for (const Moderation::Action &action : log)
        text += row({timeOf(action.at), action.actor, action.action, QString::number(action.entry), action.reason});
    return text;
}

// The copy's own check, the whole file read: "ok", or what is wrong.
QString checked(const QString &file)
{
    const QString name = u"suiran-backup-check"_s;
    QString answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(file);
        db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
        QSqlQuery query(db);
        if (!db.open() || !query.exec(u"PRAGMA integrity_check"_s) || !query.next())
            answer = u"cannot be read"_s;
        else
            answer = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(name);
    return answer;
}

bool synced(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool done = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return done;
}

// A copy of the live hall of fame: written beside the target as a file only
// its owner reads from the start, checked, on disk, and only then given the
// target's name, so that a backup there is always a whole one.
QString backUp(Moderation &keeper, const QString &target)
{
    const QFileInfo info(target);
    const QString partial = info.absolutePath() + u"/."_s + info.fileName() + u".partial"_s;
    QFile::remove(partial);
    const int fd = ::open(QFile::encodeName(partial).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return u"cannot write %1: %2"_s.arg(partial, QString::fromLocal8Bit(strerror(errno)));
    ::close(fd);
    QString why;
    try {
        keeper.copyInto(partial);
        if (const QString answer = checked(partial); answer != "ok"_L1)
            why = u"the copy does not pass its check: %1"_s.arg(answer);
    } catch (const StoreError &error) {
        why = error.why();
    }
    if (why.isEmpty() && !synced(partial))
        why = u"cannot put the copy on disk"_s;
    if (why.isEmpty() && ::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0)
        why = u"cannot name the copy %1: %2"_s.arg(target, QString::fromLocal8Bit(strerror(errno)));
    if (!why.isEmpty()) {
        QFile::remove(partial);
        return why;
    }
    synced(info.absolutePath());
    return {};
}

} // namespace

int runAdmin(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    const QCommandLineOption database(u"database"_s, {}, u"URL"_s, defaultDatabaseUrl());
    const QCommandLineOption passwordFile(u"database-password-file"_s, {}, u"FILE"_s);
    const QCommandLineOption recent(u"recent"_s, {}, u"N"_s, u"50"_s);
    const QCommandLineOption name(u"name"_s, {}, u"TEXT"_s);
    const QCommandLineOption reason(u"reason"_s, {}, u"TEXT"_s);
    const QCommandLineOption blocked(u"blocked"_s, {});
    const QCommandLineOption wordList(u"blocked-words"_s, {}, u"FILE"_s);
    const QCommandLineOption format(u"format"_s, {}, u"csv|json"_s);
    parser.addOptions({database, passwordFile, recent, name, reason, blocked, wordList, format});
    const auto fail = [&err](const QString &why, int status) {
        err << "suiranjuku-homepage admin: " << why << Qt::endl;
        return status;
    };
    QStringList withoutAdmin = arguments;
    withoutAdmin.removeAt(1);
    if (!parser.parse(withoutAdmin))
        return fail(parser.errorText(), 2);
    const QStringList positional = parser.positionalArguments();
    const QString command = positional.value(0);
    const std::optional<qint64> id = submission::wholeNumber(positional.value(1));
    const std::optional<qint64> count = submission::wholeNumber(parser.value(recent));
    const bool takesId = command == "show"_L1 || command == "hide"_L1 || command == "unhide"_L1;
    const bool exporting = command == "export"_L1;
    const bool fits = takesId                ? positional.size() == 2 && id
        : command == "backup"_L1             ? positional.size() == 2
        : exporting                          ? positional.size() == 1
            && (parser.value(format) == "csv"_L1 || parser.value(format) == "json"_L1)
                                             : (command == "list"_L1 || command == "log"_L1) && positional.size() == 1;
    if (!fits || !count || *count < 1 || *count > 1'000'000) {
        err << usage;
        return 2;
    }
    if (command == "hide"_L1 && parser.value(reason).trimmed().isEmpty())
        return fail(u"hide needs --reason TEXT: the log keeps why"_s, 2);
    WordList words;
    if (parser.isSet(blocked)) {
        if (!parser.isSet(wordList))
            return fail(u"--blocked needs --blocked-words FILE, the list the server reads"_s, 2);
        if (QString why; !words.load(parser.value(wordList), why))
            return fail(u"cannot read the word list %1: %2"_s.arg(parser.value(wordList), why), 1);
    }

    QString password;
    if (parser.isSet(passwordFile)) {
        QFile file(parser.value(passwordFile));
        if (!file.open(QIODevice::ReadOnly))
            return fail(u"cannot read the password file %1: %2"_s.arg(file.fileName(), file.errorString()), 1);
        password = QString::fromUtf8(file.readLine()).remove(u'\n').remove(u'\r');
    }
    const QString url = parser.value(database);
    // A command never makes a hall of fame of its own where none is: a
    // mistyped path would leave an empty one behind, owned by whoever ran it.
    if (url.startsWith("sqlite:"_L1) && !QFileInfo::exists(url.mid(7)))
        return fail(u"there is no hall of fame at %1"_s.arg(url.mid(7)), 1);
    SystemWallClock clock;
    try {
        const std::unique_ptr<Moderation> keeper = openModeration(url, clock, password);
        if (command == "list"_L1) {
            // With the word list: every entry it would refuse today, however old.
            constexpr int everyEntry = std::numeric_limits<int>::max();
            const bool filtering = parser.isSet(blocked);
            for (const Moderation::Kept &entry : keeper->recent(filtering ? everyEntry : int(*count), parser.value(name))) {
                if (!filtering || words.refuses(entry.name))
                    out << line(entry) << '\n';
            }
        } else if (command == "backup"_L1) {
            if (const QString why = backUp(*keeper, positional[1]); !why.isEmpty())
                return fail(why, 1);
            out << "backed up into " << positional[1] << '\n';
        } else if (exporting) {
            out << exported(*keeper, parser.value(format) == "json"_L1);
        } else if (command == "log"_L1) {
            for (const Moderation::Action &action : keeper->log())
                out << line(action) << '\n';
        } else if (command == "show"_L1) {
            const std::optional<Moderation::Kept> entry = keeper->kept(*id);
            if (!entry)
                return fail(u"no entry %1"_s.arg(*id), 1);
            out << line(*entry) << '\n';
            for (const Moderation::Action &action : keeper->log()) {
                if (action.entry == *id)
                    out << line(action) << '\n';
            }
        } else {
            const bool hiding = command == "hide"_L1;
            const Moderation::Outcome outcome = hiding ? keeper->hide(*id, parser.value(reason), osUser())
                                                       : keeper->unhide(*id, parser.value(reason), osUser());
            if (outcome == Moderation::Outcome::NoSuchEntry)
                return fail(u"no entry %1"_s.arg(*id), 1);
            out << (outcome == Moderation::Outcome::AlreadySo ? u"entry %1 was %2 already"_s : u"entry %1 %2"_s)
                       .arg(*id)
                       .arg(hiding ? u"hidden"_s : u"shown"_s)
                << '\n';
        }
    } catch (const StoreError &error) {
        return fail(error.why(), 1);
    }
    out.flush();
    return 0;
}
