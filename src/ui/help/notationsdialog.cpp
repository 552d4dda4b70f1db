#include "help/notationsdialog.h"

#include "common/pictures.h"

#include <QLabel>

namespace vorlac
{

NotationsDialog::NotationsDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Notations"));
    setWindowTitle(QStringLiteral("Notations du vorlac"));
    setFixedSize(294, 200);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(0, 0, 294, 200);
    image->setPixmap(svgPicture(QStringLiteral("notations"), QSize(294, 200), devicePixelRatioF()));
}

} // namespace vorlac
