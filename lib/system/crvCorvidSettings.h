#pragma once

#include "lib/TesseraExport.h"
#include "lib/system/RegistryType_Const.h"

#include <QFont>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class QObject;
class QTreeView;
class QWidget;

namespace tessera {

/// The settings store of the maker's programs: typed values, window
/// placements, list column widths and fonts, kept in the registry under
///
///     "Software\Sablewing\Corvid\" + AppTitle + "\Version " + V [+ "\" + SubKey]
///
/// where V is csFormatVersionShort(VerMajor, VerMinor) ("1.00"), below
/// HKEY_CURRENT_USER when UserSetting is true and HKEY_LOCAL_MACHINE when it
/// is false. Nothing is held in memory: every operation reads or writes the
/// registry at once, and keys are created by the first write to them.
///
/// A value missing for the current version is looked up under the newest
/// older version of the same program (modPrevVersionFinder), unless the
/// version is 0.0; saves always go to the current version.
///
/// Registry failures are results (false, the default); raised errors are for
/// bad arguments: 91 (object variable not set) for a missing window, list or
/// application object, 438 (object doesn't support this property) for an
/// application object without Title, Major or Minor, 13 (type mismatch) when
/// Major or Minor is not a number, 5 for a negative version number.
///
/// The "2" forms take an application-information object instead of title and
/// version: its Title, Major and Minor properties (QObject::property).
///
///     crvCorvidSettings settings;
///     settings.SaveSetting2({}, "Quick mode", rtBoolean, true, app);
///     bool quick = settings.LoadSetting2({}, "Quick mode", rtBoolean, app, false).toBool();
class TESSERA_EXPORT crvCorvidSettings
{
public:
    crvCorvidSettings();
    ~crvCorvidSettings();
    crvCorvidSettings(const crvCorvidSettings &) = delete;
    crvCorvidSettings &operator=(const crvCorvidSettings &) = delete;

    /// "Corvid - Duvev", the title used when none is given.
    static QString DefaultAppTitle();

    /// The key path of a program's settings (no registry access).
    QString GetSettingPath(const QString &AppTitle = DefaultAppTitle(), qint32 VerMajor = 0, qint32 VerMinor = 0,
                           const QString &KeyPath = {}) const;

    /// Reads a value (see crvRegistry::GetValue for the types), falling back
    /// to the previous version. When it is found in neither, returns Default
    /// when one is given (a valid QVariant), else the empty value of the type
    /// ("", 0, an empty byte array, false), with *Success false.
    QVariant LoadSetting(const QString &SubKey, const QString &ValueName = {}, RegistryType_Const ValueType = rtString,
                         const QString &AppTitle = DefaultAppTitle(), qint32 VerMajor = 0, qint32 VerMinor = 0,
                         const QVariant &Default = {}, bool UserSetting = true, bool *Success = nullptr);

    /// Writes a value to the current version (see crvRegistry::SetValue for
    /// the accepted kinds); false when it cannot be written.
    bool SaveSetting(const QString &SubKey, const QString &ValueName = {}, RegistryType_Const ValueType = rtString,
                     const QVariant &Value = QString(), const QString &AppTitle = DefaultAppTitle(),
                     qint32 VerMajor = 0, qint32 VerMinor = 0, bool UserSetting = true);

    /// Saves the window's placement as the platform's 44-byte record (binary)
    /// under SubKey, or under the window's objectName() when SubKey is empty.
    /// The normal rectangle is the client area (normalGeometry), so saving
    /// and restoring keep a window exactly where it was.
    bool SaveFormPlacement(QWidget *FormObject, const QString &SubKey = {},
                           const QString &ValueName = QStringLiteral("Window placement"),
                           const QString &AppTitle = DefaultAppTitle(), qint32 VerMajor = 0, qint32 VerMinor = 0,
                           bool UserSetting = true);

    /// Restores a placement saved by SaveFormPlacement: the normal rectangle
    /// kept on a visible screen (csNormalizeRect), minimised when
    /// SetMinimized, and given the width and height FixedWidth and
    /// FixedHeight (pixels) when they are above 0. A hidden window stays
    /// hidden and takes the state when shown. False, leaving the window
    /// alone, when nothing is stored or the record is not 44 bytes with the
    /// length field 44.
    bool LoadFormPlacement(QWidget *FormObject, const QString &SubKey = {},
                           const QString &ValueName = QStringLiteral("Window placement"),
                           const QString &AppTitle = DefaultAppTitle(), qint32 VerMajor = 0, qint32 VerMinor = 0,
                           bool SetMinimized = false, qint32 FixedWidth = 0, qint32 FixedHeight = 0,
                           bool UserSetting = true);

