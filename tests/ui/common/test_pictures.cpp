#include "common/svgrender.h"
#include "rowname.h"

#include <QFile>
#include <QImage>

using namespace vorlac;

namespace
{

// A picture the build bakes (src/ui/resources/baked.txt) at one pixel ratio.
struct BakedRow {
    QString name;
    QSize pixels;
};
void PrintTo(const BakedRow &r, std::ostream *os)
{
    *os << r.name.toStdString() << ' ' << r.pixels.width() << 'x' << r.pixels.height();
}

std::vector<BakedRow> bakedRows()
{
    std::vector<BakedRow> rows;
    QFile list(QStringLiteral(VORLAC_SOURCE_DIR "/src/ui/resources/baked.txt"));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return {{QStringLiteral("baked.txt unreadable"), {}}};
    while (!list.atEnd()) {
        const QStringList f = QString::fromUtf8(list.readLine()).section('#', 0, 0).split(' ', Qt::SkipEmptyParts);
        for (const int ratio : {1, 2}) {
            const BakedRow row{f.value(0), QSize(f.value(1).toInt(), f.value(2).toInt()) * ratio};
            if (f.size() == 3 && std::none_of(rows.begin(), rows.end(), [&](const BakedRow &o) {
                    return o.name == row.name && o.pixels == row.pixels;
                }))
                rows.push_back(row);
        }
    }
    return rows;
}

class BakedPictures : public ::testing::TestWithParam<BakedRow>
{
};

// A stale or wrongly made bake would show an old or different drawing only where it is used.
TEST_P(BakedPictures, AreWhatDrawingTheSvgGives)
{
    const BakedRow &r = GetParam();
    ASSERT_EQ(QImage(1, 1, QImage::Format_ARGB32_Premultiplied).logicalDpiX(), kBakedDpi);
    const QImage baked = bakedPicture(r.name, r.pixels);
    ASSERT_FALSE(baked.isNull());
    EXPECT_TRUE(baked == renderSvgImage(QStringLiteral(":/resources/%1.svg").arg(r.name), r.pixels));
}

INSTANTIATE_TEST_SUITE_P(Rows, BakedPictures, ::testing::ValuesIn(bakedRows()), RowName());

} // namespace
