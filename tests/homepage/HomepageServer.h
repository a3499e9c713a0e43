#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QTcpSocket;

// A fresh, empty hall of fame for one test, in the kind of database the suite
// runs on, gone with the test. SUIRAN_TEST_DATABASE names the kind:
//   sqlite (the default)  a new file in a temporary folder
//   postgresql            the server tools/scratch-postgres.sh started
//                         (SUIRAN_PG_URL, PGPASSWORD): a role of its own
//                         whose tables go into a schema of its own
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    static bool onPostgresql();

    const QString &url() const { return url_; }
    // Runs one statement on the database as the server sees it; false, with
    // a warning, when it fails.
    bool run(const QString &sql) const { return value(sql).has_value(); }
    // The same, and the first value it answers (an invalid one for no row).
    std::optional<QVariant> value(const QString &sql) const;
    // PostgreSQL only: the whole server set read-only (or writable again)
    // by its configuration, as an operator does, under the connections it
    // has; false, with a warning, when it fails.
    static bool setReadOnly(bool readOnly);

private:
    QTemporaryDir folder_;
    QString role_;   // PostgreSQL only
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

// POST /api/results of one body to each port, sent only once a connection to
// every port stands, so that the servers take them at the same moment.
QList<Reply> postJsonAtOnce(const QList<quint16> &ports, const QByteArray &body);

// A page of metrics read strictly as Prometheus' text format 0.0.4: the
// samples by name and labels as written (name{a="x"}), or what is wrong.
struct Exposition {
    QMap<QString, double> samples;
    QString fault;
};

Exposition readExposition(const QByteArray &text);

// The body of POST /api/results for a name and a code.
QByteArray registration(const QString &name, const QString &code);

// The program itself (SUIRANJUKU_HOMEPAGE names it), run once to its end;
// `unprivileged`: as the user nobody when the test runs as root, for whom
// permissions hold.
struct Run {
    int exitCode;   // -1: it crashed or did not end
    QString out;
    QString err;
};
Run runHomepage(const QStringList &arguments, bool unprivileged = false);

// The program serving a database on a free port of 127.0.0.1, as a child
// process that is killed when this goes, whether the test passed or not.
class HomepageServer {
public:
    explicit HomepageServer(const QString &databaseUrl, const QStringList &options = {},
                            const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    ~HomepageServer();

    // Starts it and waits for its "listening on" line; false when it did not
    // come (the reason in errors()).
    bool start()
    {
        launch();
        return waitUntilListening();
    }
    // The two halves of start(), for servers started at the same moment.
    void launch();
    bool waitUntilListening();
    quint16 port() const { return port_; }
    // Where it serves GET /metrics, with --metrics-listen 127.0.0.1:0; else 0.
    quint16 metricsPort() const { return metricsPort_; }
    qint64 pid() const { return process_.processId(); }
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
    QStringList options_;
    QProcess process_;
    quint16 port_ = 0;
    quint16 metricsPort_ = 0;
    QString errors_;
};

// Registrations sent one after another on each of a few kept-open
// connections, every one a new name, for as long as the test spins the event
// loop: the load that a crash or an outage is put under. A connection the
// server drops is not opened again. Sends no more than `most` in all.
class RegistrationLoad {
public:
    RegistrationLoad(quint16 port, int connections, int most = 5000);
    ~RegistrationLoad();

    // Answered 201, in the order answered.
    const QList<QJsonObject> &created() const { return created_; }
    // How many answers of each status.
    const QMap<int, int> &statuses() const { return statuses_; }
    // Answers received that were not a whole HTTP answer with a JSON body.
    int garbled() const { return garbled_; }
    // The longest any answer took, in milliseconds.
    qint64 slowest() const { return slowest_; }
    // The Japanese message of the last 503.
    const QString &unavailableMessage() const { return unavailable_; }
    void stop();

private:
    struct Connection {
        std::unique_ptr<QTcpSocket> socket;
        QByteArray received;
        QElapsedTimer asked;
    };
    void sendNext(Connection &connection);
    void read(Connection &connection);

    std::vector<std::unique_ptr<Connection>> connections_;
    QList<QJsonObject> created_;
    QMap<int, int> statuses_;
    QString unavailable_;
    int garbled_ = 0;
    qint64 slowest_ = 0;
    int sent_ = 0;
    int most_;
    bool stopped_ = false;
};
