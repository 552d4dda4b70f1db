#include "help/helpaccess.h"

#include "help/notationsdialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>

namespace vorlac
{

HelpAccess::HelpAccess(QWidget *owner, QString programDirectory, Messenger messenger)
    : QObject(owner), m_owner(owner), m_directory(std::move(programDirectory)), m_messenger(std::move(messenger))
{
    if (m_directory.isEmpty())
        m_directory = QCoreApplication::applicationDirPath();
    if (!m_directory.endsWith(u'/'))
        m_directory += u'/';
    qApp->installEventFilter(this);
}

HelpAccess::~HelpAccess()
{
    qApp->removeEventFilter(this);
    for (const QPointer<HelpViewer> &v : std::as_const(m_viewers))
        delete v.data();
}

QString HelpAccess::openMessage(const QString &fileName, ChmFile::Error error, const QString &directory)
{
    const QString name = QStringLiteral("« %1 »").arg(fileName);
    switch (error) {
    case ChmFile::Error::Missing:
        return QStringLiteral("Le fichier %1 est introuvable dans le dossier du programme :\n%2")
            .arg(name, QDir::toNativeSeparators(directory));
    case ChmFile::Error::NotRegular:
    case ChmFile::Error::NotChm:
        return QStringLiteral("Le fichier %1 n'est pas un fichier d'aide au format HTML compilé (.chm) : "
                              "il ne peut pas être affiché.")
            .arg(name);
    case ChmFile::Error::TooLarge:
        return QStringLiteral("Le fichier %1 est trop volumineux pour un fichier d'aide (plus de 32 Mo).").arg(name);
    case ChmFile::Error::Unreadable:
        return QStringLiteral("Le fichier %1 ne peut pas être lu : vérifiez vos droits d'accès.").arg(name);
    case ChmFile::Error::Damaged:
    case ChmFile::Error::None:
        break;
    }
    return QStringLiteral("Le fichier %1 est endommagé : il ne peut pas être affiché.").arg(name);
}

QWidget *HelpAccess::dialogParent() const
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal : m_owner;
}

HelpViewer *HelpAccess::open(const QString &fileName, std::optional<HelpViewer::Tab> tab)
{
    QWidget *parent = dialogParent();
    HelpViewer *viewer = m_viewers.value(fileName);
    if (!viewer) {
        auto file = std::make_unique<ChmFile>();
        if (!file->open(m_directory + fileName)) {
            m_messenger.critical(parent, QStringLiteral("Aide"), openMessage(fileName, file->error(), m_directory));
            return nullptr;
        }
        viewer = new HelpViewer(std::move(file), parent);
        m_viewers.insert(fileName, viewer);
        tab = tab.value_or(HelpViewer::ContentsTab);
    } else if (viewer->parentWidget() != parent) {
        const QRect where = viewer->geometry();
        viewer->setParent(parent, Qt::Window);
        viewer->setGeometry(where);
    }
    if (tab)
        viewer->showTab(*tab);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

HelpViewer *HelpAccess::showHelp()
{
    return open(QString::fromLatin1(kHelpFileName), HelpViewer::ContentsTab);
}

HelpViewer *HelpAccess::showCourse()
{
    m_courseSet = true;
    return open(QString::fromLatin1(kCourseFileName), std::nullopt);
}

void HelpAccess::showNotations()
{
    NotationsDialog dialog(dialogParent());
    dialog.exec();
}

bool HelpAccess::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier && m_courseSet) {
            if (!key->isAutoRepeat())
                showCourse();
            return true;
        }
    } else if (event->type() == QEvent::Hide && watched->isWidgetType() && watched != m_owner) {
        // A dialog that held a viewer is closing: the viewer goes back to the main window.
        for (const QPointer<HelpViewer> &v : std::as_const(m_viewers)) {
            if (v && v->parentWidget() == watched) {
                const QRect where = v->geometry();
                const bool shown = v->isVisible();
                v->setParent(m_owner, Qt::Window);
                v->setGeometry(where);
                if (shown)
                    v->show();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vorlac
