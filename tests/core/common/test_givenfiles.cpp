#include "common/givenfiles.h"
#include "rowname.h"

#include <gtest/gtest.h>

namespace
{

using Kind = vorlac::GivenFiles::Kind;

struct GivenRow {
    const char *name;
    QStringList arguments;
    Kind kind;
    QString open;
    QStringList refused;
};

void PrintTo(const GivenRow &r, std::ostream *os)
{
    *os << r.name;
}

class GivenFilesSort : public ::testing::TestWithParam<GivenRow>
{
};

TEST_P(GivenFilesSort, OpensTheFirstSituationOrExerciseAndRefusesTheRest)
{
    const GivenRow &row = GetParam();
    const vorlac::GivenFiles given = vorlac::sortGivenFiles(row.arguments, "/home/eleve");
    EXPECT_EQ(int(given.kind), int(row.kind));
    EXPECT_EQ(given.open, row.open);
    EXPECT_EQ(given.refused, row.refused);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GivenFilesSort,
    ::testing::Values(
        GivenRow{"nothing", {}, Kind::None, "", {}},
        GivenRow{"situation", {"/data/DEBUT.P01"}, Kind::Situation, "/data/DEBUT.P01", {}},
        GivenRow{"exercise in lower case", {"/data/td.e01"}, Kind::Exercise, "/data/td.e01", {}},
        GivenRow{"relative to the current folder", {"../prof/./a.p01"}, Kind::Situation, "/home/prof/a.p01", {}},
        GivenRow{"file URL", {"file:///tmp/mes%20essais/b.P01"}, Kind::Situation, "/tmp/mes essais/b.P01", {}},
        GivenRow{"remote URL", {"https://example.org/b.P01"}, Kind::None, "", {"https://example.org/b.P01"}},
        GivenRow{"another kind of file", {"notes.txt"}, Kind::None, "", {"notes.txt"}},
        GivenRow{"extension only inside the name", {"a.P01.bak"}, Kind::None, "", {"a.P01.bak"}},
        GivenRow{"two files", {"a.P01", "b.E01"}, Kind::Situation, "/home/eleve/a.P01", {"b.E01"}},
        GivenRow{"refused before the file",
                 {"--aide", "x.rtf", "c.E01", "d.P01"},
                 Kind::Exercise,
                 "/home/eleve/c.E01",
                 {"--aide", "x.rtf", "d.P01"}}),
    RowName());

} // namespace
