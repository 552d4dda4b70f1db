#pragma once

#include "help/chmfile.h"
#include "help/helpsearch.h"

#include <QWidget>
#include <memory>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace vorlac
{

class ChmBrowser;

// The window that shows one compiled-HTML file: contents, index and search tabs beside the page.
class HelpViewer : public QWidget
{
    Q_OBJECT
  public:
    enum Tab { ContentsTab = 0, IndexTab = 1, SearchTab = 2 };

    // Takes an opened file.
    HelpViewer(std::unique_ptr<ChmFile> file, QWidget *parent = nullptr);
    ~HelpViewer() override;

    const ChmFile &file() const { return *m_file; }
    ChmBrowser *browser() const { return m_browser; }
    void showTab(Tab tab);
    QString currentPage() const;
    void search(const QString &words);

  private:
    void showPage(const QString &path);
    void fillContents();
    void fillIndex();
    void buildSearchIndex();
    void filterIndex(const QString &text);

    std::unique_ptr<ChmFile> m_file;
    HelpSearchIndex m_search;
    bool m_searchBuilt = false;
    QTabWidget *m_tabs;
    QTreeWidget *m_contents;
    QLineEdit *m_indexFilter;
    QListWidget *m_index;
    QLineEdit *m_searchText;
    QListWidget *m_results;
    ChmBrowser *m_browser;
    QToolButton *m_back;
    QToolButton *m_forward;
};

} // namespace vorlac
