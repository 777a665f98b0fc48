#include "lib/system/crvCorvidSettings.h"

#include "lib/system/WindowPlacement_p.h"
#include "lib/system/crvRegistry.h"
#include "lib/system/modPrevVersionFinder.h"
#include "platform/RuntimeError.h"
#include "support/csSystem.h"
#include "support/csText.h"
#include "support/csWindows.h"

#include <QFontInfo>
#include <QHeaderView>
#include <QObject>
#include <QTreeView>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessera {

namespace {

const QString SettingsRoot = QStringLiteral("Software\\Sablewing\\Corvid\\");
const QString VersionKeyPrefix = QStringLiteral("Version ");
constexpr qint32 DefaultCharset = 1; // DEFAULT_CHARSET

// Title and version as the plain forms take them.
struct AppInfo {
    QString title;
    qint32 major = 0;
    qint32 minor = 0;
};

QVariant requiredProperty(const QObject *object, const char *name)
{
    const QVariant value = object->property(name);
    if (!value.isValid())
        throw RuntimeError(RuntimeError::ObjectDoesntSupport);
    return value;
}

qint32 requiredNumber(const QObject *object, const char *name)
{
    bool ok = false;
    const qint32 value = requiredProperty(object, name).toInt(&ok);
    if (!ok)
        throw RuntimeError(RuntimeError::TypeMismatch);
    return value;
}

AppInfo appInfo(const QObject *app)
{
    if (!app)
        throw RuntimeError(RuntimeError::ObjectVariableNotSet);
    return {requiredProperty(app, "Title").toString(), requiredNumber(app, "Major"), requiredNumber(app, "Minor")};
}

template <typename T> T *required(T *object)
{
    if (!object)
        throw RuntimeError(RuntimeError::ObjectVariableNotSet);
    return object;
}

RegistryRoot_Const rootOf(bool userSetting)
{
    return userSetting ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The settings key of one version: \a versionKey is "Version " + V, or a
// version key's name as stored.
QString keyPath(const QString &appTitle, const QString &versionKey, const QString &subKey)
{
    QString path = SettingsRoot + appTitle + u'\\' + versionKey;
    if (!subKey.isEmpty())
        path += u'\\' + subKey;
    return path;
}

// A number rounded as the platform rounds (halves to even); 6 when it does
// not fit in 32 bits.
qint32 roundedLong(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<qint32>::min() && rounded <= std::numeric_limits<qint32>::max()))
        throw RuntimeError(RuntimeError::Overflow);
    return qint32(rounded);
}

double pointSize(const QFont &font)
{
    // A font sized in pixels has no point size of its own; ask what it comes out as.
    return font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
}

// The platform's weights run from 100 to 900 as Qt's do; 0 is "don't care".
QFont::Weight fontWeight(qint32 stored)
{
    if (stored == 0)
        return QFont::Normal;
    return QFont::Weight(std::clamp(stored, 1, 1000));
}

qint32 pixelsFromTwips(qint32 twips, double twipsPerPixel)
{
    return twips / std::max(qint32(1), roundedLong(twipsPerPixel));
}

QString columnValueName(int column)
{
    return QStringLiteral("Column %1 Width").arg(column);
}

} // namespace

class crvCorvidSettings::Private
{
public:
    crvRegistry registry;
};

crvCorvidSettings::crvCorvidSettings()
    : d(std::make_unique<Private>())
{ }

crvCorvidSettings::~crvCorvidSettings() = default;

QString crvCorvidSettings::DefaultAppTitle()
{
    return QStringLiteral("Corvid - Duvev");
}

QString crvCorvidSettings::GetSettingPath(const QString &AppTitle, qint32 VerMajor, qint32 VerMinor,
                                          const QString &KeyPath) const
{
    return keyPath(AppTitle, VersionKeyPrefix + cs::csFormatVersionShort(VerMajor, VerMinor), KeyPath);
}

QVariant crvCorvidSettings::LoadSetting(const QString &SubKey, const QString &ValueName, RegistryType_Const ValueType,
                                        const QString &AppTitle, qint32 VerMajor, qint32 VerMinor,
                                        const QVariant &Default, bool UserSetting, bool *Success)
{
    const RegistryRoot_Const root = rootOf(UserSetting);
    const QString version = cs::csFormatVersionShort(VerMajor, VerMinor);
    bool found = false;
    QVariant value = d->registry.GetValue(root, keyPath(AppTitle, VersionKeyPrefix + version, SubKey), ValueName,
                                          ValueType, &found);
    if (!found && (VerMajor != 0 || VerMinor != 0)) {
        const QString previous
            = modPrevVersionFinder::FindPreviousVersionKey(d->registry, root, SettingsRoot + AppTitle, version);
        if (!previous.isEmpty())
            value = d->registry.GetValue(root, keyPath(AppTitle, previous, SubKey), ValueName, ValueType, &found);
    }
    if (Success)
        *Success = found;
    // A failed read gave the empty value of the type.
    return found || !Default.isValid() ? value : Default;
}

