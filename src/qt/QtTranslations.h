#pragma once

class QCoreApplication;

namespace parvane::qt {

// Installs Qt's own catalogue (qtbase_<language>.qm from the installed Qt translations) for the
// system's language, so that the texts that Qt draws itself (the Cancel button of a message box,
// context menus, the file dialog) read as the desktop's: "Annuler" on a French desktop. Parvane's
// own texts are French whatever the language. Returns false when no catalogue was found for the
// language (an English desktop, or Debian's qt6-translations-l10n not installed): Qt then keeps
// its English texts. Call once, after the application object exists; it keeps the catalogue.
bool installQtTranslations(QCoreApplication& application);

} // namespace parvane::qt
