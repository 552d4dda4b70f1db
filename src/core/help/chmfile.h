#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

struct chmFile;

namespace vorlac
{

// A compiled-HTML help file (".chm"), read through CHMLib. Every structure CHMLib would walk is
// checked here first (sizes, offsets, chains of directory chunks, the compression tables), so a
// damaged or hostile file is refused with an error instead of reaching the library.
class ChmFile
{
  public:
    enum class Error {
        None,
        Missing,    // no such file
        NotRegular, // a directory, a device, a pipe...
        TooLarge,   // bigger than kMaxFileSize
        Unreadable, // exists but cannot be read
        NotChm,     // no compiled-HTML signature: a file of another format
        Damaged,    // the signature is there but the structure is inconsistent
    };

    static constexpr qint64 kMaxFileSize = 32 * 1024 * 1024;
    static constexpr quint64 kMaxObjectSize = 16 * 1024 * 1024; // one page, picture or table
    static constexpr int kMaxEntries = 20000;

    ChmFile();
    ~ChmFile();
    ChmFile(const ChmFile &) = delete;
    ChmFile &operator=(const ChmFile &) = delete;

    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_handle != nullptr; }
    Error error() const { return m_error; }
    QString fileName() const { return m_path; }

    // Paths of the ordinary files of the archive ("/cours/refraction.html"), in directory order;
    // the archive's own system files ("/#SYSTEM", "/$FIftiMain", "::DataSpace/...") are left out.
    QStringList pages() const { return m_pages; }
    bool contains(const QString &path) const;
    // The bytes of one object; nullopt when it is missing or cannot be decompressed.
    std::optional<QByteArray> read(const QString &path) const;

    // From the archive's #SYSTEM: its title, default page, contents and index files ("" if none).
    QString title() const { return m_title; }
    QString defaultTopic() const { return m_defaultTopic; }
    QString contentsFile() const { return m_contentsFile; }
    QString indexFile() const { return m_indexFile; }

    // "a/./b/../c.html" -> "/a/c.html": relative paths are taken from the root. "#" is part of
    // archive names ("/#SYSTEM"), so fragments are the caller's to remove.
    static QString normalisePath(const QString &path);

  private:
    struct Entry {
        QString path;
        quint64 section = 0;
        quint64 offset = 0;
        quint64 length = 0;
    };
    struct Deleter {
        void operator()(chmFile *h) const;
    };

    Error validate();
    bool validateCompression();
    std::optional<QByteArray> sectionZero(const Entry &e) const;
    void readSystem();
    const Entry *find(const QString &path) const;

    QString m_path;
    Error m_error = Error::None;
    QByteArray m_bytes;
    int m_fd = -1;
    std::unique_ptr<chmFile, Deleter> m_handle;
    quint64 m_dataOffset = 0;
    quint64 m_uncompressedLength = 0;
    bool m_hasCompressed = false;
    QHash<QString, Entry> m_entries; // key: lower-case path
    QStringList m_pages;
    QString m_title, m_defaultTopic, m_contentsFile, m_indexFile;
};

} // namespace vorlac