bool crvCorvidSettings::SaveSetting(const QString &SubKey, const QString &ValueName, RegistryType_Const ValueType,
                                    const QVariant &Value, const QString &AppTitle, qint32 VerMajor, qint32 VerMinor,
                                    bool UserSetting)
{
    return d->registry.SetValue(rootOf(UserSetting), GetSettingPath(AppTitle, VerMajor, VerMinor, SubKey), ValueName,
                                ValueType, Value);
}

bool crvCorvidSettings::SaveFormPlacement(QWidget *FormObject, const QString &SubKey, const QString &ValueName,
                                          const QString &AppTitle, qint32 VerMajor, qint32 VerMinor, bool UserSetting)
{
    const QByteArray record = WindowPlacement::of(required(FormObject)).toBytes();
    return SaveSetting(SubKey.isEmpty() ? FormObject->objectName() : SubKey, ValueName, rtBinary, record, AppTitle,
                       VerMajor, VerMinor, UserSetting);
}

bool crvCorvidSettings::LoadFormPlacement(QWidget *FormObject, const QString &SubKey, const QString &ValueName,
                                          const QString &AppTitle, qint32 VerMajor, qint32 VerMinor, bool SetMinimized,
                                          qint32 FixedWidth, qint32 FixedHeight, bool UserSetting)
{
    required(FormObject);
    bool found = false;
    const QByteArray record = LoadSetting(SubKey.isEmpty() ? FormObject->objectName() : SubKey, ValueName, rtBinary,
                                          AppTitle, VerMajor, VerMinor, {}, UserSetting, &found)
                                  .toByteArray();
    if (!found)
        return false;
    std::optional<WindowPlacement> placement = WindowPlacement::fromBytes(record);
    if (!placement)
        return false;
    QRect rect = placement->normalRect();
    cs::csNormalizeRect(rect);
    if (SetMinimized)
        placement->showCommand = WindowPlacement::SW_MINIMIZE;
    if (FixedWidth > 0)
        rect.setWidth(std::min(FixedWidth, WindowPlacement::MaxCoordinate));
    if (FixedHeight > 0)
        rect.setHeight(std::min(FixedHeight, WindowPlacement::MaxCoordinate));
    placement->setNormalRect(rect);
    return placement->applyTo(FormObject);
}

bool crvCorvidSettings::LoadFormPlacementTwips(QWidget *FormObject, const QString &SubKey, const QString &ValueName,
                                               const QString &AppTitle, qint32 VerMajor, qint32 VerMinor,
                                               bool SetMinimized, qint32 FixedWidth, qint32 FixedHeight,
                                               bool UserSetting)
{
    return LoadFormPlacement(FormObject, SubKey, ValueName, AppTitle, VerMajor, VerMinor, SetMinimized,
                             pixelsFromTwips(FixedWidth, cs::csScreenTwipsPerPixelX()),
                             pixelsFromTwips(FixedHeight, cs::csScreenTwipsPerPixelY()), UserSetting);
}

QString crvCorvidSettings::GetSettingPath2(QObject *AppObject, const QString &KeyPath) const
{
    const AppInfo app = appInfo(AppObject);
    return GetSettingPath(app.title, app.major, app.minor, KeyPath);
}

QVariant crvCorvidSettings::LoadSetting2(const QString &SubKey, const QString &ValueName, RegistryType_Const ValueType,
                                         QObject *AppObject, const QVariant &Default, bool UserSetting, bool *Success)
{
    const AppInfo app = appInfo(AppObject);
    return LoadSetting(SubKey, ValueName, ValueType, app.title, app.major, app.minor, Default, UserSetting, Success);
}

bool crvCorvidSettings::SaveSetting2(const QString &SubKey, const QString &ValueName, RegistryType_Const ValueType,
                                     const QVariant &Value, QObject *AppObject, bool UserSetting)
{
    const AppInfo app = appInfo(AppObject);
    return SaveSetting(SubKey, ValueName, ValueType, Value, app.title, app.major, app.minor, UserSetting);
}

bool crvCorvidSettings::SaveFormPlacement2(QWidget *FormObject, const QString &SubKey, const QString &ValueName,
                                           QObject *AppObject, bool UserSetting)
{
    const AppInfo app = appInfo(AppObject);
    return SaveFormPlacement(FormObject, SubKey, ValueName, app.title, app.major, app.minor, UserSetting);
}

bool crvCorvidSettings::LoadFormPlacement2(QWidget *FormObject, const QString &SubKey, const QString &ValueName,
                                           QObject *AppObject, bool SetMinimized, qint32 FixedWidth, qint32 FixedHeight,
                                           bool UserSetting)
{
    const AppInfo app = appInfo(AppObject);
    return LoadFormPlacement(FormObject, SubKey, ValueName, app.title, app.major, app.minor, SetMinimized, FixedWidth,
                             FixedHeight, UserSetting);
}

