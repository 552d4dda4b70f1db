// A 1 MiB statement: reading it into a document and writing it back; and a 16 MiB one read.
#include "help/introduction.h"
#include "rtf/rtf.h"

#include "qtbenchmain.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

namespace
{

// The introduction followed by formatted paragraphs (runs of every kind, accents, Greek): about
// 1 MiB of RTF.
QByteArray largeRtf()
{
    QTextDocument doc;
    vorlac::writeIntroduction(doc);
    QTextCursor c(&doc);
    c.movePosition(QTextCursor::End);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(10);
    QTextCharFormat bold = plain, blue = plain, sup = plain, greek = plain;
    bold.setFontWeight(QFont::Bold);
    blue.setForeground(QColor(0, 0, 200));
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    greek.setFontFamilies({QStringLiteral("Times New Roman")});
    greek.setFontItalic(true);
    QTextBlockFormat indented;
    indented.setLeftMargin(20);
    for (int n = 0; n < 2150; ++n) {
        c.insertBlock(indented);
        c.insertText(QStringLiteral("Question %1 : le rayon arrive sous l'incidence ").arg(n), plain);
        c.insertText(QStringLiteral("i = 30°"), bold);
        c.insertText(QStringLiteral(" ; calculer l'angle de réfraction "), plain);
        c.insertText(QStringLiteral("r"), greek);
        c.insertText(QStringLiteral(" et la déviation D = i + i' − A avec n = 1,5 × 10"), plain);
        c.insertText(QStringLiteral("-2"), sup);
        c.insertText(QStringLiteral(" pour λ = 589 nm, α, θ, Δ. Réponse attendue « en degrés » : "), blue);
        c.insertText(QStringLiteral("œuvre à l'été, coût 5 €.\tFin"), plain);
    }
    return vorlac::writeRtf(doc);
}

void BM_ReadRtf1MiB(benchmark::State &state)
{
    const QByteArray rtf = largeRtf();
    for (auto _ : state) {
        QTextDocument doc;
        if (!vorlac::readRtf(rtf, doc))
            state.SkipWithError("unreadable");
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["bytes"] = static_cast<double>(rtf.size());
}
BENCHMARK(BM_ReadRtf1MiB)->Unit(benchmark::kMillisecond);

void BM_WriteRtf1MiB(benchmark::State &state)
{
    QTextDocument doc;
    vorlac::readRtf(largeRtf(), doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(vorlac::writeRtf(doc));
}
BENCHMARK(BM_WriteRtf1MiB)->Unit(benchmark::kMillisecond);

// The costliest statement the reader accepts: the most paragraphs, each with the most changes of
// format, and text to the size limit. Reading it must stay at about a second at most.
QByteArray costliestRtf()
{
    QByteArray rtf("{\\rtf1\\ansi ");
    const qsizetype runsPerParagraph = vorlac::kRtfMaxRuns / vorlac::kRtfMaxParagraphs;
    const QByteArray paragraph = QByteArray("{\\b a}b").repeated(runsPerParagraph / 2) + "\\par ";
    rtf.reserve(vorlac::kRtfMaxBytes);
    for (qsizetype p = 1; p < vorlac::kRtfMaxParagraphs; ++p)
        rtf += paragraph;
    rtf += QByteArray(vorlac::kRtfMaxBytes - rtf.size() - 1, 'a');
    rtf += '}';
    return rtf;
}

void readOnce(benchmark::State &state, const QByteArray &rtf, bool readable)
{
    for (auto _ : state) {
        QTextDocument doc;
        if (vorlac::readRtf(rtf, doc) != readable)
            state.SkipWithError(readable ? "unreadable" : "read although over the limits");
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void BM_ReadRtfAtTheLimit(benchmark::State &state)
{
    readOnce(state, costliestRtf(), true);
}
BENCHMARK(BM_ReadRtfAtTheLimit)->Unit(benchmark::kMillisecond)->Iterations(3);

// 16 MiB of short paragraphs, far past the paragraph limit: refused as soon as it is counted.
void BM_RefuseRtfOfParagraphs(benchmark::State &state)
{
    QByteArray rtf("{\\rtf1\\ansi ");
    rtf += QByteArray("a\\par ").repeated((vorlac::kRtfMaxBytes - rtf.size() - 1) / 6);
    rtf += '}';
    readOnce(state, rtf, false);
}
BENCHMARK(BM_RefuseRtfOfParagraphs)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return vorlac::runQtBenchmarks<QGuiApplication>(argc, argv);
}
