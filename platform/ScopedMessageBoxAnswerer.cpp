#include "platform/ScopedMessageBoxAnswerer.h"

namespace tessera {

namespace {
thread_local ScopedMessageBoxAnswerer *t_active = nullptr;
}

ScopedMessageBoxAnswerer::ScopedMessageBoxAnswerer(qint32 result)
    : ScopedMessageBoxAnswerer([result](const Request &) { return result; })
{ }

ScopedMessageBoxAnswerer::ScopedMessageBoxAnswerer(const QList<qint32> &results)
    : ScopedMessageBoxAnswerer([results, next = qsizetype(0)](const Request &) mutable {
        if (results.isEmpty())
            return qint32(MessageBox::Ok);
        const qint32 result = results.at(qMin(next, results.size() - 1));
        ++next;
        return result;
    })
{ }

ScopedMessageBoxAnswerer::ScopedMessageBoxAnswerer(Answer answer)
    : m_answer(std::move(answer))
    , m_previous(t_active)
{
    t_active = this;
}

ScopedMessageBoxAnswerer::~ScopedMessageBoxAnswerer()
{
    // Answerers are scoped, so they end newest first.
    Q_ASSERT(t_active == this);
    t_active = m_previous;
}

ScopedMessageBoxAnswerer *ScopedMessageBoxAnswerer::active()
{
    return t_active;
}

qint32 ScopedMessageBoxAnswerer::answer(const Request &request)
{
    m_requests.append(request);
    return m_answer(request);
}

} // namespace tessera
