#pragma once

#include "lib/TesseraExport.h"
#include "lib/dialogs/AboutBoxInfo.h"
#include "platform/BoundedArray.h"
#include "platform/Collection.h"
#include "platform/StdPicture.h"

#include <QPixmap>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <optional>

class QObject;
class QRadioButton;
class QWidget;

namespace tessera {

class CommandLineParser;
class PictureInfo;

/// The flags of crvMain::AddAutoComplete; they combine by addition.
enum AddAutoCompleteFlags : qint32 {
    aacDefault = 0,
    aacFileSystem = 1,
    aacURLHistory = 2,
    aacURLMRU = 4,
    aacUseTabs = 8,
    aacURLAll = 6,
    aacFileSystemOnly = 16,
    aacFileSystemDirs = 32,
    aacAutosuggestForceOn = 268435456,
    aacAutosuggestForceOff = 536870912,
    aacAutoappendForceOn = 1073741824,
    aacAutoappendForceOff = -2147483647 - 1,
};

/// The library's small helpers for host programs: typed arrays, searches in
/// arrays and collections, joining and splitting, option-button groups,
/// pressing buttons, fonts and cursors of a window's controls, a modal child
/// window, paste guards for locked text boxes and file-name completion.
///
/// global() gives the calling thread's application object; hosts may also
/// create their own. An instance keeps the parser CommandLine() hands out and
/// its list of paste guards. Loading the library seeds the C run-time's
/// random generator (std::rand) from the clock.
///
///     bool found = false;
///     auto a = tessera::BoundedArray<qint32>::fromValues(5, {10, 20, 30, 40, 50});
///     tessera::crvMain::global().InArray(a, 30, {}, {}, &found); // 7, found
class TESSERA_EXPORT crvMain
{
public:
    crvMain();
    ~crvMain();
    crvMain(const crvMain &) = delete;
    crvMain &operator=(const crvMain &) = delete;

    /// The application object of the calling thread.
    static crvMain &global();

    /// The parser of this process's command line, program name first; created
    /// on first use and kept by this object.
    CommandLineParser *CommandLine();

    /// The arguments as texts (tessera::variantToText) or 32-bit integers
    /// (tessera::variantToLong), with the bounds of the argument list, 0 to
    /// count - 1. An argument that does not convert leaves its element empty
    /// ("" or 0). No arguments give a never-dimensioned array.
    BoundedArray<QString> ArrayBSTR(const QVariantList &Arguments) const;
    BoundedArray<qint32> ArrayLong(const QVariantList &Arguments) const;

    /// Shows the about box of \a MSControlObject, its own invokable
    /// AboutBox(). The control's window is disabled meanwhile and is enabled
    /// again, with the focus, whatever happens. Failures are passed over: a
    /// control without an about box, or whose box raises an error, shows
    /// nothing more; a null control does nothing.
    void ShowMSAboutBox(QWidget *MSControlObject);

    /// The library's about box (frmAbout) for a host program, shown modally;
    /// each returns when it has been closed.
    ///
    /// ShowAboutBox: the icons of the window \a Form (csGetWindowIcon and
    /// csGetWindowIconSmall; none for a null window), the title and version
    /// of \a AppObject (its Title, Major, Minor and Revision, read by name),
    /// and the library's author, address and dedication. Raises 91 for a
    /// null AppObject and 438 for one without those members.
    void ShowAboutBox(QWidget *Form, QObject *AppObject, const QString &Description = {}, const QPixmap &Picture = {},
                      const QString &PictureToolTipText = AboutBoxInfo::DefaultPictureToolTipText());
    /// As ShowAboutBox with the icons given; without \a IconSmall the window
    /// takes \a Icon.
    void ShowAboutBox2(const QPixmap &Icon, const QPixmap &IconSmall, QObject *AppObject,
                       const QString &Description = {}, const QPixmap &Picture = {},
                       const QString &PictureToolTipText = AboutBoxInfo::DefaultPictureToolTipText());
    /// Every value from the caller; what is left out stays empty (the
    /// library's own icons stand in for missing ones), the version 1.0.0.
    void ShowAboutBoxEx(const QString &Title, const QPixmap &Icon = {}, const QPixmap &SmallIcon = {},
                        qint32 VerMajor = 1, qint32 VerMinor = 0, qint32 VerRevision = 0, const QString &Author = {},
                        const QString &AuthorEMail = {}, const QString &Devote = {}, const QString &Description = {},
                        const QPixmap &Picture = {},
                        const QString &PictureToolTipText = AboutBoxInfo::DefaultPictureToolTipText());

