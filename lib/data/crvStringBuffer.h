#pragma once

#include "lib/TesseraExport.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

namespace tessera {

/// Builds a long text from many pieces without reallocating for every piece:
/// reserve the buffer once with Alloc(), whose filler characters the pieces
/// then overwrite from the front, and cut the unused filler with Trim().
///
///     crvStringBuffer b;
///     b.Alloc(10);            // ten spaces
///     b.AddText("abc");
///     b.AddText("de");        // Value() "abcde     ", Size() 10
///     b.Trim();               // Value() "abcde", Size() 5
///
/// Once the filler is used up, every further piece is appended by building a
/// new text. Raises 6 (overflow) when the buffer would pass 2^31 - 1
/// characters and 7 (out of memory) when it cannot be allocated.
class TESSERA_EXPORT crvStringBuffer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Value READ Value WRITE setValue)
    Q_PROPERTY(qint32 Size READ Size)

public:
    explicit crvStringBuffer(QObject *parent = nullptr);
    ~crvStringBuffer() override;

    /// Drops the filler not yet written over; Size() becomes the written length.
    Q_INVOKABLE void Trim();
    /// Writes Text at the write position: over the filler when it fits short of
    /// its end, otherwise the filler is dropped and Text appended.
    Q_INVOKABLE void AddText(const QString &Text);
    /// Makes the buffer Size copies of Character and starts writing at its
    /// front. Character is a text (its first character counts) or a character
    /// code 0 to 65535. Raises 5 (invalid argument) for a negative Size, an
    /// empty text, a code out of range or any other kind of value.
    Q_INVOKABLE void Alloc(qint32 Size, const QVariant &Character = QStringLiteral(" "));

    /// The whole buffer, filler included.
    QString Value() const;
    /// Replaces the buffer by \a text, all of it written (no filler).
    void setValue(const QString &text);
    /// The buffer's length in characters, filler included.
    qint32 Size() const;

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
