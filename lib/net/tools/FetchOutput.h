#pragma once

// Where tessera-fetch writes what it fetched, and how it talks to the user.

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <memory>

namespace tessera::fetchtool {

/// Writes a line to standard error.
void printError(const QString &text);

/// A message of crvErr (CR LF separated lines) on one line.
QString oneLine(const QString &message);

/// The body's destination: a file written whole or not at all (a temporary
/// file beside it, renamed into place by commit()), or standard output,
/// which gets the blocks as they arrive. A device or pipe named as the file
/// is written directly, as standard output is.
class FetchOutput
{
public:
    /// \a fileName empty: standard output.
    explicit FetchOutput(const QString &fileName);
    ~FetchOutput();

    /// Opens the destination; false with the reason in errorString().
    bool open();
    /// Appends a block; false with the reason in errorString().
    bool write(const QByteArray &block);
    /// Makes the file whole under its name; false with the reason in errorString().
    bool commit();
    QString errorString() const { return m_error; }

    /// A progress line on standard error, rewritten in place; \a total 0
    /// when unknown.
    void showProgress(const char *what, qint64 done, qint64 total);
    /// Ends the progress line, if one was shown.
    void endProgress();

private:
    QString m_fileName;
    std::unique_ptr<QFileDevice> m_file;
    QString m_error;
    bool m_progressShown = false;
};

} // namespace tessera::fetchtool