    /// Puts a paste guard (CTextBoxInsertHook) on \a TextBoxControl, a
    /// QLineEdit or QPlainTextEdit; false when it already has one from this
    /// object. Raises 5 (invalid argument) for anything else.
    bool AddTextBoxInsertHook(QWidget *TextBoxControl);
    /// Takes this object's paste guard off \a TextBoxControl; false when it
    /// has none. Raises 5 as AddTextBoxInsertHook does.
    bool RemoveTextBoxInsertHook(QWidget *TextBoxControl);
    /// Takes all of this object's paste guards off.
    void ClearTextBoxInsertHooks();

    /// Shows \a ChildForm modally while \a ParentForm steps out of sight: the
    /// parent is hidden, and shown again at its place as soon as the child is
    /// hidden, closed or destroyed. A QDialog runs its own exec(); any other
    /// widget is shown as an application-modal window. Null windows are passed
    /// over (a null parent: the child is simply shown modally).
    void ShowModalForm(QWidget *ParentForm, QWidget *ChildForm);

    /// The first index from \a StartAt (default: the lower bound) to \a EndAt
    /// (default: the upper bound) whose element equals \a FindWhat, compared
    /// as the platform compares a value with a number; the lower bound minus
    /// 1 when there is none. \a IsFound tells which. Raises 9 for a
    /// never-dimensioned array or an index outside the bounds and 13 when
    /// \a FindWhat is a text that is no number.
    qint32 InArray(const BoundedArray<qint32> &ArrayX, const QVariant &FindWhat, std::optional<qint32> StartAt = {},
                   std::optional<qint32> EndAt = {}, bool *IsFound = nullptr) const;
    bool IsInArray(const BoundedArray<qint32> &ArrayX, const QVariant &FindWhat, std::optional<qint32> StartAt = {},
                   std::optional<qint32> EndAt = {}) const;

    /// As InArray over the items 1 to Count(), compared as two Variants
    /// (tessera::compareVariants); 0 when not found. Raises 91 for a null
    /// collection, 9 for an index outside 1 to Count().
    qint32 InCollection(const Collection *SourceCollection, const QVariant &FindWhat,
                        std::optional<qint32> StartAt = {}, std::optional<qint32> EndAt = {},
                        bool *IsFound = nullptr) const;
    bool IsInCollection(const Collection *SourceCollection, const QVariant &FindWhat,
                        std::optional<qint32> StartAt = {}, std::optional<qint32> EndAt = {}) const;

    /// The index of the first checked button of the group, -1 when none is
    /// checked or the array was never dimensioned. Null entries (gaps of the
    /// group) are passed over.
    qint32 GetSelectedOptionButtonIndex(const BoundedArray<QRadioButton *> &OptionButtonArray) const;
    /// Checks button \a Index of the group; the first button when there is no
    /// such button.
    void SetSelectedOptionButtonIndex(const BoundedArray<QRadioButton *> &OptionButtonArray, qint32 Index) const;

    /// Clicks \a Button when it is an enabled push button and returns true;
    /// false, clicking nothing, otherwise.
    bool PressButton(QWidget *Button) const;

    /// Gives every control of the window \a Frm (not the window itself, nor
    /// the controls of other windows inside it) the font Times New Roman,
    /// 10.5 points, italic.
    void FixFonts(QWidget *Frm) const;

