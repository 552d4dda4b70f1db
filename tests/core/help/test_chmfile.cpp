#include "help/chmfile.h"
#include "help/helpsearch.h"
#include "help/sitemap.h"

#include "coursevalues.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace vorlac;

namespace
{

QString repoDir()
{
    return course::sourceRoot();
}

QString writeTemp(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("copy.chm"));
    writeAll(path, bytes);
    return path;
}

// Bytes of the process's data mappings now (VmData), which an allocation limit adds to.
rlim_t dataSegmentSize()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmData:", 0) == 0)
            return static_cast<rlim_t>(std::stoull(line.substr(7))) << 10;
    return 0;
}

quint64 u64At(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint64>(b.constData() + at);
}
void putU32(QByteArray &b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

struct Document {
    const char *chm;
    const char *sources;
};
const Document kDocuments[] = {{"data/KT4.hlp", "help/aide"}, {"data/Dadevedozoz.chm", "help/cours"}};

} // namespace

// The committed compiled files hold exactly the pages of the sources, byte for byte, and every
// source file is part of its project.
TEST(ChmFileTest, CommittedFilesHoldExactlyTheSources)
{
    for (const Document &doc : kDocuments) {
        SCOPED_TRACE(doc.chm);
        const QDir src(repoDir() + u'/' + QString::fromLatin1(doc.sources));
        const QString project = src.dirName();
        const QString hhp = QString::fromUtf8(readAll(src.filePath(project + QStringLiteral(".hhp"))));
        QSet<QString> expected = {u'/' + project + QStringLiteral(".hhc"), u'/' + project + QStringLiteral(".hhk")};
        bool inFiles = false;
        for (const QString &line : hhp.split(u'\n')) {
            const QString t = line.trimmed();
            if (t.startsWith(u'['))
                inFiles = t == u"[FILES]";
            else if (inFiles && !t.isEmpty())
                expected.insert(u'/' + t);
        }
        QSet<QString> onDisk;
        for (const QString &sub : {QString(), QStringLiteral("images")})
            for (const QFileInfo &fi : QDir(src.filePath(sub)).entryInfoList(QDir::Files))
                if (fi.suffix() != u"hhp")
                    onDisk.insert(u'/' + (sub.isEmpty() ? QString() : sub + u'/') + fi.fileName());
        EXPECT_EQ(onDisk, expected) << "a source file is missing from the project, or the reverse";

        ChmFile chm;
        ASSERT_TRUE(chm.open(repoDir() + u'/' + QString::fromLatin1(doc.chm)));
        QSet<QString> pages;
        for (const QString &p : chm.pages())
            if (!p.startsWith(u"/_#"))
                pages.insert(p);
        EXPECT_EQ(pages, expected);
        for (const QString &p : std::as_const(expected)) {
            const std::optional<QByteArray> bytes = chm.read(p);
            ASSERT_TRUE(bytes) << qPrintable(p);
            EXPECT_EQ(*bytes, readAll(src.path() + p)) << qPrintable(p) << ": run scripts/build-help";
        }
        EXPECT_EQ(chm.defaultTopic(), u"/index.html");
        EXPECT_EQ(chm.contentsFile(), u'/' + project + QStringLiteral(".hhc"));
        EXPECT_FALSE(chm.title().isEmpty());
    }
}

