#include "lib/system/tools/RegFile.h"

#include "platform/HexDigits.h"

#include <QStringDecoder>
#include <QtEndian>

namespace tessera::regtool::RegFile {

namespace {

const QString Header = QStringLiteral("Windows Registry Editor Version 5.00");

// Hex data lines are wrapped before they pass this width, as the registry editor does.
constexpr qsizetype LineWidth = 78;

// Decodes all of \a bytes, failing on any malformed sequence. A byte order
// mark at the start is text like any other here (U+FEFF): the file's own mark
// is taken off before, and a value may begin with one. The UTF-16 decoder
// lets unpaired surrogates through; UTF-8 cannot carry them, so a name or
// text holding one would not come back from an export, and is refused here.
bool decodeStrictly(QStringConverter::Encoding encoding, const QByteArray &bytes, QString *text)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    *text = decoder.decode(bytes);
    return !decoder.hasError() && text->isValidUtf16();
}

bool decodeFile(const QByteArray &file, QString *text)
{
    if (file.startsWith("\xFF\xFE"))
        return decodeStrictly(QStringConverter::Utf16LE, file.mid(2), text);
    return decodeStrictly(QStringConverter::Utf8, file.startsWith("\xEF\xBB\xBF") ? file.mid(3) : file, text);
}

bool hexNumber(QStringView digits, qsizetype maxDigits, quint32 *value)
{
    if (digits.isEmpty() || digits.size() > maxDigits)
        return false;
    const std::optional<quint32> result = hexDigitsValue(digits, 0xFFFFFFFF);
    if (!result)
        return false;
    *value = *result;
    return true;
}

class Parser
{
public:
    explicit Parser(const QString &text)
        : m_lines(text.split(u'\n'))
    {
        for (QString &line : m_lines) {
            if (line.endsWith(u'\r'))
                line.chop(1);
        }
    }

    std::optional<QList<RegKey>> run(QString *error)
    {
        if (!parseAll()) {
            if (error)
                *error = QStringLiteral("line %1: %2").arg(m_index + 1).arg(m_error);
            return std::nullopt;
        }
        return m_keys;
    }

private:
    bool fail(const QString &message)
    {
        m_error = message;
        return false;
    }

    bool parseAll()
    {
        while (m_index < m_lines.size() && m_lines.at(m_index).trimmed().isEmpty())
            ++m_index;
        if (m_index == m_lines.size() || m_lines.at(m_index).trimmed() != Header)
            return fail(QStringLiteral("the file does not begin with \"%1\"").arg(Header));
        for (++m_index; m_index < m_lines.size(); ++m_index) {
            const QString line = m_lines.at(m_index).trimmed();
            if (line.isEmpty() || line.startsWith(u';'))
                continue;
            if (line.startsWith(u'[')) {
                if (!parseKey(line))
                    return false;
            } else if (line.startsWith(u'@') || line.startsWith(u'"')) {
                if (m_keys.isEmpty())
                    return fail(QStringLiteral("a value before the first [key]"));
                if (!parseValue(line))
                    return false;
            } else {
                return fail(QStringLiteral("neither a [key] nor a value"));
            }
        }
        return true;
    }

    bool parseKey(const QString &line)
    {
        if (!line.endsWith(u']'))
            return fail(QStringLiteral("the key has no closing \"]\""));
        const QString name = line.mid(1, line.size() - 2);
        if (name.startsWith(u'-'))
            return fail(QStringLiteral("deleting keys is not supported"));
        const std::optional<RegKeyPath> path = RegKeyPath::parse(name);
        if (!path)
            return fail(QStringLiteral("\"%1\" is not a key of a known root").arg(name));
        m_keys.append({*path, {}});
        return true;
    }

    // A quoted text starting at \a pos, with \\ and \" as its only escapes;
    // \a pos ends past the closing quote.
    bool parseQuoted(QStringView line, qsizetype *pos, QString *text)
    {
        text->clear();
        for (qsizetype i = *pos + 1; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (c == u'"') {
                *pos = i + 1;
                return true;
            }
            if (c == u'\\') {
                if (++i == line.size() || (line.at(i) != u'\\' && line.at(i) != u'"'))
                    return fail(QStringLiteral("only \\\\ and \\\" may follow a backslash in quotes"));
            }
            text->append(line.at(i));
        }
        return fail(QStringLiteral("the quoted text has no end"));
    }

    bool parseValue(const QString &line)
    {
        RegValue value;
        qsizetype pos = 1; // past "@"
        if (line.startsWith(u'"')) {
            pos = 0;
            if (!parseQuoted(line, &pos, &value.name))
                return false;
        }
        const QStringView rest = QStringView(line).mid(pos).trimmed();
        if (!rest.startsWith(u'='))
            return fail(QStringLiteral("the value name is not followed by \"=\""));
        const QStringView data = rest.mid(1).trimmed();
        if (data.startsWith(u'"')) {
            qsizetype end = 0;
            QString text;
            if (!parseQuoted(data, &end, &text))
                return false;
            if (end != data.size())
                return fail(QStringLiteral("text after the closing quote"));
            value.type = Registry::REG_SZ;
            value.data = text.toUtf8() + '\0';
        } else if (data.startsWith(QLatin1StringView("dword:"), Qt::CaseInsensitive)) {
            quint32 number = 0;
            if (!hexNumber(data.mid(6).trimmed(), 8, &number))
                return fail(QStringLiteral("dword: needs one to eight hexadecimal digits"));
            value.type = Registry::REG_DWORD;
            value.data.resize(4);
            qToLittleEndian(number, value.data.data());
        } else if (data.startsWith(QLatin1StringView("hex"), Qt::CaseInsensitive)) {
            if (!parseHexValue(data.mid(3), &value))
                return false;
        } else if (data == u'-') {
            return fail(QStringLiteral("deleting values is not supported"));
        } else {
            return fail(QStringLiteral("the data is neither quoted text, dword: nor hex:"));
        }
        m_keys.last().values.append(value);
        return true;
    }

