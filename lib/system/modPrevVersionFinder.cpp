#include "lib/system/modPrevVersionFinder.h"

#include "lib/system/crvRegistry.h"
#include "support/csText.h"

#include <QList>

#include <algorithm>
#include <limits>

namespace tessera::modPrevVersionFinder {

namespace {

const QString VersionPrefix = QStringLiteral("VERSION ");

qint32 partValue(QStringView part)
{
    if (part.isEmpty())
        return 0;
    qint64 value = 0;
    for (const QChar c : part) {
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<qint32>::max())
            return 0;
    }
    return qint32(value);
}

struct Candidate {
    QString version;
    QString keyName;
};

} // namespace

int CompareVersions(const QString &a, const QString &b)
{
    QStringList left = a.split(u'.');
    QStringList right = b.split(u'.');
    while (left.size() < right.size())
        left.append(QStringLiteral("0"));
    while (right.size() < left.size())
        right.append(QStringLiteral("0"));
    for (qsizetype i = 0; i < left.size(); ++i) {
        const qint32 x = partValue(left.at(i));
        const qint32 y = partValue(right.at(i));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

QString FindPreviousVersionKey(crvRegistry &registry, RegistryRoot_Const root, const QString &appKey,
                               const QString &currentVersion)
{
    const std::optional<Collection> names = registry.GetSubKeysNames(root, appKey);
    if (!names)
        return {};
    QList<Candidate> candidates;
    for (const QVariant &item : names->values()) {
        const QString name = item.toString();
        const QString trimmed = cs::csTrimEx(name);
        if (trimmed.left(VersionPrefix.size()).toUpper() == VersionPrefix)
            candidates.append({cs::csTrimEx(trimmed.mid(VersionPrefix.size())), name});
    }
    // Ascending and stable: of equal versions the earlier stays first, so the
    // last one below the current version is the newest, listed last.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &x, const Candidate &y) { return CompareVersions(x.version, y.version) < 0; });
    QString previous;
    for (const Candidate &candidate : std::as_const(candidates)) {
        if (CompareVersions(candidate.version, currentVersion) < 0)
            previous = candidate.keyName;
    }
    return previous;
}

} // namespace tessera::modPrevVersionFinder
