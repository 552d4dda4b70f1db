#include "common/filedialogs.h"

#include "common/filetypename.h"
#include "situations/situationnames.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMimeDatabase>
#include <QSplitter>
#include <QTreeView>
#include <QUrl>
#include <algorithm>

namespace vorlac
{

namespace
{

enum Column { Name, Size, Type, Modified, ColumnCount };

// Icons and type names from the file's name only. Qt's provider asks the MIME database with the
// file's content, which opens and reads every file listed, on the interface's thread.
class NameOnlyIconProvider : public QFileIconProvider
{
  public:
    NameOnlyIconProvider() { setOptions(DontUseCustomDirectoryIcons); }
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo &info) const override
    {
        if (QDir(info.absoluteFilePath()).isRoot())
            return icon(Drive);
        if (info.isDir())
            return icon(Folder);
        const QMimeType mime = m_mimes.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
        return QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), icon(File)));
    }
    QString type(const QFileInfo &info) const override { return fileTypeName(info); }

  private:
    QMimeDatabase m_mimes;
};

const char *const kTitles[ColumnCount] = {"Nom", "Taille", "Type", "Date de modification"};

// French column titles whatever Qt translations are installed; sizes and dates in the program's
// locale (Qt's model writes them in the system's, English under the "C" locale).
class FrenchColumns : public QIdentityProxyModel
{
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
            return QString::fromUtf8(kTitles[section]);
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role == Qt::DisplayRole && files && (index.column() == Size || index.column() == Modified)) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == Modified)
                return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
            return files->isDir(source) ? QString() : QLocale().formattedDataSize(files->size(source));
        }
        return QIdentityProxyModel::data(index, role);
    }
};

int widest(const QFontMetrics &metrics, const QStringList &texts)
{
    int width = 0;
    for (const QString &text : texts)
        width = std::max(width, metrics.horizontalAdvance(text));
    return width;
}

// Each column as wide as the longest text it will likely show and its title; the name takes
// what is left as the dialog is resized.
void fitColumns(QFileDialog &dialog)
{
    auto *tree = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (!tree)
        return;
    QHeaderView *header = tree->header();
    const QFontMetrics cells(tree->font());
    const QFontMetrics titles(header->font());
    const int padding = cells.horizontalAdvance(QStringLiteral("MMM"));
    const QLocale locale;
    const QStringList sizes{locale.formattedDataSize(1023), locale.formattedDataSize(1023 * 1024 + 1000),
                            locale.formattedDataSize(qint64(1023) * 1024 * 1024 + 1000 * 1024)};
    const QDateTime late(QDate(2000, 12, 28), QTime(23, 58, 58));
    const QStringList types = knownFileTypeNames() << QStringLiteral("Fichier WXYZ");
    const int widths[ColumnCount] = {0, widest(cells, sizes), widest(cells, types),
                                     cells.horizontalAdvance(locale.toString(late, QLocale::ShortFormat))};
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(titles.horizontalAdvance(QStringLiteral("MMMM")));
    header->setSectionResizeMode(Name, QHeaderView::Stretch);
    for (int c = Size; c < ColumnCount; ++c) {
        header->setSectionResizeMode(c, QHeaderView::Interactive);
        // The title's hint counts the sort arrow.
        header->resizeSection(c, std::max(widths[c] + padding, header->sectionSizeHint(c)));
    }
    header->setSectionHidden(Size, false);
    header->setSectionHidden(Type, false);
    header->setSectionHidden(Modified, false);

    // The folders' panel as wide as its entries, the list the rest: a dialog that shows every
    // column with room for the names.
    int columns = 0;
    for (int c = Size; c < ColumnCount; ++c)
        columns += header->sectionSize(c);
    const int nameRoom = cells.horizontalAdvance(QLatin1Char('M')) * 24;
    auto *splitter = dialog.findChild<QSplitter *>(QStringLiteral("splitter"));
    const auto *sidebar = dialog.findChild<QAbstractItemView *>(QStringLiteral("sidebar"));
    const int side = sidebar ? sidebar->sizeHintForColumn(0) + padding : 0;
    const int list = columns + nameRoom + padding;
    if (splitter)
        splitter->setSizes({side, list});
    const int frame = dialog.sizeHint().width() - (splitter ? splitter->sizeHint().width() : 0);
    dialog.resize(std::max(dialog.sizeHint().width(), side + list + std::max(frame, 0)),
                  std::max(dialog.sizeHint().height(), cells.height() * 26));
}

QList<QUrl> sidebarPlaces()
{
    QList<QUrl> places{QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath())};
    const QUrl documents = QUrl::fromLocalFile(documentsFolder());
    if (!places.contains(documents))
        places << documents;
    return places;
}

} // namespace

QString askForFile(QWidget *parent, const FileDialogRequest &request, QString *selectedFilter)
{
    // Made before the dialog so that it outlives the dialog's model, which asks it to the end.
    NameOnlyIconProvider icons;
    QFileDialog dialog(parent, request.title, request.folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
    dialog.setIconProvider(&icons);
    dialog.setProxyModel(new FrenchColumns(&dialog));
    // Qt's history and sidebar are shared by every Qt program: folders met elsewhere (/proc
    // among them) are neither offered nor listed.
    dialog.setHistory({});
    dialog.setSidebarUrls(sidebarPlaces());
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Voir dans :"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nom de fichier :"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Fichiers de type :"));
    dialog.setLabelText(QFileDialog::Accept, request.save ? QStringLiteral("Enregistrer") : QStringLiteral("Ouvrir"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The program asks its own overwrite question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (request.chooseFolder) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Dossier :"));
        dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Choisir"));
    }
    if (!request.filters.isEmpty()) {
        dialog.setNameFilters(request.filters);
        dialog.selectNameFilter(request.filters.front());
    }
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    fitColumns(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

} // namespace vorlac