    /// The items of \a SourceCollection as text with \a Delimiter between
    /// them. Without \a RaiseErrors an item that does not convert is left out
    /// and a null collection gives ""; with it the error is raised (13, 438,
    /// 91).
    QString JoinCollection(const Collection *SourceCollection, const QString &Delimiter,
                           bool RaiseErrors = false) const;

    /// Gives the drop-down lists (non-editable QComboBoxes) of the window
    /// \a Frm the pointing-hand cursor, as a sign that a click opens them.
    void FixCBCursors(QWidget *Frm) const;

    /// Attaches file-system completion to a QLineEdit or the edit field of an
    /// editable QComboBox (see attachAutoComplete in lib/dialogs); false for
    /// any other control.
    bool AddAutoComplete(QWidget *CTL, qint32 Flags = aacDefault) const;

    /// As InArray for texts compared exactly, case-sensitive.
    qint32 InArrayBSTR(const BoundedArray<QString> &ArrayX, const QString &FindWhat, std::optional<qint32> StartAt = {},
                       std::optional<qint32> EndAt = {}, bool *IsFound = nullptr) const;
    bool IsInArrayBSTR(const BoundedArray<QString> &ArrayX, const QString &FindWhat, std::optional<qint32> StartAt = {},
                       std::optional<qint32> EndAt = {}) const;

    /// \a Expression split at \a Delimiter (default one blank; an empty one
    /// gives the whole text) into at most \a Limit pieces (-1: no limit, the
    /// last piece keeps the rest), the delimiter compared binary (\a Compare
    /// 0) or ignoring case (1). An empty text gives an empty collection. A
    /// \a Limit below -1 or another \a Compare raises 5 with \a RaiseErrors
    /// and gives an empty collection without.
    Collection SplitCollection(const QString &Expression, const std::optional<QString> &Delimiter = {},
                               qint32 Limit = -1, qint32 Compare = 0, bool RaiseErrors = false) const;

    // Pictures (lib/pictures/crvMainPictures.cpp).

    /// Loads a picture file through the reader chain (LoadWithReaders): BMP,
    /// JPEG, GIF, icons and cursors, PNG and TIFF through Qt's readers, and
    /// the library's own Photoshop, PCX and Targa readers. The kind is told
    /// from the file's first bytes, never from its name. An empty
    /// \a FileName gives the empty picture and leaves \a Info alone.
    /// \a Info receives the picture's facts: when it points to a null
    /// pointer, a new PictureInfo is stored there and belongs to the caller.
    /// Raises 53 (file not found) for a missing file and 481 (invalid
    /// picture) when no reader loads it (\a Info then holds zeros).
    StdPicture LoadPictureEx(const QString &FileName = {}, PictureInfo **Info = nullptr);
    /// LoadPictureEx for script hosts: \a FileName as text, \a Info Empty,
    /// Nothing or a PictureInfo object (13, type mismatch, for anything
    /// else); the PictureInfo used is stored back into \a Info. Returns the
    /// picture as a QVariant holding a StdPicture.
    QVariant LoadPictureExByVar(const QVariant &FileName, QVariant &Info);
    /// The open dialog's filter for every picture the chain reads: "Картинки"
    /// with all patterns, then one pair per kind, then "Все файлы|*.*".
    /// Icons, cursors and metafiles are listed only when asked for.
    QString GetLoadPictureExFilter(bool IncludeIcon = false, bool IncludeCursor = false, bool IncludeWMF = false,
                                   bool IncludeEMF = false) const;
    /// The wildcards of every picture the chain reads, joined by ";".
    QString GetLoadPictureExPattern(bool IncludeIcon = false, bool IncludeCursor = false, bool IncludeWMF = false,
                                    bool IncludeEMF = false) const;
    /// Loads a picture held in \a ResourceData through a temporary file,
    /// which is removed whether or not the load succeeds; the load's error
    /// passes on unchanged. \a Info as for LoadPictureEx.
    StdPicture LoadResPictureByData(const QByteArray &ResourceData, PictureInfo **Info = nullptr);

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
