#include "common/panelstyle.h"

#include <QLabel>

namespace vorlac
{

void styleTitleBar(QLabel *bar)
{
    bar->setAutoFillBackground(true);
    QPalette p = bar->palette();
    p.setColor(QPalette::Window, kTitleBarColour);
    p.setColor(QPalette::WindowText, Qt::white);
    bar->setPalette(p);
    setBold(bar);
    bar->setCursor(Qt::PointingHandCursor);
}

QLabel *addLabel(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    return l;
}

void styleReadout(QLabel *label)
{
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAutoFillBackground(true);
    label->setStyleSheet(QStringLiteral("background: white;"));
}

void setBold(QWidget *w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

} // namespace vorlac
