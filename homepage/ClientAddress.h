#pragma once

#include <QByteArrayView>
#include <QHostAddress>
#include <QList>

// The address a request comes from, for the limit of registrations. Without
// trusted proxies, or from any other peer, it is the peer's own: anyone can
// write an X-Forwarded-For. From a trusted proxy it is the right-most address
// of X-Forwarded-For that is not itself a trusted proxy: each proxy appends
// the address it was reached from, so everything left of that was written by
// the client and proves nothing. An entry that is no address ends the search
// at the peer.
// Whether the peer is one of the trusted proxies.
bool isTrustedProxy(const QHostAddress &peer, const QList<QHostAddress> &trustedProxies);

// The address a client is counted by, for every limit per client: an IPv4
// address as it is, also when seen through an IPv6 socket; an IPv6 address
// by its /64, the network one household is given.
QHostAddress countedAs(const QHostAddress &client);

QHostAddress clientAddress(const QHostAddress &peer, QByteArrayView forwardedFor,
                           const QList<QHostAddress> &trustedProxies);
