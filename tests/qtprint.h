// Readable gtest output for Qt values (force-included into every test file).
#pragma once
#ifdef __cplusplus
#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    *os << "bytes(" << b.toHex(' ').toStdString() << ")";
}
inline void PrintTo(const QColor &c, std::ostream *os)
{
    *os << "rgb(" << c.red() << "," << c.green() << "," << c.blue() << ")";
}
inline void PrintTo(const QSize &s, std::ostream *os)
{
    *os << s.width() << "x" << s.height();
}
inline void PrintTo(const QPoint &p, std::ostream *os)
{
    *os << "(" << p.x() << "," << p.y() << ")";
}
inline void PrintTo(const QRect &r, std::ostream *os)
{
    *os << "(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}
#endif