    /// LoadFormPlacement with FixedWidth and FixedHeight in twips, divided
    /// (remainder dropped) by the screen's twips per pixel rounded to an integer.
    bool LoadFormPlacementTwips(QWidget *FormObject, const QString &SubKey = {},
                                const QString &ValueName = QStringLiteral("Window placement"),
                                const QString &AppTitle = DefaultAppTitle(), qint32 VerMajor = 0, qint32 VerMinor = 0,
                                bool SetMinimized = false, qint32 FixedWidth = 0, qint32 FixedHeight = 0,
                                bool UserSetting = true);

    QString GetSettingPath2(QObject *AppObject, const QString &KeyPath = {}) const;
    QVariant LoadSetting2(const QString &SubKey, const QString &ValueName = {}, RegistryType_Const ValueType = rtString,
                          QObject *AppObject = nullptr, const QVariant &Default = {}, bool UserSetting = true,
                          bool *Success = nullptr);
    bool SaveSetting2(const QString &SubKey, const QString &ValueName = {}, RegistryType_Const ValueType = rtString,
                      const QVariant &Value = QString(), QObject *AppObject = nullptr, bool UserSetting = true);
    bool SaveFormPlacement2(QWidget *FormObject, const QString &SubKey = {},
                            const QString &ValueName = QStringLiteral("Window placement"), QObject *AppObject = nullptr,
                            bool UserSetting = true);
    bool LoadFormPlacement2(QWidget *FormObject, const QString &SubKey = {},
                            const QString &ValueName = QStringLiteral("Window placement"), QObject *AppObject = nullptr,
                            bool SetMinimized = false, qint32 FixedWidth = 0, qint32 FixedHeight = 0,
                            bool UserSetting = true);
    bool LoadFormPlacementTwips2(QWidget *FormObject, const QString &SubKey = {},
                                 const QString &ValueName = QStringLiteral("Window placement"),
                                 QObject *AppObject = nullptr, bool SetMinimized = false, qint32 FixedWidth = 0,
                                 qint32 FixedHeight = 0, bool UserSetting = true);

    /// Saves the width of every column of the list's header (QHeaderView
    /// section sizes, in pixels) as "Column " + n + " Width", n from 1,
    /// always under the current user (UserSetting is ignored). True.
    bool SaveListViewColumns2(QTreeView *ListViewObject, const QString &SubKey = QStringLiteral("Unnamed List"),
                              QObject *AppObject = nullptr, bool UserSetting = true);
    /// Gives every column with a stored width of 0 or more that width; the
    /// others keep theirs. True.
    bool LoadListViewColumns2(QTreeView *ListViewObject, const QString &SubKey = QStringLiteral("Unnamed List"),
                              QObject *AppObject = nullptr, bool UserSetting = true);

    /// The font stored under SubKey, each of its values falling back to
    /// Default (or to QFont() when none is given): "Size2" (thousandths of a
    /// point) before "Size" (points), "Italic", "Strikethrough", "Underline",
    /// "Weight" (100..900, Qt's own scale; 0 means normal) and "Name". The
    /// stored "Charset" has no counterpart in QFont, which picks glyphs by
    /// Unicode coverage, and is not read. Default (or none) when the stored
    /// size is not above 0.
    std::optional<QFont> LoadFont2(const QString &SubKey = QStringLiteral("Unnamed Font"), QObject *AppObject = nullptr,
                                   const std::optional<QFont> &Default = std::nullopt, bool UserSetting = true);

    /// Writes the eight font values; "Size" is the point size rounded to an
    /// integer and "Size2" the size in thousandths of a point (halves to
    /// even). "Charset" keeps what is stored there (1, the default character
    /// set, when nothing is), so values written by other programs survive.
    /// False, writing nothing, when Value is absent; true otherwise.
    bool SaveFont2(const QString &SubKey = QStringLiteral("Unnamed Font"), const std::optional<QFont> &Value = {},
                   QObject *AppObject = nullptr, bool UserSetting = true);

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
