#include "model/scenetexts.h"

#include "common/regional.h"

namespace vorlac
{

QString apexText(int degrees)
{
    return QString::number(degrees);
}

QString wavelengthText(int nm)
{
    return QString::number(nm);
}

QString indexText(double n)
{
    QLocale locale = regionalLocale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return QStringLiteral("n = ") + locale.toString(n, 'f', 6);
}

} // namespace vorlac