// Damaged copies of the course and files of another kind are refused with the right error.
TEST(ChmFileTest, DamagedAndForeignFilesAreRefused)
{
    const QByteArray good = readAll(repoDir() + QStringLiteral("/data/Dadevedozoz.chm"));
    ASSERT_FALSE(good.isEmpty());
    const qsizetype dir = static_cast<qsizetype>(u64At(good, 0x48));
    const qsizetype chunks = dir + 0x54;
    struct Row {
        const char *what;
        std::function<void(QByteArray &)> damage;
        ChmFile::Error error;
    };
    const Row rows[] = {
        {"text under the name", [](QByteArray &b) { b = "Ceci est un fichier texte.\r\n"; }, ChmFile::Error::NotChm},
        {"empty", [](QByteArray &b) { b.clear(); }, ChmFile::Error::NotChm},
        {"old help signature", [](QByteArray &b) { b.replace(0, 4, QByteArray("?_\x03\x00", 4)); },
         ChmFile::Error::NotChm},
        {"cut after the header", [](QByteArray &b) { b.truncate(0x60); }, ChmFile::Error::Damaged},
        {"cut in the middle", [](QByteArray &b) { b.truncate(b.size() / 2); }, ChmFile::Error::Damaged},
        {"version 9", [](QByteArray &b) { putU32(b, 4, 9); }, ChmFile::Error::Damaged},
        {"directory past the end", [](QByteArray &b) { putU32(b, 0x48, 0x7fffffff); }, ChmFile::Error::Damaged},
        {"huge chunk size", [dir](QByteArray &b) { putU32(b, dir + 16, 0xfffffff0); }, ChmFile::Error::Damaged},
        {"listing chunk loops to itself", [chunks](QByteArray &b) { putU32(b, chunks + 16, 0); },
         ChmFile::Error::Damaged},
        {"index root out of range", [dir](QByteArray &b) { putU32(b, dir + 28, 5000); }, ChmFile::Error::Damaged},
        {"free space larger than the chunk", [chunks](QByteArray &b) { putU32(b, chunks + 4, 0x10000); },
         ChmFile::Error::Damaged},
    };
    QTemporaryDir tmp;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray bytes = good;
        row.damage(bytes);
        ChmFile chm;
        EXPECT_FALSE(chm.open(writeTemp(tmp, bytes)));
        EXPECT_EQ(chm.error(), row.error);
        EXPECT_FALSE(chm.isOpen());
        EXPECT_FALSE(chm.read(QStringLiteral("/index.html")));
    }
}

// The index chunks above the listing form a tree. An index chunk that lists itself as its child
// must be refused as damaged; a walk that went round would never end, so the file is opened in a
// child whose memory is bounded and whose alarm ends it.
TEST(ChmFileTest, IndexChunkThatLeadsBackToItselfIsRefused)
{
    QByteArray bytes = readAll(repoDir() + QStringLiteral("/data/Dadevedozoz.chm"));
    ASSERT_FALSE(bytes.isEmpty());
    const qsizetype dir = static_cast<qsizetype>(u64At(bytes, 0x48));
    const qsizetype chunks = dir + 0x54;
    const quint32 chunkSize = qFromLittleEndian<quint32>(bytes.constData() + dir + 16);
    // "PMGI", free space, then one entry: name "a", child chunk 0 (itself); chunk 0 is the root.
    const QByteArray entry("\x01"
                           "a"
                           "\x00",
                           3);
    bytes.replace(chunks, 4, "PMGI");
    putU32(bytes, chunks + 4, chunkSize - 8 - static_cast<quint32>(entry.size()));
    bytes.replace(chunks + 8, entry.size(), entry);
    putU32(bytes, dir + 28, 0);
    QTemporaryDir tmp;
    const QString path = writeTemp(tmp, bytes);
    const int code = exitCodeInChild(
        [&] {
            struct rlimit data {
            };
            ::getrlimit(RLIMIT_DATA, &data);
            data.rlim_cur = std::min<rlim_t>(data.rlim_max, dataSegmentSize() + (rlim_t{512} << 20));
            ::setrlimit(RLIMIT_DATA, &data);
            ChmFile chm;
            return !chm.open(path) && chm.error() == ChmFile::Error::Damaged ? 0 : 1;
        },
        30);
    EXPECT_EQ(code, 0) << "1: not refused as damaged; 3 or -1: the walk did not end";
}

// Damage in the compressed pages themselves: the file opens, and pages that cannot be
// decompressed are refused one by one, never a crash.
TEST(ChmFileTest, DamagedCompressedDataFailsPageByPage)
{
    QByteArray bytes = readAll(repoDir() + QStringLiteral("/data/Dadevedozoz.chm"));
    const qsizetype data = static_cast<qsizetype>(u64At(bytes, 0x58));
    for (qsizetype k = data + 4096; k < bytes.size() - 64; k += 97)
        bytes[k] = static_cast<char>(bytes[k] ^ 0x5a);
    QTemporaryDir tmp;
    ChmFile chm;
    if (!chm.open(writeTemp(tmp, bytes))) {
        EXPECT_EQ(chm.error(), ChmFile::Error::Damaged);
        return;
    }
    for (const QString &p : chm.pages())
        (void)chm.read(p);
    SUCCEED();
}

