#include "ui/widgets/GermanQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zf::ui {

bool installGermanQtTranslations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace zf::ui
