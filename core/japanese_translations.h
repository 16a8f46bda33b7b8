#pragma once
// The toolkit's own texts in Japanese: the buttons and labels of the file,
// colour, printer and page set-up dialogs come from Qt's translations
// (qtbase_ja.qm, Debian's qt6-translations-l10n), and dates and numbers
// follow the Japanese locale.

class QCoreApplication;
class QTranslator;

namespace vortan {

// Sets the Japanese locale as the default and installs qtbase_ja.qm from
// Qt's translations folder (or, when the program ships its own copy, from a
// "translations" folder beside it); returns the installed translator, owned
// by `application`. Null when no translation was found: the standard
// dialogs then keep the toolkit's English, and the program's own texts are
// Japanese all the same.
QTranslator* InstallJapaneseTranslations(QCoreApplication& application);

} // namespace vortan