bool crvCorvidSettings::LoadFormPlacementTwips2(QWidget *FormObject, const QString &SubKey, const QString &ValueName,
                                                QObject *AppObject, bool SetMinimized, qint32 FixedWidth,
                                                qint32 FixedHeight, bool UserSetting)
{
    const AppInfo app = appInfo(AppObject);
    return LoadFormPlacementTwips(FormObject, SubKey, ValueName, app.title, app.major, app.minor, SetMinimized,
                                  FixedWidth, FixedHeight, UserSetting);
}

bool crvCorvidSettings::SaveListViewColumns2(QTreeView *ListViewObject, const QString &SubKey, QObject *AppObject,
                                             bool /*UserSetting: columns always belong to the user*/)
{
    const QHeaderView *header = required(ListViewObject)->header();
    const AppInfo app = appInfo(AppObject);
    for (int n = 1; header && n <= header->count(); ++n)
        SaveSetting(SubKey, columnValueName(n), rtLong, header->sectionSize(n - 1), app.title, app.major, app.minor,
                    true);
    return true;
}

bool crvCorvidSettings::LoadListViewColumns2(QTreeView *ListViewObject, const QString &SubKey, QObject *AppObject,
                                             bool /*UserSetting: columns always belong to the user*/)
{
    QHeaderView *header = required(ListViewObject)->header();
    const AppInfo app = appInfo(AppObject);
    for (int n = 1; header && n <= header->count(); ++n) {
        const qint32 width
            = LoadSetting(SubKey, columnValueName(n), rtLong, app.title, app.major, app.minor, qint32(-1), true)
                  .toInt();
        if (width >= 0)
            header->resizeSection(n - 1, width);
    }
    return true;
}

std::optional<QFont> crvCorvidSettings::LoadFont2(const QString &SubKey, QObject *AppObject,
                                                  const std::optional<QFont> &Default, bool UserSetting)
{
    const AppInfo app = appInfo(AppObject);
    const QFont fallback = Default.value_or(QFont());
    const auto load
        = [&](const QString &name, RegistryType_Const type, const QVariant &defaultValue, bool *found = nullptr) {
              return LoadSetting(SubKey, name, type, app.title, app.major, app.minor, defaultValue, UserSetting, found);
          };

    const double defaultPoints = pointSize(fallback);
    bool found = false;
    const QVariant size2 = load(QStringLiteral("Size2"), rtLong, defaultPoints, &found);
    const double tenThousandths
        = found ? size2.toDouble() * 10 : load(QStringLiteral("Size"), rtLong, defaultPoints).toDouble() * 10000;
    const qint64 size = cs::csDoubleToLargeInteger(tenThousandths);
    const bool italic = load(QStringLiteral("Italic"), rtBoolean, fallback.italic()).toBool();
    const bool strikeOut = load(QStringLiteral("Strikethrough"), rtBoolean, fallback.strikeOut()).toBool();
    const bool underline = load(QStringLiteral("Underline"), rtBoolean, fallback.underline()).toBool();
    const qint32 weight = cs::csLoWord(load(QStringLiteral("Weight"), rtLong, qint32(fallback.weight())).toInt());
    const QString name = load(QStringLiteral("Name"), rtString, fallback.family()).toString();
    if (size <= 0)
        return Default;

    QFont font(name);
    font.setPointSizeF(cs::csLargeIntegerToDouble(size) / 10000);
    font.setWeight(fontWeight(weight));
    font.setItalic(italic);
    font.setStrikeOut(strikeOut);
    font.setUnderline(underline);
    return font;
}

bool crvCorvidSettings::SaveFont2(const QString &SubKey, const std::optional<QFont> &Value, QObject *AppObject,
                                  bool UserSetting)
{
    if (!Value)
        return false;
    const AppInfo app = appInfo(AppObject);
    const auto save = [&](const QString &name, RegistryType_Const type, const QVariant &value) {
        SaveSetting(SubKey, name, type, value, app.title, app.major, app.minor, UserSetting);
    };
    const qint32 charset = LoadSetting(SubKey, QStringLiteral("Charset"), rtLong, app.title, app.major, app.minor,
                                       DefaultCharset, UserSetting)
                               .toInt();
    const double points = pointSize(*Value);
    save(QStringLiteral("Size"), rtLong, roundedLong(points));
    save(QStringLiteral("Size2"), rtLong, roundedLong(points * 1000));
    save(QStringLiteral("Italic"), rtBoolean, Value->italic());
    save(QStringLiteral("Strikethrough"), rtBoolean, Value->strikeOut());
    save(QStringLiteral("Underline"), rtBoolean, Value->underline());
    save(QStringLiteral("Charset"), rtLong, charset);
    save(QStringLiteral("Weight"), rtLong, qint32(Value->weight()));
    save(QStringLiteral("Name"), rtString, Value->family());
    return true;
}

} // namespace tessera
