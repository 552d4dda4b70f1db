// LibreOffice as the real other end: it reads what we write, and we read what it writes.
#include "exercises/exerciseset.h"
#include "help/introduction.h"
#include "rtf/rtf.h"

#include "rtfprobe.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace vorlac;
using namespace rtfprobe;

namespace
{

// A statement with every format the reader keeps, in the XML LibreOffice reads natively.
const char kStatement[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
<office:font-face-decls><style:font-face style:name="Arial" svg:font-family="Arial"/></office:font-face-decls>
<office:automatic-styles>
<style:style style:name="P1" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/>
 <style:text-properties style:font-name="Arial" fo:font-size="18pt"/></style:style>
<style:style style:name="P2" style:family="paragraph"><style:paragraph-properties fo:margin-left="0.5in"/>
 <style:text-properties style:font-name="Arial" fo:font-size="10pt"/></style:style>
<style:style style:name="T1" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="T2" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
<style:style style:name="T3" style:family="text"><style:text-properties style:text-underline-style="solid"
 style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
<style:style style:name="T4" style:family="text"><style:text-properties fo:color="#0000c8"/></style:style>
<style:style style:name="T5" style:family="text"><style:text-properties fo:font-size="14pt"/></style:style>
<style:style style:name="T6" style:family="text"><style:text-properties style:text-position="super 58%"/></style:style>
<style:style style:name="T7" style:family="text"><style:text-properties style:text-position="sub 58%"/></style:style>
<style:style style:name="T8" style:family="text"><style:text-properties style:text-line-through-style="solid"/></style:style>
<style:style style:name="T9" style:family="text"><style:text-properties fo:background-color="#ffff00"/></style:style>
</office:automatic-styles>
<office:body><office:text>
<text:p text:style-name="P1">Titre centré</text:p>
<text:p text:style-name="P2">Texte <text:span text:style-name="T1">fort</text:span>, <text:span text:style-name="T2">penché</text:span>, <text:span text:style-name="T3">souligné</text:span>, <text:span text:style-name="T4">bleu</text:span>, <text:span text:style-name="T5">grand</text:span>, x<text:span text:style-name="T6">2</text:span>, H<text:span text:style-name="T7">2</text:span>O, <text:span text:style-name="T8">barré</text:span>, <text:span text:style-name="T9">surligné</text:span>.</text:p>
<text:p text:style-name="P2">Angle α, λ = 589 nm, Δ, π, θ ; œuvre « été » 5 €.</text:p>
</office:text></office:body></office:document>
)";

struct Expectation {
    const char *find;
    int offset;           // of the character looked at, in what is found
    const char *expected; // its block and character formats
};

const Expectation kStatementFormats[] = {
    {"Titre centré", 0, "c 0 0 0 0 0 | Arial 18"},
    {"Texte", 0, "l 720 0 0 0 0 | Arial 10"},
    {"fort", 0, "l 720 0 0 0 0 | Arial 10 b"},
    {"penché", 5, "l 720 0 0 0 0 | Arial 10 i"},
    {"souligné", 0, "l 720 0 0 0 0 | Arial 10 u"},
    {"bleu", 0, "l 720 0 0 0 0 | Arial 10 #0000c8"},
    {"grand", 0, "l 720 0 0 0 0 | Arial 14"},
    {"x2", 1, "l 720 0 0 0 0 | Arial 10 sup"},
    {"H2O", 1, "l 720 0 0 0 0 | Arial 10 sub"},
    {"barré", 0, "l 720 0 0 0 0 | Arial 10 s"},
    {"surligné", 0, "l 720 0 0 0 0 | Arial 10 bg#ffff00"},
};

// Every format the writer knows, on the introduction's text.
void richDocument(QTextDocument &doc)
{
    writeIntroduction(doc);
    QTextCursor c(&doc);
    c.movePosition(QTextCursor::End);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setRightMargin(30);
    centred.setTopMargin(8);
    c.insertBlock(centred);
    const auto run = [&c](const QString &text, auto change) {
        QTextCharFormat f = chars(u"Times New Roman"_qs, 12);
        change(f);
        c.insertText(text, f);
    };
    run(u"fort "_qs, [](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); });
    run(u"penché "_qs, [](QTextCharFormat &f) { f.setFontItalic(true); });
    run(u"souligné "_qs, [](QTextCharFormat &f) { f.setFontUnderline(true); });
    run(u"barré "_qs, [](QTextCharFormat &f) { f.setFontStrikeOut(true); });
    run(u"x2"_qs, [](QTextCharFormat &) {});
    run(u"3"_qs, [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); });
    run(u" H2"_qs, [](QTextCharFormat &) {});
    run(u"4"_qs, [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); });
    run(u" rouge"_qs, [](QTextCharFormat &f) { f.setForeground(QColor(200, 0, 0)); });
    run(u" surligné"_qs, [](QTextCharFormat &f) { f.setBackground(QColor(255, 255, 0)); });
    QTextBlockFormat hanging;
    hanging.setAlignment(Qt::AlignJustify);
    hanging.setLeftMargin(40);
    hanging.setTextIndent(-20);
    c.insertBlock(hanging);
    run(u"α λ Δ π θ µ ; l’œuvre « été » coûte 5 € – fin…"_qs,
        [](QTextCharFormat &f) { f.setFontFamilies({u"Courier New"_qs}); });
}

