#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

#include <utility>

// A fresh, empty hall of fame for one test, in the kind of database the suite
// runs on. SUIRAN_TEST_DATABASE names the kind: "sqlite" (the default), a new
// file in a temporary folder that goes with the test.
class TestDatabase {
public:
    TestDatabase();

    const QString &url() const { return url_; }
    // The file behind a SQLite URL; empty for any other kind.
    QString sqliteFile() const;

private:
    QTemporaryDir folder_;
    QString url_;
};

using Headers = QList<std::pair<QByteArray, QByteArray>>;

struct Reply {
    int status = 0;   // 0: no answer
    Headers headers;
    QByteArray body;

    QByteArray header(const QByteArray &name) const;   // the first, whatever its case
    QJsonObject json() const;
    QString text() const { return QString::fromUtf8(body); }
};

// One HTTP/1.1 request on a connection of its own to 127.0.0.1, sent from
// `from` (any address of 127.0.0.0/8: each is another client to the server).
Reply request(quint16 port, const QByteArray &method, const QByteArray &path, const Headers &headers = {},
              const QByteArray &body = {}, const QHostAddress &from = QHostAddress(QHostAddress::LocalHost));

// The program itself (SUIRANJUKU_HOMEPAGE names it), run once to its end.
struct Run {
    int exitCode;   // -1: it crashed or did not end
    QString out;
    QString err;
};
Run runHomepage(const QStringList &arguments);

// The program serving a database on a free port of 127.0.0.1, as a child
// process that is killed when this goes, whether the test passed or not.
class HomepageServer {
public:
    explicit HomepageServer(const QString &databaseUrl);
    ~HomepageServer();

    // Starts it and waits for its "listening on" line; false when it did not
    // come (the reason in errors()).
    bool start();
    quint16 port() const { return port_; }
    void signal(int signal);
    // Waits for the end: the exit code, or -1 when it did not exit by itself.
    int waitForExit();
    int stop(int signal)
    {
        this->signal(signal);
        return waitForExit();
    }
    QString errors();

    Reply get(const QByteArray &path, const QHostAddress &from = QHostAddress(QHostAddress::LocalHost)) const;
    Reply postJson(const QByteArray &body, const QHostAddress &from = QHostAddress(QHostAddress::LocalHost)) const;
    Reply postForm(const QByteArray &body, const Headers &headers = {},
                   const QHostAddress &from = QHostAddress(QHostAddress::LocalHost)) const;
    // POST /api/results of a name and a code, as JSON.
    Reply registerEntry(const QString &name, const QString &code,
                        const QHostAddress &from = QHostAddress(QHostAddress::LocalHost)) const;

private:
    QString database_;
    QProcess process_;
    quint16 port_ = 0;
    QString errors_;
};
