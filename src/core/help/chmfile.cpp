#include "help/chmfile.h"

#include <QFile>
#include <QSet>

#include <chm_lib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorlac
{

namespace
{

constexpr quint64 kItsfV2Length = 0x58;
constexpr quint64 kItsfV3Length = 0x60;
constexpr quint64 kItspLength = 0x54;
constexpr quint32 kMinChunk = 64;
constexpr quint32 kMaxChunk = 64 * 1024;
constexpr quint32 kMaxChunks = 1 << 16;
constexpr int kMaxPathLength = CHM_MAX_PATHLEN;
constexpr quint64 kLzxBlock = 0x8000;

const char kContentName[] = "::DataSpace/Storage/MSCompressed/Content";
const char kControlName[] = "::DataSpace/Storage/MSCompressed/ControlData";
const char kResetName[] =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

// Bounded little-endian reads over the file's bytes; any read past the end fails.
class Bytes
{
  public:
    Bytes(const QByteArray &b, quint64 begin, quint64 end) : m_b(b), m_pos(begin), m_end(end) {}
    bool u32(quint32 &v) { return little(v); }
    bool u64(quint64 &v) { return little(v); }
    bool i32(qint32 &v)
    {
        quint32 u;
        if (!little(u))
            return false;
        v = static_cast<qint32>(u);
        return true;
    }
    // Variable-length integer: 7 bits a byte, high bit set on all but the last; at most 9 bytes.
    bool encint(quint64 &v)
    {
        v = 0;
        for (int n = 0; n < 9; ++n) {
            if (m_pos >= m_end)
                return false;
            const auto c = static_cast<unsigned char>(m_b[static_cast<qsizetype>(m_pos++)]);
            v = (v << 7) | (c & 0x7f);
            if (!(c & 0x80))
                return true;
        }
        return false;
    }
    bool text(quint64 n, QByteArray &out)
    {
        if (n > m_end - m_pos)
            return false;
        out = m_b.mid(static_cast<qsizetype>(m_pos), static_cast<qsizetype>(n));
        m_pos += n;
        return true;
    }
    bool skip(quint64 n)
    {
        if (n > m_end - m_pos)
            return false;
        m_pos += n;
        return true;
    }
    bool atEnd() const { return m_pos >= m_end; }
    quint64 pos() const { return m_pos; }

  private:
    template <typename T> bool little(T &v)
    {
        if (sizeof(T) > m_end - m_pos)
            return false;
        v = 0;
        for (std::size_t k = 0; k < sizeof(T); ++k)
            v |= static_cast<T>(static_cast<unsigned char>(m_b[static_cast<qsizetype>(m_pos + k)])) << (8 * k);
        m_pos += sizeof(T);
        return true;
    }
    const QByteArray &m_b;
    quint64 m_pos, m_end;
};

bool signatureAt(const QByteArray &b, quint64 at, const char *sig)
{
    return at <= static_cast<quint64>(b.size()) && static_cast<quint64>(b.size()) - at >= 4 &&
           std::memcmp(b.constData() + at, sig, 4) == 0;
}

bool isPowerOfTwo(quint64 v)
{
    return v != 0 && (v & (v - 1)) == 0;
}

} // namespace

void ChmFile::Deleter::operator()(chmFile *h) const
{
    chm_close(h);
}

ChmFile::ChmFile() = default;

ChmFile::~ChmFile()
{
    close();
}

void ChmFile::close()
{
    m_handle.reset();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_bytes.clear();
    m_entries.clear();
    m_pages.clear();
    m_title.clear();
    m_defaultTopic.clear();
    m_contentsFile.clear();
    m_indexFile.clear();
    m_hasCompressed = false;
    m_dataOffset = m_uncompressedLength = 0;
}

bool ChmFile::open(const QString &path)
{
    close();
    m_path = path;
    m_error = Error::None;
    const QByteArray native = QFile::encodeName(path);
    // Non-blocking so that a named pipe cannot stall the open; it is refused just below.
    m_fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno == ENOENT || errno == ENOTDIR ? Error::Missing : Error::Unreadable;
        return false;
    }
    struct stat st {
    };
    if (::fstat(m_fd, &st) != 0) {
        m_error = Error::Unreadable;
        close();
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        m_error = Error::NotRegular;
        close();
        return false;
    }
    if (st.st_size > kMaxFileSize) {
        m_error = Error::TooLarge;
        close();
        return false;
    }
    m_bytes.resize(static_cast<qsizetype>(st.st_size));
    qint64 got = 0;
    while (got < st.st_size) {
        const ssize_t n = ::pread(m_fd, m_bytes.data() + got, static_cast<size_t>(st.st_size - got), got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    if (got != st.st_size) {
        m_error = Error::Unreadable;
        close();
        return false;
    }
    m_error = validate();
    if (m_error != Error::None) {
        close();
        return false;
    }
    // The library reads the very file checked above, through its descriptor.
    QByteArray fdPath = "/proc/self/fd/" + QByteArray::number(m_fd);
    if (::access(fdPath.constData(), R_OK) != 0)
        fdPath = native;
    m_handle.reset(chm_open(fdPath.constData()));
    if (!m_handle) {
        m_error = Error::Damaged;
        close();
        return false;
    }
    readSystem();
    return true;
}

ChmFile::Error ChmFile::validate()
{
    const QByteArray &b = m_bytes;
    const auto size = static_cast<quint64>(b.size());
    if (!signatureAt(b, 0, "ITSF"))
        return Error::NotChm;
    Bytes h(b, 4, size);
    quint32 version = 0, headerLength = 0;
    if (!h.u32(version) || !h.u32(headerLength))
        return Error::Damaged;
    if ((version != 2 && version != 3) || headerLength < (version == 3 ? kItsfV3Length : kItsfV2Length) ||
        headerLength > size)
        return Error::Damaged;
    quint64 dirOffset = 0, dirLength = 0;
    Bytes hs(b, 0x48, size);
    if (!hs.u64(dirOffset) || !hs.u64(dirLength))
        return Error::Damaged;
    if (dirOffset > size || dirLength > size - dirOffset || dirLength < kItspLength)
        return Error::Damaged;
    if (version == 3) {
        if (!hs.u64(m_dataOffset))
            return Error::Damaged;
    } else {
        m_dataOffset = dirOffset + dirLength;
    }
    if (m_dataOffset > size)
        return Error::Damaged;

    // Directory header.
    if (!signatureAt(b, dirOffset, "ITSP"))
        return Error::Damaged;
    Bytes d(b, dirOffset + 4, dirOffset + dirLength);
    quint32 itspVersion = 0, itspLength = 0, unknown = 0, chunk = 0, numChunks = 0;
    qint32 interval = 0, depth = 0, root = 0, head = 0, last = 0, unknown2 = 0;
    // The chunk count sits at 0x2c; the word before it is always -1.
    if (!d.u32(itspVersion) || !d.u32(itspLength) || !d.u32(unknown) || !d.u32(chunk) || !d.i32(interval) ||
        !d.i32(depth) || !d.i32(root) || !d.i32(head) || !d.i32(last) || !d.i32(unknown2) || !d.u32(numChunks))
        return Error::Damaged;
    if (itspVersion != 1 || itspLength != kItspLength || chunk < kMinChunk || chunk > kMaxChunk || numChunks == 0 ||
        numChunks > kMaxChunks)
        return Error::Damaged;
    const quint64 chunksBegin = dirOffset + kItspLength;
    if (static_cast<quint64>(chunk) * numChunks > dirLength - kItspLength)
        return Error::Damaged;
    const auto chunkAt = [&](qint64 k) { return chunksBegin + static_cast<quint64>(k) * chunk; };
    const auto validChunk = [&](qint64 k) { return k >= 0 && k < static_cast<qint64>(numChunks); };
    if (!validChunk(head))
        return Error::Damaged;
    if (root != -1 && !validChunk(root))
        return Error::Damaged;
    const qint32 start = root == -1 ? head : root;

    // The index chunks (PMGI) form a tree above the listing chunks (PMGL): any walk down from
    // the root must end, so the graph of index chunks must have no cycle, and every name and
    // number in the chunks the library may read must lie inside its chunk.
    QSet<qint64> parsedListing;
    const auto parseListing = [&](qint64 k, qint32 *next) -> bool {
        const quint64 at = chunkAt(k);
        Bytes c(b, at + 4, at + chunk);
        quint32 freeSpace = 0, unk = 0;
        qint32 prev = 0;
        if (!c.u32(freeSpace) || !c.u32(unk) || !c.i32(prev) || !c.i32(*next))
            return false;
        if (freeSpace > chunk - 20)
            return false;
        if (*next != -1 && !validChunk(*next))
            return false;
        if (parsedListing.contains(k))
            return true;
        parsedListing.insert(k);
        Bytes e(b, at + 20, at + chunk - freeSpace);
        while (!e.atEnd()) {
            quint64 nameLength = 0;
            QByteArray name;
            Entry entry;
            if (!e.encint(nameLength) || nameLength == 0 || nameLength > kMaxPathLength || !e.text(nameLength, name) ||
                !e.encint(entry.section) || !e.encint(entry.offset) || !e.encint(entry.length))
                return false;
            if (entry.section > 1)
                return false;
            if (m_entries.size() >= kMaxEntries)
                return false;
            entry.path = QString::fromUtf8(name);
            // Archive paths are looked up as the viewer asks for them: normalised, any case.
            if (entry.path.startsWith(u'/') && !entry.path.endsWith(u'/'))
                entry.path = normalisePath(entry.path);
            const QString key = entry.path.toLower();
            if (!m_entries.contains(key)) {
                m_entries.insert(key, entry);
                if (entry.path.startsWith(u'/') && !entry.path.startsWith(u"/#") && !entry.path.startsWith(u"/$") &&
                    !entry.path.endsWith(u'/'))
                    m_pages.append(entry.path);
            }
        }
        return true;
    };

    enum Mark : char { Unseen, Open, Done };
    QHash<qint64, Mark> mark;
    // Depth-first over the index chunks, iteratively with an explicit stack.
    struct Frame {
        qint64 chunk;
        QList<qint64> children;
        int next = 0;
    };
    QList<Frame> stack;
    const auto enter = [&](qint64 k) -> int { // 1 entered, 0 leaf, -1 bad
        const quint64 at = chunkAt(k);
        if (signatureAt(b, at, "PMGL")) {
            qint32 next = 0;
            return parseListing(k, &next) ? 0 : -1;
        }
        if (!signatureAt(b, at, "PMGI"))
            return -1;
        Bytes c(b, at + 4, at + chunk);
        quint32 freeSpace = 0;
        if (!c.u32(freeSpace) || freeSpace > chunk - 8)
            return -1;
        Bytes e(b, at + 8, at + chunk - freeSpace);
        Frame f{k, {}, 0};
        while (!e.atEnd()) {
            quint64 nameLength = 0, child = 0;
            if (!e.encint(nameLength) || nameLength > kMaxPathLength || !e.skip(nameLength) || !e.encint(child))
                return -1;
            if (child >= numChunks)
                return -1;
            f.children.append(static_cast<qint64>(child));
        }
        mark[k] = Open;
        stack.append(std::move(f));
        return 1;
    };
    if (enter(start) < 0)
        return Error::Damaged;
    while (!stack.isEmpty()) {
        Frame &top = stack.last();
        if (top.next >= top.children.size()) {
            mark[top.chunk] = Done;
            stack.removeLast();
            continue;
        }
        const qint64 child = top.children[top.next++];
        const Mark m = mark.value(child, Unseen);
        if (m == Open)
            return Error::Damaged; // a cycle
        if (m == Done)
            continue;
        if (enter(child) < 0)
            return Error::Damaged;
    }

    // The listing chunks, in order, from the head: the chain must end without coming back.
    QSet<qint64> visited;
    for (qint64 k = head; k != -1;) {
        if (visited.contains(k) || !signatureAt(b, chunkAt(k), "PMGL"))
            return Error::Damaged;
        visited.insert(k);
        qint32 next = -1;
        if (!parseListing(k, &next))
            return Error::Damaged;
        k = next;
    }

    // Uncompressed objects lie inside the file.
    const quint64 content = size - m_dataOffset;
    for (const Entry &e : std::as_const(m_entries)) {
        if (e.section == 0 && (e.offset > content || e.length > content - e.offset))
            return Error::Damaged;
    }
    return validateCompression() ? Error::None : Error::Damaged;
}

bool ChmFile::validateCompression()
{
    const Entry *content = find(QString::fromLatin1(kContentName));
    bool compressedObjects = false;
    for (const Entry &e : std::as_const(m_entries))
        compressedObjects = compressedObjects || e.section == 1;
    if (!content) {
        // Without the compressed section the library only serves uncompressed objects.
        m_hasCompressed = false;
        return !compressedObjects;
    }
    const Entry *control = find(QString::fromLatin1(kControlName));
    const Entry *reset = find(QString::fromLatin1(kResetName));
    if (!control || !reset || content->section != 0 || control->section != 0 || reset->section != 0)
        return false;

    const quint64 controlAt = m_dataOffset + control->offset;
    Bytes c(m_bytes, controlAt, controlAt + control->length);
    quint32 words = 0, version = 0, resetInterval = 0, windowSize = 0, windowsPerReset = 0;
    if (!c.u32(words) || !signatureAt(m_bytes, c.pos(), "LZXC") || !c.skip(4) || !c.u32(version) ||
        !c.u32(resetInterval) || !c.u32(windowSize) || !c.u32(windowsPerReset))
        return false;
    quint64 interval = resetInterval, window = windowSize;
    if (version == 2) {
        interval *= kLzxBlock;
        window *= kLzxBlock;
    } else if (version != 1) {
        return false;
    }
    if (!isPowerOfTwo(window) || window < (1u << 15) || window > (1u << 21) || interval == 0 ||
        interval % (window / 2) != 0 || windowsPerReset == 0 || windowsPerReset > 64 ||
        interval / (window / 2) * windowsPerReset > 4096)
        return false;

    const quint64 resetAt = m_dataOffset + reset->offset;
    Bytes r(m_bytes, resetAt, resetAt + reset->length);
    quint32 rtVersion = 0, blockCount = 0, rtUnknown = 0, tableOffset = 0;
    quint64 uncompressed = 0, compressed = 0, blockLength = 0;
    if (!r.u32(rtVersion) || !r.u32(blockCount) || !r.u32(rtUnknown) || !r.u32(tableOffset) || !r.u64(uncompressed) ||
        !r.u64(compressed) || !r.u64(blockLength))
        return false;
    if (blockLength != kLzxBlock || blockCount == 0 || compressed > content->length ||
        uncompressed > static_cast<quint64>(blockCount) * kLzxBlock || uncompressed > kMaxFileSize * 16ull)
        return false;
    if (tableOffset > reset->length || static_cast<quint64>(blockCount) * 8 > reset->length - tableOffset)
        return false;
    Bytes t(m_bytes, resetAt + tableOffset, resetAt + reset->length);
    quint64 previous = 0;
    for (quint32 k = 0; k < blockCount; ++k) {
        quint64 at = 0;
        if (!t.u64(at) || at < previous || at > compressed || (k == 0 && at != 0))
            return false;
        if (k > 0 && at - previous > kLzxBlock + 6144)
            return false;
        previous = at;
    }
    if (compressed - previous > kLzxBlock + 6144)
        return false;
    m_uncompressedLength = uncompressed;
    m_hasCompressed = true;
    for (const Entry &e : std::as_const(m_entries)) {
        if (e.section == 1 && (e.offset > uncompressed || e.length > uncompressed - e.offset))
            return false;
    }
    return true;
}

QString ChmFile::normalisePath(const QString &path)
{
    QString p = path;
    p.replace(u'\\', u'/');
    QStringList out;
    for (const QString &part : p.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        if (part == u"..") {
            if (!out.isEmpty())
                out.removeLast();
            continue;
        }
        out.append(part);
    }
    return u'/' + out.join(u'/');
}

const ChmFile::Entry *ChmFile::find(const QString &path) const
{
    const auto it = m_entries.constFind(path.toLower());
    return it == m_entries.cend() ? nullptr : &it.value();
}

bool ChmFile::contains(const QString &path) const
{
    return find(normalisePath(path)) != nullptr;
}

std::optional<QByteArray> ChmFile::sectionZero(const Entry &e) const
{
    if (e.length > kMaxObjectSize)
        return std::nullopt;
    return m_bytes.mid(static_cast<qsizetype>(m_dataOffset + e.offset), static_cast<qsizetype>(e.length));
}

std::optional<QByteArray> ChmFile::read(const QString &path) const
{
    if (!m_handle)
        return std::nullopt;
    const Entry *e = find(normalisePath(path));
    if (!e || e->length > kMaxObjectSize)
        return std::nullopt;
    if (e->section == 0)
        return sectionZero(*e);
    if (!m_hasCompressed)
        return std::nullopt;
    QByteArray out(static_cast<qsizetype>(e->length), Qt::Uninitialized);
    if (e->length == 0)
        return out;
    chmUnitInfo ui{};
    ui.start = e->offset;
    ui.length = e->length;
    ui.space = CHM_COMPRESSED;
    const QByteArray name = e->path.toUtf8().left(CHM_MAX_PATHLEN);
    std::memcpy(ui.path, name.constData(), static_cast<std::size_t>(name.size()));
    quint64 got = 0;
    while (got < e->length) {
        const LONGINT64 n =
            chm_retrieve_object(m_handle.get(), &ui, reinterpret_cast<unsigned char *>(out.data()) + got, got,
                                static_cast<LONGINT64>(e->length - got));
        if (n <= 0)
            return std::nullopt;
        got += static_cast<quint64>(n);
    }
    return out;
}

void ChmFile::readSystem()
{
    const std::optional<QByteArray> system = read(QStringLiteral("/#SYSTEM"));
    if (system) {
        Bytes s(*system, 0, static_cast<quint64>(system->size()));
        quint32 version = 0;
        if (s.u32(version)) {
            while (!s.atEnd()) {
                quint32 head = 0;
                if (!s.u32(head))
                    break;
                const quint32 code = head & 0xffff, length = head >> 16;
                QByteArray data;
                if (!s.text(length, data))
                    break;
                const qsizetype nul = data.indexOf('\0');
                if (nul >= 0)
                    data.truncate(nul);
                const QString text = QString::fromUtf8(data);
                switch (code) {
                case 0:
                    m_contentsFile = normalisePath(text);
                    break;
                case 1:
                    m_indexFile = normalisePath(text);
                    break;
                case 2:
                    m_defaultTopic = normalisePath(text);
                    break;
                case 3:
                    m_title = text;
                    break;
                default:
                    break;
                }
            }
        }
    }
    // Files without those records: the first contents and index files of the listing.
    for (const QString &p : std::as_const(m_pages)) {
        if (m_contentsFile.isEmpty() && p.endsWith(u".hhc", Qt::CaseInsensitive))
            m_contentsFile = p;
        if (m_indexFile.isEmpty() && p.endsWith(u".hhk", Qt::CaseInsensitive))
            m_indexFile = p;
    }
    if (!m_contentsFile.isEmpty() && !contains(m_contentsFile))
        m_contentsFile.clear();
    if (!m_indexFile.isEmpty() && !contains(m_indexFile))
        m_indexFile.clear();
    if (!m_defaultTopic.isEmpty() && !contains(m_defaultTopic))
        m_defaultTopic.clear();
}

} // namespace vorlac
