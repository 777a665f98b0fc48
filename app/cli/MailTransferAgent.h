#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

/// Hands a finished message to the system's mail transfer agent the
/// conventional way, as mpack and mail(1) do: the agent's sendmail
/// interface run as "sendmail -t -oi" (recipients from the message's own
/// headers, a line with a lone dot is no end) with the message on standard
/// input, its lines ended by LF.
class MailTransferAgent
{
public:
    MailTransferAgent() = delete;

    /// The agent: $SENDMAIL when set (a command line split at blanks, with
    /// double quotes around a word that holds blanks, so it may carry options
    /// of its own), else "sendmail" found on PATH, else /usr/sbin/sendmail.
    static QStringList Command();

    /// Hands the message file \a MessagePath to the agent and waits for it
    /// (two minutes at most). Returns an empty text on success; otherwise one
    /// line saying why: the file does not read, the agent does not start,
    /// does not finish in time, is killed, or exits with a status other than
    /// 0 (the status and what it said on standard error). The file is never
    /// changed.
    static QString HandOver(const QString &MessagePath);
};

} // namespace quillon
