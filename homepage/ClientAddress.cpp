#include "homepage/ClientAddress.h"

#include <algorithm>
#include <iterator>

bool isTrustedProxy(const QHostAddress &address, const QList<QHostAddress> &proxies)
{
    return std::any_of(proxies.cbegin(), proxies.cend(), [&address](const QHostAddress &proxy) {
        return address.isEqual(proxy, QHostAddress::TolerantConversion);
    });
}

QHostAddress countedAs(const QHostAddress &client)
{
    bool isIPv4 = false;
    const quint32 ipv4 = client.toIPv4Address(&isIPv4);
    if (isIPv4)
        return QHostAddress(ipv4);
    if (client.protocol() != QAbstractSocket::IPv6Protocol)
        return client;
    Q_IPV6ADDR network = client.toIPv6Address();
    std::fill(std::begin(network.c) + 8, std::end(network.c), quint8(0));
    return QHostAddress(network);
}

namespace {

// An entry as proxies write them: an address, an IPv4 address with a port,
// or an IPv6 address in brackets with or without one.
QHostAddress entryAddress(QByteArrayView entry)
{
    QByteArrayView host = entry.trimmed();
    if (host.startsWith('[')) {
        const qsizetype close = host.indexOf(']');
        host = close < 0 ? QByteArrayView() : host.sliced(1, close - 1);
    } else if (host.count(':') == 1) {
        host = host.first(host.indexOf(':'));
    }
    return QHostAddress(QString::fromLatin1(host));
}

} // namespace

QHostAddress clientAddress(const QHostAddress &peer, QByteArrayView forwardedFor,
                           const QList<QHostAddress> &trustedProxies)
{
    if (!isTrustedProxy(peer, trustedProxies))
        return peer;
    QHostAddress client = peer;
    const QList<QByteArray> entries = forwardedFor.toByteArray().split(',');
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
        if (entries.size() == 1 && entry->trimmed().isEmpty())
            break;   // no header at all
        const QHostAddress address = entryAddress(*entry);
        if (address.isNull())
            return peer;
        client = address;
        if (!isTrustedProxy(address, trustedProxies))
            break;
    }
    return client;
}
