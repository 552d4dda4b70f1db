#include "common/displaysettings.h"

#include <QList>

namespace vorlac
{

namespace
{

const QByteArray kAngles = "angles";
const QByteArray kRayWidth = "epaisseur";
const QByteArray kReadout = "lecture";
const QByteArray kZoom = "grossissement";
const QByteArray kDecimals = "decimalesangles";
const QByteArray kStrip = "spectre";

} // namespace

DisplaySettings readDisplaySettings(const QByteArray &text)
{
    DisplaySettings s;
    for (const QByteArray &raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray name = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok)
            continue;
        if (name == kAngles && (n == 0 || n == 1))
            s.angleMarks = n == 1;
        else if (name == kReadout && (n == 0 || n == 1))
            s.projectionReadout = n == 1;
        else if (name == kStrip && (n == 0 || n == 1))
            s.projectionStrip = n == 1;
        else if (name == kRayWidth && n >= kMinRayWidth && n <= kMaxRayWidth)
            s.projectionRayWidth = n;
        else if (name == kZoom && n >= kMinSettingsZoom && n <= kMaxSettingsZoom)
            s.magnifierZoom = n;
        else if (name == kDecimals && n >= kMinSettingsDecimals && n <= kMaxSettingsDecimals)
            s.angleDecimals = n;
    }
    return s;
}

QByteArray displaySettingsText(const DisplaySettings &s)
{
    return kAngles + '=' + QByteArray::number(s.angleMarks ? 1 : 0) + '\n' + kRayWidth + '=' +
           QByteArray::number(s.projectionRayWidth) + '\n' + kReadout + '=' +
           QByteArray::number(s.projectionReadout ? 1 : 0) + '\n' + kZoom + '=' + QByteArray::number(s.magnifierZoom) +
           '\n' + kDecimals + '=' + QByteArray::number(s.angleDecimals) + '\n' + kStrip + '=' +
           QByteArray::number(s.projectionStrip ? 1 : 0) + '\n';
}

} // namespace vorlac
