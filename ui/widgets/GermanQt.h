#pragma once
// Qt's own texts in German: the standard dialogs (files, fonts, calendar), the context menus of the
// edit fields and the standard buttons, whatever the machine's language.

namespace zf::ui {

// Loads Qt's German translations into the running application. False when they are not installed
// (the program then still works, with Qt's English texts).
bool installGermanQtTranslations();

} // namespace zf::ui
