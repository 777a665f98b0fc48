#pragma once

class QObject;
class QWidget;

/// The optional link to the maker's toolbar program Skylark: an outside
/// component, "Skylark.crvToolbarProxy", created by programmatic identifier
/// and called by member name. Every failure is silent: without the component
/// the program runs unchanged, and nothing it returns is used.
namespace quillon::modSkylark {

/// Creates the toolbar proxy (replacing one made before) and calls its
/// "ShowToolBar". When the component cannot be created, ToolbarProxy stays
/// empty. The proxy lives until the application object goes.
void ShowSkylarkToolbar();

/// Calls the proxy's "MarkForm" / "UnMarkForm" with the native handle of
/// \a Form as a 32-bit integer, as the windows frmMain, frmBatch and
/// frmEditEMail open and close. Nothing happens without a proxy or a form.
void MarkToolbarForm(QWidget *Form);
void UnmarkToolbarForm(QWidget *Form);

/// The toolbar proxy; nullptr when there is none.
QObject *ToolbarProxy();

} // namespace quillon::modSkylark
