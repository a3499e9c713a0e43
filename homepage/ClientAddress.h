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
QHostAddress clientAddress(const QHostAddress &peer, QByteArrayView forwardedFor,
                           const QList<QHostAddress> &trustedProxies);
