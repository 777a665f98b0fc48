#pragma once

#include <QObject>
#include <QVariantList>

namespace toolbar {

/// A test double of the Skylark toolbar's "Skylark.crvToolbarProxy" that
/// records every call it receives, in order, in Calls: one list per call,
/// the member's name first, then its arguments ({"ShowToolBar"},
/// {"MarkForm", handle}, {"UnMarkForm", handle}).
///
/// It fails when told to: while the environment variable
/// TESSERA_RECORDING_TOOLBAR_FAIL holds a member's name (several separated
/// by commas), that member records the call and then raises RuntimeError
/// -2147220991 (the object-error base + 513) with Source
/// "Skylark.crvToolbarProxy".
class RecordingToolbarProxy : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariantList Calls READ Calls)

public:
    using QObject::QObject;

    Q_INVOKABLE void ShowToolBar();
    Q_INVOKABLE void MarkForm(qint32 hWnd);
    Q_INVOKABLE void UnMarkForm(qint32 hWnd);

    QVariantList Calls() const { return m_calls; }

private:
    void record(const QVariantList &call);

    QVariantList m_calls;
};

} // namespace toolbar
