#include "help/helpviewer.h"

#include "help/chmbrowser.h"
#include "help/sitemap.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vorlac
{

namespace
{
constexpr int kPathRole = Qt::UserRole;
}

HelpViewer::HelpViewer(std::unique_ptr<ChmFile> file, QWidget *parent)
    : QWidget(parent, Qt::Window), m_file(std::move(file))
{
    setObjectName(QStringLiteral("helpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QString name = m_file->fileName().section(u'/', -1);
    setWindowTitle(m_file->title().isEmpty() ? name : m_file->title());
    resize(900, 620);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("helpTabs"));
    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("contents"));
    m_contents->setHeaderHidden(true);
    m_tabs->addTab(m_contents, tr("Sommaire"));

    auto *indexPage = new QWidget;
    auto *indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(new QLabel(tr("Tapez le début du mot-clé :")));
    m_indexFilter = new QLineEdit;
    m_indexFilter->setObjectName(QStringLiteral("indexFilter"));
    indexLayout->addWidget(m_indexFilter);
    m_index = new QListWidget;
    m_index->setObjectName(QStringLiteral("index"));
    indexLayout->addWidget(m_index);
    m_tabs->addTab(indexPage, tr("Index"));

    auto *searchPage = new QWidget;
    auto *searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(new QLabel(tr("Mots à rechercher :")));
    auto *searchRow = new QHBoxLayout;
    m_searchText = new QLineEdit;
    m_searchText->setObjectName(QStringLiteral("searchText"));
    auto *searchButton = new QPushButton(tr("Rechercher"));
    searchButton->setObjectName(QStringLiteral("searchButton"));
    searchRow->addWidget(m_searchText);
    searchRow->addWidget(searchButton);
    searchLayout->addLayout(searchRow);
    m_results = new QListWidget;
    m_results->setObjectName(QStringLiteral("searchResults"));
    searchLayout->addWidget(m_results);
    m_tabs->addTab(searchPage, tr("Rechercher"));

    m_browser = new ChmBrowser(*m_file);
    m_back = new QToolButton;
    m_back->setObjectName(QStringLiteral("back"));
    m_back->setText(tr("◀ Précédent"));
    m_back->setEnabled(false);
    m_forward = new QToolButton;
    m_forward->setObjectName(QStringLiteral("forward"));
    m_forward->setText(tr("Suivant ▶"));
    m_forward->setEnabled(false);
    auto *home = new QToolButton;
    home->setObjectName(QStringLiteral("home"));
    home->setText(tr("Accueil"));
    auto *bar = new QHBoxLayout;
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addWidget(home);
    bar->addStretch();
    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(bar);
    rightLayout->addWidget(m_browser);

    auto *splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    // Escape closes the window as it closes every dialog of the program.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(home, &QToolButton::clicked, this, [this] { showPage(m_file->defaultTopic()); });
    const auto openItem = [this](const QString &path) {
        if (!path.isEmpty())
            showPage(path);
    };
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [openItem](QTreeWidgetItem *item) { openItem(item->data(0, kPathRole).toString()); });
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [openItem](QTreeWidgetItem *item) { openItem(item->data(0, kPathRole).toString()); });
    for (QListWidget *list : {m_index, m_results}) {
        connect(list, &QListWidget::itemActivated, this,
                [openItem](QListWidgetItem *item) { openItem(item->data(kPathRole).toString()); });
        connect(list, &QListWidget::itemClicked, this,
                [openItem](QListWidgetItem *item) { openItem(item->data(kPathRole).toString()); });
    }
    connect(m_indexFilter, &QLineEdit::textChanged, this, &HelpViewer::filterIndex);
    connect(m_indexFilter, &QLineEdit::returnPressed, this, [this, openItem] {
        for (int k = 0; k < m_index->count(); ++k) {
            if (!m_index->item(k)->isHidden()) {
                openItem(m_index->item(k)->data(kPathRole).toString());
                return;
            }
        }
    });
    const auto runSearch = [this] { search(m_searchText->text()); };
    connect(searchButton, &QPushButton::clicked, this, runSearch);
    connect(m_searchText, &QLineEdit::returnPressed, this, runSearch);

    fillContents();
    fillIndex();
    QString first = m_file->defaultTopic();
    if (first.isEmpty() && m_contents->topLevelItemCount() > 0)
        first = m_contents->topLevelItem(0)->data(0, kPathRole).toString();
    if (!first.isEmpty())
        showPage(first);
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::fillContents()
{
    const std::optional<QByteArray> bytes = m_file->read(m_file->contentsFile());
    if (!bytes)
        return;
    // Parents by depth; a jump of several levels hangs the item under the deepest one there is.
    QList<QTreeWidgetItem *> parents;
    for (const SitemapItem &s : parseSitemap(*bytes)) {
        while (parents.size() > s.depth)
            parents.removeLast();
        auto *item = parents.isEmpty() ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.last());
        item->setText(0, s.name);
        item->setData(0, kPathRole,
                      s.local.isEmpty() ? QString() : ChmFile::normalisePath(s.local.section(u'#', 0, 0)));
        parents.append(item);
    }
    m_contents->expandAll();
}

void HelpViewer::fillIndex()
{
    const std::optional<QByteArray> bytes = m_file->read(m_file->indexFile());
    if (!bytes)
        return;
    for (const SitemapItem &s : parseSitemap(*bytes)) {
        auto *item = new QListWidgetItem(QString(s.depth * 4, u' ') + s.name, m_index);
        item->setData(kPathRole, s.local.isEmpty() ? QString() : ChmFile::normalisePath(s.local.section(u'#', 0, 0)));
    }
}

void HelpViewer::filterIndex(const QString &text)
{
    const QString wanted = HelpSearchIndex::words(text).join(u' ');
    bool selected = false;
    for (int k = 0; k < m_index->count(); ++k) {
        QListWidgetItem *item = m_index->item(k);
        const bool show = wanted.isEmpty() || HelpSearchIndex::words(item->text()).join(u' ').startsWith(wanted);
        item->setHidden(!show);
        if (show && !selected && !wanted.isEmpty()) {
            m_index->setCurrentItem(item);
            selected = true;
        }
    }
}

void HelpViewer::buildSearchIndex()
{
    if (m_searchBuilt)
        return;
    m_searchBuilt = true;
    for (const QString &page : m_file->pages()) {
        if (!page.endsWith(u".html", Qt::CaseInsensitive) && !page.endsWith(u".htm", Qt::CaseInsensitive))
            continue;
        if (const std::optional<QByteArray> bytes = m_file->read(page))
            m_search.addPage(page, *bytes);
    }
}

void HelpViewer::search(const QString &words)
{
    buildSearchIndex();
    m_searchText->setText(words);
    m_results->clear();
    const QList<HelpSearchIndex::Hit> hits = m_search.search(words);
    if (hits.isEmpty()) {
        auto *none = new QListWidgetItem(tr("Aucune page ne contient ces mots."), m_results);
        none->setFlags(Qt::NoItemFlags);
        return;
    }
    for (const HelpSearchIndex::Hit &hit : hits) {
        auto *item = new QListWidgetItem(hit.title, m_results);
        item->setData(kPathRole, hit.path);
    }
}

void HelpViewer::showTab(Tab tab)
{
    m_tabs->setCurrentIndex(tab);
}

void HelpViewer::showPage(const QString &path)
{
    m_browser->setSource(ChmBrowser::pageUrl(path), QTextDocument::HtmlResource);
}

QString HelpViewer::currentPage() const
{
    return m_browser->source().path();
}

} // namespace vorlac
