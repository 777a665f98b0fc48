#include "lib/net/IHTTPRequestCallback.h"

namespace tessera {

IHTTPRequestCallback::~IHTTPRequestCallback() = default;

void IHTTPRequestCallback::BlockReceived(const QByteArray &, bool &, qint64, qint64, bool &)
{ }

void IHTTPRequestCallback::BlockSent(const QByteArray &, qint64, qint64, bool &)
{ }

} // namespace tessera
