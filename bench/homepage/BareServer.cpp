// The most this machine's HTTP server library (Boost Beast on Asio) can
// give, for bench/homepage.sh to hold the home page against: answers every
// request with a constant text, on one thread. Given a database URL, it
// first makes one bare insert per request there, committed before the answer.
//   suiran_bare_server [sqlite:PATH | postgresql://USER@HOST:PORT/NAME]
// Listens on a free port of 127.0.0.1 and prints "listening on URL".

#include "Database.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
namespace asio = boost::asio;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;
using error_code = boost::system::error_code;

namespace {

std::optional<QSqlQuery> insert;
qint64 inserted = 0;

class Connection : public std::enable_shared_from_this<Connection> {
public:
    explicit Connection(tcp::socket socket) : socket_(std::move(socket)) {}

    void read()
    {
        request_ = {};
        http::async_read(socket_, buffer_, request_, [self = shared_from_this()](const error_code &error, std::size_t) {
            if (!error)
                self->answer();
        });
    }

private:
    void answer()
    {
        if (insert) {
            insert->bindValue(0, ++inserted);
            if (!insert->exec())
                qFatal("%s", qPrintable(insert->lastError().text()));
        }
        response_ = {http::status::ok, request_.version()};
        response_.set(http::field::content_type, "text/plain; charset=utf-8");
        response_.body() = "ok\n";
        response_.keep_alive(request_.keep_alive());
        response_.prepare_payload();
        http::async_write(socket_, response_, [self = shared_from_this()](const error_code &error, std::size_t) {
            if (!error && self->response_.keep_alive())
                self->read();
        });
    }

    tcp::socket socket_;
    boost::beast::flat_buffer buffer_;
    http::request<http::string_body> request_;
    http::response<http::string_body> response_;
};

void accept(tcp::acceptor &acceptor)
{
    acceptor.async_accept([&acceptor](const error_code &error, tcp::socket socket) {
        if (!error) {
            socket.set_option(tcp::no_delay(true));
            std::make_shared<Connection>(std::move(socket))->read();
        }
        accept(acceptor);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 1) {
        QSqlDatabase db = openDatabase(QString::fromLocal8Bit(argv[1]));
        runOrDie(db, u"CREATE TABLE IF NOT EXISTS bare_inserts (n BIGINT NOT NULL)"_s);
        insert.emplace(db);
        insert->prepare(u"INSERT INTO bare_inserts (n) VALUES (?)"_s);
    }
    asio::io_context context(1);
    tcp::acceptor acceptor(context, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    accept(acceptor);
    std::printf("listening on http://127.0.0.1:%u/\n", unsigned(acceptor.local_endpoint().port()));
    std::fflush(stdout);
    context.run();
    return 0;
}
