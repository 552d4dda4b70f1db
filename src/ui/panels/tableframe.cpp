#include "panels/tableframe.h"

#include "common/clicklabel.h"
#include "common/menus.h"
#include "common/panelstyle.h"
#include "table/tablemenus.h"

#include <QPainter>

namespace vorlac
{

namespace
{

constexpr int kTitleHeight = 19;

// The "Commandes" button drawn over the left end of the title bar.
QPixmap commandsPicture(const QFont &font, qreal dpr)
{
    QPixmap pm(QSize(113, kTitleHeight) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, kTitleHeight);
    g.setColorAt(0, QColor(250, 250, 245));
    g.setColorAt(1, QColor(214, 214, 200));
    p.setBrush(g);
    p.setPen(QColor(90, 90, 110));
    p.drawRoundedRect(QRectF(0.5, 0.5, 112, 18), 3, 3);
    p.setPen(kTitleBarColour);
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(7, 5.5 + 4 * i), QPointF(17, 5.5 + 4 * i));
    QFont bold = font;
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRectF(22, 0, 76, kTitleHeight), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Commandes"));
    QPolygonF tri;
    tri << QPointF(100, 7.5) << QPointF(108, 7.5) << QPointF(104, 12.5);
    p.setBrush(kTitleBarColour);
    p.setPen(Qt::NoPen);
    p.drawPolygon(tri);
    return pm;
}

} // namespace

TableFrame::TableFrame(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame4"));
    setGeometry(8, 336, 409, 209);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    hide();

    m_title = new ClickLabel(QStringLiteral(" Tableau de valeurs  "), this);
    m_title->setObjectName(QStringLiteral("Label26"));
    m_title->setGeometry(88, 0, 321, kTitleHeight);
    m_title->setToolTip(QStringLiteral("Fermer"));
    m_title->setAccessibleName(QStringLiteral("Fermer le tableau de valeurs"));
    styleTitleBar(m_title);
    m_title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_menuButton = new ClickLabel(this);
    m_menuButton->setObjectName(QStringLiteral("Image5"));
    m_menuButton->setGeometry(0, 0, 113, kTitleHeight);
    m_menuButton->setPixmap(commandsPicture(font(), devicePixelRatioF()));
    m_menuButton->setToolTip(QStringLiteral("Commandes du tableau"));
    m_menuButton->setCursor(Qt::PointingHandCursor);

    m_tableMenu = makeTableMenu(this);
    m_columnMenu = makeColumnMenu(this);

    connect(m_menuButton, &ClickLabel::clicked, this, [this] { m_tableMenu->popup(mapToGlobal(QPoint(0, 0))); });
    connect(m_title, &ClickLabel::clicked, this, &TableFrame::hideRequested);
    connect(namedAction(*m_tableMenu, "fermtab"), &QAction::triggered, this, &TableFrame::hideRequested);
}

void TableFrame::setGrid(QWidget *grid)
{
    m_grid = grid;
    grid->setParent(this);
    grid->setGeometry(1, kTitleHeight, width() - 2, height() - kTitleHeight - 1);
    grid->show();
}

} // namespace vorlac