class RtfLibreOffice : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(u"soffice"_qs).isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
        ASSERT_TRUE(m_profile.isValid() && m_work.isValid());
    }

    // Converts bytes saved as name with soffice; the converted file's bytes, empty on failure.
    QByteArray convert(const QString &name, const QByteArray &bytes, const QString &filter, const QString &extension)
    {
        const QString in = m_work.filePath(name);
        QFile file(in);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        file.close();
        const QString outDir = m_work.filePath(u"out-"_qs + name);
        QProcess soffice;
        soffice.setProcessChannelMode(QProcess::MergedChannels);
        soffice.start(u"soffice"_qs, {u"--headless"_qs,
                                      u"-env:UserInstallation="_qs + QUrl::fromLocalFile(m_profile.path()).toString(),
                                      u"--convert-to"_qs, filter, u"--outdir"_qs, outDir, in});
        if (!soffice.waitForFinished(120000)) {
            soffice.kill();
            soffice.waitForFinished(5000);
            ADD_FAILURE() << "soffice did not finish converting " << name.toStdString() << " within 120 s";
            return {};
        }
        EXPECT_EQ(soffice.exitCode(), 0) << soffice.readAll().toStdString();
        QFile out(QDir(outDir).filePath(QFileInfo(name).completeBaseName() + u'.' + extension));
        if (!out.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "no converted file: " << soffice.readAll().toStdString();
            return {};
        }
        return out.readAll();
    }

    QTemporaryDir m_profile{QDir::tempPath() + u"/vorlac-soffice-XXXXXX"_qs};
    QTemporaryDir m_work;
};

TEST_F(RtfLibreOffice, ReadsOurTextAsWritten)
{
    QTextDocument doc;
    richDocument(doc);
    QString text = QString::fromUtf8(convert(u"ours.rtf"_qs, writeRtf(doc), u"txt:Text (encoded):UTF8"_qs, u"txt"_qs));
    text.remove(QChar(0xFEFF)).remove(u'\r');
    while (text.endsWith(u'\n'))
        text.chop(1);
    EXPECT_EQ(text, blocksText(doc));
}

