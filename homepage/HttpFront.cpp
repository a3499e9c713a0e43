#include "homepage/HttpFront.h"

#include "homepage/ClientAddress.h"
#include "homepage/Registrar.h"
#include "homepage/RevisionProbe.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>

#include <QHash>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <list>

#include <thread>
#include <unordered_set>

using namespace Qt::StringLiterals;

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;
using error_code = boost::system::error_code;

namespace {

// What one request may take, each refused with its own answer: far more than
// any request of this site needs. A registration's body over 4 KiB is
// refused by the site itself, with its own page.
constexpr std::size_t longestRequestLine = 8 * 1024;   // 414
constexpr std::size_t largestHead = 16 * 1024;         // 431
constexpr std::size_t mostFields = 100;                // 431
constexpr std::uint64_t largestBody = 64 * 1024;       // 413

// A connection closed after its answer still has what the client sends
// taken and dropped for this long, so that the client reads the answer
// rather than a reset.
constexpr std::chrono::seconds lingering{2};
// How long a connection taken as the server stops has for its first request.
constexpr std::chrono::seconds firstRequestWhileStopping{1};
// Out of descriptors, accepting pauses this long rather than trying again
// at once, which would spin.
constexpr std::chrono::milliseconds acceptPause{250};

// Every status this server answers with.
const std::pair<int, const char *> reasons[] = {
    {200, "OK"},
    {201, "Created"},
    {303, "See Other"},
    {400, "Bad Request"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {413, "Content Too Large"},
    {414, "URI Too Long"},
    {415, "Unsupported Media Type"},
    {417, "Expectation Failed"},
    {429, "Too Many Requests"},
    {431, "Request Header Fields Too Large"},
    {501, "Not Implemented"},
    {503, "Service Unavailable"},
    {505, "HTTP Version Not Supported"},
};

QByteArray reasonFor(int status)
{
    for (const auto &[known, reason] : reasons) {
        if (known == status)
            return QByteArray(reason);
    }
    return "Unknown"_ba;
}

// The answer to what never reaches the site: a request HTTP does not allow,
// or a connection over the limit. The connection closes after it.
QByteArray refusal(int status)
{
    const QByteArray reason = reasonFor(status);
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason
        + "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " + QByteArray::number(reason.size() + 1)
        + "\r\nConnection: close\r\n\r\n" + reason + '\n';
}

QByteArray bytes(beast::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

QHostAddress qtAddress(const asio::ip::address &address)
{
    if (address.is_v4())
        return QHostAddress(address.to_v4().to_uint());
    const auto v6 = address.to_v6().to_bytes();
    return QHostAddress(v6.data());
}

using Head = http::request_parser<http::string_body>;

// What HTTP/1.1 (and nginx) refuse in a request's head, checked the same
// whatever Beast's version lets through: the status to answer, or 0.
int refusalOf(const Head &parser)
{
    const auto &head = parser.get();
    if (head.version() != 10 && head.version() != 11)
        return 505;
    if (head.target().size() > longestRequestLine)
        return 414;
    if (std::size_t(std::distance(head.begin(), head.end())) > mostFields)
        return 431;
    // A request without a Host, or with two, is read differently by
    // different servers on its way: refused.
    const std::size_t hosts = head.count(http::field::host);
    if (hosts > 1 || (head.version() == 11 && hosts == 0))
        return 400;
    // Two lengths, even the same one twice, or a list of them.
    if (head.count(http::field::content_length) > 1
        || head[http::field::content_length].find(',') != beast::string_view::npos)
        return 400;
    if (head.count(http::field::transfer_encoding) > 0) {
        if (head.version() == 10 || head.count(http::field::content_length) > 0)
            return 400;
        // Only chunked alone is a coding this server reads.
        beast::string_view coding = head[http::field::transfer_encoding];
        while (!coding.empty() && (coding.front() == ' ' || coding.front() == '\t'))
            coding.remove_prefix(1);
        while (!coding.empty() && (coding.back() == ' ' || coding.back() == '\t'))
            coding.remove_suffix(1);
        if (head.count(http::field::transfer_encoding) > 1 || !beast::iequals(coding, "chunked"))
            return 501;
    }
    const beast::string_view target = head.target();
    if (target.empty() || (target.front() != '/' && !target.starts_with("http://") && !target.starts_with("https://")))
        return 400;
    if (head.count(http::field::expect) > 0 && !beast::iequals(head[http::field::expect], "100-continue"))
        return 417;
    return 0;
}

// The status for a head or body Beast could not read.
int refusalOf(const error_code &error, const Head &parser)
{
    if (error == http::error::body_limit)
        return 413;
    if (error == http::error::bad_version)
        return 505;
    // The request line alone past the limit of the head (it is taken from
    // the buffer once whole), or the fields after it.
    if (error == http::error::header_limit || error == http::error::buffer_overflow)
        return parser.get().target().empty() ? 414 : 431;
    return 400;
}

} // namespace

// The network's side, on a thread of its own: the listening sockets and every
// connection, on one Asio context (epoll: an idle connection costs nothing
// per request of the others).
class HttpFront::Network {
public:
    Network(HttpFront &front, const Options &options)
        : front_(front), idleLimit_(options.idleLimit), perAddress_(options.connectionsPerAddress),
          trustedProxies_(options.trustedProxies)
    {
    }

    ~Network();

    quint16 listen(const QHostAddress &address, quint16 port, QString &error);
    void run()
    {
        if (!thread_.joinable())
            thread_ = std::thread([this] { context_->run(); });
    }

    // From the front's thread.
    void answer(const Ticket &session, Response response);
    void stop()
    {
        asio::post(*context_, [this] { stopOnThisThread(); });
    }

    // On the network's thread, for the sessions.
    bool stopping() const { return stopping_; }
    std::chrono::milliseconds idleLimit() const { return idleLimit_; }
    void deliver(Request request, const std::shared_ptr<Session> &session);
    void forget(Session &session);

private:
    void accept(tcp::acceptor &acceptor);
    void take(tcp::socket socket);
    void stopOnThisThread();
    void doneIfEmpty();

    HttpFront &front_;
    const std::chrono::milliseconds idleLimit_;
    const int perAddress_;
    const QList<QHostAddress> trustedProxies_;
    std::unique_ptr<asio::io_context> context_ = std::make_unique<asio::io_context>(1);
    // Runs until the front goes, also while every connection waits for the
    // site and nothing is listened on any more.
    asio::executor_work_guard<asio::io_context::executor_type> running_{context_->get_executor()};
    std::list<tcp::acceptor> acceptors_;
    std::optional<asio::steady_timer> acceptPause_{std::in_place, *context_};
    std::unordered_set<Session *> sessions_;
    // Open connections from each client address (an IPv6 one by its /64).
    QHash<QHostAddress, int> connections_;
    bool stopping_ = false;
    bool closing_ = false;   // being destroyed: nothing goes to the front any more
    std::thread thread_;

    friend class HttpFront::Session;
};

// One connection: reads a request, hands it to the site, writes its answer,
// and only then reads the next one.
class HttpFront::Session : public std::enable_shared_from_this<HttpFront::Session> {
public:
    Session(Network &network, tcp::socket socket, const QHostAddress &peer, std::optional<QHostAddress> counted)
        : network_(network), socket_(std::move(socket)), timer_(socket_.get_executor()), peer_(peer),
          counted_(std::move(counted)), buffer_(largestHead + 1024)
    {
        network_.sessions_.insert(this);
        if (counted_)
            ++network_.connections_[*counted_];
    }

    ~Session()
    {
        if (counted_ && --network_.connections_[*counted_] == 0)
            network_.connections_.remove(*counted_);
        network_.forget(*this);
    }

    void start(bool overTheLimit)
    {
        if (overTheLimit)
            refuse(429);
        else
            waitForRequest();
    }

    // The site's answer to the request in hand.
    void answer(const Response &response)
    {
        inHand_.reset();
        const bool close = !keepAlive_ || network_.stopping();
        QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonFor(response.status)
            + "\r\nContent-Type: " + response.type + "\r\nContent-Length: " + QByteArray::number(response.body.size())
            + "\r\n";
        for (const auto &[name, value] : response.headers)
            out += name + ": " + value + "\r\n";
        if (close)
            out += "Connection: close\r\n";
        else if (version_ == 10)
            out += "Connection: keep-alive\r\n";
        out += "\r\n";
        // One write, one segment: an answer split in two would wait for the
        // client's delayed acknowledgement of the first part.
        if (!head_)
            out += response.body;
        ++answered_;
        send(std::move(out), close);
    }

    // The server stops: a connection waiting for its next request closes
    // now. One just taken gets a moment for its first request, which its
    // client is sending, rather than a reset.
    void stopIfIdle()
    {
        error_code error;
        if (state_ != State::Idle || buffer_.size() > 0 || socket_.available(error) > 0)
            return;
        if (answered_ > 0)
            closeNow();
        else
            arm(std::min<std::chrono::milliseconds>(network_.idleLimit(), firstRequestWhileStopping));
    }

    // The server goes: nothing keeps this any more.
    void drop() { inHand_.reset(); }

private:
    enum class State { Idle, Reading, WithTheSite, Writing, Closing };

    void arm(std::chrono::milliseconds limit)
    {
        timer_.expires_after(limit);
        timer_.async_wait([weak = weak_from_this()](const error_code &error) {
            if (error)
                return;
            if (const auto self = weak.lock())
                self->closeNow();
        });
    }

    void closeNow()
    {
        error_code ignored;
        socket_.close(ignored);
        timer_.cancel();
    }

    void waitForRequest()
    {
        state_ = State::Idle;
        arm(network_.idleLimit());
        // Sent already behind the last request: the next one has begun.
        if (buffer_.size() > 0)
            return readHead();
        // An idle connection keeps no buffer: thousands of them cost little.
        buffer_.shrink_to_fit();
        socket_.async_wait(tcp::socket::wait_read, [self = shared_from_this()](const error_code &error) {
            if (!error)
                self->readHead();
        });
    }

    void readHead()
    {
        // A request begins: it has as long to come in whole as an idle
        // connection has to begin one.
        state_ = State::Reading;
        arm(network_.idleLimit());
        parser_.emplace();
        parser_->header_limit(std::uint32_t(largestHead));
        parser_->body_limit(largestBody);
        http::async_read_header(socket_, buffer_, *parser_,
                                [self = shared_from_this()](const error_code &error, std::size_t) {
                                    self->onHead(error);
                                });
    }

    void onHead(const error_code &error)
    {
        if (error)
            return failed(error);
        if (const int status = refusalOf(*parser_))
            return refuse(status);
        const auto &head = parser_->get();
        if (!parser_->is_done() && head.version() == 11 && head.count(http::field::expect) > 0) {
            static const QByteArray goOn = "HTTP/1.1 100 Continue\r\n\r\n"_ba;
            asio::async_write(socket_, asio::buffer(goOn.constData(), std::size_t(goOn.size())),
                              [self = shared_from_this()](const error_code &error, std::size_t) {
                                  if (!error)
                                      self->readBody();
                              });
            return;
        }
        readBody();
    }

    void readBody()
    {
        if (parser_->is_done())
            return toTheSite();
        http::async_read(socket_, buffer_, *parser_, [self = shared_from_this()](const error_code &error, std::size_t) {
            if (error)
                return self->failed(error);
            self->toTheSite();
        });
    }

    void failed(const error_code &error)
    {
        // Gone, or closed here: nothing to answer to.
        if (error == http::error::end_of_stream || error == asio::error::eof
            || error == asio::error::operation_aborted || error == asio::error::bad_descriptor
            || error == asio::error::connection_reset || !socket_.is_open())
            return closeNow();
        refuse(refusalOf(error, *parser_));
    }

    void toTheSite()
    {
        auto &message = parser_->get();
        const QUrl url = QUrl::fromEncoded(bytes(message.target()));
        if (!url.isValid())
            return refuse(400);
        Request request;
        request.method = bytes(message.method_string());
        request.path = url.path();
        request.query = QUrlQuery(url);
        for (const auto &field : message) {
            QByteArray &kept = request.headers[bytes(field.name_string()).toLower()];
            const QByteArray value = bytes(field.value());
            kept = kept.isEmpty() ? value : kept + ", " + value;
        }
        request.body = QByteArray::fromStdString(message.body());
        request.client = peer_;
        keepAlive_ = message.keep_alive();
        version_ = message.version();
        head_ = message.method() == http::verb::head;
        parser_.reset();
        // Nothing is read and no time runs while the site answers; this
        // keeps itself until then.
        state_ = State::WithTheSite;
        timer_.cancel();
        inHand_ = shared_from_this();
        network_.deliver(std::move(request), inHand_);
    }

    void refuse(int status)
    {
        keepAlive_ = false;
        send(refusal(status), true);
    }

    void send(QByteArray out, bool close)
    {
        state_ = State::Writing;
        out_ = std::move(out);
        // A client that does not read its answer is cut like one that
        // says nothing.
        arm(network_.idleLimit());
        asio::async_write(socket_, asio::buffer(out_.constData(), std::size_t(out_.size())),
                          [self = shared_from_this(), close](const error_code &error, std::size_t) {
                              self->out_.clear();
                              if (error)
                                  return self->closeNow();
                              if (close)
                                  return self->linger();
                              self->waitForRequest();
                          });
    }

    void linger()
    {
        state_ = State::Closing;
        error_code ignored;
        socket_.shutdown(tcp::socket::shutdown_send, ignored);
        arm(lingering);
        drain();
    }

    void drain()
    {
        buffer_.clear();
        socket_.async_read_some(buffer_.prepare(4096), [self = shared_from_this()](const error_code &error, std::size_t) {
            if (error)
                return self->closeNow();
            self->drain();
        });
    }

    Network &network_;
    tcp::socket socket_;
    asio::steady_timer timer_;
    const QHostAddress peer_;
    const std::optional<QHostAddress> counted_;   // as counted against the limit per address
    beast::flat_buffer buffer_;
    std::optional<Head> parser_;
    QByteArray out_;
    State state_ = State::Idle;
    bool keepAlive_ = false;
    bool head_ = false;
    unsigned version_ = 11;
    qint64 answered_ = 0;
    std::shared_ptr<Session> inHand_;   // itself, while the site answers
};

HttpFront::Network::~Network()
{
    closing_ = true;
    context_->stop();
    if (thread_.joinable())
        thread_.join();
    // Dropping one may end it, which takes it out of the set.
    const std::vector<Session *> open(sessions_.cbegin(), sessions_.cend());
    for (Session *session : open)
        session->drop();
    acceptors_.clear();
    acceptPause_.reset();
    running_.reset();
    // The sessions go with the handlers that hold them, while all they use is still here.
    context_.reset();
}

quint16 HttpFront::Network::listen(const QHostAddress &address, quint16 port, QString &error)
{
    tcp::acceptor acceptor(*context_);
    try {
        const tcp::endpoint endpoint(asio::ip::make_address(address.toString().toStdString()), port);
        acceptor.open(endpoint.protocol());
        acceptor.set_option(tcp::acceptor::reuse_address(true));
        acceptor.bind(endpoint);
        acceptor.listen(asio::socket_base::max_listen_connections);
    } catch (const boost::system::system_error &failure) {
        error = QString::fromStdString(failure.code().message());
        return 0;
    }
    tcp::acceptor &listening = acceptors_.emplace_back(std::move(acceptor));
    accept(listening);
    return listening.local_endpoint().port();
}

void HttpFront::Network::accept(tcp::acceptor &acceptor)
{
    acceptor.async_accept([this, &acceptor](const error_code &error, tcp::socket socket) {
        if (stopping_ || error == asio::error::operation_aborted)
            return;
        const int code = error.value();
        if (error.category() == asio::error::get_system_category()
            && (code == EMFILE || code == ENFILE || code == ENOBUFS || code == ENOMEM)) {
            // The connections wait in the listen queue meanwhile; the log
            // says it once a minute, not once a try.
            qWarning("out of open files (%s): new connections wait", error.message().c_str());
            acceptPause_->expires_after(acceptPause);
            acceptPause_->async_wait([this, &acceptor](const error_code &error) {
                if (!error && !stopping_)
                    accept(acceptor);
            });
            return;
        }
        if (!error)
            take(std::move(socket));
        accept(acceptor);
    });
}

void HttpFront::Network::take(tcp::socket socket)
{
    error_code error;
    const tcp::endpoint peer = socket.remote_endpoint(error);
    if (error)
        return;   // gone already
    // Every answer goes out whole in one write: nothing to gather.
    socket.set_option(tcp::no_delay(true), error);
    const QHostAddress address = qtAddress(peer.address());
    std::optional<QHostAddress> counted;
    if (perAddress_ > 0 && !isTrustedProxy(address, trustedProxies_))
        counted = countedAs(address);
    auto session = std::make_shared<Session>(*this, std::move(socket), address, counted);
    const bool over = counted && connections_[*counted] > perAddress_;
    if (over)
        qWarning("refused connections over the limit of %d from one address", perAddress_);
    session->start(over);
}

void HttpFront::Network::deliver(Request request, const std::shared_ptr<Session> &session)
{
    QMetaObject::invokeMethod(&front_, [front = &front_, request = std::move(request), ticket = Ticket(session)] {
        front->take(request, ticket);
    }, Qt::QueuedConnection);
}

void HttpFront::Network::answer(const Ticket &ticket, Response response)
{
    asio::post(*context_, [ticket, response = std::move(response)] {
        if (const auto session = ticket.lock())
            session->answer(response);
    });
}

void HttpFront::Network::stopOnThisThread()
{
    stopping_ = true;
    acceptPause_->cancel();
    for (tcp::acceptor &acceptor : acceptors_) {
        // Connections that clients have made but that wait to be taken are
        // requests in hand too: closing would reset them.
        error_code error;
        acceptor.non_blocking(true, error);
        while (!error) {
            tcp::socket socket = acceptor.accept(error);
            if (!error)
                take(std::move(socket));
        }
        acceptor.close(error);
    }
    const std::vector<Session *> open(sessions_.cbegin(), sessions_.cend());
    for (Session *session : open)
        session->stopIfIdle();
    doneIfEmpty();
}

void HttpFront::Network::forget(Session &session)
{
    sessions_.erase(&session);
    doneIfEmpty();
}

void HttpFront::Network::doneIfEmpty()
{
    if (!stopping_ || closing_ || !sessions_.empty())
        return;
    QMetaObject::invokeMethod(&front_, [front = &front_] {
        front->networkDone_ = true;
        front->finishWhenDone();
    }, Qt::QueuedConnection);
}

HttpFront::HttpFront(Handler &handler, const Options &options, RevisionProbe *probe, Registrar *registrar,
                     QObject *parent)
    : QObject(parent), handler_(handler), probe_(probe), registrar_(registrar),
      network_(std::make_unique<Network>(*this, options))
{
    if (probe_) {
        connect(probe_, &RevisionProbe::answered, this, [this](const QByteArray &revision) {
            answerWaiting(std::exchange(asked_, 0), revision);
            scheduleAnswers();
        });
    }
}

HttpFront::~HttpFront() = default;

quint16 HttpFront::listenOn(const QHostAddress &address, quint16 port, QString &error)
{
    const quint16 listening = network_->listen(address, port, error);
    if (listening != 0)
        network_->run();
    return listening;
}

void HttpFront::finish(std::chrono::milliseconds patience)
{
    finishing_ = true;
    network_->stop();
    // Past the patience, it ends with whatever is still in hand.
    QTimer::singleShot(patience, this, [this] {
        networkDone_ = true;
        waiting_.clear();
        finishWhenDone();
    });
}

void HttpFront::finishWhenDone()
{
    if (!finishing_ || !networkDone_ || !waiting_.isEmpty())
        return;
    finishing_ = false;
    emit finished();
}

void HttpFront::take(Request request, Ticket session)
{
    if (registrar_ && handler_.writes(request)) {
        registrar_->take(request, [this, session](const Response &response) { network_->answer(session, response); });
        return;
    }
    waiting_.append({std::move(request), std::move(session)});
    scheduleAnswers();
}

void HttpFront::scheduleAnswers()
{
    if (asked_ > 0 || answerQueued_ || waiting_.isEmpty())
        return;
    // Only an answer kept until the hall of fame changes needs the question
    // asked first; a registration goes to the database anyway, a file or the
    // health check never reads the kept answers.
    const bool reading = std::any_of(waiting_.cbegin(), waiting_.cend(),
                                     [this](const Waiting &one) { return handler_.readsKeptAnswer(one.request); });
    if (probe_ && reading) {
        asked_ = waiting_.size();
        probe_->ask();
        return;
    }
    // Answered once every request that has come in with this one is read.
    answerQueued_ = true;
    QMetaObject::invokeMethod(this, [this] {
        answerQueued_ = false;
        answerWaiting(waiting_.size(), {});
        scheduleAnswers();
    }, Qt::QueuedConnection);
}

void HttpFront::answerWaiting(qsizetype count, const QByteArray &revision)
{
    count = std::min(count, waiting_.size());
    const QList<Waiting> waiting = waiting_.first(count);
    waiting_.remove(0, count);
    QList<Request> requests;
    requests.reserve(waiting.size());
    for (const Waiting &one : waiting)
        requests.append(one.request);
    const QList<Response> responses = handler_.handle(requests, revision);
    for (qsizetype i = 0; i < waiting.size(); ++i)
        network_->answer(waiting[i].session, responses[i]);
}
