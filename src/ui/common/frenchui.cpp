#include "common/frenchui.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <cstring>

namespace vorlac
{

namespace
{

struct ButtonText {
    const char *english;
    const char *french;
};

// The source texts are those Qt gives its standard buttons.
constexpr ButtonText kButtons[] = {
    {"OK", "OK"},
    {"Cancel", "Annuler"},
    {"&Yes", "&Oui"},
    {"Yes", "Oui"},
    {"&No", "&Non"},
    {"No", "Non"},
    {"Yes to &All", "Oui à &tout"},
    {"N&o to All", "Non à to&ut"},
    {"Close", "Fermer"},
    {"Save", "Enregistrer"},
    {"Save All", "Tout enregistrer"},
    {"Open", "Ouvrir"},
    {"Apply", "Appliquer"},
    {"Help", "Aide"},
    {"Abort", "Abandonner"},
    {"Retry", "Réessayer"},
    {"Ignore", "Ignorer"},
    {"Discard", "Ne pas enregistrer"},
    {"Don't Save", "Ne pas enregistrer"},
    {"Reset", "Réinitialiser"},
    {"Restore Defaults", "Restaurer les valeurs par défaut"},
};

} // namespace

QString FrenchButtonTranslator::translate(const char *context, const char *sourceText, const char *, int) const
{
    if (!context || !sourceText)
        return {};
    if (std::strcmp(context, "QPlatformTheme") != 0 && std::strcmp(context, "QDialogButtonBox") != 0 &&
        std::strcmp(context, "QMessageBox") != 0)
        return {};
    for (const ButtonText &b : kButtons)
        if (std::strcmp(sourceText, b.english) == 0)
            return QString::fromUtf8(b.french);
    return {};
}

bool installFrenchTranslations(QCoreApplication &app, const QString &translationsDir)
{
    // Translators installed later are asked first: Qt's own, then the fallback.
    QCoreApplication::installTranslator(new FrenchButtonTranslator(&app));
    const QString dir =
        translationsDir.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : translationsDir;
    auto *qt = new QTranslator(&app);
    if (!qt->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    return true;
}

QFont programFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    return font;
}

void applyProgramFont()
{
    QApplication::setFont(programFont());
}

} // namespace vorlac
