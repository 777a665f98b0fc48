#pragma once

#include "lib/TesseraExport.h"

#include <QObject>
#include <QString>

#include <memory>

namespace tessera {

/// Splits a command line into its arguments. Hosts get the parser of their
/// own process from crvMain::CommandLine(); a new parser starts with the
/// process's command line, the program's name first.
///
/// Tokens are separated by spaces. A token that starts with a double quote
/// runs to the next double quote (no escapes) and may hold spaces; "" gives an
/// empty argument. Quotes inside an unquoted token are ordinary characters.
///
///     parser.SetNewCommandLine(R"(a "b c" d)", false);
///     parser.Item(-1); // "a", the program name
///     parser.Count();  // 2
///     parser.Item(0);  // "b c"
class TESSERA_EXPORT CommandLineParser : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint32 Count READ Count)

public:
    explicit CommandLineParser(QObject *parent = nullptr);
    ~CommandLineParser() override;

    /// The number of arguments, not counting the program name.
    qint32 Count() const;
    /// Index -1 is the program name (the running program's display name when
    /// the list is empty), 0 to Count() - 1 the arguments. Raises 9 (subscript
    /// out of range) below -1 and past the last argument.
    Q_INVOKABLE QString Item(qint32 Index) const;
    /// Replaces the list by the parse of NewCommandLine. With
    /// AddDummyEXEModuleName the running program's display name comes first,
    /// for a command line that holds only arguments.
    Q_INVOKABLE void SetNewCommandLine(const QString &NewCommandLine, bool AddDummyEXEModuleName = true);

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
