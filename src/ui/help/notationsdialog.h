#pragma once

#include <QDialog>

namespace vorlac
{

// "Notations du vorlac": the picture of the prism's angles and their names; nothing else.
class NotationsDialog : public QDialog
{
    Q_OBJECT
  public:
    explicit NotationsDialog(QWidget *parent = nullptr);
};

} // namespace vorlac
