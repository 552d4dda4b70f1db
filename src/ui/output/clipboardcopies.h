#pragma once

#include "common/messenger.h"
#include "output/tablepages.h"

#include <QImage>
#include <QString>
#include <functional>

class QClipboard;

namespace vorlac
{

class ValueTable;

// Where the copies go: the system clipboard, or a test's stand-in. Each function puts its data
// and reports whether it is really there.
struct ClipboardPort {
    std::function<bool(const QImage &)> putImage;
    std::function<bool(const QString &)> putText;
    static ClipboardPort system(); // QGuiApplication::clipboard(), read back after each write
};

// The three copies of `menucopie`. Each returns true only once the data is on the clipboard;
// otherwise it shows a critical message and the caller must not show the confirmation.
class ClipboardCopies
{
  public:
    explicit ClipboardCopies(Messenger messenger = {}, ClipboardPort port = ClipboardPort::system());

    // cop001: the scene picture with Line1 and the lamp drawn in, as a bitmap.
    bool copyFigure(const QImage &figure, QWidget *parent = nullptr) const;
    // cop002: a picture of the whole table; needs no widget, so works with the panel hidden.
    bool copyTablePicture(const ValueTable &table, const TableGridMetrics &grid = {}, QWidget *parent = nullptr) const;
    // cop003: the whole table as text (TAB between cells, LF between rows, title row first).
    // The active cell stays where it is, on a data line.
    bool copyTableText(const ValueTable &table, QWidget *parent = nullptr) const;

  private:
    bool report(bool ok, QWidget *parent) const;
    Messenger m_messenger;
    ClipboardPort m_port;
};

} // namespace vorlac