    // "(type):bytes" or ":bytes" after "hex", with continuation lines.
    bool parseHexValue(QStringView spec, RegValue *value)
    {
        value->type = Registry::REG_BINARY;
        if (spec.startsWith(u'(')) {
            const qsizetype close = spec.indexOf(u')');
            if (close < 0 || !hexNumber(spec.mid(1, close - 1), 8, &value->type))
                return fail(QStringLiteral("hex( needs a hexadecimal type number and \")\""));
            spec = spec.mid(close + 1);
        }
        if (!spec.startsWith(u':'))
            return fail(QStringLiteral("hex data must follow \":\""));
        QString list = spec.mid(1).trimmed().toString();
        while (list.endsWith(u'\\')) {
            list.chop(1);
            if (++m_index == m_lines.size())
                return fail(QStringLiteral("the hex data continues past the end of the file"));
            list += m_lines.at(m_index).trimmed();
        }
        if (list.trimmed().isEmpty())
            return true;
        const QList<QStringView> items = QStringView(list).split(u',');
        value->data.reserve(items.size());
        for (const QStringView item : items) {
            quint32 byte = 0;
            if (!hexNumber(item.trimmed(), 2, &byte))
                return fail(QStringLiteral("\"%1\" is not a hexadecimal byte").arg(item.trimmed()));
            value->data.append(char(byte));
        }
        return true;
    }

    QStringList m_lines;
    qsizetype m_index = 0;
    QString m_error;
    QList<RegKey> m_keys;
};

QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', QLatin1StringView("\\\\")).replace(u'"', QLatin1StringView("\\\""));
    return u'"' + escaped + u'"';
}

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

// REG_SZ data that the quoted form carries exactly: UTF-8 text without NUL
// or line breaks, followed by one NUL.
bool plainText(const RegValue &value, QString *text)
{
    if (value.type != Registry::REG_SZ || !value.data.endsWith('\0'))
        return false;
    const QByteArray body = value.data.chopped(1);
    return !body.contains('\0') && decodeStrictly(QStringConverter::Utf8, body, text) && !hasLineBreak(*text)
        && text->toUtf8() == body;
}

QString hexData(QString line, const QByteArray &data)
{
    QString text;
    for (qsizetype i = 0; i < data.size(); ++i) {
        line += QString::number(quint8(data.at(i)), 16).rightJustified(2, u'0');
        if (i + 1 < data.size()) {
            line += u',';
            if (line.size() >= LineWidth - 3) {
                text += line + QLatin1StringView("\\\n");
                line = QStringLiteral("  ");
            }
        }
    }
    return text + line;
}

QString valueLine(const RegValue &value)
{
    const QString name = value.name.isEmpty() ? QStringLiteral("@=") : quoted(value.name) + u'=';
    QString text;
    if (plainText(value, &text))
        return name + quoted(text);
    if (value.type == Registry::REG_DWORD && value.data.size() == 4)
        return name + QStringLiteral("dword:")
            + QString::number(qFromLittleEndian<quint32>(value.data.constData()), 16).rightJustified(8, u'0');
    if (value.type == Registry::REG_BINARY)
        return hexData(name + QStringLiteral("hex:"), value.data);
    return hexData(name + QStringLiteral("hex(%1):").arg(value.type, 0, 16), value.data);
}

} // namespace

std::optional<QList<RegKey>> parse(const QByteArray &file, QString *error)
{
    QString text;
    if (!decodeFile(file, &text)) {
        if (error)
            *error = QStringLiteral("the file is neither UTF-8 nor UTF-16LE with a byte order mark");
        return std::nullopt;
    }
    return Parser(text).run(error);
}

std::optional<QByteArray> write(const QList<RegKey> &keys, QString *error)
{
    QString text = Header + u'\n';
    for (const RegKey &key : keys) {
        const QString keyName = key.path.fullName();
        if (hasLineBreak(keyName)) {
            if (error)
                *error = QStringLiteral("the key name \"%1\" holds a line break").arg(keyName);
            return std::nullopt;
        }
        text += QStringLiteral("\n[%1]\n").arg(keyName);
        for (const RegValue &value : key.values) {
            if (hasLineBreak(value.name)) {
                if (error)
                    *error
                        = QStringLiteral("the value name \"%1\" in [%2] holds a line break").arg(value.name, keyName);
                return std::nullopt;
            }
            text += valueLine(value) + u'\n';
        }
    }
    return text.toUtf8();
}

} // namespace tessera::regtool::RegFile