TEST_F(RtfLibreOffice, ItsStatementReadsWithItsFormats)
{
    const QByteArray rtf = convert(u"statement.fodt"_qs, kStatement, u"rtf"_qs, u"rtf"_qs);
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, doc)) << rtf.left(2000).toStdString();
    EXPECT_EQ(blocksText(doc), u"Titre centré\nTexte fort, penché, souligné, bleu, grand, x2, H2O, barré, surligné.\n"
                               u"Angle α, λ = 589 nm, Δ, π, θ ; œuvre « été » 5 €."_qs);
    for (const Expectation &e : kStatementFormats) {
        SCOPED_TRACE(e.find);
        const QTextCursor found = doc.find(QString::fromUtf8(e.find));
        ASSERT_FALSE(found.isNull());
        QTextCursor c(&doc);
        c.setPosition(found.selectionStart() + e.offset + 1);
        EXPECT_EQ(describeBlock(c.blockFormat()) + u" | "_qs + describeChars(c.charFormat(), doc),
                  QString::fromUtf8(e.expected));
    }
}

TEST_F(RtfLibreOffice, OurFileResavedReadsTheSame)
{
    QTextDocument doc;
    richDocument(doc);
    const QByteArray resaved = convert(u"ours.rtf"_qs, writeRtf(doc), u"rtf"_qs, u"rtf"_qs);
    QTextDocument back;
    ASSERT_TRUE(readRtf(resaved, back)) << resaved.left(2000).toStdString();
    EXPECT_EQ(describe(back), describe(doc));
}

// An exercise as the editor saves it: its statement and its correction, read from the files the
// set wrote, come back from LibreOffice with the same words and the same formats.
class SavedExerciseLibreOffice : public RtfLibreOffice, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(SavedExerciseLibreOffice, KeepsWordsAndFormats)
{
    const bool correction = std::string(GetParam()) == "Correction";
    QTextDocument doc;
    QTextCursor c(&doc);
    const auto run = [&c](const QString &text, auto change) {
        QTextCharFormat f = chars(u"Arial"_qs, 12);
        change(f);
        c.insertText(text, f);
    };
    run(correction ? u"Correction : "_qs : u"Énoncé : "_qs, [](QTextCharFormat &) {});
    run(u"gras "_qs, [](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); });
    run(u"italique "_qs, [](QTextCharFormat &f) { f.setFontItalic(true); });
    run(u"n"_qs, [](QTextCharFormat &) {});
    run(u"2"_qs, [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); });
    run(u" D"_qs, [](QTextCharFormat &) {});
    run(u"m"_qs, [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); });
    run(u" bleu"_qs, [](QTextCharFormat &f) { f.setForeground(QColor(0, 0, 192)); });
    c.insertBlock();
    run(u"αβγδεθλμπσφωΔΩ°′″≈≤≥×·→"_qs, [](QTextCharFormat &f) { f.setFontFamilies({u"Times New Roman"_qs}); });

    QTemporaryDir folder;
    ExerciseSet set;
    set.title = u"Prisme"_qs;
    set.statement = set.correction = writeRtf(doc);
    ASSERT_EQ(saveExerciseSet(folder.path(), freshExerciseNames(folder.path(), set.title), set), QString());
    QFile saved(folder.filePath(correction ? u"PRISME-C.RTF"_qs : u"PRISME.RTF"_qs));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();

    QString text = QString::fromUtf8(convert(u"saved.rtf"_qs, bytes, u"txt:Text (encoded):UTF8"_qs, u"txt"_qs));
    text.remove(QChar(0xFEFF)).remove(u'\r');
    while (text.endsWith(u'\n'))
        text.chop(1);
    EXPECT_EQ(text, blocksText(doc));
    QTextDocument back;
    const QByteArray resaved = convert(u"saved.rtf"_qs, bytes, u"rtf"_qs, u"rtf"_qs);
    ASSERT_TRUE(readRtf(resaved, back)) << resaved.left(2000).toStdString();
    EXPECT_EQ(describe(back), describe(doc));
}

INSTANTIATE_TEST_SUITE_P(Rows, SavedExerciseLibreOffice, ::testing::Values("Statement", "Correction"));

} // namespace