TEST(ChmFileTest, MissingDirectoryAndPipeAreNotRead)
{
    QTemporaryDir tmp;
    ChmFile chm;
    EXPECT_FALSE(chm.open(tmp.filePath(QStringLiteral("absent.chm"))));
    EXPECT_EQ(chm.error(), ChmFile::Error::Missing);
    EXPECT_FALSE(chm.open(tmp.path()));
    EXPECT_EQ(chm.error(), ChmFile::Error::NotRegular);
    const QString fifo = tmp.filePath(QStringLiteral("pipe.chm"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(chm.open(fifo)); // must not wait for a writer
    EXPECT_EQ(chm.error(), ChmFile::Error::NotRegular);
}

TEST(ChmFileTest, PathsAreNormalisedAndCaseBlind)
{
    const struct {
        const char *in, *out;
    } rows[] = {{"index.html", "/index.html"},      {"/images/../index.html", "/index.html"},
                {"./a//b/./c.html", "/a/b/c.html"}, {"../../x", "/x"},
                {"a\\b.html", "/a/b.html"},         {"/#SYSTEM", "/#SYSTEM"}};
    for (const auto &r : rows)
        EXPECT_EQ(ChmFile::normalisePath(QString::fromLatin1(r.in)), QString::fromLatin1(r.out)) << r.in;
    ChmFile chm;
    ASSERT_TRUE(chm.open(repoDir() + QStringLiteral("/data/Dadevedozoz.chm")));
    EXPECT_TRUE(chm.read(QStringLiteral("IMAGES/Notations.SVG")));
    EXPECT_FALSE(chm.read(QStringLiteral("/absente.html")));
}

TEST(SitemapTest, NestedEntriesEntitiesAndLooseHtml)
{
    const QByteArray hhc =
        R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Le prisme &amp; ses relations">
        <param name="Local" value="prisme.html"></OBJECT>
        <UL><LI><object TYPE='text/sitemap'><PARAM NAME=Name VALUE=Notations><param name="Local" value="n.html#a"></object></UL>
        <!-- <OBJECT type="text/sitemap"><param name="Name" value="commentaire"></OBJECT> -->
        <LI><OBJECT type="text/site properties"><param name="Name" value="ignoré"></OBJECT>
        <LI><OBJECT type="text/sitemap"><param name="Name" value="Fin"></OBJECT></UL>)";
    const QList<SitemapItem> items = parseSitemap(hhc);
    const QList<SitemapItem> expected = {
        {QStringLiteral("Le prisme & ses relations"), QStringLiteral("prisme.html"), 0},
        {QStringLiteral("Notations"), QStringLiteral("n.html#a"), 1},
        {QStringLiteral("Fin"), QString(), 0}};
    EXPECT_EQ(items, expected);
    // Windows-1252 text is read as such.
    EXPECT_EQ(
        parseSitemap("<ul><object type=\"text/sitemap\"><param name=\"Name\" value=\"R\xe9\x66raction\"></object>")
            .value(0)
            .name,
        QStringLiteral("Réfraction"));
    // Deep nesting is capped, unterminated tags end the reading.
    EXPECT_EQ(parseSitemap(QByteArray(100000, '<')).size(), 0);
    EXPECT_LE(parseSitemap(QByteArray("<ul>").repeated(1000) +
                           "<object type=\"text/sitemap\"><param name=\"Name\" value=\"x\"></object>")
                  .value(0)
                  .depth,
              kMaxSitemapDepth);
}

TEST(HelpSearchTest, FoldedPrefixWordsAllRequired)
{
    HelpSearchIndex index;
    index.addPage(QStringLiteral("/a.html"), "<html><head><title>Réfraction</title></head><body>La réfraction, "
                                             "l'indice et la réfraction encore. Cœur.</body></html>");
    index.addPage(QStringLiteral("/b.html"), "<title>Prisme</title><p>Le prisme dévie ; indice du verre.</p>");
    const struct {
        const char *query;
        QStringList paths;
    } rows[] = {{"refraction", {"/a.html"}},
                {"INDICE", {"/b.html", "/a.html"}},
                {"réfract indice", {"/a.html"}},
                {"coeur", {"/a.html"}},
                {"devie verre", {"/b.html"}},
                {"prisme refraction", {}},
                {"  ", {}}};
    for (const auto &r : rows) {
        QStringList got;
        for (const HelpSearchIndex::Hit &h : index.search(QString::fromUtf8(r.query)))
            got.append(h.path);
        EXPECT_EQ(got, r.paths) << r.query;
    }
    EXPECT_EQ(index.search(QStringLiteral("refraction")).value(0).title, QStringLiteral("Réfraction"));
}
