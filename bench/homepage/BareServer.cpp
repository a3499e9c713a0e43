// The most this machine's Qt HTTP server can give, for bench/homepage.sh to
// hold the home page against: answers every request with a constant text,
// on one thread as the home page does. Given a database URL, it first makes
// one bare insert per request there, committed before the answer.
//   suiran_bare_server [sqlite:PATH | postgresql://USER@HOST:PORT/NAME]
// Listens on a free port of 127.0.0.1 and prints "listening on URL".

#include "Database.h"

#include <QAbstractHttpServer>
#include <QCoreApplication>
#include <QHttpServerResponder>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpServer>

#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

class BareServer final : public QAbstractHttpServer {
public:
    explicit BareServer(std::optional<QSqlQuery> insert) : insert_(std::move(insert)) {}

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        if (insert_) {
            insert_->bindValue(0, ++count_);
            if (!insert_->exec())
                qFatal("%s", qPrintable(insert_->lastError().text()));
        }
        // Qt's own responder, as a bare Qt server writes.
        QHttpServerResponder responder = makeResponder(request, socket);
        responder.writeStatusLine(QHttpServerResponder::StatusCode::Ok);
        responder.writeHeader("Content-Type"_ba, "text/plain; charset=utf-8"_ba);
        responder.writeHeader("Content-Length"_ba, QByteArray::number(body.size()));
        responder.writeBody(body);
        return true;
    }
    void missingHandler(const QHttpServerRequest &, QTcpSocket *) override {}

private:
    static inline const QByteArray body = "ok\n"_ba;
    std::optional<QSqlQuery> insert_;
    qint64 count_ = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::optional<QSqlQuery> insert;
    if (argc > 1) {
        QSqlDatabase db = openDatabase(QString::fromLocal8Bit(argv[1]));
        runOrDie(db, u"CREATE TABLE IF NOT EXISTS bare_inserts (n BIGINT NOT NULL)"_s);
        insert.emplace(db);
        insert->prepare(u"INSERT INTO bare_inserts (n) VALUES (?)"_s);
    }
    BareServer server(std::move(insert));
    auto *tcp = new QTcpServer(&server);
    if (!tcp->listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "cannot listen: %s\n", qPrintable(tcp->errorString()));
        return 1;
    }
    server.bind(tcp);
    std::printf("listening on http://127.0.0.1:%u/\n", unsigned(tcp->serverPort()));
    std::fflush(stdout);
    return app.exec();
}
