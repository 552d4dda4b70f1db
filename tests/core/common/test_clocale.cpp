// Numbers do not depend on the C library's locale. Qt sets it from the environment at start-up,
// so on a French desktop strtod stops at a point and printf writes a comma: these rows run under
// that locale and catch any conversion that goes through it again.
#include "common/numbertext.h"
#include "common/regional.h"
#include "expr/expression.h"
#include "grapher/curvefit.h"
#include "rowname.h"
#include "table/valuetable.h"

#include <clocale>
#include <functional>
#include <string>

using namespace vorlac;

namespace
{

struct LocaleRow {
    const char *name;
    std::function<QString()> actual;
    const char *expected;
};
void PrintTo(const LocaleRow &row, std::ostream *os)
{
    *os << row.name;
}

QString typed(const char *keys)
{
    ValueTable t;
    t.setLocale(QLocale(QLocale::French, QLocale::France));
    t.setActiveCell(1, 0);
    for (const char *k = keys; *k; ++k)
        t.typeCharacter(QChar::fromLatin1(*k));
    t.commitActiveCell();
    return t.TextMatrix(1, 0);
}

class FrenchCLocale : public ::testing::TestWithParam<LocaleRow>
{
  protected:
    void SetUp() override
    {
        m_saved = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, "fr_FR.UTF-8"))
            GTEST_SKIP() << "fr_FR.UTF-8 is not installed here (scripts/install-deps --tests makes it)";
    }
    void TearDown() override { std::setlocale(LC_ALL, m_saved.c_str()); }

  private:
    std::string m_saved;
};

TEST_P(FrenchCLocale, NumberKeepsEveryDigit)
{
    EXPECT_EQ(GetParam().actual(), QString::fromUtf8(GetParam().expected));
}

const QLocale kFrench(QLocale::French, QLocale::France);

INSTANTIATE_TEST_SUITE_P(
    Rows, FrenchCLocale,
    ::testing::Values(LocaleRow{"typed_whole", [] { return typed("45"); }, "45,000"},
                      LocaleRow{"typed_decimal", [] { return typed("0,5"); }, "0,500"},
                      LocaleRow{"recorded_angle",
                                [] { return ValueTable::singleText(36.0f, "########0.000", kFrench); }, "36,000"},
                      LocaleRow{"single_seven_digits",
                                [] { return ValueTable::singleText(0.1f, "0.0000000000", kFrench); }, "0,1000000000"},
                      LocaleRow{"fit_plain", [] { return fitNumberText(1234.56, kFrench); }, "1235"},
                      LocaleRow{"fit_rounds_up", [] { return fitNumberText(9.99962, kFrench); }, "10,00"},
                      LocaleRow{"fit_exponent", [] { return fitNumberText(-0.000123456, kFrench); }, "-1,235E-04"},
                      LocaleRow{"dot_number", [] { return writeDotNumber(readDotNumber(u"2.75") * 2); }, "5.5"},
                      LocaleRow{"expression",
                                [] {
                                    QString text = QStringLiteral("1.5*2.25");
                                    int error = 0;
                                    EvaluateExpression(text, error, 0);
                                    return text;
                                },
                                "3.375"}),
    RowName());

} // namespace
