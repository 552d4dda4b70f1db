#pragma once

#include <QFont>
#include <QString>
#include <QTranslator>

class QApplication;
class QCoreApplication;

namespace vorlac
{

// French texts of the standard buttons (OK, Annuler, Oui, Non...), for when Qt's own French
// translations are not installed. Answers only the contexts of Qt's standard buttons.
class FrenchButtonTranslator : public QTranslator
{
    Q_OBJECT
  public:
    using QTranslator::QTranslator;
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

// Installs Qt's French translations (qtbase_fr from Qt's translations folder, or from
// translationsDir when given) over the button fallback; the translators belong to app.
// Returns whether qtbase_fr was found; the buttons read French either way.
bool installFrenchTranslations(QCoreApplication &app, const QString &translationsDir = {});

// The program's type, set once for the application so that every window and dialog uses it.
QFont programFont();
void applyProgramFont();

} // namespace vorlac
