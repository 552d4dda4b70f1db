#pragma once

#include <QWidget>

class QToolButton;

namespace vorlac
{

class HintLine;

// The row of command buttons along the top of the main window. The assembly connects each
// button to its command; the table toggle Check1 is checkable.
class Toolbar : public QWidget
{
    Q_OBJECT
  public:
    Toolbar(HintLine &hints, QWidget *parent);

    QToolButton *openButton() const { return m_open; }           // Command2 "Ouvrir"
    QToolButton *saveButton() const { return m_save; }           // Command11 "Enregistrer"
    QToolButton *copyButton() const { return m_copy; }           // Command4 "Copier"
    QToolButton *printButton() const { return m_print; }         // Command10 "Imprimer"
    QToolButton *tableToggle() const { return m_table; }         // Check1 "Tableau"
    QToolButton *calculatorButton() const { return m_calc; }     // Command8 "Calculatrice"
    QToolButton *notationsButton() const { return m_notations; } // Command3 "Notations"
    QToolButton *courseButton() const { return m_course; }       // Command9 "Voir le cours"
    QToolButton *helpButton() const { return m_help; }           // Command7 "Aide"
    QToolButton *closeButton() const { return m_close; }         // Command1 "Fermer"

  private:
    QToolButton *m_open, *m_save, *m_copy, *m_print, *m_table, *m_calc, *m_notations, *m_course, *m_help, *m_close;
};

} // namespace vorlac
