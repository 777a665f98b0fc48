#pragma once

#include "platform/MessageBox.h"
#include "platform/PlatformExport.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace tessera {

/// While it lives, MessageBox::show() on this thread shows nothing: it
/// records each request here and returns the chosen answer. Answerers nest;
/// the newest one answers and the previous one takes over again when it
/// goes. For tests.
///
///     ScopedMessageBoxAnswerer answerer({MessageBox::Retry, MessageBox::Abort});
///     runBatch();
///     EXPECT_EQ(answerer.requests().size(), 2);
class TESSERA_PLATFORM_EXPORT ScopedMessageBoxAnswerer
{
public:
    /// One message box as asked for. \a title is the title the box would
    /// show: the program's title when the caller gave none.
    struct Request {
        QString text;
        qint32 style = 0;
        QString title;
        QPointer<QWidget> owner;
        QString helpFile;
        qint32 helpContext = 0;
    };
    using Answer = std::function<qint32(const Request &)>;

    /// Answers every box with \a result.
    explicit ScopedMessageBoxAnswerer(qint32 result = MessageBox::Ok);
    /// Answers the boxes in turn with \a results; the last one answers all
    /// further boxes (none given: Ok).
    explicit ScopedMessageBoxAnswerer(const QList<qint32> &results);
    /// Answers each box with what \a answer returns for it.
    explicit ScopedMessageBoxAnswerer(Answer answer);
    ~ScopedMessageBoxAnswerer();
    ScopedMessageBoxAnswerer(const ScopedMessageBoxAnswerer &) = delete;
    ScopedMessageBoxAnswerer &operator=(const ScopedMessageBoxAnswerer &) = delete;

    /// Every request answered by this answerer, oldest first.
    const QList<Request> &requests() const { return m_requests; }

    /// The answerer in charge on this thread; nullptr when boxes are real.
    static ScopedMessageBoxAnswerer *active();

    /// Records \a request and returns its answer (MessageBox::show calls it).
    qint32 answer(const Request &request);

private:
    Answer m_answer;
    QList<Request> m_requests;
    ScopedMessageBoxAnswerer *m_previous;
};

} // namespace tessera
